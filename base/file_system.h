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

// What tells one state of a file from another without reading it: the same
// file (device and inode) with the same size and modification time. The
// mode and owner come along for the records that keep them.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1;
    std::int64_t modifiedNanoseconds = 0;
    std::uint32_t mode = 0; // permission bits, setuid, setgid and sticky
    std::uint32_t owner = 0;
    std::uint32_t group = 0;

    bool sameState(const FileIdentity& other) const
    {
        return device == other.device && inode == other.inode && size == other.size &&
            modifiedNanoseconds == other.modifiedNanoseconds;
    }
};

// How replaceFile writes.
struct ReplaceOptions {
    // The file whose mode, owner (where the program may set it) and extended
    // attributes the new file takes; empty: those of the file it replaces,
    // and the usual mode for a new file. Setuid and setgid are dropped where
    // the owner or the group cannot be kept.
    std::string metadataFrom;
    // When set, the target must still be exactly this file just before the
    // rename; otherwise nothing is replaced and the failure is Failure::Changed.
    std::optional<FileIdentity> expected;
    // The new bytes reach the disk before the rename. A file that replaces
    // another is always synced; a new file only when asked.
    bool sync = false;
    // The access and modification times of metadataFrom too (a file put back as it was).
    bool keepTimes = false;
};

// An exclusive lock on a file, held until this object goes.
class FileLock {
public:
    FileLock() = default;
    explicit FileLock(int descriptor)
        : descriptor_(descriptor)
    {
    }
    FileLock(FileLock&& other) noexcept
        : descriptor_(other.descriptor_)
    {
        other.descriptor_ = -1;
    }
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

private:
    int descriptor_ = -1;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const std::string& path) = 0; // any entry: file, folder, link
    virtual bool isFile(const std::string& path) = 0; // a regular file (through links)
    virtual bool isFolder(const std::string& path) = 0;
    virtual std::int64_t sizeOf(const std::string& path) = 0; // -1 when nothing is there
    virtual std::optional<FileTime> lastWriteTime(const std::string& path) = 0;
    // The file's identity (through links), or why there is none.
    virtual Expected<FileIdentity> identify(const std::string& path) = 0;
    // The entries of a folder without "." and "..", sorted by name byte for
    // byte so scans are the same on every file system; the reason when unreadable.
    virtual Expected<std::vector<FolderEntry>> listFolder(const std::string& path) = 0;
    // Creates the last level only; an existing folder is no failure.
    virtual Status createFolder(const std::string& path) = 0;
    // Without replace, a taken target fails with Failure::Exists (never silently replaced).
    virtual Status rename(const std::string& from, const std::string& to, bool replace) = 0;
    // A second name for a file (a hard link). A taken `to` fails with
    // Failure::Exists; another file system with Failure::CrossDevice.
    virtual Status link(const std::string& from, const std::string& to) = 0;
    // Copies beside the target under a temporary name, syncs, and renames it
    // over the target, so a failure leaves the target as it was. The copy
    // keeps the source's mode, owner (where the program may set it),
    // extended attributes and times, as a move would.
    virtual Status copyFile(const std::string& from, const std::string& to) = 0;
    virtual Status remove(const std::string& path) = 0;
    // The bytes of a regular file. The file is opened without blocking and
    // checked on the open descriptor, so a FIFO, a device or a socket (even
    // one that took a file's place a moment ago) is refused with
    // Failure::NotRegular instead of hanging the program.
    virtual Expected<std::string> readBytes(const std::string& path) = 0;
    // The same, with the identity of exactly the file that was read.
    virtual Expected<std::string> readFile(const std::string& path, FileIdentity& identity) = 0;
    // The bytes from an offset to the end (a journal's newer records).
    virtual Expected<std::string> readBytesFrom(const std::string& path, std::int64_t offset) = 0;
    // Writes a short-named temporary file beside the target (so names of
    // any legal length work), gives it its metadata, syncs it when asked or
    // when it replaces a file, checks the target when asked, and renames it
    // over the target. The temporary file is locked while it exists, so a
    // later run can tell one left by a killed process (see
    // removeStaleTemporary). A failure leaves the target as it was.
    virtual Status replaceFile(const std::string& path, std::string_view bytes, const ReplaceOptions& options) = 0;
    // Appends the bytes with one write; with `sync` they reach the disk before it returns (and a new file's folder
    // entry too). Gives the file's size before the append.
    virtual Expected<std::int64_t> appendRecord(const std::string& path, std::string_view bytes, bool sync) = 0;
    // An exclusive lock on an existing file or folder; waits a while for another holder.
    virtual Expected<FileLock> lockFile(const std::string& path) = 0;
    // Makes the entries of a folder (new names, renames) durable.
    virtual Status syncFolder(const std::string& path) = 0;
    // Deletes a temporary file of replaceFile whose writer is gone; a file
    // still held by a running writer stays and fails with Failure::Exists.
    virtual Status removeStaleTemporary(const std::string& path) = 0;
    // No write permission bit at all. Root may write such a file anyway, so
    // this looks at the bits, not at what the process could do.
    virtual bool isReadOnly(const std::string& path) = 0;
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;
    // Absolute against the current folder, "." and ".." resolved without touching the disk.
    virtual std::string absolute(const std::string& path) = 0;

    // replaceFile with the metadata of the file replaced.
    Status writeAtomically(const std::string& path, std::string_view bytes)
    {
        return replaceFile(path, bytes, ReplaceOptions {});
    }
};

// The machine's file system.
class RealFileSystem final : public FileSystem {
public:
    bool exists(const std::string& path) override;
    bool isFile(const std::string& path) override;
    bool isFolder(const std::string& path) override;
    std::int64_t sizeOf(const std::string& path) override;
    std::optional<FileTime> lastWriteTime(const std::string& path) override;
    Expected<FileIdentity> identify(const std::string& path) override;
    Expected<std::vector<FolderEntry>> listFolder(const std::string& path) override;
    Status createFolder(const std::string& path) override;
    Status rename(const std::string& from, const std::string& to, bool replace) override;
    Status link(const std::string& from, const std::string& to) override;
    Status copyFile(const std::string& from, const std::string& to) override;
    Status remove(const std::string& path) override;
    Expected<std::string> readBytes(const std::string& path) override;
    Expected<std::string> readFile(const std::string& path, FileIdentity& identity) override;
    Expected<std::string> readBytesFrom(const std::string& path, std::int64_t offset) override;
    Status replaceFile(const std::string& path, std::string_view bytes, const ReplaceOptions& options) override;
    Expected<std::int64_t> appendRecord(const std::string& path, std::string_view bytes, bool sync) override;
    Expected<FileLock> lockFile(const std::string& path) override;
    Status syncFolder(const std::string& path) override;
    Status removeStaleTemporary(const std::string& path) override;
    bool isReadOnly(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    std::string absolute(const std::string& path) override;
};

// The name replaceFile and copyFile give their temporary files: ".qmk-",
// eight hexadecimal digits, ".tmp". Short, so a page name of 255 bytes works.
bool IsTemporaryName(std::string_view name);

// Path helpers on the "/"-separated texts the panel keeps.
inline constexpr char kPathSeparator = '/';
std::string WithTrailingSeparator(std::string path);
std::string WithoutTrailingSeparator(std::string path);
std::string FolderPart(std::string_view path); // up to and including the last separator
std::string NamePart(std::string_view path); // after the last separator

// A path for messages: the name in double quotes, control characters escaped.
std::string Quoted(std::string_view path);

// Creates every missing folder of an absolute path, one level at a time.
Status CreateFolders(FileSystem& fs, const std::string& path);

// Creates the folders of a path below an existing root, one level at a time.
Status CreateFolderChain(FileSystem& fs, const std::string& root, const std::string& relative);

} // namespace qm
