// Dropped files sorted by kind: pages, list files, and the rest.
#include "batch/panel/dropped_files.h"

#include "batch/model/file_filters.h"
#include "batch/model/main_model.h"
#include "batch/panel/file_list.h"
#include "batch/panel/panel_commands.h"
#include "batch/panel/panel_refresh.h"

namespace qm {

void DropFiles(MainModel& model, const std::vector<std::string>& names, bool insidePanel)
{
    if (!insidePanel) {
        ShowInfoMessage(model, MessageKind::Warning, "You should drop files under files panel");
        return;
    }
    PanelFullReport full;
    for (const std::string& name : names) {
        if (MatchesFilter(name, kWebFilesFilter)) {
            // The cap of edMaxFCount holds for drops whether or not cbMaxFCount is checked.
            std::optional<std::size_t> limit = LimitOf(model, Opt::edMaxFCount);
            if (!limit || model.panel.size() < *limit) full.note(AddFileToPanel(model, model.fs.absolute(name), true));
        } else if (MatchesFilter(name, kListFilesFilter)) {
            LoadFileList(model, model.fs.absolute(name));
        } else {
            ShowInfoMessage(model, MessageKind::Warning, "Wrong file format");
        }
    }
    full.show(model);
    RefreshPanel(model);
}

} // namespace qm
