// The machine's file system behind the batch layer's interface, and the path helpers.
#include "base/file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/ascii.h"

namespace qm {
namespace fs = std::filesystem;

namespace {

int RenameNoReplace(const char* from, const char* to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
#endif
    // A hard link fails atomically when the target is taken.
    if (::link(from, to) == 0) {
        if (::unlink(from) == 0) return 0;
        int error = errno;
        ::unlink(to);
        errno = error;
        return -1;
    }
    if (errno == EEXIST || errno == EXDEV || errno == ENOENT) return -1;
    // File systems without hard links: the check and the rename are two steps there.
    struct stat status;
    if (::lstat(to, &status) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from, to);
}

} // namespace

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        if (descriptor_ >= 0) ::close(descriptor_);
        descriptor_ = other.descriptor_;
        other.descriptor_ = -1;
    }
    return *this;
}

FileLock::~FileLock()
{
    if (descriptor_ >= 0) ::close(descriptor_);
}

std::string Quoted(std::string_view path) { return "\"" + EscapeControlCharacters(path) + "\""; }

std::string WithTrailingSeparator(std::string path)
{
    if (path.empty() || path.back() != kPathSeparator) path += kPathSeparator;
    return path;
}

std::string WithoutTrailingSeparator(std::string path)
{
    while (path.size() > 1 && path.back() == kPathSeparator) path.pop_back();
    return path;
}

std::string FolderPart(std::string_view path)
{
    std::size_t slash = path.rfind(kPathSeparator);
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string NamePart(std::string_view path)
{
    std::size_t slash = path.rfind(kPathSeparator);
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

Status CreateFolders(FileSystem& fs, const std::string& path)
{
    const std::string folder = WithTrailingSeparator(path);
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        const std::string level = folder.substr(0, slash);
        if (!fs.isFolder(level))
            if (Status created = fs.createFolder(level); !created) return created;
    }
    return Status::Ok();
}

Status CreateFolderChain(FileSystem& fs, const std::string& root, const std::string& relative)
{
    std::string folder = WithTrailingSeparator(root);
    std::size_t start = 0;
    while (start < relative.size()) {
        std::size_t end = relative.find(kPathSeparator, start);
        if (end == std::string::npos) end = relative.size();
        if (end > start) {
            folder += relative.substr(start, end - start);
            if (!fs.isFolder(folder))
                if (Status created = fs.createFolder(folder); !created) return created;
            folder += kPathSeparator;
        }
        start = end + 1;
    }
    return Status::Ok();
}

bool RealFileSystem::exists(const std::string& path)
{
    struct stat status;
    return ::lstat(path.c_str(), &status) == 0;
}

bool RealFileSystem::isFile(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool RealFileSystem::isFolder(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

std::int64_t RealFileSystem::sizeOf(const std::string& path) { return FileSizeOf(path); }

Expected<FileIdentity> RealFileSystem::identify(const std::string& path) { return IdentifyFile(path); }

std::optional<FileTime> RealFileSystem::lastWriteTime(const std::string& path)
{
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return FileTime(std::chrono::duration_cast<FileTime::duration>(
        std::chrono::seconds(status.st_mtim.tv_sec) + std::chrono::nanoseconds(status.st_mtim.tv_nsec)));
}

Expected<std::vector<FolderEntry>> RealFileSystem::listFolder(const std::string& path)
{
    std::error_code ec;
    fs::directory_iterator it(path, ec);
    if (ec) return SystemError("list the folder", path, ec.value());
    std::vector<FolderEntry> entries;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) return SystemError("list the folder", path, ec.value());
        FolderEntry entry;
        entry.name = it->path().filename().string();
        std::error_code statusError;
        entry.isLink = it->is_symlink(statusError);
        entry.isFolder = it->is_directory(statusError);
        entry.isFile = it->is_regular_file(statusError);
        entries.push_back(std::move(entry));
    }
    if (ec) return SystemError("list the folder", path, ec.value());
    std::sort(
        entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

Status RealFileSystem::createFolder(const std::string& path)
{
    if (::mkdir(WithoutTrailingSeparator(path).c_str(), 0777) == 0) return Status::Ok();
    int error = errno;
    if (error == EEXIST && isFolder(path)) return Status::Ok();
    return SystemError("create the folder", path, error);
}

Status RealFileSystem::rename(const std::string& from, const std::string& to, bool replace)
{
    int result = replace ? ::rename(from.c_str(), to.c_str()) : RenameNoReplace(from.c_str(), to.c_str());
    if (result == 0) return Status::Ok();
    const int error = errno;
    return Status::Fail(
        "Cannot move " + Quoted(from) + " to " + Quoted(to) + ": " + std::strerror(error), FailureOf(error));
}

Status RealFileSystem::link(const std::string& from, const std::string& to)
{
    if (::link(from.c_str(), to.c_str()) == 0) return Status::Ok();
    const int error = errno;
    return Status::Fail(
        "Cannot link " + Quoted(from) + " to " + Quoted(to) + ": " + std::strerror(error), FailureOf(error));
}

Status RealFileSystem::copyFile(const std::string& from, const std::string& to) { return CopyRegularFile(from, to); }

Status RealFileSystem::remove(const std::string& path)
{
    if (::unlink(path.c_str()) == 0) return Status::Ok();
    return SystemError("delete", path, errno);
}

Expected<std::string> RealFileSystem::readBytes(const std::string& path) { return ReadRegularFile(path, nullptr); }

Expected<std::string> RealFileSystem::readFile(const std::string& path, FileIdentity& identity)
{
    return ReadRegularFile(path, &identity);
}

Expected<std::string> RealFileSystem::readBytesFrom(const std::string& path, std::int64_t offset)
{
    return ReadRegularFile(path, nullptr, offset);
}

Status RealFileSystem::replaceFile(const std::string& path, std::string_view bytes, const ReplaceOptions& options)
{
    return ReplaceFileContents(path, bytes, options);
}

Expected<std::int64_t> RealFileSystem::appendRecord(const std::string& path, std::string_view bytes, bool sync)
{
    return AppendToFile(path, bytes, sync);
}

Expected<FileLock> RealFileSystem::lockFile(const std::string& path) { return LockFileExclusively(path); }

Status RealFileSystem::syncFolder(const std::string& path) { return SyncFolderEntries(path); }

Status RealFileSystem::removeStaleTemporary(const std::string& path) { return RemoveStaleTemporaryFile(path); }

bool RealFileSystem::isReadOnly(const std::string& path)
{
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) return false;
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool RealFileSystem::sameFile(const std::string& a, const std::string& b)
{
    struct stat first, second;
    if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string RealFileSystem::absolute(const std::string& path)
{
    std::error_code ec;
    fs::path result = fs::absolute(path, ec);
    if (ec) return path;
    std::string text = result.lexically_normal().string();
    // lexically_normal keeps a trailing separator as a final empty element; keep it as the caller wrote it.
    return text;
}

} // namespace qm
