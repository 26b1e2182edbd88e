// qmk --sync: the files of a site that are not pages, copied unchanged into the output tree.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/file_system.h"
#include "cli/qmk_arguments.h"

namespace qm {

// A file to copy and its folder below the output folder ("" or ending with "/").
using PlacedFile = std::pair<std::string, std::string>;

enum class CopyStatus { Copied, Unchanged, Skipped, Failed };

struct CopyOutcome {
    std::string source;
    std::string target;
    CopyStatus status = CopyStatus::Failed;
    std::string reason; // why it was skipped or failed
    std::int64_t size = -1;
    bool asked = false; // skipped because --skip-existing said so, not for want of an answer
};

// Copies each file to the output folder + its placement + its name. A
// target that already holds the same bytes is left alone (a second run
// changes nothing); one that differs is replaced without asking when the
// output folder's journal records it as this file's copy, unchanged since,
// and otherwise only with --overwrite, kept with --skip-existing, and
// otherwise kept and reported. Each copy is recorded in the journal first. Every copy is
// written beside its target and renamed over it. Stops early when asked to.
void SyncFiles(FileSystem& fs, const std::vector<PlacedFile>& files, const std::string& outputFolder,
    ExistingTargets existing, const std::function<void(const CopyOutcome&)>& onDone,
    const std::function<bool()>& stopRequested);

} // namespace qm
