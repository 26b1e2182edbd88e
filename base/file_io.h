// The machine's file access below the FileSystem interface: reads of regular files only, durable replacement,
// copies that keep metadata, appends, locks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/status.h"

namespace qm {

struct FileIdentity;
struct ReplaceOptions;
class FileLock;

// The kind of failure an errno value means.
Failure FailureOf(int error);

// "Cannot <what> "<path>": <the system's reason>", with the path's control characters escaped.
Status SystemError(const std::string& what, const std::string& path, int error);

// See FileSystem for each of these.
Expected<std::string> ReadRegularFile(const std::string& path, FileIdentity* identity, std::int64_t offset = 0);
Expected<FileIdentity> IdentifyFile(const std::string& path);
Status ReplaceFileContents(const std::string& path, std::string_view bytes, const ReplaceOptions& options);
Status CopyRegularFile(const std::string& from, const std::string& to);
Expected<std::int64_t> AppendToFile(const std::string& path, std::string_view bytes, bool sync);
Expected<FileLock> LockFileExclusively(const std::string& path);
Status SyncFolderEntries(const std::string& path);
Status RemoveStaleTemporaryFile(const std::string& path);

// Size in bytes of the file or folder entry at the path (made absolute
// against the current folder), -1 when nothing is there.
std::int64_t FileSizeOf(const std::filesystem::path& path);

} // namespace qm
