// The run around the engine: Optimize!, Start, the run window's states, the clock, Break and Esc.
#pragma once

#include <functional>

#include "batch/run/checked_rows_run.h"
#include "batch/run/run_ending.h"

namespace qm {

struct MainModel;

// "Optimize!": refuses while busy, counts the checked rows, fills page "1",
// then shows the run window or (without it) asks and runs at once.
void butOptimizeClick(MainModel& model);

// The run window's Start (and the command line's nc): runs and shows the results.
void butStartClick(MainModel& model);

// One run around OptimizeCheckedFiles, in the activity mode "opt", with the clock running.
RunEnding RunOptimization(MainModel& model, const std::function<void(const FileOutcome&)>& onFileDone = {});

// Cancel closes the window; while it reads Break it asks the run to stop.
void butCancelClick(MainModel& model);
void butCloseClick(MainModel& model);
// Key releases: Esc (27) in the run window and in the main window.
void RunWindowKeyUp(MainModel& model, int key);
void MainWindowKeyUp(MainModel& model, int key);
inline constexpr int kEscapeKey = 27;

// Timer1Timer: the clock text while a run lasts.
void Timer1Timer(MainModel& model);

} // namespace qm
