// qmk's promise that nothing is lost: backups that never collide, restores that check what they restore, reruns of
// a build, data files, exit statuses and printed names.
#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>

#include <sys/stat.h>
#include <unistd.h>

#include "batch/run/journal.h"
#include "cli/qmk.h"
#include "tests/cli/qmk_bench.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

using Result = test::QmkResult;

// Standard output on a full disk: every write fails.
class FullStreamBuffer final : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

// qmk in-process, with an empty program folder of its own named on its command line.
struct Bench : test::QmkBench {
    Result run(std::vector<std::string> arguments, const std::string& input = "", std::streambuf* output = nullptr)
    {
        arguments.insert(arguments.begin(), {"--program-folder", program.string()});
        return QmkBench::run(arguments, input, false, output);
    }
};

bool Has(const std::string& text, const std::string& fragment) { return text.find(fragment) != std::string::npos; }

const char* const kPageA = "<p  class=\"a\" >A</p>\n";
const char* const kPageB = "<p  class=\"b\" >B</p>\n";

TEST(QmkSafety, PagesOfTheSameNameNeverShareABackup)
{
    struct Row {
        const char* name;
        std::vector<std::string> first, second, restore; // paths below the bench's folder start with "@"
    };
    const Row rows[] = {
        {"pages named one by one", {"--in-place", "@a/index.html"}, {"--in-place", "@b/index.html"},
            {"--restore", "--in-place", "@b/index.html"}},
        {"two sites, the second with --overwrite", {"--in-place", "@a"}, {"--overwrite", "--in-place", "@b"},
            {"--restore", "--in-place", "@b"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        auto run = [&](std::vector<std::string> arguments) {
            for (std::string& argument : arguments)
                if (argument[0] == '@') argument = bench.p(argument.substr(1));
            return bench.run(arguments);
        };
        bench.write("a/index.html", kPageA);
        bench.write("b/index.html", kPageB);
        ASSERT_EQ(run(row.first).status, 0);
        Result second = run(row.second);
        EXPECT_EQ(second.status, 0) << second.err;
        Result restore = run(row.restore);
        EXPECT_EQ(restore.status, 0) << restore.err;
        EXPECT_EQ(bench.read("b/index.html"), kPageB);
        EXPECT_NE(bench.read("a/index.html"), kPageA) << "a was not restored, so it stays optimized";
        Result restoreA = run({"--restore", "--in-place", "@a"});
        EXPECT_EQ(restoreA.status, 0) << restoreA.err;
        EXPECT_EQ(bench.read("a/index.html"), kPageA);
    }
}

TEST(QmkSafety, InPlaceBackupsKeepAbsolutePathsAndExclusionsTheirPathsBelowTheFolder)
{
    Bench bench;
    bench.write("site/sub/index.html", kPageA);
    bench.write("site/sub/draft.html", kPageB);
    Result run =
        bench.run({"-r", "--in-place", "--exclude", "sub/draft.html", "--backup", bench.p("bk"), bench.p("site")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(bench.read("site/sub/draft.html"), kPageB) << "passed over";
    EXPECT_EQ(ReadFile(bench.p("bk") + bench.p("site/sub/index.html")), kPageA);
}

TEST(QmkSafety, CopiesOfPagesOfTheSameNameNeverReplaceEachOther)
{
    Bench bench;
    bench.write("a/index.html", kPageA);
    bench.write("b/index.html", kPageB);
    ASSERT_EQ(bench.run({"-o", bench.p("dist"), bench.p("a/index.html")}).status, 0);
    const std::string copyOfA = bench.read("dist/index.html");
    Result second = bench.run({"-o", bench.p("dist"), bench.p("b/index.html")});
    EXPECT_EQ(second.status, 1) << "b was skipped";
    EXPECT_TRUE(Has(second.err, "already exists")) << second.err;
    Result restore = bench.run({"--restore", "-o", bench.p("dist"), bench.p("b/index.html")});
    EXPECT_EQ(restore.status, 1) << "nothing of b was restored";
    EXPECT_EQ(bench.read("dist/index.html"), copyOfA) << "a's copy stays";
}

TEST(QmkSafety, ARerunWithOverwriteKeepsTheOriginalInTheBackup)
{
    Bench bench;
    bench.write("site/index.html", kPageA);
    const std::vector<std::string> run = {"--overwrite", "--in-place", "--backup", bench.p("bk"), bench.p("site")};
    ASSERT_EQ(bench.run(run).status, 0);
    const std::string optimized = bench.read("site/index.html");
    Result rerun = bench.run(run);
    EXPECT_EQ(rerun.status, 0) << rerun.err;
    EXPECT_EQ(bench.read("site/index.html"), optimized);
    Result restore = bench.run({"--restore", "--in-place", "--backup", bench.p("bk"), bench.p("site")});
    EXPECT_EQ(restore.status, 0) << restore.err;
    EXPECT_EQ(bench.read("site/index.html"), kPageA);
}

TEST(QmkSafety, RestoreTouchesOnlyWhatItWrote)
{
    Bench bench;
    bench.write("site/index.html", kPageA);
    bench.write("site/about.html", kPageB);
    bench.write("other/index.html", "hand-written\n");
    const std::vector<std::string> inPlace = {"--in-place", "--backup", bench.p("bk")};
    auto with = [](std::vector<std::string> arguments, std::initializer_list<std::string> more) {
        arguments.insert(arguments.end(), more);
        return arguments;
    };

    // A folder this program never wrote to keeps its files.
    Result foreign = bench.run({"--restore", "-o", bench.p("other"), bench.p("site")});
    EXPECT_EQ(foreign.status, 1);
    EXPECT_EQ(bench.read("other/index.html"), "hand-written\n");

    ASSERT_EQ(bench.run(with(inPlace, {bench.p("site")})).status, 0);
    bench.write("site/index.html", "edited\n");
    fs::remove(bench.dir / "site/about.html");
    Result restore = bench.run(with(inPlace, {"--restore", bench.p("site")}));
    EXPECT_EQ(restore.status, 1) << "the edited page was not restored";
    EXPECT_TRUE(Has(restore.err, "index.html: not restored: it was changed")) << restore.err;
    EXPECT_TRUE(Has(restore.err, "--force")) << restore.err;
    EXPECT_EQ(bench.read("site/index.html"), "edited\n");
    EXPECT_EQ(bench.read("site/about.html"), kPageB) << "a missing page is restored too";

    Result forced = bench.run(with(inPlace, {"--restore", "--force", bench.p("site")}));
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(bench.read("site/index.html"), kPageA);
    EXPECT_EQ(bench.read("site/index.html.~1~"), "edited\n") << "the edit is kept beside the page";
    EXPECT_TRUE(Has(forced.out, "the changed page is kept as")) << forced.out;
}

TEST(QmkSafety, ABuildRunAgainReplacesItsOwnUnchangedOutputs)
{
    Bench bench;
    bench.write("src/index.html", kPageA);
    bench.write("src/sub/about.html", kPageB);
    bench.write("src/app.js", "let a = 1;\n");
    const std::vector<std::string> build = {"-r", "--sync", "-o", bench.p("dist"), bench.p("src")};
    ASSERT_EQ(bench.run(build).status, 0);
    const std::string firstCopy = bench.read("dist/index.html");

    Result again = bench.run(build);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_FALSE(Has(again.err, "skipped")) << again.err;
    EXPECT_EQ(bench.read("dist/index.html"), firstCopy);

    bench.write("src/index.html", "<b  >changed source</b>\n");
    bench.write("src/app.js", "let a = 2;\n");
    Result afterEdit = bench.run(build);
    EXPECT_EQ(afterEdit.status, 0) << afterEdit.err;
    EXPECT_EQ(bench.read("dist/index.html"), "<b>changed source</b>\n");
    EXPECT_EQ(bench.read("dist/app.js"), "let a = 2;\n");

    // An output edited by hand, or a file this program did not write, stays protected.
    bench.write("dist/index.html", "hand edit\n");
    bench.write("src/new.html", kPageA);
    bench.write("dist/new.html", "not ours\n");
    bench.write("dist/app.js", "hand edit\n");
    Result protectedRun = bench.run(build);
    EXPECT_EQ(protectedRun.status, 1);
    EXPECT_TRUE(Has(protectedRun.err, "dist/index.html\" already exists")) << protectedRun.err;
    EXPECT_TRUE(Has(protectedRun.err, "dist/new.html\" already exists")) << protectedRun.err;
    EXPECT_EQ(bench.read("dist/index.html"), "hand edit\n");
    EXPECT_EQ(bench.read("dist/new.html"), "not ours\n");
    EXPECT_EQ(bench.read("dist/app.js"), "hand edit\n");
}

TEST(QmkSafety, DataFiles)
{
    Bench bench;
    const std::string page = "<!--#include virtual=\"/menu.html\" -->\n<!--  a comment  -->\n<p  >x</p>\n";
    bench.write("site/index.html", page);
    Result missingFolder = bench.run({"--data", bench.p("nowhere"), "-o", bench.p("out"), bench.p("site")});
    EXPECT_EQ(missingFolder.status, 2);
    EXPECT_TRUE(Has(missingFolder.err, "nowhere: no such folder")) << missingFolder.err;
    EXPECT_FALSE(fs::exists(bench.dir / "out"));

    // The program folder holds no data files: the built-in lists apply, named in a warning each.
    Result builtIn = bench.run({"-o", bench.p("out"), bench.p("site")});
    EXPECT_EQ(builtIn.status, 0) << builtIn.err;
    EXPECT_TRUE(Has(builtIn.err, "Ssi.dat\" is missing; the built-in list")) << builtIn.err;
    EXPECT_TRUE(Has(builtIn.err, "Align.dat\" is missing; the built-in list")) << builtIn.err;
    const std::string copy = bench.read("out/index.html");
    EXPECT_TRUE(Has(copy, "<!--#include virtual=\"/menu.html\" -->")) << copy;
    EXPECT_FALSE(Has(copy, "a comment")) << copy;
}

TEST(QmkSafety, ExitStatusIsZeroOnlyWhenEveryPageWasHandled)
{
    struct Row {
        const char* name;
        std::function<Result(Bench&)> run;
        int status;
        std::string message;
    };
    const Row rows[] = {
        {"every page written",
            [](Bench& b) {
                b.write("site/a.html", kPageA);
                return b.run({"-o", b.p("out"), b.p("site")});
            },
            0, ""},
        {"the only page refused",
            [](Bench& b) {
                b.write("site/a.html", std::string("<p>\0</p>", 8));
                return b.run({"-o", b.p("out"), b.p("site")});
            },
            1, "NUL"},
        {"a folder that cannot be listed",
            [](Bench& b) {
                b.write("site/a.html", kPageA);
                b.write("site/locked/b.html", kPageB);
                b.faults.failListing(b.p("site/locked"));
                return b.run({"-r", "-o", b.p("out"), b.p("site")});
            },
            1, "locked"},
        {"a restore that restored nothing asked",
            [](Bench& b) {
                b.write("site/a.html", kPageA);
                return b.run({"--restore", "-o", b.p("out"), b.p("site")});
            },
            1, "nothing to restore"},
        {"standard output that cannot be written",
            [](Bench& b) {
                FullStreamBuffer full;
                return b.run({"-"}, kPageA, &full);
            },
            1, "standard output"},
        {"a report that cannot be written",
            [](Bench& b) {
                b.write("site/a.html", kPageA);
                FullStreamBuffer full;
                return b.run({"-o", b.p("out"), b.p("site")}, "", &full);
            },
            1, "standard output"},
        {"a settings file that is a FIFO: no hang, and no command-line mistake",
            [](Bench& b) {
                b.write("site/a.html", kPageA);
                EXPECT_EQ(::mkfifo(b.p("program/Options.dat").c_str(), 0600), 0);
                return b.run({"-o", b.p("out"), b.p("site")});
            },
            1, "Options.dat"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        const Result result = row.run(bench);
        EXPECT_EQ(result.status, row.status) << result.err;
        if (!row.message.empty()) {
            EXPECT_TRUE(Has(result.err, row.message)) << result.err;
        }
    }
}

TEST(QmkSafety, OutOfMemoryFailsThatPageOnly)
{
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(std::string("--jobs ") + jobs);
        Bench bench;
        bench.write("site/a.html", kPageA);
        bench.write("site/huge.html", kPageB);
        bench.write("site/z.html", kPageB);
        bench.faults.failAllocationOnRead(bench.p("site/huge.html"));
        Result result = bench.run({"--jobs", jobs, "-o", bench.p("out"), bench.p("site")});
        EXPECT_EQ(result.status, 1);
        EXPECT_TRUE(Has(result.err, "huge.html")) << result.err;
        EXPECT_TRUE(fs::exists(bench.dir / "out/a.html"));
        EXPECT_TRUE(fs::exists(bench.dir / "out/z.html"));
        EXPECT_FALSE(fs::exists(bench.dir / "out/huge.html"));
    }
}

// A sync costs a disk's round trip per page; only the records a restore of an original depends on are worth it.
TEST(QmkSafety, OnlyRecordsThatKeepAnOriginalWaitForTheDisk)
{
    Bench bench;
    bench.write("site/a.html", kPageA);
    bench.write("site/b.html", kPageB);
    ASSERT_EQ(bench.run({"-o", bench.p("out"), bench.p("site")}).status, 0);
    ASSERT_EQ(bench.run({"--in-place", "--backup", bench.p("bk"), bench.p("site")}).status, 0);
    int copies = 0, backups = 0;
    for (const auto& [path, synced] : bench.faults.appends()) {
        SCOPED_TRACE(path);
        if (path.rfind(bench.p("out"), 0) == 0) {
            EXPECT_FALSE(synced);
            ++copies;
        } else {
            EXPECT_TRUE(synced);
            ++backups;
        }
    }
    EXPECT_EQ(copies, 2);
    EXPECT_EQ(backups, 2);
    // The copies' records serve as before: a rerun replaces its own copies without asking.
    bench.write("site/a.html", kPageB);
    EXPECT_EQ(bench.run({"-o", bench.p("out"), bench.p("site")}, "").status, 0);
}

TEST(QmkSafety, APageChangedDuringTheRunIsLeftAsItIs)
{
    Bench bench;
    bench.write("site/index.html", kPageA);
    bench.faults.beforeReplace(bench.p("site/index.html"), [&] { bench.write("site/index.html", "an edit\n"); });
    Result run = bench.run({"--in-place", "--backup", bench.p("bk"), bench.p("site")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.err, "index.html")) << run.err;
    EXPECT_EQ(bench.read("site/index.html"), "an edit\n");
}

TEST(QmkSafety, ReplacedPagesAndCopiesKeepModeAndOwner)
{
    Bench bench;
    bench.write("site/private.html", kPageA);
    const std::string page = bench.p("site/private.html");
    ASSERT_EQ(::chmod(page.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(page.c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(bench.run({"-o", bench.p("out"), bench.p("site")}).status, 0);
    ASSERT_EQ(bench.run({"--in-place", "--backup", bench.p("bk"), bench.p("site")}).status, 0);
    for (const char* file : {"out/private.html", "site/private.html"}) {
        SCOPED_TRACE(file);
        struct stat status { };
        ASSERT_EQ(::stat(bench.p(file).c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0640u);
        if (root) {
            EXPECT_EQ(status.st_uid, 65534u);
        }
    }
    EXPECT_EQ(bench.read("site/private.html"), "<p class=\"a\">A</p>\n");
}

// Thrown by a fault to leave everything as a kill at that step would.
struct Killed { };

TEST(QmkSafety, ARunOrRestoreStoppedBetweenTwoStepsLeavesNothingBehind)
{
    Bench bench;
    bench.write("site/index.html", kPageA);
    const std::string page = bench.p("site/index.html");
    const std::string backup = bench.p("bk") + page;
    const std::vector<std::string> run = {"--in-place", "--jobs", "1", "--backup", bench.p("bk"), bench.p("site")};
    std::vector<std::string> restore = run;
    restore.push_back("--restore");

    // Stopped after the backup was made, before the page was replaced.
    bench.faults.beforeReplace(page, [] { throw Killed {}; });
    EXPECT_THROW(bench.run(run), Killed);
    EXPECT_EQ(bench.read("site/index.html"), kPageA);
    ASSERT_TRUE(fs::exists(backup));

    // The restore finds the page holding its original; stopped as it deletes the second copy.
    bench.faults.beforeRemove(backup, [] { throw Killed {}; });
    EXPECT_THROW(bench.run(restore), Killed);
    Result again = bench.run(restore);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(bench.read("site/index.html"), kPageA);
    EXPECT_FALSE(fs::exists(backup)) << "a backup with no open record would stay for ever";
}

TEST(QmkSafety, ARunThatFindsItsPageReplacedKeepsTheBackupAnotherRunCountsOn)
{
    Bench bench;
    bench.write("site/index.html", kPageA);
    const std::string page = bench.p("site/index.html");
    // Another run at work on the same page takes this run's backup as its own and replaces the page first.
    bench.faults.beforeReplace(page, [&] {
        Journal journal(bench.faults, bench.p("bk") + "/");
        ASSERT_TRUE(journal.refresh());
        ASSERT_FALSE(journal.liveEntriesOf(page, RecordKind::Backup).empty());
        JournalEntry other = *journal.liveEntriesOf(page, RecordKind::Backup).front();
        other.id.clear();
        ASSERT_TRUE(journal.record(other));
        bench.write("other.tmp", "<p class=\"a\">A</p>\n");
        fs::rename(bench.dir / "other.tmp", page);
    });
    Result run = bench.run({"--in-place", "--jobs", "1", "--backup", bench.p("bk"), bench.p("site")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.err, "changed while")) << run.err;
    Result restore = bench.run({"--in-place", "--restore", "--backup", bench.p("bk"), bench.p("site")});
    EXPECT_EQ(restore.status, 0) << restore.err;
    EXPECT_EQ(bench.read("site/index.html"), kPageA);
}

TEST(QmkSafety, PrintedNamesCannotForgeReportLines)
{
    Bench bench;
    const std::string name = "evil\n\x1b[2Jname.html";
    bench.write("site/" + name, kPageA);
    Result run = bench.run({"-o", bench.p("out"), bench.p("site")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(Has(run.out, "\x1b")) << run.out;
    EXPECT_FALSE(Has(run.out, "evil\n")) << run.out;
    EXPECT_EQ(bench.read("out/" + name), "<p class=\"a\">A</p>\n");
}

} // namespace
} // namespace qm
