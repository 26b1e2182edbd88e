// The fault rules in front of the real file system.
#include "tests/support/faulty_file_system.h"

#include <new>

namespace qm::test {

void FaultyFileSystem::makeReadOnly(const std::string& path)
{
    std::lock_guard lock(mutex_);
    readOnly_.insert(path);
}

void FaultyFileSystem::fillFolder(const std::string& folder)
{
    std::lock_guard lock(mutex_);
    full_.insert(WithoutTrailingSeparator(folder));
}

void FaultyFileSystem::lockFolder(const std::string& folder)
{
    std::lock_guard lock(mutex_);
    locked_.insert(WithoutTrailingSeparator(folder));
}

void FaultyFileSystem::vanishOnRead(const std::string& path)
{
    std::lock_guard lock(mutex_);
    vanishing_.insert(path);
}

void FaultyFileSystem::failReads(const std::string& path)
{
    std::lock_guard lock(mutex_);
    readFails_.insert(path);
}

void FaultyFileSystem::failRenames(const std::string& path)
{
    std::lock_guard lock(mutex_);
    renameFails_.insert(WithoutTrailingSeparator(path));
}

void FaultyFileSystem::failWrites(const std::string& path)
{
    std::lock_guard lock(mutex_);
    writeFails_.insert(path);
}

void FaultyFileSystem::crossDevice(const std::string& folder)
{
    std::lock_guard lock(mutex_);
    crossDevice_.insert(WithoutTrailingSeparator(folder));
}

void FaultyFileSystem::failAllocationOnRead(const std::string& path)
{
    std::lock_guard lock(mutex_);
    allocationFails_.insert(path);
}

void FaultyFileSystem::beforeReplace(const std::string& path, std::function<void()> action)
{
    std::lock_guard lock(mutex_);
    beforeReplace_[path] = std::move(action);
}

void FaultyFileSystem::beforeRemove(const std::string& path, std::function<void()> action)
{
    std::lock_guard lock(mutex_);
    beforeRemove_[path] = std::move(action);
}

void FaultyFileSystem::failListing(const std::string& folder)
{
    std::lock_guard lock(mutex_);
    unlistable_.insert(WithoutTrailingSeparator(folder));
}

Expected<std::vector<FolderEntry>> FaultyFileSystem::listFolder(const std::string& path)
{
    {
        std::lock_guard lock(mutex_);
        if (unlistable_.count(WithoutTrailingSeparator(path)))
            return Status::Fail("Cannot list \"" + path + "\": Permission denied", Failure::Other);
    }
    return real_.listFolder(path);
}

bool FaultyFileSystem::Under(const std::set<std::string>& folders, const std::string& path)
{
    for (const std::string& folder : folders)
        if (path == folder || path.compare(0, folder.size() + 1, folder + "/") == 0) return true;
    return false;
}

Status FaultyFileSystem::blockedTarget(const std::string& path)
{
    if (readOnly_.count(path) && real_.exists(path))
        return Status::Fail("Cannot replace \"" + path + "\": Permission denied", Failure::ReadOnly);
    if (Under(full_, path))
        return Status::Fail("Cannot write \"" + path + "\": No space left on device", Failure::NoSpace);
    if (Under(locked_, path))
        return Status::Fail("Cannot write \"" + path + "\": Permission denied", Failure::ReadOnly);
    return Status::Ok();
}

Status FaultyFileSystem::createFolder(const std::string& path)
{
    {
        std::lock_guard lock(mutex_);
        if (!real_.isFolder(path))
            if (Status blocked = blockedTarget(WithoutTrailingSeparator(path)); !blocked) return blocked;
    }
    return real_.createFolder(path);
}

Status FaultyFileSystem::rename(const std::string& from, const std::string& to, bool replace)
{
    {
        std::lock_guard lock(mutex_);
        ++renames_;
        if (Under(renameFails_, from) || Under(renameFails_, to))
            return Status::Fail("Cannot move \"" + from + "\": Input/output error", Failure::Other);
        if (readOnly_.count(from))
            return Status::Fail("Cannot move \"" + from + "\": Permission denied", Failure::ReadOnly);
        if (Status blocked = blockedTarget(to); !blocked) return blocked;
        if (Under(crossDevice_, from) != Under(crossDevice_, to))
            return Status::Fail("Cannot move \"" + from + "\": Invalid cross-device link", Failure::CrossDevice);
    }
    return real_.rename(from, to, replace);
}

Status FaultyFileSystem::link(const std::string& from, const std::string& to)
{
    {
        std::lock_guard lock(mutex_);
        if (Status blocked = blockedTarget(to); !blocked) return blocked;
        if (Under(crossDevice_, from) != Under(crossDevice_, to))
            return Status::Fail("Cannot link \"" + from + "\": Invalid cross-device link", Failure::CrossDevice);
    }
    return real_.link(from, to);
}

Status FaultyFileSystem::copyFile(const std::string& from, const std::string& to)
{
    {
        std::lock_guard lock(mutex_);
        if (Status blocked = blockedTarget(to); !blocked) return blocked;
    }
    return real_.copyFile(from, to);
}

Status FaultyFileSystem::remove(const std::string& path)
{
    std::function<void()> action;
    {
        std::lock_guard lock(mutex_);
        if (readOnly_.count(path))
            return Status::Fail("Cannot delete \"" + path + "\": Permission denied", Failure::ReadOnly);
        if (Under(locked_, path))
            return Status::Fail("Cannot delete \"" + path + "\": Permission denied", Failure::ReadOnly);
        if (auto found = beforeRemove_.find(path); found != beforeRemove_.end()) {
            action = std::move(found->second);
            beforeRemove_.erase(found);
        }
    }
    if (action) action();
    return real_.remove(path);
}

Status FaultyFileSystem::beforeRead(const std::string& path)
{
    bool vanish = false;
    bool allocationFails = false;
    {
        std::lock_guard lock(mutex_);
        vanish = vanishing_.erase(path) != 0;
        allocationFails = allocationFails_.count(path) != 0;
        if (readFails_.count(path))
            return Status::Fail("Cannot read \"" + path + "\": Permission denied", Failure::Other);
    }
    if (allocationFails) throw std::bad_alloc();
    if (vanish) (void)real_.remove(path); // the fault itself: a missing file is what the test wants
    return Status::Ok();
}

Expected<std::string> FaultyFileSystem::readBytes(const std::string& path)
{
    if (Status fault = beforeRead(path); !fault) return fault;
    return real_.readBytes(path);
}

Expected<std::string> FaultyFileSystem::readFile(const std::string& path, FileIdentity& identity)
{
    if (Status fault = beforeRead(path); !fault) return fault;
    return real_.readFile(path, identity);
}

Status FaultyFileSystem::replaceFile(const std::string& path, std::string_view bytes, const ReplaceOptions& options)
{
    std::function<void()> action;
    {
        std::lock_guard lock(mutex_);
        if (writeFails_.count(path))
            return Status::Fail("Cannot write \"" + path + "\": Input/output error", Failure::Other);
        if (Status blocked = blockedTarget(path); !blocked) return blocked;
        if (auto found = beforeReplace_.find(path); found != beforeReplace_.end()) {
            action = std::move(found->second);
            beforeReplace_.erase(found);
        }
    }
    if (action) action();
    return real_.replaceFile(path, bytes, options);
}

Expected<std::int64_t> FaultyFileSystem::appendRecord(const std::string& path, std::string_view bytes, bool sync)
{
    {
        std::lock_guard lock(mutex_);
        if (writeFails_.count(path))
            return Status::Fail("Cannot write \"" + path + "\": Input/output error", Failure::Other);
        if (Status blocked = blockedTarget(path); !blocked) return blocked;
        appends_.emplace_back(path, sync);
    }
    return real_.appendRecord(path, bytes, sync);
}

bool FaultyFileSystem::isReadOnly(const std::string& path)
{
    {
        std::lock_guard lock(mutex_);
        if (readOnly_.count(path)) return true;
    }
    return real_.isReadOnly(path);
}

} // namespace qm::test
