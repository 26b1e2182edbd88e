// Backups and restores in both modes, and the faults that must never lose a file.
#include "batch/run/restore.h"

#include <gtest/gtest.h>

#include "batch/model/main_model.h"
#include "batch/run/run_control.h"
#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;
namespace fs = std::filesystem;

const std::string kIndexA = "<html>\r\n<p  class=\"a\" >A</p>\r\n</html>\r\n";
const std::string kIndexB = "<html>\n  <p>B</p>\n</html>\n";
const std::string kNews = "<p>\t news \t</p>";

// A site with two pages named alike in two folders.
void WriteSite(const Bench& bench)
{
    bench.write("site/a/index.html", kIndexA);
    bench.write("site/b/index.html", kIndexB);
    bench.write("site/news.html", kNews);
}

void AddSite(Bench& bench) { bench.add({"site/a/index.html", "site/b/index.html", "site/news.html"}); }

void ExpectSiteAsWritten(const Bench& bench)
{
    EXPECT_EQ(bench.read("site/a/index.html"), kIndexA);
    EXPECT_EQ(bench.read("site/b/index.html"), kIndexB);
    EXPECT_EQ(bench.read("site/news.html"), kNews);
}

// The files in a folder besides its journal.
std::size_t FilesIn(const Bench& bench, const std::string& folder)
{
    std::size_t count = 0;
    if (!fs::exists(bench.dir / folder)) return 0;
    for (const auto& entry : fs::recursive_directory_iterator(bench.dir / folder))
        count += entry.is_regular_file() && entry.path().filename() != Journal::kFileName;
    return count;
}

TEST(BackupRestore, ModifyModeRoundTripWithSameNamesFromTwoFolders)
{
    struct Row {
        const char* name;
        std::vector<test::ScriptedAnswer> answers; // for the second index.html's backup question
        std::size_t written;
        bool problemReported;
        std::string firstBackup = "backup/index.html"; // where the first index.html's initial copy ends up
    };
    const Row rows[] = {
        {"Overwrite keeps the older initial copy under a numbered name", {test::Overwrite(OverwriteAnswer::Overwrite)},
            3, false, "backup/index.html.~1~"},
        {"New name keeps both initial copies",
            {test::Overwrite(OverwriteAnswer::NewName), test::TypeText("index-b.html")}, 3, false},
        {"Rename keeps both initial copies", {test::Overwrite(OverwriteAnswer::Rename), test::TypeText("index-a.html")},
            3, false, "backup/index-a.html"},
        {"Skip, then Skip for the source itself",
            {test::Overwrite(OverwriteAnswer::Skip), test::Overwrite(OverwriteAnswer::Skip)}, 2, false},
        {"Skip, then Overwrite the source without a backup",
            {test::Overwrite(OverwriteAnswer::Skip), test::Overwrite(OverwriteAnswer::Overwrite)}, 3, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.quietRuns();
        bench.modifyMode(true);
        WriteSite(bench);
        AddSite(bench);
        bench.ui.script(row.answers);
        butOptimizeClick(bench.model);
        EXPECT_EQ(bench.model.run.processed.size(), row.written);
        EXPECT_EQ(bench.read(row.firstBackup), kIndexA) << "the first initial copy is never lost";
        EXPECT_EQ(!bench.ui.texts("error").empty(), row.problemReported);
        EXPECT_NE(bench.read("site/a/index.html"), kIndexA) << "optimized";

        bench.ui.clearEvents();
        const bool bWithoutBackup =
            row.written == 3 && std::string(row.name).find("without a backup") != std::string::npos;
        if (bWithoutBackup) bench.ui.script({test::RestoreWarning(RestoreWarningAnswer::Yes)});
        menuBackUpLastClick(bench.model);
        EXPECT_EQ(bench.read("site/a/index.html"), kIndexA);
        EXPECT_EQ(bench.read("site/news.html"), kNews);
        if (!bWithoutBackup) {
            EXPECT_EQ(bench.read("site/b/index.html"), kIndexB);
            EXPECT_EQ(FilesIn(bench, "backup"), 0u) << "every backup copy went back";
        }
        EXPECT_FALSE(bench.model.state.menuBackUpLastEnabled);
        EXPECT_TRUE(bench.model.run.processed.empty());
    }
}

TEST(BackupRestore, OutputModeRoundTrip)
{
    Bench bench;
    bench.quietRuns();
    WriteSite(bench);
    AddSite(bench);
    bench.ui.script({test::Overwrite(OverwriteAnswer::NewName), test::TypeText("index-b.html")});
    butOptimizeClick(bench.model);
    EXPECT_EQ(FilesIn(bench, "optimized"), 3u);
    ExpectSiteAsWritten(bench);
    bench.model.options.setFlag(Opt::cbShowEnd, true);
    menuBackUpLastClick(bench.model);
    EXPECT_EQ(FilesIn(bench, "optimized"), 0u) << "each optimized copy, including the new name, is deleted";
    ExpectSiteAsWritten(bench);
    EXPECT_EQ(bench.ui.texts("information"), std::vector<std::string> {"\r Restoration finished   "});
}

TEST(BackupRestore, ARunAgainReplacesItsOwnUnchangedCopiesWithoutAsking)
{
    Bench bench;
    bench.quietRuns();
    WriteSite(bench);
    bench.add({"site/a/index.html", "site/news.html"});
    bench.model.run.replaceOwnUnchangedCopies = true; // as qmk runs
    butOptimizeClick(bench.model);
    ASSERT_EQ(FilesIn(bench, "optimized"), 2u);
    const std::string copyOfNews = bench.read("optimized/news.html");

    butOptimizeClick(bench.model);
    EXPECT_TRUE(bench.ui.texts("overwrite").empty()) << "its own copies are replaced without a question";
    EXPECT_EQ(bench.read("optimized/news.html"), copyOfNews);

    // A copy edited since, or a copy of another page at that name, is in the way as before.
    bench.write("optimized/news.html", "edited by hand");
    bench.ui.script({test::Overwrite(OverwriteAnswer::Skip)});
    butOptimizeClick(bench.model);
    EXPECT_EQ(bench.ui.texts("overwrite"), std::vector<std::string> {bench.path("optimized/news.html")});
    EXPECT_EQ(bench.read("optimized/news.html"), "edited by hand");
    EXPECT_TRUE(bench.ui.scriptDone());

    // The desktop program asks the copy question even about its own copies.
    bench.model.run.replaceOwnUnchangedCopies = false;
    bench.ui.clearEvents();
    bench.ui.script({test::Overwrite(OverwriteAnswer::Skip), test::Overwrite(OverwriteAnswer::Skip)});
    butOptimizeClick(bench.model);
    EXPECT_EQ(bench.ui.texts("overwrite").size(), 2u);
    EXPECT_TRUE(bench.ui.scriptDone());
}

TEST(BackupRestore, CancelLastUndoesTheRunEvenAfterTheModeChanged)
{
    Bench bench;
    bench.quietRuns();
    bench.modifyMode(true);
    WriteSite(bench);
    bench.add({"site/a/index.html", "site/news.html"});
    butOptimizeClick(bench.model);
    bench.write("optimized/news.html", "an unrelated older copy");
    bench.model.options.setFlag(Opt::radSaveNewMod, true);
    menuBackUpLastClick(bench.model);
    EXPECT_EQ(bench.read("site/a/index.html"), kIndexA);
    EXPECT_EQ(bench.read("site/news.html"), kNews);
    EXPECT_EQ(bench.read("optimized/news.html"), "an unrelated older copy");
}

TEST(BackupRestore, RestoreCheckedFilesByTheModeInForce)
{
    Bench bench;
    bench.quietRuns();
    bench.modifyMode(true);
    WriteSite(bench);
    bench.add({"site/a/index.html", "site/news.html"});
    butOptimizeClick(bench.model);
    bench.model.run.processed.clear(); // a later session: no record of the run
    bench.model.panel.setChecked(1, false);
    bench.model.options.setFlag(Opt::cbShowEnd, true);
    menuBackUpCheckedClick(bench.model);
    EXPECT_EQ(bench.read("site/a/index.html"), kIndexA);
    EXPECT_NE(bench.read("site/news.html"), kNews) << "unchecked rows stay optimized";
    EXPECT_TRUE(bench.exists("backup/news.html"));
    EXPECT_EQ(bench.ui.texts("information"), std::vector<std::string> {"\r Restoration finished   "});
}

TEST(BackupRestore, TheRestoreWarningAndYesToAll)
{
    struct Row {
        const char* name;
        bool showInfo;
        std::vector<test::ScriptedAnswer> answers;
        std::size_t warnings;
    };
    const Row rows[] = {
        {"Yes warns again", true,
            {test::RestoreWarning(RestoreWarningAnswer::Yes), test::RestoreWarning(RestoreWarningAnswer::Yes)}, 2},
        {"Yes to All stops the warnings", true, {test::RestoreWarning(RestoreWarningAnswer::YesToAll)}, 1},
        {"no warnings without cbShowInfo", false, {}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.modifyMode(true);
        bench.model.options.setFlag(Opt::cbShowInfo, row.showInfo);
        bench.write("site/x.htm", "x");
        bench.write("site/y.htm", "y");
        bench.add({"site/x.htm", "site/y.htm"});
        bench.ui.script(row.answers);
        menuBackUpCheckedClick(bench.model);
        const std::vector<std::string> warnings = bench.ui.texts("restore");
        EXPECT_EQ(warnings.size(), row.warnings);
        if (!warnings.empty()) {
            EXPECT_EQ(warnings[0],
                "There is no initial copy of the file < " + bench.path("backup/x.htm") +
                    " > in backup folder.\rInitial copy of the file was not removed");
        }
        EXPECT_EQ(bench.read("site/x.htm"), "x");
    }
}

TEST(BackupRestore, RestoreCommandsWithNothingToDo)
{
    Bench bench;
    bench.model.options.setFlag(Opt::cbShowEnd, true);
    menuBackUpLastClick(bench.model);
    menuBackUpCheckedClick(bench.model);
    EXPECT_EQ(bench.ui.texts("information"),
        (std::vector<std::string> {"\r Restoration finished   ", "\r Restoration finished   "}));
}

TEST(BackupRestore, TheRestoreButtonAndMenu)
{
    Bench bench;
    bench.model.state.activity = ActivityMode::Opt;
    butBackUpClick(bench.model);
    EXPECT_FALSE(menuBackUpPopup(bench.model));
    // The items of a menu opened before the run started are refused as well.
    bench.model.state.menuBackUpLastEnabled = true;
    menuBackUpLastClick(bench.model);
    menuBackUpCheckedClick(bench.model);
    EXPECT_TRUE(bench.model.state.menuBackUpLastEnabled);
    EXPECT_EQ(
        bench.ui.texts("warning"), std::vector<std::string>(4, "\rPlease, wait for optimization process finishing"));
    bench.model.state.menuBackUpLastEnabled = false;
    bench.model.state.activity = ActivityMode::None;
    bench.ui.clearEvents();
    butBackUpClick(bench.model);
    EXPECT_EQ(bench.ui.texts("information"), std::vector<std::string> {"\rYou should optimize files first"});

    bench.model.state.menuBackUpLastEnabled = true;
    std::optional<RestoreMenuState> menu = menuBackUpPopup(bench.model);
    ASSERT_TRUE(menu);
    EXPECT_FALSE(menu->cancelLastEnabled) << "an empty panel disables both";
    EXPECT_FALSE(bench.model.state.menuBackUpLastEnabled);
    bench.write("a.htm", "a");
    bench.add({"a.htm"});
    bench.model.state.menuBackUpLastEnabled = true;
    menu = menuBackUpPopup(bench.model);
    EXPECT_TRUE(menu->cancelLastEnabled);
    EXPECT_TRUE(menu->restoreCheckedEnabled);
    bench.model.panel.deselect();
    EXPECT_FALSE(menuBackUpPopup(bench.model)->restoreCheckedEnabled);
}

// The faults where a file could get lost. Each row says what the run reports
// and checks that the site reads exactly as before.
TEST(BackupRestore, FaultsLoseNothing)
{
    struct Row {
        const char* name;
        bool modify;
        std::function<void(Bench&)> fault;
        std::string reportFragment;
        std::size_t written;
        std::vector<test::ScriptedAnswer> answers = {};
    };
    const Row rows[] = {
        {"read-only source in modify mode", true, [](Bench& b) { b.fs.makeReadOnly(b.path("site/news.html")); },
            "the file is read-only; it was not modified", 1},
        {"full backup folder", true, [](Bench& b) { b.fs.fillFolder(b.path("backup")); }, "No space left on device", 0},
        {"the journal cannot be written", true,
            [](Bench& b) { b.fs.failWrites(b.path("backup/") + std::string(Journal::kFileName)); }, "no backup copy",
            0},
        {"write fails after the backup", true, [](Bench& b) { b.fs.failWrites(b.path("site/news.html")); },
            "the file was left as it was", 1},
        {"vanished source", true, [](Bench& b) { b.fs.vanishOnRead(b.path("site/news.html")); }, "Cannot open", 1},
        {"unwritable output folder", false, [](Bench& b) { b.fs.lockFolder(b.path("optimized")); }, "Permission denied",
            0},
        {"read-only optimized copy", false,
            [](Bench& b) {
                b.write("optimized/news.html", "older copy");
                b.fs.makeReadOnly(b.path("optimized/news.html"));
            },
            "is read-only; it was not replaced", 1, {test::Overwrite(OverwriteAnswer::Overwrite)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.quietRuns();
        if (row.modify) bench.modifyMode(true);
        WriteSite(bench);
        bench.add({"site/a/index.html", "site/news.html"});
        row.fault(bench);
        bench.ui.script(row.answers);
        butOptimizeClick(bench.model);
        EXPECT_EQ(bench.model.run.processed.size(), row.written);
        const std::vector<std::string> errors = bench.ui.texts("error");
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].find(row.reportFragment), std::string::npos) << errors[0];
        const bool vanished = row.name == std::string("vanished source");
        menuBackUpLastClick(bench.model);
        EXPECT_EQ(bench.read("site/a/index.html"), kIndexA);
        if (!vanished) {
            EXPECT_EQ(bench.read("site/news.html"), kNews);
        }
        EXPECT_EQ(FilesIn(bench, "backup"), 0u);
    }
}

TEST(BackupRestore, AWriteThatFailsAfterOverwritingABackupBringsTheOlderBackupBack)
{
    Bench bench;
    bench.quietRuns();
    bench.modifyMode(true);
    bench.write("site/x.htm", "<p >x</p>");
    bench.write("backup/x.htm", "the initial copy of an earlier run");
    bench.add({"site/x.htm"});
    bench.fs.failWrites(bench.path("site/x.htm"));
    bench.ui.script({test::Overwrite(OverwriteAnswer::Overwrite)});
    butOptimizeClick(bench.model);
    EXPECT_EQ(bench.read("site/x.htm"), "<p >x</p>");
    EXPECT_EQ(bench.read("backup/x.htm"), "the initial copy of an earlier run");
    EXPECT_EQ(FilesIn(bench, "backup"), 1u);
    EXPECT_TRUE(bench.model.run.processed.empty());
}

TEST(BackupRestore, ABackupFolderOnAnotherFileSystem)
{
    Bench bench;
    bench.quietRuns();
    bench.modifyMode(true);
    WriteSite(bench);
    bench.fs.crossDevice(bench.path("backup"));
    bench.add({"site/news.html"});
    butOptimizeClick(bench.model);
    EXPECT_EQ(bench.read("backup/news.html"), kNews);
    EXPECT_NE(bench.read("site/news.html"), kNews);
    EXPECT_TRUE(bench.ui.messages().empty()) << "the move completes by copying: no question about the source";
    menuBackUpLastClick(bench.model);
    EXPECT_EQ(bench.read("site/news.html"), kNews);
    EXPECT_FALSE(bench.exists("backup/news.html"));
}

TEST(BackupRestore, AnOutputFolderThatHoldsTheSourcesIsRefused)
{
    Bench bench;
    bench.quietRuns();
    WriteSite(bench);
    bench.model.options.setText(Opt::edOptimizedPath, bench.path("site/"));
    bench.add({"site/news.html"});
    butOptimizeClick(bench.model);
    EXPECT_EQ(bench.read("site/news.html"), kNews);
    ASSERT_EQ(bench.ui.texts("error").size(), 1u);
    EXPECT_NE(bench.ui.texts("error")[0].find("would replace the file itself"), std::string::npos);
    menuBackUpCheckedClick(bench.model);
    EXPECT_EQ(bench.read("site/news.html"), kNews) << "restoring never deletes the source itself";
}

TEST(BackupRestore, ARestoreThatFailsIsReported)
{
    Bench bench;
    bench.quietRuns();
    WriteSite(bench);
    bench.add({"site/news.html"});
    butOptimizeClick(bench.model);
    bench.fs.makeReadOnly(bench.path("optimized/news.html"));
    menuBackUpLastClick(bench.model);
    ASSERT_EQ(bench.ui.texts("error").size(), 1u);
    EXPECT_EQ(bench.ui.texts("error")[0].rfind("Restoration error\r", 0), 0u);
    EXPECT_TRUE(bench.exists("optimized/news.html"));
}

} // namespace
} // namespace qm

namespace qm {
namespace {

TEST(BackupRestore, ASourceReplacedInPlaceKeepsItsPermissions)
{
    test::Bench bench;
    bench.quietRuns();
    bench.modifyMode(true);
    bench.write("site/page.php", "<p >x</p>");
    std::filesystem::permissions(bench.dir / "site/page.php", std::filesystem::perms(0750));
    bench.add({"site/page.php"});
    butOptimizeClick(bench.model);
    EXPECT_EQ(bench.read("site/page.php"), "<p>x</p>\n");
    EXPECT_EQ(std::filesystem::status(bench.dir / "site/page.php").permissions(), std::filesystem::perms(0750));
}

} // namespace
} // namespace qm
