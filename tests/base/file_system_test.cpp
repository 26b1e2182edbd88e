// The machine's file system: only regular files are read, replacements keep metadata and check the target, names of
// any legal length work, and a killed writer's temporary file is told from a live one's.
#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "base/file_system.h"
#include "tests/support/temp_dir.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::vector<std::string> TemporaryFilesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (IsTemporaryName(entry.path().filename().string())) names.push_back(entry.path().filename().string());
    return names;
}

TEST(RealFileSystem, OnlyRegularFilesAreReadAndNothingHangs)
{
    TempDir dir;
    RealFileSystem files;
    const std::string fifo = (dir / "page.html").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    struct Row {
        const char* name;
        std::string path;
        Failure failure;
        const char* says;
    };
    const Row rows[] = {
        {"a FIFO", fifo, Failure::NotRegular, "is a FIFO (named pipe), not a regular file"},
        {"a character device", "/dev/null", Failure::NotRegular, "is a character device"},
        {"a folder", dir.path().string(), Failure::NotRegular, "is a folder"},
        {"nothing", (dir / "missing.html").string(), Failure::NotFound, "No such file or directory"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FileIdentity identity;
        Expected<std::string> read = files.readFile(row.path, identity);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.failure(), row.failure);
        EXPECT_NE(read.reason().find(row.says), std::string::npos) << read.reason();
        EXPECT_FALSE(files.readBytes(row.path));
    }
}

TEST(RealFileSystem, ReplacingKeepsModeOwnerAndExtendedAttributes)
{
    TempDir dir;
    RealFileSystem files;
    const std::string page = (dir / "page.php").string();
    WriteFile(page, "old");
    ::chmod(page.c_str(), 04750);
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(::chown(page.c_str(), 1234, 2345), 0);
        ::chmod(page.c_str(), 04750); // a change of owner clears setuid
    }
    const bool attributes = ::setxattr(page.c_str(), "user.origin", "site", 4, 0) == 0;

    ASSERT_TRUE(files.writeAtomically(page, "new"));
    EXPECT_EQ(ReadFile(page), "new");
    struct stat status;
    ASSERT_EQ(::stat(page.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, asRoot ? 04750u : 0750u) << "setuid only where the owner is kept";
    if (asRoot) {
        EXPECT_EQ(status.st_uid, 1234u);
        EXPECT_EQ(status.st_gid, 2345u);
    }
    if (attributes) {
        char value[16] = {};
        EXPECT_EQ(::getxattr(page.c_str(), "user.origin", value, sizeof value), 4);
        EXPECT_STREQ(value, "site");
    }
    EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());

    // A copy takes the mode of the file it was made from, not the usual one for new files.
    const std::string copy = (dir / "copy.php").string();
    WriteFile(dir / "private.html", "secret");
    ::chmod((dir / "private.html").c_str(), 0600);
    ReplaceOptions options;
    options.metadataFrom = (dir / "private.html").string();
    ASSERT_TRUE(files.replaceFile(copy, "s", options));
    ASSERT_EQ(::stat(copy.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
}

// Run by a user who may not keep the owner, a setuid page must not become setuid for that user.
TEST(RealFileSystem, SetuidIsDroppedWhereTheOwnerCannotBeKept)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand the file to another user";
    TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    const std::string page = (dir / "run.cgi").string();
    WriteFile(page, "old");
    ::chmod(page.c_str(), 06755);
    const pid_t child = ::fork();
    if (child == 0) {
        // As nobody: the file stays root's, so neither bit may stay on nobody's file.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
        RealFileSystem files;
        ::_exit(files.writeAtomically(page, "new") ? 0 : 4);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    struct stat after;
    ASSERT_EQ(::stat(page.c_str(), &after), 0);
    EXPECT_EQ(ReadFile(page), "new");
    EXPECT_EQ(after.st_uid, 65534u);
    EXPECT_EQ(after.st_mode & 07777, 0755u);
}

TEST(RealFileSystem, AReplacementChecksTheTargetIsStillTheFileItRead)
{
    TempDir dir;
    RealFileSystem files;
    const std::string page = (dir / "page.html").string();
    WriteFile(page, "as read");
    FileIdentity identity;
    ASSERT_TRUE(files.readFile(page, identity));
    WriteFile(page, "edited meanwhile");
    ReplaceOptions options;
    options.expected = identity;
    Status replaced = files.replaceFile(page, "optimized", options);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(replaced.failure(), Failure::Changed);
    EXPECT_EQ(ReadFile(page), "edited meanwhile");
    EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(RealFileSystem, NamesOfEveryLegalLength)
{
    TempDir dir;
    RealFileSystem files;
    for (std::size_t length : {240u, 250u, 255u}) {
        SCOPED_TRACE(length);
        const std::string page = (dir / std::string(length, 'n')).string();
        WriteFile(page, "old");
        ASSERT_TRUE(files.writeAtomically(page, "new"));
        EXPECT_EQ(ReadFile(page), "new");
        const std::string copy = (dir / (std::string(length - 1, 'c') + "x")).string();
        ASSERT_TRUE(files.copyFile(page, copy));
        EXPECT_EQ(ReadFile(copy), "new");
    }
}

TEST(RealFileSystem, AKilledWritersTemporaryFileGoesAndALiveOnesStays)
{
    TempDir dir;
    RealFileSystem files;
    const std::string stale = (dir / ".qmk-0123abcd.tmp").string();
    const std::string held = (dir / ".qmk-89abcdef.tmp").string();
    WriteFile(stale, "half a page");
    WriteFile(held, "a page being written");
    const int writer = ::open(held.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    EXPECT_TRUE(files.removeStaleTemporary(stale));
    EXPECT_FALSE(fs::exists(stale));
    Status kept = files.removeStaleTemporary(held);
    EXPECT_FALSE(kept);
    EXPECT_EQ(kept.failure(), Failure::Exists);
    EXPECT_TRUE(fs::exists(held));
    ::close(writer); // the writer is gone
    EXPECT_TRUE(files.removeStaleTemporary(held));
    EXPECT_FALSE(fs::exists(held));

    EXPECT_TRUE(IsTemporaryName(".qmk-0123abcd.tmp"));
    EXPECT_FALSE(IsTemporaryName(".qmk-0123abcg.tmp"));
    EXPECT_FALSE(IsTemporaryName("index.html"));
}

TEST(RealFileSystem, AppendsEndARecordCutShortByACrash)
{
    TempDir dir;
    RealFileSystem files;
    const std::string journal = (dir / "journal").string();
    Expected<std::int64_t> first = files.appendRecord(journal, "one\n", true);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, 0);
    WriteFile(journal, ReadFile(journal) + "half"); // a crash in the middle of a record
    Expected<std::int64_t> second = files.appendRecord(journal, "two\n", false);
    ASSERT_TRUE(second);
    EXPECT_EQ(*second, 8) << "the size before, the line end that ends the torn record not counted";
    EXPECT_EQ(ReadFile(journal), "one\nhalf\ntwo\n");
    Expected<std::string> tail = files.readBytesFrom(journal, 4);
    ASSERT_TRUE(tail);
    EXPECT_EQ(*tail, "half\ntwo\n");
}

TEST(RealFileSystem, AFileSizeLimitFailsTheWriteAndLeavesTheFile)
{
    TempDir dir;
    const std::string page = (dir / "page.html").string();
    WriteFile(page, "old");
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // as the programs do
        struct rlimit limit {
            1024, 1024
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        RealFileSystem files;
        Status written = files.writeAtomically(page, std::string(4096, 'x'));
        ::_exit(!written && written.reason().find("File too large") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by a signal";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFile(page), "old");
    EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

} // namespace
} // namespace qm
