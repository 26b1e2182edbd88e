// The end of a run as the user sees it: back to idle, the results page, the files that were not optimized.
#pragma once

namespace qm {

struct MainModel;

// Back to idle; enableCancelLast decides "Cancel last optimization".
void ResetAfterRun(MainModel& model, bool enableCancelLast);

// Page "2": files processed, bytes removed, the average (truncated toward
// zero) and the largest ratio. With no file processed there is no average:
// "Error of optimization results window", and the run window closes.
void ShowRunResults(MainModel& model);

// The run's problems (files skipped or failed, except those the user chose to
// skip) in one message, so a long run is not broken up by a box per file.
void ReportFileProblems(MainModel& model);

} // namespace qm
