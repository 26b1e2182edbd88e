// The desktop program's command line: splitting, the no-results switch, every command of the table, the warnings.
#include "batch/startup/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "batch/model/forwarding_user_interface.h"
#include "batch/model/main_model.h"
#include "batch/startup/unattended_user_interface.h"
#include "batch/startup/usage.h"
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
        (std::vector<std::string> {"cl", "ps", "f", "fl", "fo", "foe", "m", "r", "op", "bup", "bu", "ow", "q", "ca",
            "opt", "nw", "nc", "nr"}));
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
        {"ow=y overwrites in unattended runs", {"/ow=Y"},
            [](Bench& b) { EXPECT_TRUE(b.model.state.scriptOverwrites); }},
        {"ow alone skips", {"/ow"}, [](Bench& b) { EXPECT_FALSE(b.model.state.scriptOverwrites); }},
        {"a page's path, as a file manager passes it, joins the panel", {"@site/a.htm", "@site/b.htm"},
            [](Bench& b) {
                ASSERT_EQ(b.model.panel.size(), 2u);
                EXPECT_EQ(b.model.panel.row(0).fullPath(), b.path("site/a.htm"));
            }},
        {"a list file's path loads it", {"@list.lst"}, [](Bench& b) { EXPECT_EQ(b.model.panel.size(), 1u); }},
        {"another file's path is no page", {"@site/notes.txt"}, [](Bench& b) { EXPECT_TRUE(b.model.panel.empty()); },
            {"\rWrong file format"}},
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

TEST(CommandLine, RunsUnattended)
{
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        bool unattended;
    };
    const Row rows[] = {
        {"a script that quits", {"/fo=site", "/opt", "/q"}, true},
        {"a script that presses Start", {"/opt", "-NC"}, true},
        {"a script that leaves the run to the user", {"/fo=site", "/opt"}, false},
        {"no arguments", {}, false},
        {"q as a value is no command", {"/f=q"}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(RunsUnattended(row.arguments), row.unattended);
    }
}

// The desktop's answer to setUnattended: the model talks to the unattended
// user while the script runs, to the one on screen before and after.
struct UnattendedBench {
    struct Hooks final : MainWindowHooks {
        UnattendedBench* bench = nullptr;
        std::vector<bool> calls;
        void setUnattended(bool on) override
        {
            calls.push_back(on);
            bench->ui.setTarget(on ? static_cast<UserInterface*>(&bench->unattended) : &bench->shown);
        }
    };
    test::TempDir dir;
    test::FaultyFileSystem fs;
    test::ScriptedUi shown;
    std::ostringstream log;
    ForwardingUserInterface ui;
    Hooks hooks;
    MainModel model {fs, ui, hooks};
    UnattendedUserInterface unattended {shown, log, model.state};

    UnattendedBench()
    {
        ui.setTarget(&shown);
        hooks.bench = this;
        model.state.programFolder = path("");
        // Two pages of one name in two folders: their copies meet in the flat output folder.
        test::WriteFile(dir / "site/a/index.htm", "<p>first</p>\r\n");
        test::WriteFile(dir / "site/b/index.htm", "<p>second</p>\r\n");
        std::filesystem::create_directories(dir / "out");
        model.options.setFlag(Opt::cbProcessEmbeded, true);
    }
    std::string path(std::string_view relative) const { return dir.path().string() + "/" + std::string(relative); }
};

// A script that quits or presses Start runs with nobody at the screen: the
// overwrite confirmation, the question before a run and the messages must
// not wait, and what was skipped is said.
TEST(CommandLine, AnUnattendedScriptNeverWaitsOnAQuestion)
{
    struct Row {
        const char* name;
        std::vector<std::string> extra; // before the script
        bool runWindow;
        const char* outputText; // the page in out/index.htm at the end
        const char* skipped;
    };
    const Row rows[] = {
        {"the run window's Start: the second page is skipped", {}, true, "<p>first</p>", "skipped: 1"},
        {"ow=y overwrites instead", {"/ow=y"}, true, "<p>second</p>", ""},
        // opt runs at once, nc runs again: both copies are in the way then.
        {"without the run window the question before the run is answered too", {}, false, "<p>first</p>", "skipped: 2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        UnattendedBench bench;
        bench.model.options.setFlag(Opt::cbShowOptWin, row.runWindow);
        std::vector<std::string> arguments = row.extra;
        const std::vector<std::string> script = {
            "/cl", "/fo=" + bench.path("site"), "/op=" + bench.path("out"), "/ca", "/opt", "/nc", "/nr", "/q"};
        arguments.insert(arguments.end(), script.begin(), script.end());
        ReadCommandLine(bench.model, arguments);
        EXPECT_TRUE(bench.shown.events().empty()) << "nothing was shown or asked on screen";
        EXPECT_EQ(bench.hooks.calls, (std::vector<bool> {true, false}));
        EXPECT_EQ(test::ReadFile(bench.dir / "out/index.htm"), std::string(row.outputText) + "\r\n");
        EXPECT_EQ(bench.model.run.window.skipped, row.skipped);
        if (!row.runWindow) {
            EXPECT_NE(bench.log.str().find("answered Yes: Start optimization?"), std::string::npos);
        }
        if (*row.skipped) {
            EXPECT_NE(bench.log.str().find(bench.path("out/index.htm") + " is in the way"), std::string::npos)
                << bench.log.str();
        }
    }
}

// --help, -h and --version are answered before any window exists (also
// without a display); every other argument is the program's own command line.
TEST(CommandLine, InformationOptions)
{
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        std::optional<int> status;
        const char* output; // a fragment
    };
    const Row rows[] = {
        {"--help", {"--help"}, 0, "usage: quillmark"},
        {"-h", {"/cl", "-h"}, 0, "/ow=y"},
        {"--version", {"--version"}, 0, "quillmark 3.0\n"},
        {"a slash command", {"/cl", "/q"}, std::nullopt, ""},
        {"-help is the command help, as before", {"-help"}, std::nullopt, ""},
        {"no arguments", {}, std::nullopt, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::ostringstream out;
        EXPECT_EQ(AnswerInformationOptions(row.arguments, out), row.status);
        EXPECT_NE(out.str().find(row.output), std::string::npos) << out.str();
        if (!row.status) {
            EXPECT_EQ(out.str(), "");
        }
    }
}

TEST(CommandLine, ScriptMessagesBecomeLogLines)
{
    EXPECT_EQ(LogLine("warning", "\rUnknown command 'zz'"), "quillmark: warning: Unknown command 'zz'");
    EXPECT_EQ(LogLine("error", "3 files were not optimized:\r/a.htm: gone\r/b.htm: gone"),
        "quillmark: error: 3 files were not optimized:; /a.htm: gone; /b.htm: gone");
}

} // namespace
} // namespace qm
