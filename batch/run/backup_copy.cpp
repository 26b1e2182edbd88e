// The backup step of one file as a small transaction.
#include "batch/run/backup_copy.h"

#include <algorithm>
#include <atomic>

#include "batch/model/file_operations.h"
#include "batch/model/main_model.h"
#include "batch/run/overwrite_confirmation.h"

namespace qm {
namespace {

std::string AsideName(const std::string& backupPath)
{
    static std::atomic<unsigned> counter {0};
    return FolderPart(backupPath) + "." + NamePart(backupPath) + ".qmk-older-" + std::to_string(counter++);
}

BackupStep FailedStep(std::string reason)
{
    BackupStep step;
    step.result = BackupResult::Failed;
    step.reason = std::move(reason);
    return step;
}

BackupStep MoveSource(MainModel& model, const std::string& source, const std::string& to, std::string aside = {})
{
    MoveResult moved = MoveFileOrCopy(model.fs, source, to, false);
    if (moved.outcome == MoveOutcome::Failed) {
        // Should this fail too, the older copy stays whole under its aside name.
        if (!aside.empty()) (void)model.fs.rename(aside, to, false);
        return FailedStep(moved.status.reason());
    }
    BackupStep step;
    step.result = moved.outcome == MoveOutcome::Moved ? BackupResult::Moved : BackupResult::Copied;
    step.backupPath = to;
    step.asidePath = std::move(aside);
    return step;
}

} // namespace

BackupStep MakeBackupCopy(
    MainModel& model, const std::string& source, const std::string& backupPath, std::vector<ProcessedFile>& thisRun)
{
    FileSystem& fs = model.fs;
    if (backupPath == source || fs.sameFile(source, backupPath))
        return FailedStep("its backup copy would be the file itself; choose another backup folder");
    if (!fs.exists(backupPath)) return MoveSource(model, source, backupPath);

    auto madeThisRun = std::find_if(
        thisRun.begin(), thisRun.end(), [&](const ProcessedFile& file) { return file.backupPath == backupPath; });
    const OverwriteDecision decision = DecideOverwrite(model, OverwriteQuestion::Backup, source, backupPath);
    switch (decision.answer) {
    case OverwriteAnswer::Skip: {
        BackupStep step;
        step.result = BackupResult::Skipped;
        return step;
    }
    case OverwriteAnswer::NewName:
        return MoveSource(model, source, decision.newPath);
    case OverwriteAnswer::Rename: {
        MoveResult renamed = MoveFileOrCopy(fs, backupPath, decision.newPath, false);
        if (renamed.outcome != MoveOutcome::Moved) {
            // A leftover copy under the new name is a duplicate, never the only one.
            if (renamed.outcome == MoveOutcome::Copied) (void)fs.remove(decision.newPath);
            return FailedStep(renamed.status.reason());
        }
        BackupStep step = MoveSource(model, source, backupPath);
        if (step.result == BackupResult::Failed)
            (void)fs.rename(decision.newPath, backupPath, false); // else it stays whole under the new name
        else if (madeThisRun != thisRun.end())
            madeThisRun->backupPath = decision.newPath;
        return step;
    }
    default:
        break;
    }
    if (madeThisRun != thisRun.end())
        return FailedStep("the backup copy \"" + backupPath + "\" is the only initial copy of \"" +
            madeThisRun->source + "\", made by this run; it was not replaced");
    if (fs.isReadOnly(backupPath)) return FailedStep("the backup copy \"" + backupPath + "\" is read-only");
    const std::string aside = AsideName(backupPath);
    if (Status setAside = fs.rename(backupPath, aside, false); !setAside) return FailedStep(setAside.reason());
    return MoveSource(model, source, backupPath, aside);
}

void CommitBackup(MainModel& model, const BackupStep& step)
{
    // An older copy that cannot be deleted only takes room.
    if (!step.asidePath.empty()) (void)model.fs.remove(step.asidePath);
}

std::string RollBackBackup(MainModel& model, const std::string& source, const BackupStep& step)
{
    FileSystem& fs = model.fs;
    std::string problem;
    if (step.result == BackupResult::Moved) {
        MoveResult back = MoveFileOrCopy(fs, step.backupPath, source, false);
        if (back.outcome == MoveOutcome::Failed)
            return "the file could not be moved back (" + back.status.reason() + "); its initial copy is kept as \"" +
                step.backupPath + "\"";
        if (back.outcome == MoveOutcome::Copied) problem = "a copy of it stays in \"" + step.backupPath + "\"";
    } else if (step.result == BackupResult::Copied) {
        (void)fs.remove(step.backupPath); // a copy: the source never left
    }
    if (!step.asidePath.empty() && fs.exists(step.asidePath)) {
        if (!fs.rename(step.asidePath, step.backupPath, false))
            problem += (problem.empty() ? "" : "; ") + std::string("the older backup copy is kept as \"") +
                step.asidePath + "\"";
    }
    return problem;
}

} // namespace qm
