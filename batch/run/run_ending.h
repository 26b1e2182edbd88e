// The end of a run as the user sees it: back to idle, the results page, the files that were not optimized.
#pragma once

#include <cstddef>

#include "batch/model/run_state.h"

namespace qm {

struct MainModel;

// Back to idle; enableCancelLast decides "Cancel last optimization".
void ResetAfterRun(MainModel& model, bool enableCancelLast);

// The figures of the results page, from the run's outcomes: every file handed
// to the placement counts as processed, whether its copy was written or the
// user kept the file in the way; bytes removed and the average come from the
// written files. No average without a written file.
struct RunFigures {
    std::size_t processed = 0;
    std::size_t skipped = 0;
    std::size_t written = 0;
};
RunFigures FiguresOf(const RunState& run);

// Page "2": files processed (and skipped), bytes removed, the average
// (truncated toward zero) and the largest ratio.
void ShowRunResults(MainModel& model);

// The run's problems (files skipped or failed, except those the user chose to
// skip) in one message, so a long run is not broken up by a box per file.
void ReportFileProblems(MainModel& model);

} // namespace qm
