// The file dialogs as the commands show them: where they open, what they remember, the extension a saved name gets.
#include "batch/model/file_dialogs.h"

#include <gtest/gtest.h>

#include "batch/options/options_commands.h"
#include "batch/options/scheme_commands.h"
#include "batch/panel/file_list.h"
#include "batch/panel/panel_commands.h"
#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;

TEST(FileDialogs, DefaultExtension)
{
    struct Row {
        const char* name;
        const char* typed;
        const char* extension;
        const char* saved;
    };
    const Row rows[] = {
        {"a bare name gets it", "/home/u/mylist", "lst", "/home/u/mylist.lst"},
        {"a name with it keeps it", "/home/u/mylist.lst", "lst", "/home/u/mylist.lst"},
        {"another extension is the user's choice", "/home/u/mylist.txt", "lst", "/home/u/mylist.txt"},
        {"a trailing dot is no extension", "/home/u/Mine.", "pro", "/home/u/Mine.pro"},
        {"a hidden file's dot is no extension", "/home/u/.mine", "pro", "/home/u/.mine.pro"},
        {"a dot in the folder does not count", "/home/u/site.d/mine", "rep", "/home/u/site.d/mine.rep"},
        {"no extension asked for", "/home/u/mine", "", "/home/u/mine"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(WithDefaultExtension(row.typed, row.extension), row.saved);
    }
}

TEST(FileDialogs, StartFolder)
{
    struct Row {
        const char* name;
        const char* lastFolder; // relative to the bench; empty for none
        bool lastFolderExists;
        bool homeExists;
        const char* expected; // relative to the bench; "/" for the root
    };
    const Row rows[] = {
        {"the folder used last", "work/", true, true, "work/"},
        {"a vanished last folder gives the home folder", "gone/", false, true, "home/"},
        {"no folder used yet gives the home folder", "", false, true, "home/"},
        {"without either, the root", "", false, false, "/"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        if (row.lastFolderExists) std::filesystem::create_directories(bench.dir / row.lastFolder);
        if (row.homeExists) std::filesystem::create_directories(bench.dir / "home");
        if (*row.lastFolder) bench.model.options.setText(Opt::lastFolder, bench.path(row.lastFolder));
        bench.model.state.homeFolder = bench.path("home/");
        const std::string expected = std::string(row.expected) == "/" ? "/" : bench.path(row.expected);
        EXPECT_EQ(DialogStartFolder(bench.model), expected);
        EXPECT_NE(DialogStartFolder(bench.model), bench.root()) << "never the program's folder";
    }
}

// Each save dialog names its extension, and a name typed without one is
// written with it, so that the matching open dialog lists the file again.
TEST(FileDialogs, SaveDialogsWriteTheirExtension)
{
    struct Row {
        const char* name;
        void (*save)(MainModel&);
        const char* extension;
        std::vector<const char*> written;
    };
    const Row rows[] = {
        {"Save list to the file", menuSaveListFilesClick, "lst", {"mine.lst"}},
        {"Save profile as", SaveProfileAs, "pro", {"mine.pro", "mine.rep", "mine.rem"}},
        {"Save scheme file as (replacement)", [](MainModel& m) { SaveSchemeAs(m, TagListKind::Replacement); }, "rep",
            {"mine.rep"}},
        {"Save scheme file as (removal)", [](MainModel& m) { SaveSchemeAs(m, TagListKind::Removal); }, "rem",
            {"mine.rem"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.write("a.htm", "a");
        bench.add({"a.htm"});
        std::filesystem::create_directories(bench.dir / "Profiles");
        bench.model.options.setText(Opt::edProfile, bench.path("Profiles/Default.pro"));
        std::filesystem::create_directories(bench.dir / "lists");
        bench.ui.script({test::SaveFileAs(bench.path("lists/mine"))});
        row.save(bench.model);
        ASSERT_FALSE(bench.ui.dialogRequests.empty());
        EXPECT_EQ(bench.ui.dialogRequests.back().defaultExtension, row.extension);
        for (const char* file : row.written) EXPECT_TRUE(bench.exists(std::string("lists/") + file)) << file;
        EXPECT_FALSE(bench.exists("lists/mine"));
        EXPECT_EQ(bench.model.options.text(Opt::lastFolder), bench.path("lists/")) << "remembered";
    }
}

// The folder of a chosen file is where the next dialog opens; the profile
// dialogs keep their own folder, the profiles'.
TEST(FileDialogs, TheNextDialogOpensWhereTheLastOneWas)
{
    Bench bench;
    bench.model.state.homeFolder = bench.root();
    bench.write("site/a.htm", "a");
    bench.ui.script({test::OpenFiles({bench.path("site/a.htm")}), test::OpenFiles({})});
    butFilesClick(bench.model);
    EXPECT_EQ(bench.ui.dialogRequests[0].startFolder, bench.root()) << "the home folder at first";
    menuOpenListFilesClick(bench.model);
    EXPECT_EQ(bench.ui.dialogRequests[1].startFolder, bench.path("site/"));

    bench.ui.script({test::OpenFiles({})});
    OpenProfile(bench.model);
    EXPECT_EQ(bench.ui.dialogRequests[2].startFolder, bench.path("Profiles/"));
}

} // namespace
} // namespace qm
