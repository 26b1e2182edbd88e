// Whole-file reads, atomic replacement and sizes.
#include "base/file_io.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

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

namespace {

std::string Describe(const fs::path& path, const std::string& what)
{
    return "Cannot " + what + " \"" + path.string() + "\"";
}

// A name no other writer in this folder uses at the same moment.
fs::path TemporaryBeside(const fs::path& target, int attempt)
{
    static std::atomic<unsigned long> counter {0};
    auto stamp = static_cast<unsigned long>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::string name = "." + target.filename().string() + ".qmk-" + std::to_string(stamp % 1000000007UL) + "-" +
        std::to_string(counter++) + "-" + std::to_string(attempt);
    return target.parent_path() / name;
}

bool FlushToDisk(std::FILE* file)
{
    if (std::fflush(file) != 0) return false;
#if defined(__unix__) || defined(__APPLE__)
    if (::fsync(::fileno(file)) != 0) return false;
#endif
    return true;
}

} // namespace

Expected<std::string> ReadFileBytes(const fs::path& path)
{
    std::error_code ec;
    if (fs::is_directory(path, ec)) return Status::Fail(Describe(path, "read") + ": it is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) return Status::Fail(Describe(path, "open") + ": " + std::strerror(errno), FailureOf(errno));
    std::string bytes;
    in.seekg(0, std::ios::end);
    auto size = in.tellg();
    if (size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(bytes.data(), size);
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) return Status::Fail(Describe(path, "read") + ": " + std::strerror(errno), FailureOf(errno));
    return bytes;
}

Status WriteFileAtomically(const fs::path& path, std::string_view bytes)
{
    fs::path target = path.is_absolute() ? path : fs::absolute(path);
    std::error_code ec;
    if (fs::is_directory(target, ec))
        return Status::Fail(Describe(target, "write") + ": a folder has that name", Failure::Exists);

    fs::path temporary;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temporary = TemporaryBeside(target, attempt);
        file = std::fopen(temporary.string().c_str(), "wbx"); // x: never reuse an existing name
        if (!file && errno != EEXIST) break;
    }
    if (!file) return Status::Fail(Describe(target, "write") + ": " + std::strerror(errno), FailureOf(errno));

    // Only a file that replaces another must reach the disk before the rename:
    // otherwise a crash could leave neither the old content nor the new. A
    // new file replaces nothing, and waiting for the disk for each of them
    // would cost a run over a site more than all its passes.
    const auto existing = fs::status(target, ec);
    const bool replacing = !ec && fs::exists(existing);
    bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int writeErrno = errno;
    written = written && (replacing ? FlushToDisk(file) : std::fflush(file) == 0);
    if (!written) writeErrno = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        writeErrno = errno;
    }
    if (!written) {
        fs::remove(temporary, ec);
        return Status::Fail(Describe(target, "write") + ": " + std::strerror(writeErrno), FailureOf(writeErrno));
    }

    // A replaced file keeps its permissions (an executable CGI page stays executable).
    if (replacing) fs::permissions(temporary, existing.permissions(), fs::perm_options::replace, ec);

    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return Status::Fail(Describe(target, "replace") + ": " + ec.message(), FailureOf(ec.value()));
    }
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
