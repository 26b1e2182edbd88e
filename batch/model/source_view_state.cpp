// Emptying the source view, which the panel's commands do as often as the view itself.
#include "batch/model/source_view_state.h"

#include "batch/model/main_model.h"

namespace qm {

void ResetSourceView(MainModel& model)
{
    SourceViewState& view = model.sourceView;
    view.shownFile.clear();
    view.hint = kFileSourceHint;
    model.hooks.setSourceViewText({});
    view.menuUnzippedHint.clear();
    view.menuZippedHint.clear();
    view.editable = false;
    view.butViewUnZippedEnabled = false;
    view.butViewZippedEnabled = false;
    view.butSendToEditEnabled = false;
    view.butSaveFileEnabled = false;
    model.hooks.stateChanged();
}

} // namespace qm
