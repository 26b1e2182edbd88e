// Start-up in a given program folder, "Options.dat" and its fallbacks, profiles switched and saved, shut-down.
#include "batch/startup/startup.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>

#include "base/text_lines.h"
#include "batch/model/main_model.h"
#include "batch/options/options_commands.h"
#include "batch/startup/default_editor.h"
#include "batch/startup/desktop_environment.h"
#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;
namespace fs = std::filesystem;

// A bench with an empty program folder and a system program folder holding one editor.
struct StartBench : Bench {
    std::string programFolder;
    std::string bin;
    StartBench()
    {
        programFolder = path("Program Folder/");
        bin = path("bin");
        fs::create_directories(dir / "Program Folder");
        write("bin/editor", "#!/bin/sh\n");
        // An installed program folder holds the data lists.
        write("Program Folder/Align.dat", "left\nright\n");
        write("Program Folder/Ssi.dat", "include\n");
    }
    void start(const std::vector<std::string>& arguments = {})
    {
        MainWindowShown(model, programFolder, bin, arguments);
    }
    std::string file(std::string_view name) const { return test::ReadFile(programFolder + std::string(name)); }
};

TEST(StartUp, FirstStartInAnEmptyProgramFolder)
{
    StartBench bench;
    bench.start();
    const std::string& folder = bench.programFolder;
    EXPECT_EQ(bench.model.state.caption, "Quillmark 3.0");
    EXPECT_TRUE(fs::is_directory(folder + "optimized"));
    EXPECT_TRUE(fs::is_directory(folder + "backup"));
    EXPECT_EQ(bench.file("Options.dat"),
        "[settings]\r\n"
        "edProfile=\r\n"
        "cbProcessEmbeded=0\r\n"
        "cbMaxEmbCount=0\r\n"
        "edMaxEmbCount=10\r\n"
        "cbMaxFCount=1\r\n"
        "edMaxFCount=100\r\n"
        "cbSaveNopen=0\r\n"
        "radModifyOld=0\r\n"
        "cbSaveBefMod=1\r\n"
        "edBackUpPath=" +
            folder +
            "backup/\r\n"
            "edOptimizedPath=" +
            folder +
            "optimized/\r\n"
            "cbShowEnd=1\r\n"
            "cbShowConf=1\r\n"
            "cbShowInfo=1\r\n"
            "cbShowOptWin=1\r\n"
            "edExtEditor=" +
            bench.bin +
            "/editor\r\n"
            "edLan=\r\n"
            "col0=180\r\ncol1=150\r\ncol2=120\r\ncol3=110\r\ncol4=110\r\ncol5=100\r\n"
            "listHeight=305\r\n"
            "column_sort=0\r\n"
            "lastFolder=\r\n"
            "windowLeft=0\r\nwindowTop=0\r\nwindowWidth=0\r\nwindowHeight=0\r\nwindowMaximized=0\r\n");
    const std::vector<std::string> profile = SplitLines(bench.file("Profiles/Default.pro"));
    const std::vector<std::string> expected = {"[settings]", "cbDelKav=1", "cbDelEmptyPar=1", "cbDelEmptyLine=1",
        "cbDelCRLF=0", "cbDelTabLine=1", "cbDelBegEndSpace=1", "cbDelAllTabs=1", "cbReplaceDoubleSpaces=1",
        "cbReplaceDoubleSpacesInKav=0", "cbReplaceDoubleNbsp=1", "cbReplaceDoubleNbspInKav=0", "cbDelComments=1",
        "cbIsStyle=1", "cbIsScript=1", "cbOuttag=1", "cbSsi=1", "cbScriptsInfo=1", "cbDelScripts=0",
        "cbClosedTagsAlso=1"};
    ASSERT_GE(profile.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(profile.begin(), profile.begin() + 20), expected);
    EXPECT_EQ(SplitLines(bench.file("Profiles/Default.rep")).size(), 14u);
    EXPECT_EQ(SplitLines(bench.file("Profiles/Default.rep"))[0], "+ strong b");
    EXPECT_EQ(SplitLines(bench.file("Profiles/Default.rem")).size(), 10u);
    EXPECT_EQ(SplitLines(bench.file("Profiles/Default.rem"))[9], "- /TD");
    // The default entries that change how a page shows are written inactive.
    EXPECT_EQ(SplitLines(bench.file("Profiles/Default.rem"))[0], "- !doctype");
    EXPECT_EQ(SplitLines(bench.file("Profiles/Default.rep"))[3], "- blockquote ul");
    EXPECT_EQ(SplitLines(bench.file("Profiles/Default.rep"))[13], "- xmp tt");
    EXPECT_EQ(bench.model.options.text(Opt::edProfile), folder + "Profiles/Default.pro");
    EXPECT_TRUE(bench.ui.messages().empty()) << "no start-up warning on a normal install";
    EXPECT_TRUE(bench.hooks.has("click radSaveNewMod"));
    EXPECT_FALSE(bench.model.options.ProfileModified);

    // The new profile path reaches "Options.dat" when the program closes.
    MainWindowClosing(bench.model);
    EXPECT_NE(bench.file("Options.dat").find("edProfile=" + folder + "Profiles/Default.pro\r\n"), std::string::npos);
}

TEST(StartUp, OptionsDatFallbacks)
{
    StartBench bench;
    test::WriteFile(bench.programFolder + "Options.dat", "[settings]\r\ncbShowInfo=0\r\n");
    bench.start();
    const TOptionSet& options = bench.model.options;
    EXPECT_FALSE(options.flag(Opt::cbShowInfo));
    EXPECT_EQ(options.text(Opt::edExtEditor), "");
    EXPECT_EQ(options.text(Opt::edLan), "");
    EXPECT_EQ(options.text(Opt::edProfile), bench.programFolder + "Profiles/Default.pro");
    EXPECT_EQ(options.text(Opt::edOptimizedPath), bench.programFolder + "optimized/");
    EXPECT_EQ(options.integer(Opt::column_sort), 0);
    EXPECT_TRUE(options.flag(Opt::cbMaxFCount));
    EXPECT_EQ(options.text(Opt::edMaxFCount), "100");
    EXPECT_EQ(bench.ui.texts("warning"),
        std::vector<std::string> {"External editor file not found!\rPlease, change program options."});
    EXPECT_TRUE(bench.hooks.has("click cbProcessEmbeded"));
    EXPECT_TRUE(bench.hooks.has("applyLayout"));
}

TEST(StartUp, OptionsDatValuesAndTheSavedList)
{
    StartBench bench;
    const std::string& folder = bench.programFolder;
    bench.write("site/a.htm", "a");
    bench.write("site/b.htm", "b");
    test::WriteFile(folder + "Options.dat", "[settings]\r\nradModifyOld=1\r\ncbSaveNopen=1\r\ncolumn_sort=3\r\n");
    test::WriteFile(
        folder + "Default.lst", "- " + bench.path("site/a.htm") + "\r\n+ " + bench.path("site/b.htm") + "\r\n");
    bench.start();
    EXPECT_TRUE(bench.model.options.flag(Opt::radModifyOld));
    EXPECT_TRUE(bench.hooks.has("click radModifyOld"));
    EXPECT_EQ(bench.model.panel.sortKey(), 3);
    EXPECT_TRUE(bench.model.panel.sortMarks().itemChecked[3]);
    ASSERT_EQ(bench.model.panel.size(), 2u);
    // Check marks survive a restart through "Default.lst".
    bench.model.panel.setChecked(0, true);
    MainWindowClosing(bench.model);
    EXPECT_EQ(bench.file("Default.lst").substr(0, 2), "+ ");
    EXPECT_NE(bench.file("Options.dat").find("column_sort=3"), std::string::npos);
}

TEST(StartUp, TheCommandLineComesAfterTheSettings)
{
    StartBench bench;
    bench.write("site/a.htm", "a");
    test::WriteFile(bench.programFolder + "Profiles/other.pro", "[settings]\r\ncbDelComments=0\r\n");
    bench.start({"/ps=other.pro", "/f=" + bench.path("site/a.htm")});
    EXPECT_EQ(bench.model.options.text(Opt::edProfile), bench.programFolder + "Profiles/other.pro");
    EXPECT_FALSE(bench.model.options.flag(Opt::cbDelComments));
    ASSERT_EQ(bench.model.panel.size(), 1u);
    EXPECT_EQ(bench.model.panel.row(0).cells.size(), 4u) << "refreshed after the command line";
}

TEST(StartUp, UnreadableOptionsDatSaysError)
{
    StartBench bench;
    fs::create_directories(bench.programFolder + "Options.dat");
    bench.start();
    EXPECT_EQ(bench.ui.texts("error").at(0), "\rError");
}

TEST(StartUp, ScreenWidthCheck)
{
    for (int width : {0, 640, 800}) {
        SCOPED_TRACE(width);
        StartBench bench;
        bench.hooks.width = width;
        bench.start();
        const bool narrow = width == 640;
        EXPECT_EQ(bench.hooks.has("quit"), narrow);
        EXPECT_EQ(bench.ui.texts("error").size(), narrow ? 1u : 0u);
    }
}

// The desktop program reads the variables that find its editor and the home
// folder, and nothing else of the environment; an empty value is no value.
TEST(StartUp, DesktopEnvironmentReadsOnlyItsVariables)
{
    ::setenv("VISUAL", "kate", 1);
    ::setenv("EDITOR", "", 1);
    ::setenv("QMK_TEST_SECRET", "x", 1);
    const EnvironmentLookup environment = DesktopEnvironment();
    EXPECT_EQ(environment("VISUAL"), std::optional<std::string>("kate"));
    EXPECT_EQ(environment("EDITOR"), std::nullopt);
    EXPECT_EQ(environment("QMK_TEST_SECRET"), std::nullopt);
    ::unsetenv("VISUAL");
    ::unsetenv("EDITOR");
    ::unsetenv("QMK_TEST_SECRET");
}

// The first start offers a graphical editor the desktop knows of; a browser,
// a launcher or a terminal editor only where nothing better is there.
TEST(StartUp, DefaultExternalEditor)
{
    struct Row {
        const char* name;
        std::map<std::string, std::string> environment; // "@" stands for the bench's folder
        std::map<std::string, std::string> defaults; // MIME type to desktop file
        std::vector<const char*> files; // under the bench, "applications/*.desktop" with their contents below
        const char* expected;
    };
    const std::string geditEntry = "[Desktop Entry]\nName=Text Editor\nExec=gedit %U\nTerminal=false\n"
                                   "Categories=GNOME;GTK;Utility;TextEditor;\n";
    const std::string browserEntry = "[Desktop Entry]\nExec=/usr/bin/chromium %U\nCategories=Network;WebBrowser;\n";
    const std::string vimEntry = "[Desktop Entry]\nExec=vim %F\nTerminal=true\nCategories=Utility;TextEditor;\n";
    const Row rows[] = {
        {"nothing at all: the system's editor", {}, {}, {}, "sys/editor"},
        {"xdg-open opens a browser, it is no editor", {}, {}, {"sys/xdg-open", "sys/editor"}, "sys/editor"},
        {"a known graphical editor", {}, {}, {"sys/editor", "sys/mousepad"}, "sys/mousepad"},
        {"a graphical VISUAL comes first", {{"VISUAL", "kate --new"}, {"PATH", "@bin"}}, {},
            {"bin/kate", "sys/mousepad"}, "bin/kate"},
        {"VISUAL with a quoted path", {{"VISUAL", "\"@opt/my ed\" --wait"}}, {}, {"opt/my ed", "sys/mousepad"},
            "opt/my ed"},
        {"a terminal VISUAL gives way to the desktop's text editor",
            {{"VISUAL", "vim"}, {"PATH", "@bin"}, {"XDG_DATA_DIRS", "@share"}}, {{"text/html", "gedit.desktop"}},
            {"bin/vim", "bin/gedit", "share/applications/gedit.desktop"}, "bin/gedit"},
        {"the desktop's browser for pages is passed over for its text editor",
            {{"PATH", "@bin"}, {"XDG_DATA_DIRS", "@share"}},
            {{"text/html", "chromium.desktop"}, {"text/plain", "gedit.desktop"}},
            {"bin/gedit", "share/applications/gedit.desktop", "share/applications/chromium.desktop"}, "bin/gedit"},
        {"a terminal desktop entry is no graphical editor", {{"PATH", "@bin"}, {"XDG_DATA_DIRS", "@share"}},
            {{"text/plain", "vim.desktop"}}, {"bin/vim", "share/applications/vim.desktop", "sys/mousepad"},
            "sys/mousepad"},
        {"the user's own desktop entry hides the system's",
            {{"PATH", "@bin"}, {"XDG_DATA_HOME", "@home"}, {"XDG_DATA_DIRS", "@share"}},
            {{"text/plain", "gedit.desktop"}},
            {"bin/gedit", "home/applications/gedit.desktop", "share/applications/gedit.desktop", "sys/editor"},
            "sys/editor"},
        {"a terminal VISUAL when there is no graphical editor", {{"VISUAL", "nano"}, {"PATH", "@bin"}}, {},
            {"bin/nano", "sys/editor"}, "bin/nano"},
        {"EDITOR after VISUAL", {{"EDITOR", "@bin/nano"}}, {}, {"bin/nano", "sys/editor"}, "bin/nano"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        for (const char* file : row.files) {
            const std::string name = file;
            std::string contents = "#!/bin/sh\n";
            if (name.find("gedit.desktop") != std::string::npos)
                contents = name.rfind("home/", 0) == 0 ? "[Desktop Entry]\nNoDisplay=true\n" : geditEntry;
            if (name.find("chromium.desktop") != std::string::npos) contents = browserEntry;
            if (name.find("vim.desktop") != std::string::npos) contents = vimEntry;
            bench.write(name, contents);
        }
        DesktopFacts desktop;
        std::map<std::string, std::string> environment;
        for (const auto& [name, value] : row.environment) {
            std::string filled = value;
            if (filled.find('@') != std::string::npos) filled.replace(filled.find('@'), 1, bench.root());
            environment[name] = filled;
        }
        desktop.variable = [environment](std::string_view name) -> std::optional<std::string> {
            auto found = environment.find(std::string(name));
            if (found == environment.end()) return std::nullopt;
            return found->second;
        };
        desktop.defaultApplication = [defaults = row.defaults](std::string_view mimeType) {
            auto found = defaults.find(std::string(mimeType));
            return found == defaults.end() ? std::string() : found->second;
        };
        EXPECT_EQ(DefaultExternalEditor(bench.fs, desktop, bench.path("sys")), bench.path(row.expected));
    }
}

TEST(Profiles, OpenAsksAboutUnsavedChanges)
{
    struct Row {
        const char* name;
        YesNoCancel answer;
        bool opened;
        bool savedFirst;
    };
    const Row rows[] = {
        {"Yes saves, then opens", YesNoCancel::Yes, true, true},
        {"No drops the changes, then opens", YesNoCancel::No, true, false},
        {"Cancel changes nothing", YesNoCancel::Cancel, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        StartBench bench;
        bench.start();
        const std::string folder = bench.programFolder;
        test::WriteFile(folder + "Profiles/other.pro", "[settings]\r\ncbDelKav=0\r\n");
        bench.model.options.setFlag(Opt::cbDelAllTabs, false);
        bench.model.options.ProfileModified = true;
        bench.ui.script({test::YesNoCancelAnswer(row.answer)});
        if (row.answer != YesNoCancel::Cancel) bench.ui.script({test::OpenFiles({folder + "Profiles/other.pro"})});
        OpenProfile(bench.model);
        EXPECT_TRUE(bench.ui.saw("yesnocancel",
            "Save changes to current profile file < " + folder + "Profiles/Default.pro > before opening ?"));
        EXPECT_EQ(bench.model.options.text(Opt::edProfile),
            folder + (row.opened ? "Profiles/other.pro" : "Profiles/Default.pro"));
        EXPECT_EQ(bench.model.options.flag(Opt::cbDelKav), !row.opened);
        EXPECT_EQ(bench.file("Profiles/Default.pro").find("cbDelAllTabs=0") != std::string::npos, row.savedFirst);
        if (row.opened) {
            EXPECT_EQ(bench.ui.dialogRequests.back().filter, "Profiles files [*.pro]|*.pro");
            EXPECT_EQ(bench.ui.dialogRequests.back().startFolder, folder + "Profiles/");
            EXPECT_FALSE(bench.model.options.ProfileModified);
        }
    }
}

TEST(Profiles, OpeningAnEmptyProfileWritesTheCurrentOptionsIntoIt)
{
    StartBench bench;
    bench.start();
    test::WriteFile(bench.programFolder + "Profiles/empty.pro", "");
    bench.ui.script({test::OpenFiles({bench.programFolder + "Profiles/empty.pro"})});
    OpenProfile(bench.model);
    EXPECT_NE(bench.file("Profiles/empty.pro").find("cbDelKav=1"), std::string::npos);
    EXPECT_EQ(SplitLines(bench.file("Profiles/empty.rep")).size(), 14u);
    EXPECT_EQ(SplitLines(bench.file("Profiles/empty.rem")).size(), 10u);
}

TEST(Profiles, SaveAsWritesTheProfileAndItsSchemesUnderTheNewName)
{
    StartBench bench;
    bench.start();
    const std::string before = bench.file("Profiles/Default.pro");
    bench.model.options.setFlag(Opt::cbDelKav, false);
    bench.ui.script({test::SaveFileAs(bench.programFolder + "Profiles/custom.pro")});
    SaveProfileAs(bench.model);
    EXPECT_NE(bench.file("Profiles/custom.pro").find("cbDelKav=0"), std::string::npos);
    EXPECT_TRUE(fs::exists(bench.programFolder + "Profiles/custom.rep"));
    EXPECT_TRUE(fs::exists(bench.programFolder + "Profiles/custom.rem"));
    EXPECT_EQ(bench.file("Profiles/Default.pro"), before);
    EXPECT_EQ(bench.model.options.text(Opt::edProfile), bench.programFolder + "Profiles/custom.pro");
}

TEST(Profiles, ClosingTheOptionsWindowSavesEverything)
{
    StartBench bench;
    bench.start();
    fs::remove(bench.programFolder + "Options.dat");
    fs::remove(bench.programFolder + "Profiles/Default.pro");
    bench.write("a.htm", "a");
    bench.add({"a.htm"});
    bench.model.panel.setHighlighted(0);
    bench.model.options.ProfileModified = true;
    CloseOptionsWindow(bench.model);
    EXPECT_TRUE(fs::exists(bench.programFolder + "Options.dat"));
    EXPECT_TRUE(fs::exists(bench.programFolder + "Profiles/Default.pro"));
    EXPECT_FALSE(bench.model.options.ProfileModified);
    // The highlighted row is selected again: the View items follow its copies.
    EXPECT_EQ(bench.model.sourceView.menuUnzippedHint, bench.path("a.htm"));
}

TEST(Profiles, APathCheckAfterChoosingAFolder)
{
    StartBench bench;
    bench.start();
    fs::create_directories(bench.dir / "out");
    bench.ui.script({test::ChooseFolder(bench.path("out"))});
    ChooseOutputFolder(bench.model);
    EXPECT_EQ(bench.model.options.text(Opt::edOptimizedPath), bench.path("out/"));
    bench.ui.script({test::ChooseFolder("-")});
    ChooseBackupFolder(bench.model);
    EXPECT_EQ(bench.model.options.text(Opt::edBackUpPath), bench.programFolder + "backup/");
    fs::remove(bench.dir / "out");
    PathCheck(bench.model);
    EXPECT_EQ(bench.ui.texts("warning"),
        std::vector<std::string> {"Folder for optimized files does not exist!\rPlease, change program options."});
}

} // namespace
} // namespace qm
