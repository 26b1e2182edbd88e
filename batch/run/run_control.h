// The run around the engine: Optimize!, Start, the run window's states, the clock, Break and Esc.
#pragma once

#include <functional>

#include "batch/run/checked_rows_run.h"

namespace qm {

struct MainModel;

// "Optimize!": refuses while busy, counts the checked rows, fills page "1",
// then shows the run window or (without it) asks and runs at once.
void butOptimizeClick(MainModel& model);

// The run window's Start (and the command line's nc): runs and shows the results.
void butStartClick(MainModel& model);

// One run around OptimizeCheckedFiles, in the activity mode "opt", with the clock running.
RunEnding RunOptimization(MainModel& model, const std::function<void(const FileOutcome&)>& onFileDone = {});

// Back to idle; enableCancelLast decides "Cancel last optimization".
void ResetAfterRun(MainModel& model, bool enableCancelLast);

// Page "2": files processed, bytes removed, the average (truncated toward
// zero) and the largest ratio. With no file processed there is no average:
// "Error of optimization results window", and the run window closes.
void ShowRunResults(MainModel& model);

// Cancel closes the window; while it reads Break it asks the run to stop.
void butCancelClick(MainModel& model);
void butCloseClick(MainModel& model);
// Key releases: Esc (27) in the run window and in the main window.
void RunWindowKeyUp(MainModel& model, int key);
void MainWindowKeyUp(MainModel& model, int key);
inline constexpr int kEscapeKey = 27;

// Timer1Timer: the clock text while a run lasts.
void Timer1Timer(MainModel& model);

// The run's problems (files skipped or failed, except those the user chose to
// skip) in one message, so a long run is not broken up by a box per file.
void ReportFileProblems(MainModel& model);

} // namespace qm
