// Restoring files from their backup copies or by deleting their optimized copies.
#include "batch/run/restore.h"

#include <algorithm>

#include "batch/model/file_operations.h"
#include "batch/model/main_model.h"
#include "batch/model/placement.h"
#include "batch/panel/panel_refresh.h"

namespace qm {
namespace {

RestoreOutcome Outcome(const std::string& source, RestoreStatus status, std::string reason = {})
{
    return {source, status, std::move(reason)};
}

RestoreOutcome NoInitialCopy(MainModel& model, const std::string& source, const std::string& lookedFor)
{
    if (model.options.flag(Opt::cbShowInfo) && model.run.restoreWarning) {
        const std::string text = "There is no initial copy of the file < " + lookedFor +
            " > in backup folder.\rInitial copy of the file was not removed";
        if (model.ui.warnRestore(text) == RestoreWarningAnswer::YesToAll) model.run.restoreWarning = false;
    }
    return Outcome(source, RestoreStatus::NoInitialCopy, "there is no initial copy in \"" + lookedFor + "\"");
}

RestoreOutcome DeleteOptimizedCopy(MainModel& model, const std::string& source, const std::string& copy)
{
    FileSystem& fs = model.fs;
    if (copy == source || !fs.exists(copy) || fs.sameFile(copy, source))
        return Outcome(source, RestoreStatus::NothingToRestore);
    if (fs.isReadOnly(copy))
        return Outcome(source, RestoreStatus::Failed, "\"" + copy + "\" is read-only; it was not deleted");
    if (Status removed = fs.remove(copy); !removed) return Outcome(source, RestoreStatus::Failed, removed.reason());
    return Outcome(source, RestoreStatus::Restored);
}

RestoreOutcome MoveBackupBack(MainModel& model, const std::string& source, const std::string& backup)
{
    FileSystem& fs = model.fs;
    if (!fs.exists(backup)) return NoInitialCopy(model, source, backup);
    if (fs.exists(source) && fs.isReadOnly(source))
        return Outcome(source, RestoreStatus::Failed, "the file is read-only; it was not replaced");
    // One rename replaces the optimized file, so there is never a moment without either.
    MoveResult moved = MoveFileOrCopy(fs, backup, source, true);
    if (moved.outcome == MoveOutcome::Failed) return Outcome(source, RestoreStatus::Failed, moved.status.reason());
    return Outcome(source, RestoreStatus::Restored);
}

const ProcessedFile* RecordOf(const MainModel& model, const std::string& source)
{
    auto found = std::find_if(model.run.processed.begin(), model.run.processed.end(),
        [&](const ProcessedFile& file) { return file.source == source; });
    return found == model.run.processed.end() ? nullptr : &*found;
}

void AfterRestore(MainModel& model)
{
    RefreshPanel(model);
    model.panel.setHighlighted(std::nullopt);
    ResetSourceView(model);
    if (model.options.flag(Opt::cbShowEnd)) ShowMessage(model.ui, MessageKind::Information, " Restoration finished   ");
    model.hooks.stateChanged();
}

} // namespace

RestoreOutcome RestoreFile(
    MainModel& model, const std::string& source, const std::string& placement, const ProcessedFile* record)
{
    if (record) {
        if (!record->backupPath.empty()) return MoveBackupBack(model, source, record->backupPath);
        if (record->writtenTo != source) return DeleteOptimizedCopy(model, source, record->writtenTo);
        return NoInitialCopy(model, source, BackupPathOf(model.options, source, placement));
    }
    if (!model.options.flag(Opt::radModifyOld))
        return DeleteOptimizedCopy(model, source, OutputPathOf(model.options, source, placement));
    return MoveBackupBack(model, source, BackupPathOf(model.options, source, placement));
}

void ReportRestoreProblems(MainModel& model, const std::vector<RestoreOutcome>& outcomes)
{
    std::string lines;
    std::size_t failed = 0;
    for (const RestoreOutcome& outcome : outcomes) {
        if (outcome.status != RestoreStatus::Failed) continue;
        if (++failed <= 20) lines += "\r" + outcome.source + ": " + outcome.reason;
    }
    if (failed == 0) return;
    if (failed > 20) lines += "\r... and " + std::to_string(failed - 20) + " more files";
    ShowMessage(model.ui, MessageKind::Error, "Restoration error" + lines);
}

void menuBackUpLastClick(MainModel& model)
{
    // The items stay reachable in an open menu while a run starts; undoing files under a run is refused.
    if (RefuseWhileBusy(model, MessageKind::Warning)) return;
    if (!model.panel.empty() && !model.run.processed.empty()) model.run.restoreWarning = true;
    std::vector<RestoreOutcome> outcomes;
    const std::vector<ProcessedFile> processed = model.run.processed;
    for (const ProcessedFile& file : processed) outcomes.push_back(RestoreFile(model, file.source, {}, &file));
    model.state.menuBackUpLastEnabled = false;
    model.run.processed.clear();
    ReportRestoreProblems(model, outcomes);
    AfterRestore(model);
}

void menuBackUpCheckedClick(MainModel& model)
{
    if (RefuseWhileBusy(model, MessageKind::Warning)) return;
    model.run.restoreWarning = true;
    std::vector<std::pair<std::string, std::string>> checked;
    for (const PanelRow& row : model.panel.rows())
        if (row.checked) checked.emplace_back(row.fullPath(), row.placement);
    std::vector<RestoreOutcome> outcomes;
    for (const auto& [source, placement] : checked)
        outcomes.push_back(RestoreFile(model, source, placement, RecordOf(model, source)));
    ReportRestoreProblems(model, outcomes);
    AfterRestore(model);
}

void butBackUpClick(MainModel& model)
{
    if (RefuseWhileBusy(model, MessageKind::Warning)) return;
    if (model.state.menuBackUpLastEnabled)
        menuBackUpLastClick(model);
    else
        ShowInfoMessage(model, MessageKind::Information, "You should optimize files first");
}

std::optional<RestoreMenuState> menuBackUpPopup(MainModel& model)
{
    if (RefuseWhileBusy(model, MessageKind::Warning)) return std::nullopt;
    RestoreMenuState menu;
    if (model.panel.empty()) {
        model.state.menuBackUpLastEnabled = false;
        return menu;
    }
    menu.cancelLastEnabled = model.state.menuBackUpLastEnabled;
    menu.restoreCheckedEnabled = model.panel.CountCheckedRows() > 0;
    return menu;
}

} // namespace qm
