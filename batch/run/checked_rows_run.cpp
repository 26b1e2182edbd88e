// The per-file steps of a run and the checks between them.
#include "batch/run/checked_rows_run.h"

#include "batch/model/file_ratio.h"
#include "batch/model/main_model.h"
#include "batch/model/placement.h"
#include "batch/panel/panel_refresh.h"
#include "batch/run/backup_copy.h"
#include "batch/run/optimized_copy.h"
#include "batch/run/page_optimizer.h"
#include "batch/run/run_ending.h"
#include "batch/view/source_view.h"
#include "engine/page_text.h"

namespace qm {
namespace {

// Engine messages go through the message routine.
class UserInterfaceSink final : public MessageSink {
public:
    explicit UserInterfaceSink(UserInterface& ui)
        : ui_(ui)
    {
    }
    void report(MessageKind kind, std::string_view text) override { ShowMessage(ui_, kind, std::string(text)); }

private:
    UserInterface& ui_;
};

enum class FileStop { None, Interrupted, EngineFailed };

FileOutcome Problem(FileOutcome outcome, FileStatus status, std::string reason)
{
    outcome.status = status;
    outcome.reason = std::move(reason);
    return outcome;
}

FileOutcome ProcessFile(
    MainModel& model, const PanelRow& row, PageOptimizer& optimizer, MessageSink& sink, FileStop& stop)
{
    FileSystem& fs = model.fs;
    const TOptionSet& options = model.options;
    FileOutcome outcome;
    outcome.source = row.fullPath();
    const std::string& source = outcome.source;
    optimizer.reached(source);

    RunStatistics& statistics = model.run.statistics;
    statistics.initialSize = fs.sizeOf(source);
    outcome.initialSize = statistics.initialSize;
    const bool modify = options.flag(Opt::radModifyOld);
    const std::string target = OptimizedCopyPath(options, fs, source, row.placement, false);

    if (!fs.isFile(source)) return Problem(outcome, FileStatus::Failed, "the file does not exist");
    if (!modify && (target == source || fs.sameFile(target, source)))
        return Problem(outcome, FileStatus::Failed,
            "its optimized copy would replace the file itself; choose another output folder");
    if (modify && fs.isReadOnly(source))
        return Problem(outcome, FileStatus::Failed, "the file is read-only; it was not modified");

    Expected<std::string> bytes = fs.readBytes(source);
    if (!bytes) return Problem(outcome, FileStatus::Failed, bytes.reason());
    outcome.initialSize = static_cast<std::int64_t>(bytes->size());
    if (bytes->empty()) return Problem(outcome, FileStatus::Skipped, "the file is empty");

    OptimizedPage page = optimizer.optimize(
        source, std::move(*bytes), options, model.engineData, sink, [&model] { return CheckInterrupt(model); });
    if (page.outcome == PipelineOutcome::Interrupted) {
        stop = FileStop::Interrupted;
        return Problem(outcome, FileStatus::Skipped, "the run was interrupted");
    }
    if (page.outcome == PipelineOutcome::Failed) {
        if (!page.problem.empty()) return Problem(outcome, FileStatus::Skipped, "not optimized: " + page.problem);
        stop = FileStop::EngineFailed;
        return Problem(outcome, FileStatus::Failed, "Error during optimization process");
    }
    model.ui.processEvents();

    BackupStep backup;
    backup.result = BackupResult::Skipped;
    if (modify && options.flag(Opt::cbSaveBefMod)) {
        if (Status created = CreateFolderChain(fs, options.text(Opt::edBackUpPath), row.placement); !created)
            return Problem(outcome, FileStatus::Failed, created.reason());
        backup = MakeBackupCopy(model, source, BackupPathOf(options, source, row.placement), model.run.processed);
        if (backup.result == BackupResult::Failed)
            return Problem(outcome, FileStatus::Failed, "no backup copy: " + backup.reason);
    }
    if (!modify)
        if (Status created = CreateFolderChain(fs, options.text(Opt::edOptimizedPath), row.placement); !created)
            return Problem(outcome, FileStatus::Failed, created.reason());

    CopyStep copy = SaveOptimizedCopy(model, page.bytes, source, target);
    if (copy.status != FileStatus::Written) {
        std::string reason = copy.reason;
        if (backup.result == BackupResult::Moved || backup.result == BackupResult::Copied) {
            const std::string problem = RollBackBackup(model, source, backup);
            reason += problem.empty() ? "; the file was moved back from the backup folder" : "; " + problem;
        }
        FileOutcome failed = Problem(outcome, copy.status, reason);
        failed.answeredByUser = copy.answeredByUser;
        return failed;
    }
    CommitBackup(model, backup);
    // The new file in the source's place keeps the source's permissions (an executable page stays executable).
    if (backup.result == BackupResult::Moved && copy.writtenTo == source)
        (void)fs.copyPermissions(backup.backupPath, source); // the text is written; only its mode could differ

    outcome.status = FileStatus::Written;
    outcome.writtenTo = copy.writtenTo;
    statistics.optimizedSize = fs.sizeOf(copy.writtenTo);
    if (statistics.optimizedSize < 0) statistics.optimizedSize = static_cast<std::int64_t>(page.bytes.size());
    outcome.optimizedSize = statistics.optimizedSize;
    outcome.ratio = FileRatio(outcome.initialSize, outcome.optimizedSize);
    statistics.totalInitial += outcome.initialSize;
    statistics.totalOptimized += outcome.optimizedSize;
    if (outcome.ratio) {
        statistics.ratioSum += *outcome.ratio;
        if (*outcome.ratio > statistics.maxRatio) statistics.maxRatio = *outcome.ratio;
    }
    ProcessedFile processed;
    processed.source = source;
    processed.writtenTo = copy.writtenTo;
    if (backup.result == BackupResult::Moved || backup.result == BackupResult::Copied)
        processed.backupPath = backup.backupPath;
    else if (!copy.initialKeptAt.empty())
        processed.backupPath = copy.initialKeptAt;
    model.run.processed.push_back(std::move(processed));
    return outcome;
}

void EndSteps(MainModel& model)
{
    model.sourceView.butSaveFileEnabled = false;
    model.state.menuBackUpLastEnabled = true;
    SetSourceViewVisible(model, true);
    ResetSourceView(model);
    model.panel.setHighlighted(std::nullopt);
    model.run.window.butStartEnabled = true;
    model.run.window.butCancelEnabled = true;
    RefreshPanel(model);
    if (model.options.flag(Opt::radModifyOld) && !model.options.flag(Opt::cbSaveBefMod))
        model.state.menuBackUpLastEnabled = false;
    model.hooks.stateChanged();
}

} // namespace

bool CheckInterrupt(MainModel& model)
{
    MainState& state = model.state;
    model.hooks.stateChanged();
    model.ui.processEvents();
    if (state.interruptRequested && !state.interruptConfirmed)
        state.interruptConfirmed = model.ui.askOkCancel("\rDo you want to interrupt optimization process?");
    if (!state.interruptRequested) return false;
    if (state.interruptConfirmed) {
        ResetAfterRun(model, true);
        if (model.options.flag(Opt::cbShowOptWin))
            ShowRunResults(model);
        else if (model.options.flag(Opt::cbShowEnd))
            ShowMessage(model.ui, MessageKind::Information, "Optimization finished");
        return true;
    }
    state.interruptRequested = false;
    state.interruptConfirmed = false;
    state.quitRequested = false; // a close that asked for the interruption is withdrawn with it
    return false;
}

RunEnding OptimizeCheckedFiles(MainModel& model, const std::function<void(const FileOutcome&)>& onFileDone)
{
    model.run.processed.clear();
    model.run.outcomes.clear();
    InlinePageOptimizer inlineOptimizer;
    PageOptimizer& optimizer = model.optimizer ? *model.optimizer : inlineOptimizer;
    // The rows checked when the run starts, in panel order. The panel's own
    // commands stay usable during a run: a row removed meanwhile is passed
    // over, and a sort or a refresh underway cannot make the run visit a row
    // twice or miss one.
    std::vector<PanelRow> rows;
    std::vector<std::string> checked;
    for (const PanelRow& row : model.panel.rows()) {
        if (!row.checked) continue;
        rows.push_back(row);
        checked.push_back(row.fullPath());
    }
    optimizer.prepare(checked, model.options, model.engineData);

    RunWindowState& window = model.run.window;
    window.filesDone = 0;
    window.filesTotal = rows.size();
    UserInterfaceSink sink(model.ui);
    for (const PanelRow& row : rows) {
        window.fileInHand = row.fullPath();
        if (CheckInterrupt(model)) {
            optimizer.finish();
            return RunEnding::Interrupted;
        }
        if (!model.panel.contains(row.fullPath())) {
            ++window.filesDone;
            continue;
        }
        FileStop stop = FileStop::None;
        FileOutcome outcome = ProcessFile(model, row, optimizer, sink, stop);
        if (stop == FileStop::Interrupted) {
            optimizer.finish();
            return RunEnding::Interrupted;
        }
        model.run.outcomes.push_back(outcome);
        ++window.filesDone;
        if (onFileDone) onFileDone(outcome);
        if (stop == FileStop::EngineFailed) {
            optimizer.finish();
            ShowMessage(model.ui, MessageKind::Error, "Error during optimization process");
            ResetAfterRun(model, false);
            model.run.window.visible = false;
            model.hooks.stateChanged();
            return RunEnding::Failed;
        }
    }
    optimizer.finish();
    EndSteps(model);
    return RunEnding::Completed;
}

} // namespace qm
