// Writing and reading list files, and the two menu commands around them.
#include "batch/panel/file_list.h"

#include "base/text_lines.h"
#include "batch/model/file_dialogs.h"
#include "batch/model/file_filters.h"
#include "batch/model/main_model.h"
#include "batch/panel/panel_commands.h"
#include "batch/panel/panel_refresh.h"

namespace qm {

Status SaveFileList(MainModel& model, const std::string& path)
{
    std::string text;
    for (const PanelRow& row : model.panel.rows()) text += (row.checked ? "+ " : "- ") + row.fullPath() + "\r\n";
    return model.fs.writeAtomically(path, text);
}

bool LoadFileList(MainModel& model, const std::string& path)
{
    model.panel.clear();
    std::vector<std::string> lines;
    bool readable = true;
    if (model.fs.exists(path)) {
        Expected<std::string> bytes = model.fs.readBytes(path);
        if (bytes)
            lines = SplitLines(*bytes);
        else
            readable = false;
    }
    const std::size_t n = RestrictFilesCount(model, lines.size());
    PanelFullReport full;
    for (std::size_t i = 0; i < n; ++i) {
        const std::string& line = lines[i];
        if (line.size() < 3) continue;
        const AddOutcome outcome = AddFileToPanel(model, line.substr(2), true);
        if (outcome == AddOutcome::Added) model.panel.setChecked(model.panel.size() - 1, line[0] == '+');
        full.note(outcome);
    }
    full.show(model);
    RefreshPanel(model);
    model.panel.ShowPanelStatus();
    model.hooks.stateChanged();
    return readable;
}

void menuSaveListFilesClick(MainModel& model)
{
    if (model.panel.empty()) {
        ShowInfoMessage(model, MessageKind::Information, "Files panel is empty");
        return;
    }
    FileDialogRequest request;
    request.title = "Save file";
    request.filter = std::string(kListFilesFilter);
    request.defaultExtension = "lst";
    std::optional<std::string> name = AskSaveFile(model, request);
    if (!name) return;
    if (Status saved = SaveFileList(model, *name); !saved)
        ShowMessage(model.ui, MessageKind::Error, "Error during files list saving\r" + saved.reason());
}

void menuOpenListFilesClick(MainModel& model)
{
    FileDialogRequest request;
    request.title = "Select files(s)";
    request.filter = std::string(kListFilesFilter);
    std::vector<std::string> chosen = AskOpenFiles(model, request);
    if (chosen.empty()) return;
    const std::string& path = chosen.front();
    if (!model.fs.exists(path)) return;
    if (!LoadFileList(model, path)) ShowMessage(model.ui, MessageKind::Error, "Error during files list loading");
}

} // namespace qm
