// The last run's processed-files list kept in the program folder, so "Cancel last optimization" outlives a restart.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "base/status.h"
#include "batch/model/run_state.h"

namespace qm {

struct MainModel;

inline constexpr std::string_view kLastRunFileName = "LastRun.dat";

// What cancelling a run needs once the program that made it has quit.
struct LastRun {
    bool modify = false; // "Modify initial files" (else "Leave initial files unchanged")
    std::vector<ProcessedFile> files;
};

std::string LastRunPath(const std::string& programFolder);

std::string FormatLastRun(const LastRun& run);
// A file cut short or edited by hand is refused as a whole: half a list
// would undo half a run.
Expected<LastRun> ParseLastRun(std::string_view text);

// True while the file still has something a restore can undo: a live
// journal record of it whose backup or copy is still there, or the initial
// text kept beside the page.
bool StillUndoable(FileSystem& fs, const ProcessedFile& file);

// After a run (and after "Cancel last optimization"): the list is written
// while the command is enabled and holds files, else the file goes. A
// failure is reported, since the command then ends with the program.
void RememberLastRun(MainModel& model);

// At start-up: the list comes back without the files that have nothing
// left to undo, and the command is enabled when any remain. A missing,
// unreadable or damaged file leaves the command disabled and is kept as it
// is (the journals still serve "Restore checked files").
void RecallLastRun(MainModel& model);

} // namespace qm
