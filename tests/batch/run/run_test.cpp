// A run over the panel: its three endings, the statistics, the run window as state, and the files it cannot handle.
#include "batch/run/run_control.h"

#include <gtest/gtest.h>

#include "batch/model/main_model.h"
#include "batch/panel/panel_commands.h"
#include "batch/panel/panel_refresh.h"
#include "tests/support/model_bench.h"
#include "tests/support/scripted_optimizer.h"
#include <algorithm>

namespace qm {
namespace {

using test::Bench;
using test::ScriptedOptimizer;

// A bench whose engine gives chosen sizes: file i of `sizes` goes from the first size to the second.
struct RunBench : Bench {
    ScriptedOptimizer engine {model.fs};
    RunBench(std::vector<std::pair<std::int64_t, std::int64_t>> sizes = {})
    {
        model.optimizer = &engine;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            const std::string name = "f" + std::to_string(i) + ".htm";
            write("site/" + name, std::string(static_cast<std::size_t>(sizes[i].first), 'x'));
            engine.outputs[name] = std::string(static_cast<std::size_t>(sizes[i].second), 'y');
            AddFileToPanel(name);
        }
        RefreshPanel(model);
    }
    void AddFileToPanel(const std::string& name) { model.panel.append(path("site/" + name)); }
};

TEST(Run, CompletedRunShowsItsFiguresOnPageTwo)
{
    RunBench bench({{1000, 875}, {1000, 125}, {1000, 1010}});
    bench.ui.script({});
    butOptimizeClick(bench.model);
    const RunWindowState& window = bench.model.run.window;
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(window.page, 1);
    EXPECT_EQ(window.caption, "Optimization");
    EXPECT_EQ(window.fcount, "3");
    EXPECT_EQ(window.filessize, "3000");
    EXPECT_EQ(window.labPathComment, "Optimized copies of the files will be saved to: ");
    EXPECT_EQ(window.labPathForOptimized, bench.path("optimized/"));

    butStartClick(bench.model);
    EXPECT_EQ(window.page, 2);
    EXPECT_EQ(window.caption, "Optimization finished");
    EXPECT_EQ(window.fdone, "3");
    EXPECT_EQ(window.deleted, std::to_string(3000 - 875 - 125 - 1010));
    EXPECT_EQ(window.midk, "33 %"); // (12 + 88 - 1) / 3
    EXPECT_EQ(window.mk, "88 %");
    EXPECT_EQ(window.elapsed, "0:00:00");
    EXPECT_EQ(window.labStatus, "ready for optimization");
    EXPECT_EQ(window.butCancelCaption, "Cancel");
    EXPECT_EQ(bench.model.state.activity, ActivityMode::None);
    EXPECT_TRUE(bench.model.state.menuBackUpLastEnabled);
    EXPECT_EQ(bench.model.state.applicationTitle, "Quillmark");
    EXPECT_EQ(bench.model.run.processed.size(), 3u);
    EXPECT_EQ(bench.read("optimized/f0.htm"), std::string(875, 'y'));
    EXPECT_TRUE(bench.ui.messages().empty());
    // The panel shows the new sizes.
    EXPECT_EQ(bench.model.panel.row(0).cells.size(), 5u);
}

TEST(Run, AverageAndLargestRatio)
{
    struct Row {
        const char* name;
        std::vector<std::pair<std::int64_t, std::int64_t>> sizes;
        std::string average, largest, removed;
    };
    const Row rows[] = {
        {"10 and 15 give 12", {{100, 90}, {100, 85}}, "12 %", "15 %", "25"},
        {"-3 and 0 give -1 (toward zero)", {{100, 103}, {100, 100}}, "-1 %", "0 %", "-3"},
        {"a file that grew leaves the largest ratio", {{1000, 1010}}, "-1 %", "0 %", "-10"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RunBench bench(row.sizes);
        butOptimizeClick(bench.model);
        butStartClick(bench.model);
        EXPECT_EQ(bench.model.run.window.midk, row.average);
        EXPECT_EQ(bench.model.run.window.mk, row.largest);
        EXPECT_EQ(bench.model.run.window.deleted, row.removed);
    }
}

TEST(Run, TheLargestRatioSurvivesLaterRuns)
{
    RunBench bench({{100, 60}, {100, 30}});
    butOptimizeClick(bench.model);
    butStartClick(bench.model);
    EXPECT_EQ(bench.model.run.window.mk, "70 %");
    bench.engine.outputs["f0.htm"] = std::string(50, 'z');
    bench.model.panel.setChecked(1, false);
    bench.ui.script({test::Overwrite(OverwriteAnswer::OverwriteAll)});
    butOptimizeClick(bench.model);
    butStartClick(bench.model);
    EXPECT_EQ(bench.model.run.window.midk, "50 %");
    EXPECT_EQ(bench.model.run.window.mk, "70 %");
}

TEST(Run, InterruptedRunKeepsWhatWasWritten)
{
    RunBench bench({{100, 50}, {100, 50}, {100, 50}});
    // The first file's check passes; Break is pressed while the first file is written.
    int calls = 0;
    bench.ui.onProcessEvents = [&] {
        if (++calls == 3) bench.model.state.interruptRequested = true;
    };
    bench.ui.script({test::Ok()});
    butOptimizeClick(bench.model);
    butStartClick(bench.model);
    const RunWindowState& window = bench.model.run.window;
    EXPECT_TRUE(bench.ui.saw("okcancel", "\rDo you want to interrupt optimization process?"));
    EXPECT_EQ(bench.model.run.processed.size(), 1u);
    EXPECT_TRUE(bench.exists("optimized/f0.htm"));
    EXPECT_FALSE(bench.exists("optimized/f1.htm"));
    EXPECT_EQ(window.page, 2);
    EXPECT_EQ(window.fdone, "1");
    EXPECT_EQ(window.elapsed, "") << "the clock text was emptied before the run took it";
    EXPECT_TRUE(bench.model.state.menuBackUpLastEnabled);
    EXPECT_EQ(bench.model.state.activity, ActivityMode::None);
}

TEST(Run, InterruptInsideTheEngineLeavesTheFileUntouched)
{
    RunBench bench({{100, 50}});
    bench.modifyMode(true);
    bench.engine.checksInterrupt = true;
    // Break before the file: Cancel, the run goes on; Break again during the passes: OK.
    int calls = 0;
    bench.ui.onProcessEvents = [&] {
        if (++calls <= 2) bench.model.state.interruptRequested = true;
    };
    bench.ui.script({test::CancelOk(), test::Ok()});
    butOptimizeClick(bench.model);
    butStartClick(bench.model);
    EXPECT_EQ(bench.ui.texts("okcancel").size(), 2u) << "a later Break asks again";
    EXPECT_EQ(bench.read("site/f0.htm"), std::string(100, 'x')) << "the source was not moved or rewritten";
    EXPECT_FALSE(bench.exists("backup/f0.htm"));
    EXPECT_TRUE(bench.model.run.processed.empty());
    // With no file processed the results page says so; it has no average to show.
    EXPECT_TRUE(bench.ui.texts("error").empty());
    EXPECT_EQ(bench.model.run.window.page, 2);
    EXPECT_EQ(bench.model.run.window.fdone, "0");
    EXPECT_EQ(bench.model.run.window.midk, "-");
}

TEST(Run, EngineFailureEndsTheRun)
{
    RunBench bench({{100, 50}, {100, 50}, {100, 50}});
    bench.engine.failing = "f1.htm";
    butOptimizeClick(bench.model);
    butStartClick(bench.model);
    EXPECT_EQ(bench.ui.texts("error").front(), "\rError during optimization process");
    EXPECT_FALSE(bench.model.run.window.visible) << "the run window is closed";
    EXPECT_FALSE(bench.model.state.menuBackUpLastEnabled);
    EXPECT_EQ(bench.model.run.processed.size(), 1u);
    EXPECT_TRUE(bench.exists("optimized/f0.htm"));
    EXPECT_FALSE(bench.exists("optimized/f2.htm"));
    EXPECT_EQ(bench.model.state.activity, ActivityMode::None);
}

TEST(Run, FilesThatCannotBeHandledAreReportedAndTheRunGoesOn)
{
    RunBench bench;
    bench.write("site/empty.htm", "");
    bench.write("site/nul.htm", std::string("<p>\0</p>", 8));
    bench.write("site/utf16.htm", "\xFF\xFE<\0p\0>\0");
    bench.write("site/vanishing.htm", "<p>v</p>");
    bench.write("site/good.htm", "<p>good</p>");
    bench.write("site/locked.htm", "<p>l</p>");
    for (const char* name :
        {"empty.htm", "nul.htm", "utf16.htm", "vanishing.htm", "missing.htm", "locked.htm", "good.htm"})
        bench.AddFileToPanel(name);
    bench.fs.vanishOnRead(bench.path("site/vanishing.htm"));
    bench.fs.failWrites(bench.path("optimized/locked.htm"));
    bench.quietRuns();
    butOptimizeClick(bench.model);

    std::map<std::string, FileStatus> status;
    for (const FileOutcome& outcome : bench.model.run.outcomes) status[NamePart(outcome.source)] = outcome.status;
    EXPECT_EQ(status["empty.htm"], FileStatus::Skipped);
    EXPECT_EQ(status["nul.htm"], FileStatus::Skipped);
    EXPECT_EQ(status["utf16.htm"], FileStatus::Skipped);
    EXPECT_EQ(status["vanishing.htm"], FileStatus::Failed);
    EXPECT_EQ(status["missing.htm"], FileStatus::Failed);
    EXPECT_EQ(status["locked.htm"], FileStatus::Failed);
    EXPECT_EQ(status["good.htm"], FileStatus::Written);
    EXPECT_EQ(bench.model.run.processed.size(), 1u) << "only the written file counts";
    EXPECT_EQ(bench.model.run.statistics.totalInitial, 11);
    EXPECT_FALSE(bench.exists("optimized/empty.htm"));
    EXPECT_FALSE(bench.exists("optimized/nul.htm"));
    ASSERT_EQ(bench.ui.texts("error").size(), 1u);
    const std::string report = bench.ui.texts("error")[0];
    EXPECT_NE(report.find("6 files were not optimized:"), std::string::npos) << report;
    EXPECT_NE(report.find(bench.path("site/locked.htm") + ": Cannot write"), std::string::npos) << report;
    EXPECT_NE(report.find("NUL"), std::string::npos) << report;
    EXPECT_NE(report.find("UTF-16"), std::string::npos) << report;
    EXPECT_NE(report.find("empty"), std::string::npos) << report;
}

TEST(Run, OptimizeClickWithoutTheRunWindow)
{
    struct Row {
        const char* name;
        bool confirm;
        std::vector<test::ScriptedAnswer> answers;
        bool ran;
        std::vector<std::string> information;
    };
    const Row rows[] = {
        {"confirmed", true, {test::Yes()}, true, {"\rOptimization finished"}},
        {"declined", true, {test::No()}, false, {}},
        {"no question", false, {}, true, {"\rOptimization finished"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RunBench bench({{100, 50}});
        bench.model.options.setFlag(Opt::cbShowOptWin, false);
        bench.model.options.setFlag(Opt::cbShowConf, row.confirm);
        bench.ui.script(row.answers);
        butOptimizeClick(bench.model);
        EXPECT_EQ(bench.exists("optimized/f0.htm"), row.ran);
        EXPECT_EQ(bench.model.state.interruptRequested, !row.ran) << "No stops a command line as well";
        EXPECT_EQ(bench.ui.texts("information"), row.information);
        EXPECT_FALSE(bench.model.run.window.visible);
        EXPECT_EQ(bench.model.state.applicationTitle, "Quillmark");
        EXPECT_EQ(bench.model.state.statusText, "");
        if (row.confirm) {
            EXPECT_TRUE(bench.ui.saw("yesno", "\rStart optimization?"));
        }
    }
}

TEST(Run, OptimizeClickRefusals)
{
    struct Row {
        const char* name;
        ActivityMode mode;
        bool anyChecked;
        bool showInfo;
        std::vector<std::string> messages;
    };
    const Row rows[] = {
        {"a run is under way", ActivityMode::Opt, true, true, {"\rPlease, wait for optimization process finishing"}},
        {"a scan is under way", ActivityMode::Path, true, false,
            {"\rPlease, wait for folder treatment process finishing"}},
        {"nothing checked", ActivityMode::None, false, true, {"\rYou should select files first"}},
        {"nothing checked, quiet", ActivityMode::None, false, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RunBench bench({{100, 50}});
        bench.model.state.activity = row.mode;
        bench.model.options.setFlag(Opt::cbShowInfo, row.showInfo);
        if (!row.anyChecked) bench.model.panel.deselect();
        butOptimizeClick(bench.model);
        EXPECT_EQ(bench.ui.messages(), row.messages);
        EXPECT_FALSE(bench.model.run.window.visible);
    }
}

TEST(Run, PageOneSaysWhereResultsGo)
{
    struct Row {
        const char* name;
        bool modify, backups;
        std::string comment, folder;
    };
    Bench paths;
    const Row rows[] = {
        {"copies", false, true, "Optimized copies of the files will be saved to: ", "optimized/"},
        {"backups", true, true, "Before optimization files will be copied to:", "backup/"},
        {"no backups", true, false, "Source files optimization.", "It will be impossible to restore optimized files"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RunBench bench({{10, 5}});
        if (row.modify) bench.modifyMode(row.backups);
        butOptimizeClick(bench.model);
        EXPECT_EQ(bench.model.run.window.labPathComment, row.comment);
        const std::string folder = row.folder.back() == '/' ? bench.path(row.folder) : row.folder;
        EXPECT_EQ(bench.model.run.window.labPathForOptimized, folder);
    }
}

// A run that handled no file has figures all the same: zero files, nothing
// removed, no average; it is no failure of the results page.
TEST(Run, NothingProcessedShowsZeroFigures)
{
    RunBench bench({{100, 50}});
    butOptimizeClick(bench.model);
    bench.model.panel.deselect();
    butStartClick(bench.model);
    const RunWindowState& window = bench.model.run.window;
    EXPECT_TRUE(bench.ui.texts("error").empty());
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(window.page, 2);
    EXPECT_EQ(window.fdone, "0");
    EXPECT_EQ(window.deleted, "0");
    EXPECT_EQ(window.midk, "-");
    EXPECT_EQ(window.skipped, "");
    EXPECT_TRUE(bench.model.state.menuBackUpLastEnabled) << "as the complete run left it";
}

// Every file handed to the placement counts as processed, whether or not its
// copy was written; the skipped ones are named in a line of their own, and
// only the written ones make up the bytes removed and the average.
TEST(Run, SkippedFilesCountAsProcessed)
{
    struct Row {
        const char* name;
        bool modify;
        std::vector<test::ScriptedAnswer> answers;
        const char* fdone;
        const char* skipped;
        const char* deleted;
        const char* midk;
    };
    using A = OverwriteAnswer;
    const Row rows[] = {
        {"Skip for one output copy in the way", false, {test::Overwrite(A::Skip)}, "3", "skipped: 1", "100", "50 %"},
        {"Skip for both copies in the way", false, {test::Overwrite(A::Skip), test::Overwrite(A::Skip)}, "3",
            "skipped: 2", "50", "50 %"},
        {"Skip All in Modify initial files", true, {test::Overwrite(A::SkipAll), test::Overwrite(A::SkipAll)}, "3",
            "skipped: 3", "0", "-"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RunBench bench({{100, 50}, {100, 50}, {100, 50}});
        if (row.modify) {
            bench.modifyMode(true);
            // Backup copies of every page are in the way; skipping them leaves each source to the copy question.
            for (const char* name : {"f0.htm", "f1.htm", "f2.htm"}) bench.write(std::string("backup/") + name, "old");
        } else {
            bench.write("optimized/f0.htm", "old");
            if (row.answers.size() > 1) bench.write("optimized/f2.htm", "old");
        }
        bench.ui.script(row.answers);
        butOptimizeClick(bench.model);
        butStartClick(bench.model);
        const RunWindowState& window = bench.model.run.window;
        EXPECT_TRUE(bench.ui.scriptDone());
        EXPECT_TRUE(bench.ui.texts("error").empty());
        EXPECT_TRUE(window.visible);
        EXPECT_EQ(window.page, 2);
        EXPECT_EQ(window.fdone, row.fdone);
        EXPECT_EQ(window.skipped, row.skipped);
        EXPECT_EQ(window.deleted, row.deleted);
        EXPECT_EQ(window.midk, row.midk);
        EXPECT_TRUE(bench.model.state.menuBackUpLastEnabled);
    }
}

TEST(Run, NoResultsSwitchCoversOneRun)
{
    RunBench bench({{100, 50}});
    bench.model.state.noResults = true;
    butOptimizeClick(bench.model);
    butStartClick(bench.model);
    EXPECT_EQ(bench.model.run.window.page, 1);
    EXPECT_EQ(bench.model.run.window.labStatus, "ready for optimization");
    EXPECT_FALSE(bench.model.state.noResults);
    bench.ui.script({test::Overwrite(OverwriteAnswer::Overwrite)});
    butOptimizeClick(bench.model);
    butStartClick(bench.model);
    EXPECT_EQ(bench.model.run.window.page, 2);
}

TEST(Run, CancelLastOptimizationEnabling)
{
    struct Row {
        const char* name;
        bool modify, backups;
        bool enabled;
    };
    const Row rows[] = {
        {"copies", false, false, true},
        {"sources with backups", true, true, true},
        {"sources without backups", true, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RunBench bench({{100, 50}});
        if (row.modify) bench.modifyMode(row.backups);
        if (row.modify && !row.backups) bench.ui.script({test::Overwrite(OverwriteAnswer::Overwrite)});
        butOptimizeClick(bench.model);
        butStartClick(bench.model);
        EXPECT_EQ(bench.model.state.menuBackUpLastEnabled, row.enabled);
    }
}

TEST(Run, TheRunWindowWhileRunning)
{
    RunBench bench({{100, 50}});
    auto now = std::chrono::steady_clock::time_point {};
    bench.model.run.clock.now = [&] { return now; };
    RunWindowState seen;
    ActivityMode mode = ActivityMode::None;
    std::string title;
    bool sourceViewShown = true;
    bench.ui.onProcessEvents = [&] {
        now += std::chrono::seconds(65);
        Timer1Timer(bench.model);
        seen = bench.model.run.window;
        mode = bench.model.state.activity;
        title = bench.model.state.applicationTitle;
        sourceViewShown = bench.model.sourceView.visible;
    };
    bench.model.sourceView.shownFile = "shown.htm";
    butOptimizeClick(bench.model);
    EXPECT_EQ(bench.model.sourceView.shownFile, "") << "Optimize! resets the source view";
    butStartClick(bench.model);
    EXPECT_EQ(seen.labStatus, "optimization in a progress ...");
    EXPECT_EQ(seen.butCancelCaption, "Break");
    EXPECT_FALSE(seen.butStartEnabled);
    EXPECT_EQ(mode, ActivityMode::Opt);
    EXPECT_EQ(title, "Quillmark [ optimization in a progress ... ]");
    EXPECT_EQ(bench.model.run.window.elapsed, "0:02:10");
    EXPECT_FALSE(sourceViewShown);
    EXPECT_TRUE(bench.model.sourceView.visible);
}

TEST(Run, ProgressOfFilesDoneOutOfFilesChecked)
{
    RunBench bench({{100, 50}, {100, 50}, {100, 50}});
    bench.model.panel.setChecked(1, false);
    std::vector<std::string> seen;
    bench.ui.onProcessEvents = [&] {
        const RunWindowState& window = bench.model.run.window;
        const std::string line = std::to_string(window.filesDone) + "/" + std::to_string(window.filesTotal) + " " +
            window.fileInHand.substr(window.fileInHand.rfind('/') + 1);
        if (seen.empty() || seen.back() != line) seen.push_back(line);
    };
    butOptimizeClick(bench.model);
    EXPECT_EQ(bench.model.run.window.filesDone, 0u);
    EXPECT_EQ(bench.model.run.window.filesTotal, 2u);
    butStartClick(bench.model);
    EXPECT_EQ(seen, (std::vector<std::string> {"0/2 f0.htm", "1/2 f2.htm"}));
    EXPECT_EQ(bench.model.run.window.filesDone, 2u);
    EXPECT_EQ(bench.model.run.window.fileInHand, "") << "no file in hand after the run";
}

TEST(Run, ThePanelsCommandsUnderwayNeitherRepeatNorMissAFile)
{
    struct Row {
        const char* name;
        void (*command)(MainModel&);
        std::size_t processed;
    };
    const Row rows[] = {
        {"a sort reverses the rows", [](MainModel& m) { SortByColumn(m, 3); }, 3},
        {"a refresh", [](MainModel& m) { RefreshPanel(m); }, 3},
        {"the panel is cleared", [](MainModel& m) { ClearFilesPanel(m); }, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RunBench bench({{100, 50}, {200, 50}, {300, 50}});
        bench.quietRuns();
        bool done = false;
        bench.ui.onProcessEvents = [&] {
            if (bench.model.run.window.filesDone == 1 && !done) {
                done = true;
                row.command(bench.model);
            }
        };
        butOptimizeClick(bench.model);
        std::vector<std::string> sources;
        for (const ProcessedFile& file : bench.model.run.processed) sources.push_back(file.source);
        std::sort(sources.begin(), sources.end());
        EXPECT_EQ(std::unique(sources.begin(), sources.end()), sources.end()) << "no file twice";
        EXPECT_EQ(sources.size(), row.processed);
    }
}

TEST(Run, BreakAndEscape)
{
    struct Row {
        const char* name;
        std::function<void(MainModel&)> press;
        std::string cancelCaption;
        ActivityMode mode;
        bool requested;
        bool visible;
    };
    const Row rows[] = {
        {"Cancel closes the window", butCancelClick, "Cancel", ActivityMode::None, false, false},
        {"Break asks to stop", butCancelClick, "Break", ActivityMode::Opt, true, true},
        {"Esc in the run window while it reads Cancel", [](MainModel& m) { RunWindowKeyUp(m, kEscapeKey); }, "Cancel",
            ActivityMode::None, false, true},
        {"Esc in the run window while it reads Break", [](MainModel& m) { RunWindowKeyUp(m, kEscapeKey); }, "Break",
            ActivityMode::Opt, true, true},
        {"Esc in the main window during a run", [](MainModel& m) { MainWindowKeyUp(m, kEscapeKey); }, "Break",
            ActivityMode::Opt, true, true},
        {"Esc in the main window during a scan", [](MainModel& m) { MainWindowKeyUp(m, kEscapeKey); }, "Cancel",
            ActivityMode::Path, true, true},
        {"Esc while idle", [](MainModel& m) { MainWindowKeyUp(m, kEscapeKey); }, "Cancel", ActivityMode::None, false,
            true},
        {"another key", [](MainModel& m) { MainWindowKeyUp(m, 13); }, "Break", ActivityMode::Opt, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.model.run.window.visible = true;
        bench.model.run.window.butCancelCaption = row.cancelCaption;
        bench.model.state.activity = row.mode;
        row.press(bench.model);
        EXPECT_EQ(bench.model.state.interruptRequested, row.requested);
        EXPECT_EQ(bench.model.run.window.visible, row.visible);
    }
}

} // namespace
} // namespace qm
