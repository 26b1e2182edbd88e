// qmk as a Unix tool: --set and --list-options, profile warnings and errors, -q and -v, --json, --sync, the site
// rules, several roots, and the default number of jobs.
#include <gtest/gtest.h>

#include <map>
#include <sched.h>
#include <sstream>

#include "base/version.h"
#include "cli/processor_count.h"
#include "cli/qmk.h"
#include "tests/cli/qmk_bench.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

bool Has(const std::string& text, const std::string& fragment) { return text.find(fragment) != std::string::npos; }

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// qmk in-process, keeping the last run's status and texts for the checks that follow.
struct Unix : test::QmkBench {
    int status = -1;
    std::string out, err;

    // The program folder holds the data files, so no warning about them disturbs what the tests read.
    Unix()
    {
        for (const char* name : {"Align.dat", "Ssi.dat"})
            fs::copy_file(fs::path(QMK_SOURCE_DIR) / "data" / name, program / name);
    }

    int run(const std::vector<std::string>& arguments, const std::string& input = "")
    {
        test::QmkResult result = QmkBench::run(arguments, input);
        out = std::move(result.out);
        err = std::move(result.err);
        return status = result.status;
    }
};

TEST(QmkUnix, HelpVersionAndOneLineUsageErrors)
{
    Unix qmk;
    EXPECT_EQ(qmk.run({"-o", "d", "--help"}), 0);
    EXPECT_TRUE(Has(qmk.out, "usage: qmk")) << qmk.out;
    EXPECT_EQ(qmk.err, "");
    EXPECT_EQ(qmk.run({"-V"}), 0);
    EXPECT_EQ(qmk.out, "qmk " + std::string(kVersionText) + "\n");
    EXPECT_EQ(qmk.run({"--bogus", "-o", "d", "s"}), 2);
    EXPECT_EQ(qmk.err, "qmk: unknown option --bogus\nTry 'qmk --help' for more information.\n");
    EXPECT_EQ(qmk.out, "");
}

TEST(QmkUnix, SetAndListOptions)
{
    Unix qmk;
    qmk.write("p/mine.pro", "[settings]\r\ncbDelKav=0\r\n");
    EXPECT_EQ(qmk.run({"--list-options", "--profile", qmk.p("p/mine.pro"), "--set", "cbDelComments=0"}), 0);
    EXPECT_EQ(qmk.err, "");
    std::map<std::string, std::vector<std::string>> rows;
    for (const std::string& line : Lines(qmk.out)) {
        std::istringstream words(line);
        std::string key, value, fallback;
        words >> key >> value >> fallback;
        rows[key] = {value, fallback, line};
    }
    ASSERT_TRUE(rows.count("KEY")) << "a heading line";
    EXPECT_EQ(rows["cbDelKav"][0], "0") << "from the profile";
    EXPECT_EQ(rows["cbDelKav"][1], "1") << "the default";
    EXPECT_EQ(rows["cbDelComments"][0], "0") << "from --set";
    EXPECT_EQ(rows["cbDelEmptyLine"][0], "1");
    EXPECT_TRUE(Has(rows["cbDelComments"][2], "Remove comments ( <!-- --> )")) << "the caption";
    EXPECT_EQ(rows.size(), 21u) << "the heading and the twenty options --set takes";

    EXPECT_EQ(qmk.run({"--list-options", "--json", "--set", "cbKeepPre=0"}), 0);
    EXPECT_TRUE(Has(qmk.out,
        "{\"key\":\"cbKeepPre\",\"value\":\"0\",\"default\":\"1\",\"page\":\"Common\",\"caption\":\"Keep the text"))
        << qmk.out;

    // The option set in force is the one a run uses.
    qmk.write("a.html", "<!-- c -->\n<p class=\"x\">a</p>\n");
    EXPECT_EQ(qmk.run({"--set", "cbDelComments=0", "--set", "cbDelKav=0", "-o", qmk.p("out"), qmk.p("a.html")}), 0);
    EXPECT_EQ(qmk.read("out/a.html"), "<!-- c -->\n<p class=\"x\">a</p>\n");
}

TEST(QmkUnix, MisspeltKeysWarnAndWrongSettingsStop)
{
    struct Row {
        const char* name;
        std::vector<std::string> arguments; // before the page; "PROFILE" stands for the test's profile
        std::string profile; // its text
        int status;
        std::string err; // a fragment; empty: nothing on standard error
    };
    const Row rows[] = {
        {"a misspelt key in --set", {"--set", "cbDelComent=0"}, "", 0,
            "qmk: warning: --set cbDelComent=0 ignored: unknown option key 'cbDelComent'; did you mean cbDelComments?"},
        {"quiet hides the warning", {"-q", "--set", "cbDelComent=0"}, "", 0, ""},
        {"a misspelt key in the profile", {"--profile", "PROFILE"}, "[settings]\r\ncbDelComent=0\r\n", 0,
            "profile PROFILE: unknown option key 'cbDelComent'; did you mean cbDelComments?"},
        {"a program option in the profile", {"--profile", "PROFILE"}, "[settings]\r\nedBackUpPath=/x/\r\n", 0,
            "'edBackUpPath' is a program option"},
        {"a value that is no flag", {"--set", "cbDelKav=off"}, "", 2,
            "qmk: --set cbDelKav=off: cbDelKav is a flag: 1 is on, 0 is off, not 'off'\nTry 'qmk --help'"},
        {"a program option in --set", {"--set", "edOptimizedPath=/tmp"}, "", 2, "is a program option"},
        {"a named profile without settings", {"--profile", "PROFILE"}, "not a profile\n", 2,
            "the profile PROFILE holds no settings"},
        {"a named profile that is not there", {"--profile", "missing.pro"}, "", 2, "no profile at missing.pro"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Unix qmk;
        const std::string profile = qmk.p("mine.pro");
        if (!row.profile.empty()) qmk.write("mine.pro", row.profile);
        qmk.write("a.html", "<p>a</p>\n");
        std::vector<std::string> arguments;
        for (const std::string& argument : row.arguments)
            arguments.push_back(argument == "PROFILE" ? profile : argument);
        arguments.insert(arguments.end(), {"-o", qmk.p("out"), qmk.p("a.html")});
        EXPECT_EQ(qmk.run(arguments), row.status) << qmk.err;
        std::string expected = row.err;
        if (std::size_t at = expected.find("PROFILE"); at != std::string::npos) expected.replace(at, 7, profile);
        if (expected.empty())
            EXPECT_EQ(qmk.err, "");
        else
            EXPECT_TRUE(Has(qmk.err, expected)) << qmk.err;
        EXPECT_EQ(qmk.exists("out/a.html"), row.status == 0) << "nothing is written on wrong settings";
    }
}

TEST(QmkUnix, AnUnreadableProfileIsAnError)
{
    Unix qmk;
    qmk.write("a.html", "<p>a</p>\n");
    qmk.write("mine.pro", "[settings]\r\ncbDelKav=0\r\n");
    qmk.faults.failReads(qmk.p("mine.pro"));
    // Settings that cannot be read stop qmk as a failure (1), not as a mistake of the command line (2).
    EXPECT_EQ(qmk.run({"--profile", qmk.p("mine.pro"), "-o", qmk.p("out"), qmk.p("a.html")}), 1);
    EXPECT_TRUE(Has(qmk.err, "qmk: cannot read the profile " + qmk.p("mine.pro") + ": ")) << qmk.err;
    EXPECT_TRUE(Has(qmk.err, "Permission denied")) << qmk.err;

    // The current profile of "Options.dat" too; one that is not there gives the defaults, as on a first start.
    qmk.write("program/Options.dat", "[settings]\r\nedProfile=" + qmk.p("mine.pro") + "\r\n");
    EXPECT_EQ(qmk.run({"-"}, "<p>a</p>\n"), 1);
    EXPECT_TRUE(Has(qmk.err, "cannot read the profile")) << qmk.err;
    qmk.write("program/Options.dat", "[settings]\r\nedProfile=" + qmk.p("none.pro") + "\r\n");
    EXPECT_EQ(qmk.run({"-"}, "<p >a</p>\n"), 0) << qmk.err;
    EXPECT_EQ(qmk.out, "<p>a</p>\n");
}

TEST(QmkUnix, TheFoldersDefaultProfileServesBeforeOptionsDatNamesOne)
{
    // An installed copy's share/quillmark/ holds a default profile and no "Options.dat".
    Unix qmk;
    qmk.write("program/Profiles/Default.pro", "[settings]\r\ncbDelComments=0\r\n");
    EXPECT_EQ(qmk.run({"-v", "-"}, "<!-- c -->\n"), 0);
    EXPECT_EQ(qmk.out, "<!-- c -->\n");
    EXPECT_TRUE(Has(qmk.err, "qmk: profile: " + qmk.p("program/Profiles/Default.pro"))) << qmk.err;
}

TEST(QmkUnix, QuietVerboseAndASilentFilter)
{
    Unix qmk;
    qmk.write("site/a.html", "<p >a</p>\n");
    qmk.write("site/.git/b.html", "<p>b</p>\n");
    qmk.write("site/bad.html", "<p>b</p>\n");
    qmk.faults.failReads(qmk.p("site/bad.html"));

    EXPECT_EQ(qmk.run({"-q", "-r", "-o", qmk.p("out"), qmk.p("site/a.html")}), 0);
    EXPECT_EQ(qmk.out, "") << "no per-file lines, no summary";
    EXPECT_EQ(qmk.err, "");
    EXPECT_EQ(qmk.run({"--quiet", "-r", "--overwrite", "-o", qmk.p("out"), qmk.p("site")}), 1);
    EXPECT_EQ(qmk.out, "");
    EXPECT_TRUE(Has(qmk.err, "bad.html")) << "errors still show";

    EXPECT_EQ(qmk.run({"-v", "-r", "--overwrite", "-o", qmk.p("out"), qmk.p("site/a.html")}), 0);
    EXPECT_TRUE(Has(qmk.err, "qmk: program options: defaults")) << qmk.err;
    EXPECT_TRUE(Has(qmk.err, "qmk: profile: defaults")) << qmk.err;
    EXPECT_EQ(qmk.run({"-v", "-r", "--overwrite", "-o", qmk.p("out"), qmk.p("site")}), 1);
    EXPECT_TRUE(Has(qmk.err, "qmk: passed over " + qmk.p("site/.git") + " (a hidden folder)")) << qmk.err;

    EXPECT_EQ(qmk.run({"-"}, "<p >a</p>\n"), 0);
    EXPECT_EQ(qmk.err, "") << "a filter says nothing unless asked or failing";
    EXPECT_EQ(qmk.run({"-v", "-"}, "<p >a</p>\n"), 0);
    EXPECT_TRUE(Has(qmk.err, "qmk: standard input: 10 -> 9 bytes, ratio 10 %")) << qmk.err;
}

TEST(QmkUnix, JsonLinesForEachFileAndTheRun)
{
    Unix qmk;
    qmk.write("site/a.html", "<p >a</p>\n");
    qmk.write("site/bad.html", "<p>b</p>\n");
    qmk.faults.failReads(qmk.p("site/bad.html"));
    qmk.write("site/nul.html", std::string("<p>\0</p>", 8));
    EXPECT_EQ(qmk.run({"--json", "-o", qmk.p("out"), qmk.p("site")}), 1);
    const std::vector<std::string> lines = Lines(qmk.out);
    ASSERT_EQ(lines.size(), 4u) << qmk.out;
    for (const std::string& line : lines) EXPECT_TRUE(line.front() == '{' && line.back() == '}') << line;
    EXPECT_EQ(lines[0],
        "{\"type\":\"file\",\"source\":\"" + qmk.p("site/a.html") + "\",\"output\":\"" + qmk.p("out/a.html") +
            "\",\"status\":\"written\",\"initialSize\":10,\"optimizedSize\":9,\"ratio\":10,\"reason\":\"\"}");
    // Files in name order: a.html, bad.html, nul.html.
    EXPECT_TRUE(Has(lines[1], "\"source\":\"" + qmk.p("site/bad.html") + "\"")) << lines[1];
    EXPECT_TRUE(Has(lines[1], "\"status\":\"failed\"")) << lines[1];
    EXPECT_TRUE(Has(lines[1], "Permission denied")) << "the reason: " << lines[1];
    EXPECT_TRUE(Has(lines[2], "\"status\":\"skipped\"")) << lines[2];
    EXPECT_TRUE(Has(lines[2], "NUL bytes")) << "the reason: " << lines[2];
    EXPECT_TRUE(Has(lines[3], "{\"type\":\"summary\",\"files\":1,\"written\":1,\"skipped\":1,\"failed\":1,"))
        << lines[3];
    EXPECT_TRUE(Has(lines[3], "\"bytesRemoved\":1,")) << lines[3];
    EXPECT_TRUE(Has(lines[3], "\"exitStatus\":1}")) << lines[3];
    EXPECT_TRUE(Has(qmk.err, "bad.html")) << "errors go to standard error as well";

    qmk.write("out/keep.html", "x");
    // A restore of a page that has no backup restored nothing that was asked.
    EXPECT_EQ(qmk.run({"--json", "--in-place", "--restore", "--backup", qmk.p("bk"), qmk.p("site/a.html")}), 1);
    EXPECT_EQ(qmk.out, "{\"type\":\"summary\",\"restored\":0,\"failed\":0,\"exitStatus\":1}\n");
    EXPECT_TRUE(Has(qmk.err, "a.html: not restored: no backup of it is recorded in")) << qmk.err;
}

TEST(QmkUnix, SyncMakesADeployableSite)
{
    Unix qmk;
    qmk.write("site/index.html", "<p >home</p>\n");
    qmk.write("site/js/app.js", "let  a =\t1;\n");
    qmk.write("site/img/logo.png", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    qmk.write("site/.htaccess", "Options -Indexes\n");
    qmk.write("site/.git/config", "[core]\n");
    qmk.write("site/node_modules/x/index.html", "<p>dependency</p>\n");
    qmk.write("robots.txt", "User-agent: *\n");
    const std::vector<std::string> sync = {"-r", "--sync", "-o", qmk.p("out"), qmk.p("site"), qmk.p("robots.txt")};

    EXPECT_EQ(qmk.run(sync), 0) << qmk.err;
    EXPECT_EQ(qmk.read("out/index.html"), "<p>home</p>\n");
    EXPECT_EQ(qmk.read("out/js/app.js"), "let  a =\t1;\n") << "scripts unchanged";
    EXPECT_EQ(qmk.read("out/img/logo.png"), qmk.read("site/img/logo.png"));
    EXPECT_EQ(qmk.read("out/.htaccess"), "Options -Indexes\n") << "hidden files belong to a site";
    EXPECT_EQ(qmk.read("out/robots.txt"), "User-agent: *\n") << "a file named one by one goes to the top";
    EXPECT_FALSE(qmk.exists("out/.git"));
    EXPECT_FALSE(qmk.exists("out/node_modules"));
    EXPECT_TRUE(Has(qmk.out, "Files copied: 4")) << qmk.out;

    // A second run finds its copies in place and leaves them; a copy that differs is not replaced unasked.
    qmk.write("out/js/app.js", "changed by hand\n");
    EXPECT_EQ(qmk.run({"-r", "--sync", "--json", "--skip-existing", "-o", qmk.p("out"), qmk.p("site")}), 0);
    EXPECT_TRUE(Has(qmk.out, "\"output\":\"" + qmk.p("out/img/logo.png") + "\",\"status\":\"unchanged\"")) << qmk.out;
    EXPECT_TRUE(Has(qmk.out, "\"output\":\"" + qmk.p("out/js/app.js") + "\",\"status\":\"skipped\"")) << qmk.out;
    EXPECT_EQ(qmk.read("out/js/app.js"), "changed by hand\n");
    EXPECT_EQ(qmk.run({"-r", "--sync", "-o", qmk.p("out"), qmk.p("site")}), 1);
    EXPECT_TRUE(
        Has(qmk.err, "app.js: not copied: " + qmk.p("out/js/app.js") + " exists and differs (--overwrite replaces it)"))
        << qmk.err;
    EXPECT_EQ(qmk.run({"-r", "--sync", "--overwrite", "-o", qmk.p("out"), qmk.p("site")}), 0) << qmk.err;
    EXPECT_EQ(qmk.read("out/js/app.js"), "let  a =\t1;\n");

    // A full disk under one folder: that copy is reported, the others are made.
    Unix full;
    full.write("site/a.html", "<p>a</p>\n");
    full.write("site/img/a.png", "png");
    full.write("site/js/a.js", "js");
    fs::create_directories(full.dir / "out/img");
    full.faults.fillFolder(full.p("out/img"));
    EXPECT_EQ(full.run({"-r", "--sync", "-o", full.p("out"), full.p("site")}), 1);
    EXPECT_TRUE(Has(full.err, "a.png: not copied: ")) << full.err;
    EXPECT_EQ(full.read("out/js/a.js"), "js");
    EXPECT_FALSE(full.exists("out/img/a.png"));
}

TEST(QmkUnix, ExclusionsHiddenFoldersAndExtensions)
{
    Unix qmk;
    qmk.write("site/index.html", "<p >i</p>\n");
    qmk.write("site/header.inc", "<p >h</p>\n");
    qmk.write("site/drafts/d.html", "<p>d</p>\n");
    qmk.write("site/old.bak.html", "<p>o</p>\n");
    qmk.write("site/.well-known/x.html", "<p >w</p>\n");
    qmk.write("site/node_modules/pkg/readme.html", "<p>r</p>\n");
    EXPECT_EQ(qmk.run({"-r", "--ext", "inc", "--exclude", "drafts/", "--exclude", "*.bak.html", "-o", qmk.p("out"),
                  qmk.p("site")}),
        0)
        << qmk.err;
    EXPECT_EQ(qmk.read("out/header.inc"), "<p>h</p>\n");
    EXPECT_TRUE(qmk.exists("out/index.html"));
    EXPECT_FALSE(qmk.exists("out/drafts"));
    EXPECT_FALSE(qmk.exists("out/old.bak.html"));
    EXPECT_FALSE(qmk.exists("out/.well-known"));
    EXPECT_FALSE(qmk.exists("out/node_modules"));

    // Named, a hidden folder is taken; so is a page of another extension named one by one with --ext.
    EXPECT_EQ(qmk.run({"-o", qmk.p("out2"), qmk.p("site/.well-known")}), 0) << qmk.err;
    EXPECT_EQ(qmk.read("out2/x.html"), "<p>w</p>\n");
    EXPECT_EQ(qmk.run({"-o", qmk.p("out3"), qmk.p("site/header.inc")}), 1);
    EXPECT_TRUE(Has(qmk.err, "header.inc: not a web page by its extension (--ext adds extensions); skipped"))
        << qmk.err;
    EXPECT_EQ(qmk.run({"--ext", "inc", "-o", qmk.p("out3"), qmk.p("site/header.inc")}), 0) << qmk.err;
}

TEST(QmkUnix, SeveralFoldersEachGetTheirOwnSubfolder)
{
    Unix qmk;
    qmk.write("blog/index.html", "<p >blog</p>\n");
    qmk.write("shop/index.html", "<p >shop</p>\n");
    qmk.write("shop/css/s.css", "p  { }\n");
    EXPECT_EQ(qmk.run({"-r", "-o", qmk.p("out"), qmk.p("blog"), qmk.p("shop")}), 0) << qmk.err;
    EXPECT_EQ(qmk.read("out/blog/index.html"), "<p>blog</p>\n");
    EXPECT_EQ(qmk.read("out/shop/index.html"), "<p>shop</p>\n");
    EXPECT_TRUE(qmk.exists("out/shop/css/s.css"));
    EXPECT_EQ(qmk.run({"-r", "--restore", "-o", qmk.p("out"), qmk.p("blog"), qmk.p("shop")}), 0) << qmk.err;
    EXPECT_FALSE(qmk.exists("out/blog/index.html"));
    EXPECT_FALSE(qmk.exists("out/shop/css/s.css"));

    // One folder keeps the layout it always had.
    EXPECT_EQ(qmk.run({"-o", qmk.p("one"), qmk.p("blog")}), 0);
    EXPECT_TRUE(qmk.exists("one/index.html"));

    qmk.write("a/site/index.html", "<p>a</p>\n");
    qmk.write("b/site/index.html", "<p>b</p>\n");
    EXPECT_EQ(qmk.run({"-o", qmk.p("mixed"), qmk.p("a/site"), qmk.p("b/site")}), 2);
    EXPECT_TRUE(Has(qmk.err, "two folders are named site")) << qmk.err;
    EXPECT_FALSE(qmk.exists("mixed"));
}

TEST(QmkUnix, DefaultJobsAreTheProcessorsThisProcessMayUse)
{
    cpu_set_t saved;
    ASSERT_EQ(sched_getaffinity(0, sizeof saved, &saved), 0);
    EXPECT_EQ(UsableProcessorCount(), static_cast<unsigned>(CPU_COUNT(&saved)));
    int first = 0;
    while (!CPU_ISSET(first, &saved)) ++first;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    EXPECT_EQ(UsableProcessorCount(), 1u) << "as under taskset -c or a container's cpuset";
    ASSERT_EQ(sched_setaffinity(0, sizeof saved, &saved), 0);
}

} // namespace
} // namespace qm
