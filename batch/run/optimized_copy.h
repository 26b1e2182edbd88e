// Writing a page's optimized text: over the page itself, or as a recorded copy in the output folder.
#pragma once

#include <string>
#include <string_view>

#include "batch/model/run_state.h"
#include "batch/run/backup_copy.h"

namespace qm {

struct MainModel;

struct CopyStep {
    FileStatus status = FileStatus::Failed;
    std::string writtenTo; // Written: where the text went
    std::string initialKeptAt; // "Rename" over the page itself: where its initial text went
    std::string reason; // Skipped or Failed
    bool answeredByUser = false; // Skipped because the copy question was answered so
};

// Replaces the page with its optimized text after its backup is made: a
// synced temporary file beside it, renamed over it only while the page is
// still exactly the file the run read. The new file keeps the page's mode,
// owner and extended attributes.
CopyStep ReplacePage(MainModel& model, std::string_view bytes, const PageState& page);

// Writes the text to the target, asking the copy question when a file is in
// the way: Overwrite replaces it (never a read-only one), Skip keeps it, New
// name writes beside it, Rename keeps it under the new name. With a journal
// (the output folder's), the copy is recorded before it is written, and the
// records of the copy it replaces are closed. With replaceOwnUnchangedCopies,
// a copy of this page that the journal records as written by a run and
// unchanged since is replaced without a question, so a build rule can run again. A copy takes the page's mode,
// owner and extended attributes. When the target is the page itself (no
// backup), the page is replaced as ReplacePage does.
CopyStep SaveOptimizedCopy(
    MainModel& model, Journal* journal, std::string_view bytes, const PageState& page, const std::string& target);

} // namespace qm
