// Adding files to the panel from the dialog, from a drop and one by one, and the row commands of its menu.
#include "batch/panel/panel_commands.h"

#include "batch/model/file_dialogs.h"
#include "batch/model/file_filters.h"
#include "batch/model/main_model.h"
#include "batch/panel/panel_refresh.h"

namespace qm {

bool IsNotInPanel(MainModel& model, const std::string& fullPath, bool reportDuplicate)
{
    if (!model.panel.contains(fullPath)) return true;
    if (reportDuplicate)
        ShowInfoMessage(model, MessageKind::Warning, "The file < " + fullPath + " > is already in the files panel");
    return false;
}

AddOutcome AddFileToPanel(
    MainModel& model, const std::string& fullPath, bool reportDuplicate, const std::string& placement)
{
    if (!IsNotInPanel(model, fullPath, reportDuplicate)) return AddOutcome::Duplicate;
    return model.panel.append(fullPath, placement);
}

void PanelFullReport::show(MainModel& model) const
{
    if (refused_ == 0) return;
    ShowMessage(model.ui, MessageKind::Warning,
        "The files panel holds at most " + std::to_string(kMaxPanelRows) + " files; " + std::to_string(refused_) +
            " more files were not added");
}

std::optional<std::size_t> LimitOf(const MainModel& model, Opt numberText)
{
    std::optional<std::int64_t> value = NumberTextValue(model.options.text(numberText));
    if (!value || *value < 0) return std::nullopt;
    return static_cast<std::size_t>(*value);
}

std::size_t RestrictFilesCount(MainModel& model, std::size_t n)
{
    if (!model.options.flag(Opt::cbMaxFCount)) return n;
    std::optional<std::size_t> limit = LimitOf(model, Opt::edMaxFCount);
    if (!limit || *limit >= n) return n;
    const std::string question = "There are " + std::to_string(n) +
        " files for adding to files panel. You have set files count restriction ( " +
        model.options.text(Opt::edMaxFCount) + " files ) to files panel. Restrict files count for adding?";
    return model.ui.askYesNo(question) ? *limit : n;
}

void butFilesClick(MainModel& model)
{
    FileDialogRequest request;
    request.title = "Select files(s)";
    request.filter = std::string(kWebFilesFilter);
    request.multiple = true;
    const std::vector<std::string> chosen = AskOpenFiles(model, request);
    if (chosen.empty()) return;
    const std::size_t n = RestrictFilesCount(model, chosen.size());
    model.panel.reserve(model.panel.size() + n + 1);
    PanelFullReport full;
    for (std::size_t i = 0; i < n; ++i) full.note(AddFileToPanel(model, chosen[i], false));
    full.show(model);
    RefreshPanel(model);
    ResetSourceView(model);
}

void RemoveHighlightedFile(MainModel& model)
{
    if (model.panel.removeHighlighted()) model.hooks.stateChanged();
}

void RemoveUncheckedFiles(MainModel& model)
{
    model.panel.removeUnchecked();
    model.hooks.stateChanged();
}

void ClearFilesPanel(MainModel& model)
{
    model.panel.clear();
    ResetSourceView(model);
    model.hooks.stateChanged();
}

void SelectAllFiles(MainModel& model)
{
    model.panel.selectAll();
    model.hooks.stateChanged();
}

void InvertSelection(MainModel& model)
{
    model.panel.invertSelection();
    model.hooks.stateChanged();
}

void DeselectFiles(MainModel& model)
{
    model.panel.deselect();
    model.hooks.stateChanged();
}

void SortByColumn(MainModel& model, int column)
{
    // A comparison that fails while the user re-sorts is ignored.
    model.panel.sortByColumn(column);
    model.hooks.stateChanged();
}

} // namespace qm
