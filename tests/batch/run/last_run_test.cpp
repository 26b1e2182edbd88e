// The last run's list across a restart: written, read back, checked against the journals, and never trusted blindly.
#include "batch/run/last_run.h"

#include <gtest/gtest.h>

#include <functional>

#include "batch/panel/panel_commands.h"
#include "batch/panel/panel_refresh.h"
#include "batch/run/restore.h"
#include "batch/run/run_control.h"
#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;

const std::string kIndex = "<html>\r\n<p  class=\"a\" >A</p>\r\n</html>\r\n";
const std::string kNews = "<p>\t news \t</p>\n\n\n";

// The desktop program as start-up leaves it: the list is remembered.
void RunSite(Bench& bench)
{
    bench.quietRuns();
    bench.write("site/index.html", kIndex);
    bench.write("site/news.html", kNews);
    bench.add({"site/index.html", "site/news.html"});
    RecallLastRun(bench.model);
    butOptimizeClick(bench.model);
    ASSERT_EQ(bench.model.run.processed.size(), 2u);
    ASSERT_TRUE(bench.model.state.menuBackUpLastEnabled);
}

// The program started again over the same program folder, with the options it saved.
struct Restarted {
    explicit Restarted(Bench& bench)
        : model(bench.fs, bench.ui, bench.hooks)
    {
        model.state.programFolder = bench.root();
        model.options = bench.model.options;
        RecallLastRun(model);
    }
    MainModel model;
};

const std::string kLastRun(kLastRunFileName);

TEST(LastRun, FormatAndParseKeepEveryField)
{
    LastRun run;
    run.modify = true;
    ProcessedFile odd;
    odd.source = "/site/a\tb%20\nc.html";
    odd.writtenTo = odd.source;
    odd.backupPath = "/backup/a b.html";
    odd.journalFolder = "/backup/";
    ProcessedFile kept;
    kept.source = "/site/k.html";
    kept.writtenTo = "/site/k.html";
    kept.backupPath = "/site/k-old.html";
    kept.originalHash = std::string(64, 'a');
    kept.writtenHash = std::string(64, '0');
    run.files = {odd, kept};

    Expected<LastRun> read = ParseLastRun(FormatLastRun(run));
    ASSERT_TRUE(read) << read.reason();
    EXPECT_TRUE(read->modify);
    ASSERT_EQ(read->files.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const ProcessedFile& a = run.files[i];
        const ProcessedFile& b = read->files[i];
        EXPECT_EQ(a.source, b.source);
        EXPECT_EQ(a.writtenTo, b.writtenTo);
        EXPECT_EQ(a.backupPath, b.backupPath);
        EXPECT_EQ(a.journalFolder, b.journalFolder);
        EXPECT_EQ(a.originalHash, b.originalHash);
        EXPECT_EQ(a.writtenHash, b.writtenHash);
    }
    Expected<LastRun> empty = ParseLastRun(FormatLastRun(LastRun {}));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->files.empty());
}

TEST(LastRun, DamagedListsAreRefusedWhole)
{
    const std::string good = "Quillmark last run\t1\nmode\tcopies\nfile\t/s/a.html\t/o/a.html\t\t/o/\t\t\nend\t1\n";
    ASSERT_TRUE(ParseLastRun(good));
    struct Row {
        const char* name;
        std::string text;
    };
    const Row rows[] = {
        {"empty", ""},
        {"another file's text", "[Options]\nx=1\n"},
        {"cut short before its end", good.substr(0, good.find("end"))},
        {"cut short inside a line", good.substr(0, good.find("/o/a"))},
        {"a count that does not match", "Quillmark last run\t1\nmode\tcopies\nend\t2\n"},
        {"no mode", "Quillmark last run\t1\nend\t0\n"},
        {"an unknown mode", "Quillmark last run\t1\nmode\tmaybe\nend\t0\n"},
        {"a relative path", "Quillmark last run\t1\nmode\tcopies\nfile\ts/a.html\t/o/a.html\t\t/o/\t\t\nend\t1\n"},
        {"a missing field", "Quillmark last run\t1\nmode\tcopies\nfile\t/s/a.html\t/o/a.html\t\t/o/\t\nend\t1\n"},
        {"a malformed digest",
            "Quillmark last run\t1\nmode\tmodify\nfile\t/s/a.html\t/s/a.html\t/s/b\t\tXYZ\t\nend\t1\n"},
        {"text after the end", good + "file\t/s/b.html\t/o/b.html\t\t/o/\t\t\n"},
        {"a later format", "Quillmark last run\t2\nmode\tcopies\nend\t0\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(ParseLastRun(row.text));
    }
}

TEST(LastRun, CancelAfterRestartRestoresTheOriginals)
{
    struct Row {
        const char* name;
        bool modify;
        bool backups;
    };
    const Row rows[] = {
        {"optimized copies are deleted", false, false},
        {"overwritten pages come back from their backups", true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        if (row.modify) bench.modifyMode(row.backups);
        RunSite(bench);
        ASSERT_TRUE(bench.exists(kLastRun));
        if (row.modify) {
            EXPECT_NE(bench.read("site/index.html"), kIndex) << "the run replaced the page";
        }

        Restarted restarted(bench);
        EXPECT_TRUE(restarted.model.state.menuBackUpLastEnabled);
        EXPECT_EQ(restarted.model.run.processed.size(), 2u);
        // A restarted program's panel is usually empty; the remembered run is still offered in the Restore menu.
        std::optional<RestoreMenuState> menu = menuBackUpPopup(restarted.model);
        ASSERT_TRUE(menu);
        EXPECT_TRUE(menu->cancelLastEnabled);
        EXPECT_FALSE(menu->restoreCheckedEnabled);
        menuBackUpLastClick(restarted.model);

        EXPECT_TRUE(bench.ui.texts("error").empty());
        EXPECT_EQ(bench.read("site/index.html"), kIndex);
        EXPECT_EQ(bench.read("site/news.html"), kNews);
        EXPECT_FALSE(bench.exists("optimized/index.html"));
        EXPECT_FALSE(bench.exists("optimized/news.html"));
        EXPECT_FALSE(bench.exists("backup/index.html"));
        EXPECT_FALSE(restarted.model.state.menuBackUpLastEnabled);
        EXPECT_FALSE(bench.exists(kLastRun)) << "a cancelled run is not offered again";
        EXPECT_FALSE(Restarted(bench).model.state.menuBackUpLastEnabled);
    }
}

TEST(LastRun, ListIsKeptOnlyWhileTheCommandCanUndoTheRun)
{
    struct Row {
        const char* name;
        bool modify;
        bool backups;
        bool remembered; // as the desktop program does; qmk does not
        bool kept;
        std::vector<test::ScriptedAnswer> answers;
    };
    const Row rows[] = {
        {"the desktop program's run into copies", false, false, true, true, {}},
        {"pages replaced without backups cannot be undone", true, false, true, false,
            {test::Overwrite(OverwriteAnswer::Overwrite)}},
        {"qmk's runs leave the list alone", false, false, false, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.quietRuns();
        if (row.modify) bench.modifyMode(row.backups);
        bench.write(kLastRun, "an older list");
        bench.write("site/index.html", kIndex);
        bench.add({"site/index.html"});
        bench.model.run.rememberLastRun = row.remembered;
        bench.ui.script(row.answers);
        butOptimizeClick(bench.model);
        ASSERT_EQ(bench.model.run.processed.size(), 1u);
        const bool rewritten = bench.exists(kLastRun) && bench.read(kLastRun) != "an older list";
        EXPECT_EQ(rewritten, row.kept);
        if (row.remembered) {
            EXPECT_EQ(bench.exists(kLastRun), row.kept) << "a new run replaces the old list";
        }
    }
}

TEST(LastRun, InterruptedRunIsRememberedWithTheFilesItWrote)
{
    Bench bench;
    bench.quietRuns();
    bench.modifyMode(true);
    bench.write("site/index.html", kIndex);
    bench.write("site/news.html", kNews);
    bench.add({"site/index.html", "site/news.html"});
    RecallLastRun(bench.model);
    // Esc once the first page is written, before the second one.
    bench.ui.onProcessEvents = [&] {
        if (!bench.model.run.processed.empty()) bench.model.state.interruptRequested = true;
    };
    bench.ui.script({test::Ok()});
    butOptimizeClick(bench.model);
    bench.ui.onProcessEvents = nullptr;
    ASSERT_EQ(bench.model.run.processed.size(), 1u);
    EXPECT_EQ(bench.read("site/news.html"), kNews) << "not reached";

    Restarted restarted(bench);
    ASSERT_EQ(restarted.model.run.processed.size(), 1u);
    menuBackUpLastClick(restarted.model);
    EXPECT_EQ(bench.read("site/index.html"), kIndex);
    EXPECT_EQ(bench.read("site/news.html"), kNews);
    EXPECT_TRUE(bench.ui.texts("error").empty());
}

TEST(LastRun, ListThatCannotBeWrittenIsReportedAndTheRunStaysUndoable)
{
    Bench bench;
    bench.fs.failWrites(bench.path(kLastRun));
    RunSite(bench);
    const std::vector<std::string> warnings = bench.ui.texts("warning");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find(bench.path(kLastRun)), std::string::npos) << warnings[0];
    EXPECT_FALSE(Restarted(bench).model.state.menuBackUpLastEnabled);

    menuBackUpLastClick(bench.model);
    EXPECT_FALSE(bench.exists("optimized/index.html"));
    EXPECT_FALSE(bench.exists("optimized/news.html"));
}

TEST(LastRun, DamagedOrUnreadableListIsIgnoredAndRestoreCheckedStillWorks)
{
    struct Row {
        const char* name;
        std::function<void(Bench&)> damage;
    };
    const Row rows[] = {
        {"cut short",
            [](Bench& bench) {
                const std::string text = bench.read(kLastRun);
                bench.write(kLastRun, text.substr(0, text.size() / 2));
            }},
        {"unreadable", [](Bench& bench) { bench.fs.failReads(bench.path(kLastRun)); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.modifyMode(true);
        RunSite(bench);
        row.damage(bench);

        Restarted restarted(bench);
        EXPECT_FALSE(restarted.model.state.menuBackUpLastEnabled);
        EXPECT_TRUE(restarted.model.run.processed.empty());
        EXPECT_TRUE(bench.ui.texts("error").empty());
        EXPECT_TRUE(bench.exists(kLastRun)) << "nothing is deleted";

        for (const char* page : {"site/index.html", "site/news.html"})
            AddFileToPanel(restarted.model, bench.path(page), false);
        RefreshPanel(restarted.model);
        menuBackUpCheckedClick(restarted.model);
        EXPECT_EQ(bench.read("site/index.html"), kIndex);
        EXPECT_EQ(bench.read("site/news.html"), kNews);
    }
}

TEST(LastRun, FilesWithNothingLeftToUndoAreDropped)
{
    struct Row {
        const char* name;
        bool modify;
        std::function<void(Bench&)> change;
        std::size_t left;
    };
    const Row rows[] = {
        {"one optimized copy deleted by hand", false,
            [](Bench& bench) { std::filesystem::remove(bench.dir / "optimized/news.html"); }, 1},
        {"the output folder emptied", false,
            [](Bench& bench) {
                std::filesystem::remove(bench.dir / "optimized/news.html");
                std::filesystem::remove(bench.dir / "optimized/index.html");
            },
            0},
        {"a backup deleted by hand", true,
            [](Bench& bench) { std::filesystem::remove(bench.dir / "backup/index.html"); }, 1},
        {"the backup folder removed", true, [](Bench& bench) { std::filesystem::remove_all(bench.dir / "backup"); }, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        if (row.modify) bench.modifyMode(true);
        RunSite(bench);
        row.change(bench);

        Restarted restarted(bench);
        EXPECT_EQ(restarted.model.run.processed.size(), row.left);
        EXPECT_EQ(restarted.model.state.menuBackUpLastEnabled, row.left > 0);
        if (row.left == 0) continue;
        menuBackUpLastClick(restarted.model);
        EXPECT_TRUE(bench.ui.texts("warning").empty()) << "no warning about a file that was dropped";
        if (row.modify) {
            EXPECT_EQ(bench.read("site/news.html"), kNews);
        } else {
            EXPECT_FALSE(bench.exists("optimized/index.html"));
        }
    }
}

} // namespace
} // namespace qm
