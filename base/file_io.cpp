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

ReadResult ReadFileBytes(const fs::path& path)
{
    std::error_code ec;
    if (fs::is_directory(path, ec)) return {std::nullopt, {Describe(path, "read") + ": it is a folder"}};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {std::nullopt, {Describe(path, "open") + ": " + std::strerror(errno)}};
    std::string bytes;
    in.seekg(0, std::ios::end);
    auto size = in.tellg();
    if (size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(bytes.data(), size);
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) return {std::nullopt, {Describe(path, "read") + ": " + std::strerror(errno)}};
    return {std::move(bytes), {}};
}

std::optional<FileError> WriteFileAtomically(const fs::path& path, std::string_view bytes)
{
    fs::path target = path.is_absolute() ? path : fs::absolute(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) return FileError {Describe(target, "write") + ": a folder has that name"};

    fs::path temporary;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temporary = TemporaryBeside(target, attempt);
        file = std::fopen(temporary.string().c_str(), "wbx"); // x: never reuse an existing name
        if (!file && errno != EEXIST) break;
    }
    if (!file) return FileError {Describe(target, "write") + ": " + std::strerror(errno)};

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
        return FileError {Describe(target, "write") + ": " + std::strerror(writeErrno)};
    }

    // A replaced file keeps its permissions (an executable CGI page stays executable).
    if (replacing) fs::permissions(temporary, existing.permissions(), fs::perm_options::replace, ec);

    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return FileError {Describe(target, "replace") + ": " + ec.message()};
    }
    return std::nullopt;
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
