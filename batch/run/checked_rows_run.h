// The run over the file panel: every checked row through the engine, its backup and its output, with the statistics.
#pragma once

#include <functional>

#include "batch/model/run_state.h"

namespace qm {

struct MainModel;

enum class RunEnding {
    Completed, // after the last row: the end steps have run
    Interrupted, // a confirmed interrupt: CheckInterrupt has reset the windows
    Failed, // the engine failed: "Error during optimization process", windows reset, run window closed
};

// Lets pending events run, asks "\rDo you want to interrupt optimization
// process?" once Break or Esc has been pressed, and on OK resets the windows
// and shows the results (or "Optimization finished"); true when the run is to stop now.
bool CheckInterrupt(MainModel& model);

// Visits the checked rows in panel order. Each file is read, optimized, and
// only then backed up and written, so an interrupt, an engine failure or a
// source that is no page leaves it untouched. A file that cannot be handled
// (missing, empty, not a single-byte page, read-only in "Modify initial
// files", a backup or write that fails) is recorded in the run's outcomes
// with its reason and the run goes on; a source moved into the backup folder
// whose optimized text cannot be written is moved back. Only written files
// enter the processed-files list and the statistics.
// onFileDone, when given, sees each checked row's outcome as it is decided.
RunEnding OptimizeCheckedFiles(MainModel& model, const std::function<void(const FileOutcome&)>& onFileDone = {});

} // namespace qm
