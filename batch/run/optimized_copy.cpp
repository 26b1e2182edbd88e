// The write of one optimized copy with the copy question.
#include "batch/run/optimized_copy.h"

#include "batch/model/file_operations.h"
#include "batch/model/main_model.h"
#include "batch/run/overwrite_confirmation.h"

namespace qm {
namespace {

CopyStep Write(MainModel& model, std::string_view bytes, const std::string& target)
{
    CopyStep step;
    if (Status written = model.fs.writeAtomically(target, bytes); !written) {
        step.status = FileStatus::Failed;
        step.reason = written.reason();
        return step;
    }
    step.status = FileStatus::Written;
    step.writtenTo = target;
    return step;
}

} // namespace

CopyStep SaveOptimizedCopy(
    MainModel& model, std::string_view bytes, const std::string& source, const std::string& target)
{
    FileSystem& fs = model.fs;
    if (!fs.exists(target)) return Write(model, bytes, target);

    const OverwriteDecision decision = DecideOverwrite(model, OverwriteQuestion::Copy, source, target);
    switch (decision.answer) {
    case OverwriteAnswer::NewName:
        return Write(model, bytes, decision.newPath);
    case OverwriteAnswer::Rename: {
        MoveResult moved = MoveFileOrCopy(fs, target, decision.newPath, false);
        if (moved.outcome != MoveOutcome::Moved) {
            // A leftover copy under the new name is a duplicate, never the only one.
            if (moved.outcome == MoveOutcome::Copied) (void)fs.remove(decision.newPath);
            CopyStep step;
            step.reason = moved.status.reason();
            return step;
        }
        CopyStep step = Write(model, bytes, target);
        if (step.status != FileStatus::Written)
            (void)fs.rename(decision.newPath, target, false); // else it stays whole under the new name
        else if (target == source)
            step.initialKeptAt = decision.newPath;
        return step;
    }
    case OverwriteAnswer::Overwrite:
        if (fs.isReadOnly(target)) {
            CopyStep step;
            step.reason = "\"" + target + "\" is read-only; it was not replaced";
            return step;
        }
        return Write(model, bytes, target);
    default: {
        CopyStep step;
        step.status = FileStatus::Skipped;
        step.reason = "\"" + target + "\" already exists";
        step.answeredByUser = true;
        return step;
    }
    }
}

} // namespace qm
