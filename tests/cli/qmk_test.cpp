// The headless command, run in-process over temporary folders.
#include <gtest/gtest.h>

#include <sstream>

#include "base/file_system.h"
#include "cli/qmk.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

namespace qm {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

struct Result {
    int status;
    std::string out, err;
};

Result Qmk(const std::vector<std::string>& arguments, const std::filesystem::path& programFolder,
    const std::string& input = "", bool terminal = false, FileSystem* fs = nullptr)
{
    std::istringstream in(input);
    std::ostringstream out, err;
    int status = RunQmk(arguments, {in, out, err, terminal, terminal}, programFolder, fs);
    return {status, out.str(), err.str()};
}

TEST(Qmk, HelpGoesToStandardOutput)
{
    TempDir dir;
    for (const char* flag : {"--help", "-h"}) {
        Result result = Qmk({flag}, dir.path());
        EXPECT_EQ(result.status, 0);
        EXPECT_NE(result.out.find("usage: qmk"), std::string::npos);
        EXPECT_TRUE(result.err.empty());
    }
}

TEST(Qmk, UsageErrors)
{
    TempDir dir;
    const std::vector<std::vector<std::string>> rows = {
        {},
        {"a.html"},
        {"-o"},
        {"-o", "out"},
        {"--bogus", "-o", "out", "a.html"},
        {"-", "a.html"},
        {"--profile", (dir / "missing.pro").string(), "-"},
        {"-o", "out", "--in-place", "a.html"},
        {"--in-place", "--backup", "b", "--no-backup", "a.html"},
        {"-o", "out", "--no-backup", "a.html"},
        {"--in-place", "--restore", "--no-backup", "a.html"},
        {"-o", "out", "--overwrite", "--skip-existing", "a.html"},
        {"-o", "out", "--jobs", "0", "a.html"},
        {"-o", "out", "--jobs", "two", "a.html"},
        {"--in-place"},
        {"-", "--in-place"},
    };
    for (const auto& arguments : rows) {
        Result result = Qmk(arguments, dir.path());
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(arguments);
        EXPECT_NE(result.err.find("qmk: "), std::string::npos) << result.err;
    }
}

TEST(Qmk, OptimizesFilesIntoTheFolderAndReportsFigures)
{
    TempDir dir;
    WriteFile(dir / "site/a.html", "<p >  x  </p>\n<td width=\"50\">\n");
    WriteFile(dir / "site/sub/b.htm", "<!-- c -->\r\n<b>y</b>\r\n");
    Result result = Qmk(
        {"-o", (dir / "out").string(), (dir / "site/a.html").string(), (dir / "site/sub/b.htm").string()}, dir.path());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(dir / "out/a.html"), "<p> x </p>\n<td width=50>\n"); // the source's LF line ends
    EXPECT_EQ(ReadFile(dir / "out/b.htm"), "<b>y</b>\r\n");
    EXPECT_NE(result.out.find("a.html: 30 -> 25 bytes, ratio 17 %"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Files processed: 2\nBytes removed: 17\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Max optimization ratio: 55 %"), std::string::npos) << result.out;
}

TEST(Qmk, BadFilesAreReportedAndTheRestIsWritten)
{
    TempDir dir;
    WriteFile(dir / "nul.html", std::string("<p>\0</p>", 8));
    WriteFile(dir / "same/c.html", "<p>1</p>");
    WriteFile(dir / "other/c.html", "<p>2</p>");
    WriteFile(dir / "good.html", "<p>ok</p>");
    WriteFile(dir / "out/d.html", "old");
    Result result = Qmk({"-o", (dir / "out").string(), (dir / "nul.html").string(), (dir / "missing.html").string(),
                            (dir / "same/c.html").string(), (dir / "other/c.html").string(),
                            (dir / "out/d.html").string(), (dir / "good.html").string()},
        dir.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "out/nul.html"));
    EXPECT_NE(result.err.find("NUL"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("missing.html"), std::string::npos) << result.err;
    EXPECT_EQ(ReadFile(dir / "out/c.html"), "<p>1</p>\n") << "the second c.html must not replace the first";
    EXPECT_EQ(ReadFile(dir / "out/d.html"), "old") << "a source is never its own output";
    EXPECT_EQ(ReadFile(dir / "out/good.html"), "<p>ok</p>\n");
}

TEST(Qmk, StandardInputToStandardOutput)
{
    TempDir dir;
    // With its data files a filter says nothing on standard error.
    for (const char* name : {"Align.dat", "Ssi.dat"})
        std::filesystem::copy_file(std::filesystem::path(QMK_SOURCE_DIR) / "data" / name, dir / name);
    Result result = Qmk({"-"}, dir.path(), "<p   class=\"x\" >a</p>\r\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "<p class=\"x\">a</p>\r\n");
    EXPECT_EQ(result.err, "");
}

TEST(Qmk, ProfileAndDataFolder)
{
    TempDir dir;
    WriteFile(dir / "p/custom.pro", "[settings]\r\ncbDelKav=0\r\ncbKeepLineEnds=0\r\n");
    WriteFile(dir / "p/custom.rep", "+ b strong\r\n");
    Result result = Qmk({"--profile", (dir / "p/custom.pro").string(), "-"}, dir.path(), "<b a=\"5\">x</b>\n");
    EXPECT_EQ(result.out, "<strong a=\"5\">x</strong>\r\n");

    WriteFile(dir / "data/Align.dat", "middle\n");
    result = Qmk({"--data", (dir / "data").string(), "-"}, dir.path(), "<img align=\"middle\">\n");
    EXPECT_EQ(result.out, "<img align=middle>\n");
    WriteFile(dir / "data/Align.dat", "left\n");
    result = Qmk({"--data", (dir / "data").string(), "-"}, dir.path(), "<img align=\"middle\">\n");
    EXPECT_EQ(result.out, "<img align=\"middle\">\n") << "the folder's own list, not the built-in one";
    result = Qmk({"-"}, dir.path(), "<img align=\"middle\">\n");
    EXPECT_EQ(result.out, "<img align=middle>\n") << "no Align.dat in the program folder: the built-in list";
    EXPECT_NE(result.err.find("Align.dat\" is missing"), std::string::npos) << result.err;
}

} // namespace
} // namespace qm
