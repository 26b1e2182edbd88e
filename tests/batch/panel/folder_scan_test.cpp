// Add folder: the exact extension test, depth limits, the file count cap, interruption, links, the chooser's panels.
#include "batch/panel/folder_scan.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "batch/model/main_model.h"
#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;

std::vector<std::string> Relative(const Bench& bench)
{
    std::vector<std::string> paths;
    for (const PanelRow& row : bench.model.panel.rows()) paths.push_back(row.fullPath().substr(bench.root().size()));
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(FolderScan, TakesOnlyTheWebFilesFilterExtensions)
{
    Bench bench;
    for (const char* name :
        {"Index.HTM", "notes.ht", "readme", "x.h", "run.sh", "main.c", "a.cs", "notes.p", "s.css", "p.php3"})
        bench.write(std::string("a/") + name, "x");
    ScanFolder(bench.model, bench.path("a"), 0);
    EXPECT_EQ(Relative(bench), (std::vector<std::string> {"a/Index.HTM", "a/p.php3", "a/s.css"}));
}

TEST(FolderScan, DepthFollowsTheEmbeddedFolderOptions)
{
    struct Row {
        const char* name;
        bool embedded;
        bool limited;
        const char* limit;
        int startDepth;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"embedded folders off", false, false, "10", 0, {"a/1.htm"}},
        {"all levels", true, false, "10", 0, {"a/1.htm", "a/b/2.htm", "a/b/c/3.htm"}},
        {"one level", true, true, "1", 0, {"a/1.htm", "a/b/2.htm"}},
        {"level zero", true, true, "0", 0, {"a/1.htm"}},
        {"empty limit means none", true, true, "", 0, {"a/1.htm", "a/b/2.htm", "a/b/c/3.htm"}},
        {"foe with a limit", true, true, "1000", kEmbeddedScanDepth, {"a/1.htm"}},
        {"foe without a limit", true, false, "10", kEmbeddedScanDepth, {"a/1.htm", "a/b/2.htm", "a/b/c/3.htm"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.write("a/1.htm", "1");
        bench.write("a/b/2.htm", "2");
        bench.write("a/b/c/3.htm", "3");
        bench.model.options.setFlag(Opt::cbProcessEmbeded, row.embedded);
        bench.model.options.setFlag(Opt::cbMaxEmbCount, row.limited);
        bench.model.options.setText(Opt::edMaxEmbCount, row.limit);
        ScanFolder(bench.model, bench.path("a"), row.startDepth);
        EXPECT_EQ(Relative(bench), row.expected);
    }
}

TEST(FolderScan, StopsAddingAtTheFileCount)
{
    Bench bench;
    for (const char* name : {"1.htm", "2.htm", "3.htm", "4.htm"}) bench.write(std::string("a/") + name, "x");
    bench.model.options.setText(Opt::edMaxFCount, "3");
    ScanFolder(bench.model, bench.path("a"), 0);
    EXPECT_EQ(bench.model.panel.size(), 3u);
    bench.model.options.setFlag(Opt::cbMaxFCount, false);
    ScanFolder(bench.model, bench.path("a"), 0);
    EXPECT_EQ(bench.model.panel.size(), 4u);
}

TEST(FolderScan, DoesNotFollowALinkBackUpTheTree)
{
    Bench bench;
    bench.write("a/1.htm", "1");
    std::filesystem::create_directory_symlink(bench.dir / "a", bench.dir / "a/loop");
    bench.model.options.setFlag(Opt::cbProcessEmbeded, true);
    ScanFolder(bench.model, bench.path("a"), 0);
    EXPECT_EQ(Relative(bench), std::vector<std::string> {"a/1.htm"});
}

TEST(FolderScan, InterruptionAsksAndStops)
{
    struct Row {
        const char* name;
        test::ScriptedAnswer answer;
        std::vector<std::string> expected;
        bool flagsCleared;
    };
    const Row rows[] = {
        // The question comes at the start of the first embedded folder's listing.
        {"OK stops before the embedded folder", test::Ok(), {"a/1.htm"}, false},
        {"Cancel goes on", test::CancelOk(), {"a/1.htm", "a/b/2.htm"}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.write("a/1.htm", "1");
        bench.write("a/b/2.htm", "2");
        bench.model.options.setFlag(Opt::cbProcessEmbeded, true);
        bench.model.state.activity = ActivityMode::Path;
        int calls = 0;
        bench.ui.onProcessEvents = [&] {
            if (++calls == 2) bench.model.state.interruptRequested = true;
        };
        bench.ui.script({row.answer});
        ScanFolder(bench.model, bench.path("a"), 0);
        EXPECT_EQ(Relative(bench), row.expected);
        EXPECT_TRUE(bench.ui.saw("okcancel", "\rDo you want to interrupt files adding?"));
        EXPECT_EQ(bench.model.state.interruptRequested, !row.flagsCleared);
        EXPECT_EQ(bench.model.state.activity, row.flagsCleared ? ActivityMode::Path : ActivityMode::None);
    }
}

TEST(FolderScan, AddFolderFillsTheChooserPanelsAndScans)
{
    struct Row {
        const char* name;
        bool countLimit, embedded, levelLimit;
        std::array<std::string, 3> files;
        int icon;
        std::array<std::string, 3> folders;
    };
    const Row rows[] = {
        {"defaults", true, false, false, {"Maximum", "files count is", "100"}, 2,
            {"Embeded folders", "are not processed", ""}},
        {"all levels", false, true, false, {"No files", "count restriction", ""}, 3,
            {"All embeded folders", "will be processed", ""}},
        {"limited levels", true, true, true, {"Maximum", "files count is", "100"}, 1,
            {"Maximum level of", "embeded folders is", "10"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.write("site/a.htm", "x");
        bench.model.options.setFlag(Opt::cbMaxFCount, row.countLimit);
        bench.model.options.setFlag(Opt::cbProcessEmbeded, row.embedded);
        bench.model.options.setFlag(Opt::cbMaxEmbCount, row.levelLimit);
        bench.ui.script({test::ChooseFolder(bench.path("site"))});
        bench.model.sourceView.shownFile = "shown.htm";
        butPathClick(bench.model);
        ASSERT_EQ(bench.ui.chooserPanels.size(), 1u);
        const FolderChooserPanels& panels = bench.ui.chooserPanels[0];
        EXPECT_TRUE(panels.visible);
        EXPECT_EQ(panels.filesLines, row.files);
        EXPECT_EQ(panels.folderIcon, row.icon);
        EXPECT_EQ(panels.foldersLines, row.folders);
        EXPECT_EQ(bench.model.panel.size(), 1u);
        EXPECT_EQ(bench.model.panel.row(0).cells.size(), 4u) << "refreshed after the scan";
        EXPECT_EQ(bench.model.state.activity, ActivityMode::None);
        EXPECT_EQ(bench.model.sourceView.shownFile, "") << "the source view is reset";
    }
}

TEST(FolderScan, AddFolderIsRefusedWhileBusyAndCancelAddsNothing)
{
    struct Row {
        const char* name;
        ActivityMode mode;
        std::vector<std::string> messages;
    };
    const Row rows[] = {
        {"during a run", ActivityMode::Opt, {"\rPlease, wait for optimization process finishing"}},
        {"during a scan", ActivityMode::Path, {"\rPlease, wait for folder treatment process finishing"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.model.state.activity = row.mode;
        butPathClick(bench.model);
        EXPECT_EQ(bench.ui.texts("information"), row.messages);
    }
    for (const char* answer : {"-", ""}) {
        SCOPED_TRACE(std::string("chooser answer \"") + answer + "\"");
        Bench bench;
        bench.ui.script({test::ChooseFolder(answer)});
        butPathClick(bench.model);
        EXPECT_TRUE(bench.model.panel.empty());
    }
}

TEST(FolderScan, ScopeKeepsTheFolderStructureAndSkipsExcludedFolders)
{
    Bench bench;
    bench.write("site/index.html", "1");
    bench.write("site/news/index.html", "2");
    bench.write("site/out/index.html", "3");
    bench.model.options.setFlag(Opt::cbProcessEmbeded, true);
    ScanScope scope;
    scope.root = bench.path("site/");
    scope.excludedFolders = {bench.path("site/out")};
    ScanFolder(bench.model, bench.path("site"), 0, &scope);
    ASSERT_EQ(bench.model.panel.size(), 2u);
    EXPECT_EQ(bench.model.panel.row(0).placement, "");
    EXPECT_EQ(bench.model.panel.row(1).placement, "news/");
}

} // namespace
} // namespace qm
