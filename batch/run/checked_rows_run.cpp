// The per-file steps of a run and the checks between them.
#include "batch/run/checked_rows_run.h"

#include <cstdio>
#include <new>

#include "batch/model/file_ratio.h"
#include "batch/model/main_model.h"
#include "batch/model/placement.h"
#include "batch/panel/panel_refresh.h"
#include "batch/run/backup_copy.h"
#include "batch/run/journal.h"
#include "batch/run/optimized_copy.h"
#include "batch/run/page_optimizer.h"
#include "batch/run/run_ending.h"
#include "batch/run/run_files.h"
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

// What one run keeps between its files: the folders' journals and the folders already cleaned.
struct RunFiles {
    explicit RunFiles(FileSystem& fs)
        : journals(fs)
    {
    }
    JournalSet journals;
    StaleTemporaries temporaries;
};

// The output or backup folder (its last level, as the run creates it) and the page's folders below it.
Status CreateRootAndChain(FileSystem& fs, const std::string& root, const std::string& placement)
{
    if (!fs.isFolder(root))
        if (Status created = fs.createFolder(root); !created) return created;
    return CreateFolderChain(fs, root, placement);
}

std::string OctalMode(std::uint32_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

// The page in place: its backup first (recorded, then made), then the page replaced.
FileOutcome WriteInPlace(MainModel& model, RunFiles& files, const PanelRow& row, const PageState& page,
    const std::string& bytes, FileOutcome outcome, ProcessedFile& processed)
{
    FileSystem& fs = model.fs;
    const TOptionSet& options = model.options;
    files.temporaries.removeIn(fs, FolderPart(page.source));
    BackupStep backup;
    backup.result = BackupResult::Skipped;
    Journal* journal = nullptr;
    if (options.flag(Opt::cbSaveBefMod)) {
        const std::string backupRoot = WithTrailingSeparator(options.text(Opt::edBackUpPath));
        if (Status created = CreateRootAndChain(fs, backupRoot, row.placement); !created)
            return Problem(outcome, FileStatus::Failed, "no backup copy: " + created.reason());
        journal = &files.journals.of(backupRoot);
        const std::string backupPath = BackupPathOf(options, page.source, row.placement);
        files.temporaries.removeIn(fs, FolderPart(backupPath));
        backup = MakeBackupCopy(model, *journal, page, backupPath);
        if (backup.result == BackupResult::Failed)
            return Problem(outcome, FileStatus::Failed, "no backup copy: " + backup.reason);
    }
    if (backup.result == BackupResult::Made || backup.result == BackupResult::Reused) {
        CopyStep written = ReplacePage(model, bytes, page);
        if (written.status != FileStatus::Written) {
            const std::string problem = RollBackBackup(model, *journal, page, backup);
            return Problem(outcome, FileStatus::Failed,
                written.reason + (problem.empty() ? "; the file was left as it was" : "; " + problem));
        }
        processed.writtenTo = page.source;
        processed.backupPath = backup.backupPath;
        processed.journalFolder = journal->folder();
        return outcome;
    }
    // No backup: the copy question is asked for the page itself.
    CopyStep written = SaveOptimizedCopy(model, nullptr, bytes, page, page.source);
    if (written.status != FileStatus::Written) {
        FileOutcome failed = Problem(
            outcome, written.status, backup.reason.empty() || !written.answeredByUser ? written.reason : backup.reason);
        failed.answeredByUser = written.answeredByUser;
        return failed;
    }
    processed.writtenTo = written.writtenTo;
    if (!written.initialKeptAt.empty()) {
        processed.backupPath = written.initialKeptAt;
        processed.originalHash = page.original.hash;
        processed.writtenHash = page.written.hash;
    }
    return outcome;
}

FileOutcome WriteCopy(MainModel& model, RunFiles& files, const PanelRow& row, const PageState& page,
    const std::string& bytes, const std::string& target, FileOutcome outcome, ProcessedFile& processed)
{
    FileSystem& fs = model.fs;
    const std::string outputRoot = WithTrailingSeparator(model.options.text(Opt::edOptimizedPath));
    if (Status created = CreateRootAndChain(fs, outputRoot, row.placement); !created)
        return Problem(outcome, FileStatus::Failed, created.reason());
    files.temporaries.removeIn(fs, FolderPart(target));
    Journal& journal = files.journals.of(outputRoot);
    CopyStep copy = SaveOptimizedCopy(model, &journal, bytes, page, target);
    if (copy.status != FileStatus::Written) {
        FileOutcome failed = Problem(outcome, copy.status, copy.reason);
        failed.answeredByUser = copy.answeredByUser;
        return failed;
    }
    processed.writtenTo = copy.writtenTo;
    processed.journalFolder = journal.folder();
    return outcome;
}

FileOutcome ProcessFile(
    MainModel& model, RunFiles& files, const PanelRow& row, PageOptimizer& optimizer, MessageSink& sink, FileStop& stop)
{
    FileSystem& fs = model.fs;
    const TOptionSet& options = model.options;
    FileOutcome outcome;
    outcome.source = row.fullPath();
    const std::string& source = outcome.source;
    optimizer.reached(source);

    RunStatistics& statistics = model.run.statistics;
    const Expected<FileIdentity> current = fs.identify(source);
    statistics.initialSize = current ? current->size : fs.sizeOf(source);
    outcome.initialSize = statistics.initialSize;
    const bool modify = options.flag(Opt::radModifyOld);
    const std::string target = OptimizedCopyPath(options, fs, source, row.placement, false);

    if (!current && !fs.exists(source)) return Problem(outcome, FileStatus::Failed, "the file does not exist");
    if (!modify && (target == source || fs.sameFile(target, source)))
        return Problem(outcome, FileStatus::Failed,
            "its optimized copy would replace the file itself; choose another output folder");

    PageState page;
    page.source = source;
    OptimizedPage optimized;
    try {
        PreparedPage prepared = optimizer.page(source, current ? &*current : nullptr, options, model.engineData,
            [&model] { return CheckInterrupt(model); });
        if (!prepared.read) return Problem(outcome, FileStatus::Failed, prepared.read.reason());
        page.identity = prepared.identity;
        outcome.initialSize = prepared.original.size;
        if (modify && (page.identity.mode & 0777) == 0)
            return Problem(outcome, FileStatus::Failed,
                "the file has no permissions at all (mode " + OctalMode(page.identity.mode) + "); it was not modified");
        if (modify && fs.isReadOnly(source))
            return Problem(outcome, FileStatus::Failed, "the file is read-only; it was not modified");
        if (prepared.original.size == 0) return Problem(outcome, FileStatus::Skipped, "the file is empty");
        for (const auto& [kind, text] : prepared.messages) sink.report(kind, text);
        page.original = std::move(prepared.original);
        page.written = std::move(prepared.written);
        optimized = std::move(prepared.optimized);
    } catch (const std::bad_alloc&) {
        return Problem(outcome, FileStatus::Failed, "not enough memory to optimize it; it was left as it is");
    }
    if (optimized.outcome == PipelineOutcome::Interrupted) {
        stop = FileStop::Interrupted;
        return Problem(outcome, FileStatus::Skipped, "the run was interrupted");
    }
    if (optimized.outcome == PipelineOutcome::Failed) {
        if (!optimized.problem.empty())
            return Problem(outcome, FileStatus::Skipped, "not optimized: " + optimized.problem);
        stop = FileStop::EngineFailed;
        return Problem(outcome, FileStatus::Failed, "Error during optimization process");
    }
    model.ui.processEvents();

    ProcessedFile processed;
    processed.source = source;
    outcome = modify ? WriteInPlace(model, files, row, page, optimized.bytes, outcome, processed)
                     : WriteCopy(model, files, row, page, optimized.bytes, target, outcome, processed);
    if (processed.writtenTo.empty()) return outcome;

    outcome.status = FileStatus::Written;
    outcome.reason.clear();
    outcome.writtenTo = processed.writtenTo;
    statistics.optimizedSize = static_cast<std::int64_t>(optimized.bytes.size()); // what was written, byte for byte
    outcome.optimizedSize = statistics.optimizedSize;
    outcome.ratio = FileRatio(outcome.initialSize, outcome.optimizedSize);
    statistics.totalInitial += outcome.initialSize;
    statistics.totalOptimized += outcome.optimizedSize;
    if (outcome.ratio) {
        statistics.ratioSum += *outcome.ratio;
        if (*outcome.ratio > statistics.maxRatio) statistics.maxRatio = *outcome.ratio;
    }
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
    InlinePageOptimizer inlineOptimizer(model.fs);
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
    RunFiles files(model.fs);
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
        FileOutcome outcome = ProcessFile(model, files, row, optimizer, sink, stop);
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
