// qmk as a batch tool: folders, in place with backups, restore, existing targets, threads, and the faults that must
// lose nothing.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "batch/run/journal.h"
#include "cli/qmk.h"
#include "cli/terminal_user_interface.h"
#include "tests/cli/qmk_bench.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

using Result = test::QmkResult;

// The bench with the sample site to work on.
struct SiteBench : test::QmkBench {
    // The bundled sample site plus two pages named alike and a shell script, copied into "site".
    void copySite()
    {
        fs::copy(QMK_SAMPLE_SITE, dir / "site", fs::copy_options::recursive);
        WriteFile(dir / "site/news/index.html", "<p  class=\"n\" >news</p>\r\n");
        WriteFile(dir / "site/tools/run.sh", "#!/bin/sh\n\techo  \"x\"\n");
    }

    // The files of a folder besides its journal.
    std::map<std::string, std::string> snapshot(std::string_view folder) const
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(dir / folder))
            if (entry.is_regular_file() && entry.path().filename() != Journal::kFileName)
                files[fs::relative(entry.path(), dir / folder).string()] = ReadFile(entry.path());
        return files;
    }
};

bool Has(const std::string& text, const std::string& fragment) { return text.find(fragment) != std::string::npos; }

TEST(QmkBatch, InPlaceThenRestoreGivesBackEveryByte)
{
    SiteBench bench;
    bench.copySite();
    const auto before = bench.snapshot("site");
    Result run = bench.run({"--in-place", "-r", "--backup", bench.p("bk"), bench.p("site")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "Files processed: 6\n")) << run.out;
    EXPECT_NE(bench.snapshot("site"), before);
    EXPECT_EQ(ReadFile(bench.dir / "site/tools/run.sh"), "#!/bin/sh\n\techo  \"x\"\n") << "not a web page";
    // Each backup keeps its page's absolute path below the backup folder.
    EXPECT_EQ(ReadFile(bench.p("bk") + bench.p("site/index.html")), before.at("index.html"));
    EXPECT_EQ(ReadFile(bench.p("bk") + bench.p("site/news/index.html")), before.at("news/index.html"));

    Result restore = bench.run({"--in-place", "--restore", "-r", "--backup", bench.p("bk"), bench.p("site")});
    EXPECT_EQ(restore.status, 0) << restore.err;
    EXPECT_EQ(bench.snapshot("site"), before);
    EXPECT_TRUE(bench.snapshot("bk").empty());
}

TEST(QmkBatch, OutputModeKeepsTheStructureOfFolderArgumentsAndRestoreDeletesTheCopies)
{
    SiteBench bench;
    bench.copySite();
    WriteFile(bench.dir / "loose/index.html", "<p>loose</p>\n");
    const auto before = bench.snapshot("site");
    Result run = bench.run({"-o", bench.p("out"), bench.p("site"), bench.p("loose/index.html")});
    // Without -r only the folder's own pages; the loose file goes flat and meets the site's index.html.
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.err, "loose/index.html: skipped: \"" + bench.p("out/index.html") + "\" already exists"))
        << run.err;
    EXPECT_TRUE(fs::exists(bench.dir / "out/about.html"));
    EXPECT_FALSE(fs::exists(bench.dir / "out/news/index.html"));

    run = bench.run({"-o", bench.p("out"), "-r", "--overwrite", bench.p("site")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(bench.dir / "out/news/index.html"));
    EXPECT_TRUE(fs::exists(bench.dir / "out/css/style.css"));
    EXPECT_EQ(bench.snapshot("site"), before) << "output mode never touches the sources";

    Result restore = bench.run({"-o", bench.p("out"), "-r", "--restore", bench.p("site")});
    EXPECT_EQ(restore.status, 0) << restore.err;
    EXPECT_TRUE(bench.snapshot("out").empty());
    EXPECT_EQ(bench.snapshot("site"), before);
}

TEST(QmkBatch, ExistingTargets)
{
    struct Row {
        const char* name;
        std::vector<std::string> options;
        std::string input;
        bool terminal;
        int status;
        std::string copy;
    };
    const Row rows[] = {
        {"no terminal: reported and skipped", {}, "", false, 1, "old"},
        {"--overwrite", {"--overwrite"}, "", false, 0, "<p>x</p>\n"},
        {"--skip-existing", {"--skip-existing"}, "", false, 0, "old"},
        {"terminal: overwrite", {}, "o\n", true, 0, "<p>x</p>\n"},
        {"terminal: skip", {}, "s\n", true, 0, "old"},
        {"terminal: a wrong letter asks again", {}, "?\na\n", true, 0, "<p>x</p>\n"},
        {"terminal closed: skipped", {}, "", true, 1, "old"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SiteBench bench;
        WriteFile(bench.dir / "a.html", "<p >x</p>\n");
        WriteFile(bench.dir / "out/a.html", "old");
        std::vector<std::string> arguments = {"-o", bench.p("out")};
        arguments.insert(arguments.end(), row.options.begin(), row.options.end());
        arguments.push_back(bench.p("a.html"));
        Result result = bench.run(arguments, row.input, row.terminal);
        EXPECT_EQ(result.status, row.status) << result.err;
        EXPECT_EQ(ReadFile(bench.dir / "out/a.html"), row.copy);
    }
}

TEST(QmkBatch, InPlaceWithExistingBackupsAndWithoutBackups)
{
    SiteBench bench;
    WriteFile(bench.dir / "site/a.html", "<p >new</p>\n");
    const std::string earlier = bench.p("bk") + bench.p("site/a.html");
    WriteFile(earlier, "an earlier initial copy");
    Result result = bench.run({"--in-place", "--backup", bench.p("bk"), bench.p("site")});
    EXPECT_EQ(result.status, 1) << "nobody could be asked about the backup in the way";
    EXPECT_TRUE(Has(result.err, "skipped: its backup copy \"" + earlier + "\" already exists (--overwrite keeps"))
        << result.err;
    EXPECT_EQ(ReadFile(bench.dir / "site/a.html"), "<p >new</p>\n");
    EXPECT_EQ(ReadFile(earlier), "an earlier initial copy");

    result = bench.run({"--in-place", "--no-backup", bench.p("site")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(Has(result.err, "warning: no backups")) << result.err;
    EXPECT_EQ(ReadFile(bench.dir / "site/a.html"), "<p>new</p>\n");
}

TEST(QmkBatch, ThreadsChangeNothingButTheTime)
{
    SiteBench one, many;
    one.copySite();
    many.copySite();
    for (int i = 0; i < 40; ++i) {
        const std::string page = "<p  id=\"" + std::to_string(i) + "\" >" + std::string(i * 7, ' ') + "x</p>\n";
        WriteFile(one.dir / ("site/gen/p" + std::to_string(i) + ".html"), page);
        WriteFile(many.dir / ("site/gen/p" + std::to_string(i) + ".html"), page);
    }
    Result a = one.run({"--jobs", "1", "-r", "-o", one.p("out"), one.p("site")});
    Result b = many.run({"--jobs", "4", "-r", "-o", many.p("out"), many.p("site")});
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(b.status, 0);
    EXPECT_EQ(one.snapshot("out"), many.snapshot("out"));
    auto withoutTime = [](std::string text, const std::string& root) {
        text = text.substr(0, text.find("Time elapsed"));
        for (std::size_t at = text.find(root); at != std::string::npos; at = text.find(root))
            text.erase(at, root.size());
        return text;
    };
    EXPECT_EQ(withoutTime(a.out, one.p("")), withoutTime(b.out, many.p("")));
}

TEST(QmkBatch, ProgressLineOnlyOnATerminal)
{
    SiteBench bench;
    WriteFile(bench.dir / "a.html", "<p>a</p>\n");
    Result quiet = bench.run({"-o", bench.p("out"), bench.p("a.html")});
    EXPECT_FALSE(Has(quiet.err, "[1/1]"));
    Result shown = bench.run({"-o", bench.p("out2"), bench.p("a.html")}, "", true);
    EXPECT_TRUE(Has(shown.err, "[1/1] a.html")) << shown.err;
}

TEST(QmkBatch, UsesTheProgramFolderButNeverWritesIt)
{
    SiteBench bench;
    WriteFile(bench.program / "Profiles/keep.pro", "[settings]\r\ncbDelComments=0\r\n");
    WriteFile(bench.program / "Options.dat",
        "[settings]\r\nedProfile=" + (bench.program / "Profiles/keep.pro").string() + "\r\n");
    WriteFile(bench.dir / "a.html", "<!-- note -->\n<p>a</p>\n");
    const auto before = bench.snapshot("program");
    Result result = bench.run({"-o", bench.p("out"), bench.p("a.html")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(bench.dir / "out/a.html"), "<!-- note -->\n<p>a</p>\n") << "the current profile keeps comments";
    EXPECT_EQ(bench.snapshot("program"), before);

    // An empty program folder gives the default options and stays empty.
    SiteBench empty;
    WriteFile(empty.dir / "a.html", "<!-- note -->\n<p>a</p>\n");
    result = empty.run({"-o", empty.p("out"), empty.p("a.html")});
    EXPECT_EQ(ReadFile(empty.dir / "out/a.html"), "<p>a</p>\n");
    EXPECT_TRUE(fs::is_empty(empty.program));

    // --program-folder names another one.
    result = empty.run({"--program-folder", bench.program.string(), "-o", empty.p("out2"), empty.p("a.html")});
    EXPECT_EQ(ReadFile(empty.dir / "out2/a.html"), "<!-- note -->\n<p>a</p>\n");
}

TEST(QmkBatch, MissingArgumentsAndEmptyFolders)
{
    SiteBench bench;
    WriteFile(bench.dir / "a.html", "<p>a</p>\n");
    WriteFile(bench.dir / "run.sh", "\techo  x\n");
    Result script = bench.run({"--in-place", "--no-backup", bench.p("run.sh"), bench.p("a.html")});
    EXPECT_EQ(script.status, 1);
    EXPECT_TRUE(Has(script.err, "run.sh: not a web page by its extension (--ext adds extensions); skipped"))
        << script.err;
    EXPECT_EQ(ReadFile(bench.dir / "run.sh"), "\techo  x\n");
    fs::create_directories(bench.dir / "empty");
    Result result = bench.run({"-o", bench.p("out"), bench.p("a.html"), bench.p("nothing-here")});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(Has(result.err, "nothing-here: no such file or folder"));
    EXPECT_TRUE(fs::exists(bench.dir / "out/a.html"));
    result = bench.run({"-o", bench.p("out"), bench.p("empty")});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(Has(result.err, "no web pages to optimize"));
}

// Faults in front of the file system; after each, a restore gives the site back byte for byte (and says so by
// its status when the run had written nothing).
TEST(QmkBatch, FaultsGiveClearMessagesAndLoseNothing)
{
    struct Row {
        const char* name;
        bool inPlace;
        std::function<void(SiteBench&)> fault;
        std::string message;
        int restoreStatus = 0;
    };
    const Row rows[] = {
        {"read-only file", true, [](SiteBench& b) { b.faults.makeReadOnly(b.p("site/about.html")); },
            "about.html: the file is read-only; it was not modified"},
        {"full backup folder", true, [](SiteBench& b) { b.faults.fillFolder(b.p("bk")); }, "No space left on device",
            1},
        {"backup folder on another file system", true, [](SiteBench& b) { b.faults.crossDevice(b.p("bk")); }, ""},
        {"write fails after the backup", true, [](SiteBench& b) { b.faults.failWrites(b.p("site/index.html")); },
            "the file was left as it was"},
        {"unwritable output folder", false, [](SiteBench& b) { b.faults.lockFolder(b.p("out")); }, "Permission denied",
            1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SiteBench bench;
        bench.copySite();
        fs::create_directories(bench.dir / "bk");
        fs::create_directories(bench.dir / "out");
        const auto before = bench.snapshot("site");
        row.fault(bench);
        std::vector<std::string> mode = row.inPlace ? std::vector<std::string> {"--in-place", "--backup", bench.p("bk")}
                                                    : std::vector<std::string> {"-o", bench.p("out")};
        std::vector<std::string> arguments = mode;
        arguments.insert(arguments.end(), {"-r", bench.p("site")});
        Result run = bench.run(arguments);
        EXPECT_EQ(run.status, row.message.empty() ? 0 : 1) << run.err;
        if (!row.message.empty()) {
            EXPECT_TRUE(Has(run.err, row.message)) << run.err;
        }
        arguments.push_back("--restore");
        Result restore = bench.run(arguments);
        EXPECT_EQ(restore.status, row.restoreStatus) << restore.err;
        EXPECT_EQ(bench.snapshot("site"), before);
    }
}

} // namespace
} // namespace qm

namespace qm {
namespace {

TEST(QmkBatch, CtrlCStopsBeforeTheNextFile)
{
    SiteBench bench;
    WriteFile(bench.dir / "site/a.html", "<p >a</p>\n");
    WriteFile(bench.dir / "site/b.html", "<p >b</p>\n");
    InterruptSignal().store(true);
    Result result = bench.run({"--in-place", "--backup", bench.p("bk"), bench.p("site")});
    InterruptSignal().store(false);
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(Has(result.err, "interrupted")) << result.err;
    EXPECT_EQ(ReadFile(bench.dir / "site/a.html"), "<p >a</p>\n");
    EXPECT_EQ(ReadFile(bench.dir / "site/b.html"), "<p >b</p>\n");
}

} // namespace
} // namespace qm
