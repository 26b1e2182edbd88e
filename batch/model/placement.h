// Where a source's optimized copy and its initial copy are, by the storage mode.
#pragma once

#include <string>
#include <string_view>

#include "base/file_system.h"
#include "options/option_set.h"

namespace qm {

// Stands in place of a path when the optimized copy is known to be missing.
inline constexpr std::string_view kDoesNotExist = "does not exist!";

// The output folder (edOptimizedPath) and the backup folder (edBackUpPath)
// followed by the row's placement (empty: flat) and the source's file name.
std::string OutputPathOf(const TOptionSet& options, const std::string& source, const std::string& placement);
std::string BackupPathOf(const TOptionSet& options, const std::string& source, const std::string& placement);

// "Leave initial files unchanged": the output path. "Modify initial files":
// the source itself; with the check, the source only when it and its backup
// copy both exist, otherwise kDoesNotExist.
std::string OptimizedCopyPath(
    const TOptionSet& options, FileSystem& fs, const std::string& source, const std::string& placement, bool check);

// "Leave initial files unchanged": the source. "Modify initial files": the
// backup path; with the check, the backup path only when the source and that
// backup both exist, otherwise the source.
std::string InitialCopyPath(
    const TOptionSet& options, FileSystem& fs, const std::string& source, const std::string& placement, bool check);

} // namespace qm
