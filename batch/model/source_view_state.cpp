// Emptying the source view, which the panel's commands do as often as the view itself.
#include "batch/model/source_view_state.h"

#include "batch/model/main_model.h"

namespace qm {

void ResetSourceView(MainModel& model)
{
    SourceViewState& view = model.sourceView;
    view.shownFile.clear();
    view.shown = ShownText::None;
    view.caption = SourceViewCaption(view);
    view.hint = kFileSourceHint;
    model.hooks.setSourceViewText({});
    view.menuUnzippedHint.clear();
    view.menuZippedHint.clear();
    view.editable = false;
    view.butViewUnZippedEnabled = false;
    view.butViewZippedEnabled = false;
    view.butViewDiffEnabled = false;
    view.butSendToEditEnabled = false;
    view.butSaveFileEnabled = false;
    model.hooks.stateChanged();
}

std::string SourceViewCaption(const SourceViewState& view)
{
    switch (view.shown) {
    case ShownText::None:
        return "No text shown: double-click a file, or press Enter on it";
    case ShownText::Initial:
        return "Initial text of " + view.shownFile;
    case ShownText::Optimized:
        return "Optimized text of " + view.shownFile;
    case ShownText::Differences:
        return "Differences of " + view.shownFile + " from its initial text";
    }
    return {};
}

bool SideButtonUsable(const SourceViewState& view, bool enabled) { return view.visible && enabled; }

} // namespace qm
