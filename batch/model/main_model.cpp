// The shared texts and checks of the main window's state.
#include "batch/model/main_model.h"

namespace qm {

void ShowInfoMessage(MainModel& model, MessageKind kind, const std::string& text)
{
    if (model.options.flag(Opt::cbShowInfo)) ShowMessage(model.ui, kind, text);
}

bool RefuseWhileBusy(MainModel& model, MessageKind kind)
{
    switch (model.state.activity) {
    case ActivityMode::None:
        return false;
    case ActivityMode::Opt:
        ShowMessage(model.ui, kind, "Please, wait for optimization process finishing");
        return true;
    case ActivityMode::Path:
        ShowMessage(model.ui, kind, "Please, wait for folder treatment process finishing");
        return true;
    }
    return false;
}

} // namespace qm
