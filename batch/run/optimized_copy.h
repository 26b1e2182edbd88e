// Writing a file's optimized text to its output path, asking the copy question when a file is in the way.
#pragma once

#include <string>
#include <string_view>

#include "batch/model/run_state.h"

namespace qm {

struct MainModel;

struct CopyStep {
    FileStatus status = FileStatus::Failed;
    std::string writtenTo; // Written: where the text went
    std::string initialKeptAt; // "Rename" over the source itself: where its unoptimized text went
    std::string reason; // Skipped or Failed
    bool answeredByUser = false; // Skipped because the copy question was answered so
};

// Writes the bytes atomically (temporary file beside the target, renamed
// over it). A target in the way goes through the copy question: Overwrite
// replaces it (never a read-only one), Skip keeps it, New name writes beside
// it, Rename moves it to the new name first (and back when the write fails).
CopyStep SaveOptimizedCopy(
    MainModel& model, std::string_view bytes, const std::string& source, const std::string& target);

} // namespace qm
