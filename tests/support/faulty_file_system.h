// The real file system with faults on demand: read-only files, full or locked folders, vanishing files, failing
// renames.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/file_system.h"

namespace qm::test {

// Tests run as root, where permission bits stop nothing; the faults are
// therefore made here, in front of a real file system in a temporary folder.
class FaultyFileSystem final : public FileSystem {
public:
    // The file reads as read-only; replacing, deleting or renaming it fails.
    void makeReadOnly(const std::string& path);
    // Nothing new can be put into the folder (or below it): writes, copies,
    // renames into it and new folders fail as on a full disk.
    void fillFolder(const std::string& folder);
    // The same, failing as a folder without write permission.
    void lockFolder(const std::string& folder);
    // The file disappears just before it is read.
    void vanishOnRead(const std::string& path);
    // Reading the file fails as for a file without read permission.
    void failReads(const std::string& path);
    // Renames from or to anything under the path fail.
    void failRenames(const std::string& path);
    // Writes and appends to this exact path fail (the folder stays usable for moves).
    void failWrites(const std::string& path);
    // Renames and links into or out of the folder cross a file system boundary.
    void crossDevice(const std::string& folder);
    // Reading the file runs out of memory (std::bad_alloc), as a page too large for the machine would.
    void failAllocationOnRead(const std::string& path);
    // Runs just before a file replaces this path (once), as another program changing it at that moment would.
    void beforeReplace(const std::string& path, std::function<void()> action);
    // Runs just before this path is deleted (once); a test may throw from it to stop the program there, as a kill
    // would.
    void beforeRemove(const std::string& path, std::function<void()> action);
    // The folder cannot be listed, as one without read permission.
    void failListing(const std::string& folder);

    int renames() const { return renames_; }
    // Every append so far: the file and whether it was synced.
    std::vector<std::pair<std::string, bool>> appends() const
    {
        std::lock_guard lock(mutex_);
        return appends_;
    }

    bool exists(const std::string& path) override { return real_.exists(path); }
    bool isFile(const std::string& path) override { return real_.isFile(path); }
    bool isFolder(const std::string& path) override { return real_.isFolder(path); }
    std::int64_t sizeOf(const std::string& path) override { return real_.sizeOf(path); }
    std::optional<FileTime> lastWriteTime(const std::string& path) override { return real_.lastWriteTime(path); }
    Expected<FileIdentity> identify(const std::string& path) override { return real_.identify(path); }
    Expected<std::vector<FolderEntry>> listFolder(const std::string& path) override;
    Status createFolder(const std::string& path) override;
    Status rename(const std::string& from, const std::string& to, bool replace) override;
    Status link(const std::string& from, const std::string& to) override;
    Status copyFile(const std::string& from, const std::string& to) override;
    Status remove(const std::string& path) override;
    Expected<std::string> readBytes(const std::string& path) override;
    Expected<std::string> readFile(const std::string& path, FileIdentity& identity) override;
    Expected<std::string> readBytesFrom(const std::string& path, std::int64_t offset) override
    {
        return real_.readBytesFrom(path, offset);
    }
    Status replaceFile(const std::string& path, std::string_view bytes, const ReplaceOptions& options) override;
    Expected<std::int64_t> appendRecord(const std::string& path, std::string_view bytes, bool sync) override;
    Expected<FileLock> lockFile(const std::string& path) override { return real_.lockFile(path); }
    Status syncFolder(const std::string& path) override { return real_.syncFolder(path); }
    Status removeStaleTemporary(const std::string& path) override { return real_.removeStaleTemporary(path); }
    bool isReadOnly(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override { return real_.sameFile(a, b); }
    std::string absolute(const std::string& path) override { return real_.absolute(path); }

private:
    static bool Under(const std::set<std::string>& folders, const std::string& path);
    // A fault for putting something new at the path, if any.
    Status blockedTarget(const std::string& path);
    // Before a read: the file vanishes, the read fails, or the allocation fails.
    Status beforeRead(const std::string& path);

    RealFileSystem real_;
    mutable std::mutex mutex_;
    std::set<std::string> readOnly_, full_, locked_, vanishing_, readFails_, renameFails_, writeFails_, crossDevice_,
        allocationFails_, unlistable_;
    std::map<std::string, std::function<void()>> beforeReplace_, beforeRemove_;
    int renames_ = 0;
    std::vector<std::pair<std::string, bool>> appends_;
};

} // namespace qm::test
