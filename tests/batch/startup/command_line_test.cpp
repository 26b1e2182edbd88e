// The desktop program's command line: splitting, the no-results switch, every command of the table, the warnings.
#include "batch/startup/command_line.h"

#include <gtest/gtest.h>

#include "batch/model/main_model.h"
#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;

TEST(CommandLine, SplitsCommandAndValue)
{
    struct Row {
        const char* name;
        const char* argument;
        std::string command, value;
    };
    const Row rows[] = {
        {"slash and value", "/fo=/srv/Site", "fo", "/srv/Site"},
        {"command letters compare in lower case", "/BU=Y", "bu", "Y"},
        {"value keeps its case", "/op=/Out/Dir", "op", "/Out/Dir"},
        {"minus works as well", "-f=a.htm", "f", "a.htm"},
        {"only the first equals sign splits", "/f=a=b.htm", "f", "a=b.htm"},
        {"no value", "/bu", "bu", ""},
        {"a single slash", "/", "", ""},
        {"equals sign first", "=rest", "", "rest"},
        {"empty argument", "", "", ""},
        {"any first character is dropped", "xcl", "cl", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + ": " + row.argument);
        CommandArgument split = SplitCommandArgument(row.argument);
        EXPECT_EQ(split.command, row.command);
        EXPECT_EQ(split.value, row.value);
    }
}

TEST(CommandLine, TheTableInItsOrder)
{
    std::vector<std::string> commands;
    for (const CommandRow& row : CommandTable()) commands.emplace_back(row.command);
    EXPECT_EQ(commands,
        (std::vector<std::string> {
            "cl", "ps", "f", "fl", "fo", "foe", "m", "r", "op", "bup", "bu", "q", "ca", "opt", "nw", "nc", "nr"}));
}

TEST(CommandLine, EveryCommand)
{
    struct Row {
        const char* name;
        std::vector<std::string> arguments; // "@" stands for the bench's folder
        std::function<void(Bench&)> check;
        std::vector<std::string> warnings = {};
    };
    const Row rows[] = {
        {"cl empties the panel", {"/f=@site/a.htm", "/cl"}, [](Bench& b) { EXPECT_TRUE(b.model.panel.empty()); }},
        {"ps loads a profile of the Profiles folder", {"/ps=custom.pro"},
            [](Bench& b) {
                EXPECT_EQ(b.model.options.text(Opt::edProfile), b.path("Profiles/custom.pro"));
                EXPECT_FALSE(b.model.options.flag(Opt::cbDelKav));
            }},
        {"ps names no profile", {"/ps=none.pro"}, [](Bench&) {},
            {"\rUnknown command 'ps' or object='none.pro' was not found"}},
        {"f adds a web file", {"/f=@site/a.htm"},
            [](Bench& b) {
                ASSERT_EQ(b.model.panel.size(), 1u);
                EXPECT_EQ(b.model.panel.row(0).fullPath(), b.path("site/a.htm"));
            }},
        {"f takes no other file, silently", {"/f=@site/notes.txt"},
            [](Bench& b) { EXPECT_TRUE(b.model.panel.empty()); }},
        {"fl loads a list", {"/fl=@list.lst"}, [](Bench& b) { EXPECT_EQ(b.model.panel.size(), 1u); }},
        {"fl takes no other file, silently", {"/fl=@site/a.htm"}, [](Bench& b) { EXPECT_TRUE(b.model.panel.empty()); }},
        {"fo scans a folder with the folder options", {"/fo=@site"},
            [](Bench& b) { EXPECT_EQ(b.model.panel.size(), 2u); }},
        {"fo with a path of other letter case names no folder", {"/fo=@SITE"}, [](Bench&) {},
            {"\rUnknown command 'fo' or object='@SITE' was not found"}},
        {"foe with a level limit enters no embedded folder", {"/foe=@site"},
            [](Bench& b) { EXPECT_EQ(b.model.panel.size(), 2u); }},
        {"foe without a level limit enters them all", {"/bup=@out", "/foe=@site"},
            [](Bench& b) {
                b.model.options.setFlag(Opt::cbMaxEmbCount, false);
                b.model.panel.clear();
                ReadCommandLine(b.model, {"/foe=" + b.path("site")});
                EXPECT_EQ(b.model.panel.size(), 3u);
            }},
        {"m", {"/m"}, [](Bench& b) { EXPECT_TRUE(b.hooks.has("minimize")); }},
        {"r", {"/r"}, [](Bench& b) { EXPECT_TRUE(b.hooks.has("restore")); }},
        {"op chooses copies into a folder", {"/bup=@out", "/op=@out"},
            [](Bench& b) {
                EXPECT_TRUE(b.model.options.flag(Opt::radSaveNewMod));
                EXPECT_EQ(b.model.options.text(Opt::edOptimizedPath), b.path("out/"));
            }},
        {"op names no folder", {"/op=@none"}, [](Bench&) {},
            {"\rUnknown command 'op' or object='@none' was not found"}},
        {"bup chooses modified sources", {"/bup=@out/"},
            [](Bench& b) {
                EXPECT_TRUE(b.model.options.flag(Opt::radModifyOld));
                EXPECT_EQ(b.model.options.text(Opt::edBackUpPath), b.path("out/"));
            }},
        {"bu=Y turns backups on", {"/bu", "/bu=Y"},
            [](Bench& b) { EXPECT_TRUE(b.model.options.flag(Opt::cbSaveBefMod)); }},
        {"bu alone turns them off", {"/bu"}, [](Bench& b) { EXPECT_FALSE(b.model.options.flag(Opt::cbSaveBefMod)); }},
        {"bu=n turns them off", {"/bu=n"}, [](Bench& b) { EXPECT_FALSE(b.model.options.flag(Opt::cbSaveBefMod)); }},
        {"q", {"/q", "/m"},
            [](Bench& b) {
                EXPECT_EQ(b.hooks.calls, (std::vector<std::string> {"quit", "minimize"}));
            }},
        {"ca checks every row", {"/f=@site/a.htm", "/f=@site/b.htm", "/ca"},
            [](Bench& b) { EXPECT_EQ(b.model.panel.CountCheckedRows(), 2u); }},
        {"ca on an empty panel", {"/ca"}, [](Bench&) {}, {"\rUnknown command 'ca'"}},
        {"opt without checked rows", {"/opt"}, [](Bench&) {}, {"\rUnknown command 'opt'"}},
        {"opt shows the run window", {"/f=@site/a.htm", "/opt"},
            [](Bench& b) { EXPECT_TRUE(b.model.run.window.visible); }},
        {"opt, nc and nr run and close the window", {"/f=@site/a.htm", "/op=@out", "/ca", "/opt", "/nc", "/nr"},
            [](Bench& b) {
                EXPECT_TRUE(b.exists("out/a.htm"));
                EXPECT_FALSE(b.model.run.window.visible);
                EXPECT_EQ(b.model.run.window.page, 2);
            }},
        {"nw hides the run window", {"/f=@site/a.htm", "/opt", "/nw"},
            [](Bench& b) {
                EXPECT_TRUE(b.hooks.has("hideRunWindowAndMinimize"));
                EXPECT_FALSE(b.model.run.window.visible);
            }},
        {"unknown with a value", {"/zz=1"}, [](Bench&) {}, {"\rUnknown command 'zz' or object='1' was not found"}},
        {"a single slash", {"/"}, [](Bench&) {}, {"\rUnknown command ''"}},
        {"no arguments", {}, [](Bench& b) { EXPECT_TRUE(b.model.panel.empty()); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.model.options.setFlag(Opt::cbMaxEmbCount, true);
        bench.model.options.setFlag(Opt::cbProcessEmbeded, true);
        bench.model.options.setText(Opt::edMaxEmbCount, "0");
        bench.write("site/a.htm", "<p >a</p>");
        bench.write("site/b.htm", "<p >b</p>");
        bench.write("site/sub/c.htm", "c");
        bench.write("site/notes.txt", "n");
        bench.write("list.lst", "+ " + bench.path("site/a.htm") + "\r\n");
        bench.write("Profiles/custom.pro", "[settings]\r\ncbDelKav=0\r\n");
        std::filesystem::create_directories(bench.dir / "out");
        std::vector<std::string> arguments;
        for (std::string argument : row.arguments) {
            const std::size_t at = argument.find('@');
            if (at != std::string::npos) argument.replace(at, 1, bench.root());
            arguments.push_back(argument);
        }
        ReadCommandLine(bench.model, arguments);
        row.check(bench);
        std::vector<std::string> warnings;
        for (std::string warning : bench.ui.texts("warning")) {
            const std::size_t at = warning.find(bench.root());
            if (at != std::string::npos) warning.replace(at, bench.root().size(), "@");
            warnings.push_back(warning);
        }
        EXPECT_EQ(warnings, row.warnings);
    }
}

TEST(CommandLine, TheNoResultsSwitch)
{
    struct Row {
        const char* argument;
        bool on;
    };
    const Row rows[] = {
        {"nores", true}, {"NoRes", true}, {"/nores", true}, {"-NORES", true}, {"/noresx", false}, {"/ores", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.argument);
        Bench bench;
        ReadCommandLine(bench.model, {row.argument});
        EXPECT_EQ(bench.model.state.noResults, row.on);
        EXPECT_EQ(bench.ui.texts("warning").empty(), row.on) << "the switch itself is no unknown command";
    }
    // Two runs: the switch covers the first only.
    Bench bench;
    bench.write("a.htm", "a");
    bench.ui.script({test::Overwrite(OverwriteAnswer::Overwrite)});
    ReadCommandLine(bench.model, {"nores", "/f=" + bench.path("a.htm"), "/opt", "/nc", "/opt", "/nc"});
    EXPECT_EQ(bench.model.run.window.page, 2);
    EXPECT_FALSE(bench.model.state.noResults);
}

TEST(CommandLine, AnInterruptStopsTheRemainingArguments)
{
    Bench bench;
    bench.write("a.htm", "a");
    bench.model.options.setFlag(Opt::cbShowOptWin, false);
    bench.ui.script({test::No()});
    ReadCommandLine(bench.model, {"/f=" + bench.path("a.htm"), "/opt", "/cl", "/zz"});
    EXPECT_EQ(bench.ui.texts("warning"),
        std::vector<std::string> {"\rOptimization process and programs keys treatment was interrupted by user"});
    EXPECT_EQ(bench.model.panel.size(), 1u) << "cl was not carried out";
}

} // namespace
} // namespace qm
