// The real file system with faults on demand: read-only files, full or locked folders, vanishing files, failing
// renames.
#pragma once

#include <mutex>
#include <set>
#include <string>

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
    // Atomic writes to this exact path fail (the folder stays usable for moves).
    void failWrites(const std::string& path);
    // Renames into or out of the folder cross a file system boundary.
    void crossDevice(const std::string& folder);

    int renames() const { return renames_; }

    bool exists(const std::string& path) override { return real_.exists(path); }
    bool isFile(const std::string& path) override { return real_.isFile(path); }
    bool isFolder(const std::string& path) override { return real_.isFolder(path); }
    std::int64_t sizeOf(const std::string& path) override { return real_.sizeOf(path); }
    std::optional<FileTime> lastWriteTime(const std::string& path) override { return real_.lastWriteTime(path); }
    Expected<std::vector<FolderEntry>> listFolder(const std::string& path) override { return real_.listFolder(path); }
    Status createFolder(const std::string& path) override;
    Status rename(const std::string& from, const std::string& to, bool replace) override;
    Status copyFile(const std::string& from, const std::string& to) override;
    Status remove(const std::string& path) override;
    Expected<std::string> readBytes(const std::string& path) override;
    Status writeAtomically(const std::string& path, std::string_view bytes) override;
    bool isReadOnly(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override { return real_.sameFile(a, b); }
    Status copyPermissions(const std::string& from, const std::string& to) override
    {
        return real_.copyPermissions(from, to);
    }
    std::string absolute(const std::string& path) override { return real_.absolute(path); }

private:
    static bool Under(const std::set<std::string>& folders, const std::string& path);
    // A fault for putting something new at the path, if any.
    Status blockedTarget(const std::string& path);

    RealFileSystem real_;
    std::mutex mutex_;
    std::set<std::string> readOnly_, full_, locked_, vanishing_, readFails_, renameFails_, writeFails_, crossDevice_;
    int renames_ = 0;
};

} // namespace qm::test
