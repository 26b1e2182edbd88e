// Undoing optimizations by the journals: one file, "Cancel last optimization", "Restore checked files", and the
// Restore button.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/model/run_state.h"
#include "batch/run/journal.h"
#include "batch/run/run_files.h"

namespace qm {

struct MainModel;

enum class RestoreStatus {
    Restored, // the initial text is back, or the optimized copy is deleted
    AlreadyInitial, // the page holds its initial text already (a run stopped before replacing it); its record is closed
    NothingToRestore, // no optimized copy of the page is recorded
    NoInitialCopy, // "Modify initial files" without a recorded backup: the file stays as it is
    Changed, // the page or its copy changed after the run wrote it: left as it is
    Failed,
};

struct RestoreOutcome {
    std::string source;
    RestoreStatus status = RestoreStatus::Failed;
    std::string reason;
    bool copiedBack = false; // the backup folder is on another file system: copied back, then deleted
    std::string changedKeptAt; // with force: where the changed page went before its initial text came back
};

// What one restore command keeps between its files.
struct RestoreSession {
    explicit RestoreSession(FileSystem& fs)
        : journals(fs)
    {
    }
    JournalSet journals;
    StaleTemporaries temporaries;
    // Restore pages changed since their run too, each kept beside itself first (qmk's --force).
    bool force = false;
};

// Undoes what the runs recorded for the page. "Modify initial files" (or a
// record of a run that replaced the page) restores the page's backup, but
// only while the page still holds exactly what a run wrote over it, or is
// missing; a page changed since is left as it is unless `force`, which
// first keeps the changed page beside it under a numbered name. The backup
// is checked against its record before it goes back. "Leave initial files
// unchanged" deletes only copies recorded as this program's output that
// nobody changed. The page is missing: its newest recorded backup comes back. A file without a record is never touched;
// in modify mode it gets the warning that there is no initial copy (once per file until "Yes to All").
RestoreOutcome RestoreFile(MainModel& model, RestoreSession& session, const std::string& source,
    const std::string& placement, const ProcessedFile* record);

// After the last file: a journal whose entries are mostly closed is rewritten shorter.
void FinishRestore(RestoreSession& session);

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

// Before the Restore drop-down opens; nullopt when a run or scan refuses it. An empty panel disables "Restore
// checked files", and "Cancel last optimization" only when no processed-files list is left to undo.
std::optional<RestoreMenuState> menuBackUpPopup(MainModel& model);

// The files that could not be restored, in one message.
void ReportRestoreProblems(MainModel& model, const std::vector<RestoreOutcome>& outcomes);

} // namespace qm
