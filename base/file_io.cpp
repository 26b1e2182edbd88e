// Regular-file reads, durable replacement, metadata-keeping copies, appends and locks on the machine's file system.
#include "base/file_io.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <new>
#include <random>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/ascii.h"
#include "base/file_metadata.h"
#include "base/file_system.h"

namespace qm {
namespace fs = std::filesystem;

Failure FailureOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return Failure::NotFound;
    case EEXIST:
    case ENOTEMPTY:
        return Failure::Exists;
    case EXDEV:
        return Failure::CrossDevice;
    case EROFS:
    case EACCES:
    case EPERM:
        return Failure::ReadOnly;
    case ENOSPC:
    case EDQUOT:
        return Failure::NoSpace;
    default:
        return Failure::Other;
    }
}

Status SystemError(const std::string& what, const std::string& path, int error)
{
    return Status::Fail("Cannot " + what + " " + Quoted(path) + ": " + std::strerror(error), FailureOf(error));
}

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : fd_(fd)
    {
    }
    ~Descriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes now and reports what close says (a delayed write error shows here).
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

const char* KindOf(mode_t mode)
{
    if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISDIR(mode)) return "a folder";
    return "no regular file";
}

Status NotRegular(const std::string& path, mode_t mode)
{
    return Status::Fail(Quoted(path) + " is " + KindOf(mode) + ", not a regular file", Failure::NotRegular);
}

FileIdentity IdentityOf(const struct stat& status)
{
    FileIdentity identity;
    identity.device = static_cast<std::uint64_t>(status.st_dev);
    identity.inode = static_cast<std::uint64_t>(status.st_ino);
    identity.size = static_cast<std::int64_t>(status.st_size);
    identity.modifiedNanoseconds =
        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec;
    identity.mode = static_cast<std::uint32_t>(status.st_mode & 07777);
    identity.owner = static_cast<std::uint32_t>(status.st_uid);
    identity.group = static_cast<std::uint32_t>(status.st_gid);
    return identity;
}

// Opens a file for reading without blocking on a FIFO or a device, and
// checks on the descriptor itself that it is a regular file: a check by
// name first could meet another file than the one opened.
Expected<int> OpenRegular(const std::string& path, struct stat& status)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return SystemError("open", path, errno);
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        return SystemError("read", path, error);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return NotRegular(path, status.st_mode);
    }
    return fd;
}

Status WriteAll(int fd, std::string_view bytes, const std::string& path)
{
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return SystemError("write", path, errno);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return Status::Ok();
}

std::string RandomHex8()
{
    static std::atomic<std::uint64_t> counter {0};
    static const std::uint64_t seed = [] {
        std::random_device device;
        return (static_cast<std::uint64_t>(device()) << 32) ^ device() ^ static_cast<std::uint64_t>(::getpid());
    }();
    std::uint64_t value = seed + 0x9E3779B97F4A7C15ULL * ++counter;
    value ^= value >> 31;
    value *= 0xBF58476D1CE4E5B9ULL;
    value ^= value >> 29;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text(8, '0');
    for (int i = 0; i < 8; ++i) text[i] = kHex[(value >> (4 * i)) & 0xF];
    return text;
}

// A new, locked temporary file in the folder of `target`; the lock tells a
// later run that its writer is still alive.
Expected<int> CreateTemporaryBeside(const std::string& target, std::string& temporary)
{
    const std::string folder = FolderPart(target);
    int error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + ".qmk-" + RandomHex8() + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            (void)::flock(fd, LOCK_EX); // without lock support a stale file is only left for the user to see
            return fd;
        }
        error = errno;
        if (error != EEXIST) break;
    }
    return SystemError("create a file beside", target, error);
}

Status SyncDescriptor(int fd, const std::string& path)
{
    if (::fsync(fd) != 0) return SystemError("write", path, errno);
    return Status::Ok();
}

} // namespace

bool IsTemporaryName(std::string_view name)
{
    if (name.size() != 17 || name.substr(0, 5) != ".qmk-" || name.substr(13) != ".tmp") return false;
    for (char c : name.substr(5, 8))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

Expected<std::string> ReadRegularFile(const std::string& path, FileIdentity* identity, std::int64_t offset)
{
    struct stat status;
    Expected<int> opened = OpenRegular(path, status);
    if (!opened) return opened.status();
    Descriptor fd(*opened);
    if (identity) *identity = IdentityOf(status);
    try {
        // Read straight into the text, sized by the file's size: one read for the file and one that finds its end
        // (a file that grew meanwhile is read to its end all the same).
        const std::int64_t expected = static_cast<std::int64_t>(status.st_size) - offset;
        std::string bytes(expected > 0 ? static_cast<std::size_t>(expected) + 1 : 4096, '\0');
        std::size_t filled = 0;
        for (;;) {
            if (filled == bytes.size()) bytes.resize(2 * bytes.size());
            const ssize_t got = ::pread(
                fd.get(), bytes.data() + filled, bytes.size() - filled, offset + static_cast<std::int64_t>(filled));
            if (got < 0) {
                if (errno == EINTR) continue;
                return SystemError("read", path, errno);
            }
            if (got == 0) break;
            filled += static_cast<std::size_t>(got);
        }
        bytes.resize(filled);
        return bytes;
    } catch (const std::bad_alloc&) {
        return Status::Fail("Cannot read " + Quoted(path) + ": not enough memory for a file of " +
            std::to_string(status.st_size) + " bytes");
    }
}

Expected<FileIdentity> IdentifyFile(const std::string& path)
{
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) return SystemError("find", path, errno);
    return IdentityOf(status);
}

Status ReplaceFileContents(const std::string& rawPath, std::string_view bytes, const ReplaceOptions& options)
{
    const std::string path = rawPath.empty() || rawPath[0] == '/' ? rawPath : fs::absolute(rawPath).string();
    struct stat existing;
    const bool replacing = ::stat(path.c_str(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode))
        return Status::Fail("Cannot write " + Quoted(path) + ": a folder has that name", Failure::Exists);

    std::string temporary;
    Expected<int> created = CreateTemporaryBeside(path, temporary);
    if (!created) return created.status();
    Descriptor fd(*created);
    auto fail = [&](Status status) {
        ::unlink(temporary.c_str());
        return status;
    };
    if (Status written = WriteAll(fd.get(), bytes, path); !written) return fail(written);

    struct stat metadata;
    const std::string& metadataFrom = options.metadataFrom.empty() ? path : options.metadataFrom;
    if (::stat(metadataFrom.c_str(), &metadata) == 0 && S_ISREG(metadata.st_mode))
        ApplyMetadata(fd.get(), metadata, metadataFrom, options.keepTimes);
    else
        (void)::fchmod(fd.get(), NewFileMode()); // the file is ours; 0600 from its creation would do as well
    if (replacing || options.sync)
        if (Status synced = SyncDescriptor(fd.get(), path); !synced) return fail(synced);

    if (options.expected) {
        struct stat now;
        if (::stat(path.c_str(), &now) != 0 || !IdentityOf(now).sameState(*options.expected))
            return fail(Status::Fail(
                Quoted(path) + " changed while it was being worked on; it was left as it is", Failure::Changed));
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) return fail(SystemError("replace", path, errno));
    if (fd.close() != 0) return SystemError("write", path, errno); // the name is the new file's already
    return Status::Ok();
}

Status CopyRegularFile(const std::string& from, const std::string& rawTo)
{
    const std::string to = rawTo.empty() || rawTo[0] == '/' ? rawTo : fs::absolute(rawTo).string();
    struct stat status;
    Expected<int> opened = OpenRegular(from, status);
    if (!opened) return opened.status();
    Descriptor in(*opened);
    std::string temporary;
    Expected<int> created = CreateTemporaryBeside(to, temporary);
    if (!created) return created.status();
    Descriptor out(*created);
    auto fail = [&](Status failure) {
        ::unlink(temporary.c_str());
        return failure;
    };
    char block[65536];
    for (;;) {
        const ssize_t got = ::read(in.get(), block, sizeof block);
        if (got < 0) {
            if (errno == EINTR) continue;
            return fail(SystemError("read", from, errno));
        }
        if (got == 0) break;
        if (Status written = WriteAll(out.get(), std::string_view(block, static_cast<std::size_t>(got)), to); !written)
            return fail(written);
    }
    ApplyMetadata(out.get(), status, from, true);
    if (Status synced = SyncDescriptor(out.get(), to); !synced) return fail(synced);
    if (::rename(temporary.c_str(), to.c_str()) != 0) return fail(SystemError("copy to", to, errno));
    return Status::Ok();
}

Expected<std::int64_t> AppendToFile(const std::string& path, std::string_view bytes, bool sync)
{
    const int opened = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, NewFileMode());
    if (opened < 0) return SystemError("open", path, errno);
    Descriptor fd(opened);
    struct stat status;
    if (::fstat(fd.get(), &status) != 0) return SystemError("read", path, errno);
    if (!S_ISREG(status.st_mode)) return NotRegular(path, status.st_mode);
    // A record cut short by a crash must not swallow the next one.
    std::string record;
    char last = '\n';
    if (status.st_size > 0 && ::pread(fd.get(), &last, 1, status.st_size - 1) != 1) last = '\n';
    if (last != '\n') record += '\n';
    record += bytes;
    if (Status written = WriteAll(fd.get(), record, path); !written) return written;
    const auto before = static_cast<std::int64_t>(status.st_size);
    if (!sync) return before;
    if (::fdatasync(fd.get()) != 0) return SystemError("write", path, errno);
    if (status.st_size == 0)
        if (Status synced = SyncFolderEntries(FolderPart(path).empty() ? "." : FolderPart(path)); !synced)
            return synced;
    return before;
}

Expected<FileLock> LockFileExclusively(const std::string& path)
{
    const int opened = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (opened < 0) return SystemError("lock", path, errno);
    FileLock lock(opened);
    // Another run holds it only for a file's backup; a holder that does not
    // let go in a minute is stopped or hung, and waiting longer would hang this run too.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (::flock(opened, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return lock; // no locks on this file system: go on unlocked
        if (std::chrono::steady_clock::now() > deadline)
            return Status::Fail(Quoted(path) + " is held by another run for more than a minute", Failure::Exists);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return lock;
}

Status SyncFolderEntries(const std::string& path)
{
    const int opened = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (opened < 0) return SystemError("open the folder", path, errno);
    Descriptor fd(opened);
    // Some file systems cannot sync a folder; their entries are as durable as they get.
    if (::fsync(fd.get()) != 0 && errno != EINVAL && errno != EROFS) return SystemError("sync the folder", path, errno);
    return Status::Ok();
}

Status RemoveStaleTemporaryFile(const std::string& path)
{
    const int opened = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (opened < 0) return SystemError("open", path, errno);
    Descriptor fd(opened);
    struct stat held, named;
    if (::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode)) return NotRegular(path, held.st_mode);
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return Status::Fail(Quoted(path) + " is being written by a running program", Failure::Exists);
    if (::lstat(path.c_str(), &named) != 0 || named.st_ino != held.st_ino || named.st_dev != held.st_dev)
        return Status::Ok(); // renamed into place or removed meanwhile
    if (::unlink(path.c_str()) != 0) return SystemError("delete", path, errno);
    return Status::Ok();
}

std::int64_t FileSizeOf(const fs::path& path)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec) return -1;
    auto status = fs::status(absolute, ec);
    if (ec || !fs::exists(status)) return -1;
    if (fs::is_directory(status)) return 0;
    auto size = fs::file_size(absolute, ec);
    if (ec) return -1;
    return static_cast<std::int64_t>(size);
}

} // namespace qm
