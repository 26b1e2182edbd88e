// Undoing optimizations: one file, "Cancel last optimization", "Restore checked files", and the Restore button.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/model/run_state.h"

namespace qm {

struct MainModel;

enum class RestoreStatus {
    Restored, // the backup copy is back, or the optimized copy is deleted
    NothingToRestore, // no optimized copy to delete
    NoInitialCopy, // "Modify initial files" without a backup copy: the file stays optimized
    Failed,
};

struct RestoreOutcome {
    std::string source;
    RestoreStatus status = RestoreStatus::Failed;
    std::string reason;
};

// With a record of the last run, undoes exactly what that run did to the
// source, whatever mode is set now. Without one, the mode in force decides:
// "Leave initial files unchanged" deletes the optimized copy (never the
// source itself); "Modify initial files" moves the backup copy over the
// source in one rename, or warns (once per file until "Yes to All") that
// there is no initial copy. Read-only files are neither replaced nor deleted.
RestoreOutcome RestoreFile(
    MainModel& model, const std::string& source, const std::string& placement, const ProcessedFile* record);

// "Cancel last optimization": every file of the processed-files list, then
// the list is emptied and the command disabled.
void menuBackUpLastClick(MainModel& model);

// "Restore checked files": the checked rows, top to bottom; the
// processed-files list is left alone (its records still guide the files it holds).
void menuBackUpCheckedClick(MainModel& model);

// The tool button "Restore".
void butBackUpClick(MainModel& model);

struct RestoreMenuState {
    bool cancelLastEnabled = false;
    bool restoreCheckedEnabled = false;
};

// Before the Restore drop-down opens; nullopt when a run or scan refuses it.
std::optional<RestoreMenuState> menuBackUpPopup(MainModel& model);

// The files that could not be restored, in one message.
void ReportRestoreProblems(MainModel& model, const std::vector<RestoreOutcome>& outcomes);

} // namespace qm
