// Every file operation the program performs, behind one interface so tests can make any of them fail.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_io.h"
#include "base/status.h"

namespace qm {

struct FolderEntry {
    std::string name;
    bool isFile = false;
    bool isFolder = false;
    bool isLink = false; // a symbolic link (to a file or a folder)
};

using FileTime = std::chrono::system_clock::time_point;

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const std::string& path) = 0; // any entry: file, folder, link
    virtual bool isFile(const std::string& path) = 0;
    virtual bool isFolder(const std::string& path) = 0;
    virtual std::int64_t sizeOf(const std::string& path) = 0; // -1 when nothing is there
    virtual std::optional<FileTime> lastWriteTime(const std::string& path) = 0;
    // The entries of a folder without "." and "..", sorted by name byte for
    // byte so scans are the same on every file system; the reason when unreadable.
    virtual Expected<std::vector<FolderEntry>> listFolder(const std::string& path) = 0;
    // Creates the last level only; an existing folder is no failure.
    virtual Status createFolder(const std::string& path) = 0;
    // Without replace, a taken target fails with Failure::Exists (never silently replaced).
    virtual Status rename(const std::string& from, const std::string& to, bool replace) = 0;
    // Copies beside the target under a temporary name and renames it over the
    // target, so a failure leaves the target as it was. The copy keeps the
    // source's permissions and gets the current time.
    virtual Status copyFile(const std::string& from, const std::string& to) = 0;
    virtual Status remove(const std::string& path) = 0;
    virtual Expected<std::string> readBytes(const std::string& path) = 0;
    virtual Status writeAtomically(const std::string& path, std::string_view bytes) = 0;
    // No write permission bit at all. Root may write such a file anyway, so
    // this looks at the bits, not at what the process could do.
    virtual bool isReadOnly(const std::string& path) = 0;
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;
    // Gives `to` the permission bits of `from` (a page that replaces its own source keeps them).
    virtual Status copyPermissions(const std::string& from, const std::string& to) = 0;
    // Absolute against the current folder, "." and ".." resolved without touching the disk.
    virtual std::string absolute(const std::string& path) = 0;
};

// The machine's file system.
class RealFileSystem final : public FileSystem {
public:
    bool exists(const std::string& path) override;
    bool isFile(const std::string& path) override;
    bool isFolder(const std::string& path) override;
    std::int64_t sizeOf(const std::string& path) override;
    std::optional<FileTime> lastWriteTime(const std::string& path) override;
    Expected<std::vector<FolderEntry>> listFolder(const std::string& path) override;
    Status createFolder(const std::string& path) override;
    Status rename(const std::string& from, const std::string& to, bool replace) override;
    Status copyFile(const std::string& from, const std::string& to) override;
    Status remove(const std::string& path) override;
    Expected<std::string> readBytes(const std::string& path) override;
    Status writeAtomically(const std::string& path, std::string_view bytes) override;
    bool isReadOnly(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    Status copyPermissions(const std::string& from, const std::string& to) override;
    std::string absolute(const std::string& path) override;
};

// Path helpers on the "/"-separated texts the panel keeps.
inline constexpr char kPathSeparator = '/';
std::string WithTrailingSeparator(std::string path);
std::string WithoutTrailingSeparator(std::string path);
std::string FolderPart(std::string_view path); // up to and including the last separator
std::string NamePart(std::string_view path); // after the last separator

// Creates every missing folder of an absolute path, one level at a time.
Status CreateFolders(FileSystem& fs, const std::string& path);

// Creates the folders of a path below an existing root, one level at a time.
Status CreateFolderChain(FileSystem& fs, const std::string& root, const std::string& relative);

} // namespace qm
