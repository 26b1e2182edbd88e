// The shared texts and checks of the main window's state.
#include "batch/model/main_model.h"

namespace qm {

std::string_view ActivityText(ActivityMode mode)
{
    switch (mode) {
    case ActivityMode::Opt: return "opt";
    case ActivityMode::Path: return "path";
    case ActivityMode::None: break;
    }
    return "none";
}

void ShowInfoMessage(MainModel& model, MessageKind kind, const std::string& text)
{
    if (model.options.flag(Opt::cbShowInfo)) ShowMessage(model.ui, kind, text);
}

bool RefuseWhileBusy(MainModel& model, MessageKind kind)
{
    switch (model.state.activity) {
    case ActivityMode::None: return false;
    case ActivityMode::Opt: ShowMessage(model.ui, kind, "Please, wait for optimization process finishing"); return true;
    case ActivityMode::Path: ShowMessage(model.ui, kind, "Please, wait for folder treatment process finishing"); return true;
    }
    return false;
}

} // namespace qm
