// Metadata of a replaced or copied file: owner first, then mode, then extended attributes and times.
#include "base/file_metadata.h"

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace qm {
namespace {

// The names of the file's extended attributes, each ending with a NUL.
std::vector<char> AttributeNames(const std::string& path)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = ::listxattr(path.c_str(), nullptr, 0);
        if (size <= 0) return {};
        std::vector<char> names(static_cast<std::size_t>(size));
        const ssize_t got = ::listxattr(path.c_str(), names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<std::size_t>(got));
            return names;
        }
        if (errno != ERANGE) return {};
    }
    return {};
}

void CopyAttributes(int descriptor, const std::string& fromPath)
{
    const std::vector<char> names = AttributeNames(fromPath);
    std::vector<char> value;
    for (std::size_t at = 0; at < names.size();) {
        const char* name = names.data() + at;
        at += std::string_view(name).size() + 1;
        const ssize_t size = ::getxattr(fromPath.c_str(), name, nullptr, 0);
        if (size < 0) continue;
        value.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::getxattr(fromPath.c_str(), name, value.data(), value.size());
        if (got < 0) continue;
        // An attribute the process may not set (another user's security
        // label, a name space the target file system lacks) is left out: the
        // page itself matters more than a label that only root could copy.
        (void)::fsetxattr(descriptor, name, value.data(), static_cast<std::size_t>(got), 0);
    }
}

} // namespace

mode_t NewFileMode()
{
    // Read once, before any worker thread could create a file meanwhile.
    static const mode_t mask = [] {
        const mode_t current = ::umask(022);
        ::umask(current);
        return current;
    }();
    return 0666 & ~mask;
}

void ApplyMetadata(int descriptor, const struct stat& from, const std::string& fromPath, bool times)
{
    struct stat mine;
    if (::fstat(descriptor, &mine) != 0) return;
    bool ownerKept = mine.st_uid == from.st_uid;
    bool groupKept = mine.st_gid == from.st_gid;
    if (!ownerKept || !groupKept) {
        if (::fchown(descriptor, from.st_uid, from.st_gid) == 0) {
            ownerKept = groupKept = true;
        } else if (!groupKept && ::fchown(descriptor, static_cast<uid_t>(-1), from.st_gid) == 0) {
            groupKept = true;
        }
    }
    mode_t mode = from.st_mode & 07777;
    // A setuid page that now belongs to whoever ran the program would run as them.
    if (!ownerKept) mode &= ~static_cast<mode_t>(S_ISUID);
    if (!groupKept) mode &= ~static_cast<mode_t>(S_ISGID);
    (void)::fchmod(descriptor, mode); // the descriptor's own file: it is ours to set
    CopyAttributes(descriptor, fromPath);
    if (times) {
        const struct timespec stamps[2] = {from.st_atim, from.st_mtim};
        (void)::futimens(descriptor, stamps);
    }
}

} // namespace qm
