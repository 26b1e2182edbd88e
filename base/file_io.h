// Whole-file reads, atomic replacement and sizes: the file access every layer shares.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/status.h"

namespace qm {

// The kind of failure an errno value means.
Failure FailureOf(int error);

// The bytes of a file, or the reason it could not be read.
Expected<std::string> ReadFileBytes(const std::filesystem::path& path);

// Writes the bytes beside the target under a temporary name and renames the
// temporary file over the target, so a failure never leaves a half-written
// file where a good one was; when a file is replaced, the new bytes reach the
// disk before the rename.
Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Size in bytes of the file or folder entry at the path (made absolute
// against the current folder), -1 when nothing is there.
std::int64_t FileSizeOf(const std::filesystem::path& path);

} // namespace qm
