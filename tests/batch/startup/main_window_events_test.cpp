// The main window's own events as logic: where drops are welcome, closing while busy, the refresh when idle.
#include "batch/startup/main_window_events.h"

#include <gtest/gtest.h>

#include "batch/panel/panel_commands.h"
#include "batch/panel/panel_refresh.h"
#include "batch/run/run_control.h"
#include "batch/view/source_view.h"
#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;

TEST(MainWindowEvents, DropPointOnThePanelEdgesIncluded)
{
    const PanelRect panel {10, 70, 100, 50};
    struct Row {
        const char* name;
        int x, y;
        bool inside;
    };
    const Row rows[] = {
        {"inside", 50, 90, true},
        {"top left corner", 10, 70, true},
        {"right edge (left + width)", 110, 90, true},
        {"bottom edge (top + height)", 50, 120, true},
        {"left of the panel", 9, 90, false},
        {"right of the right edge", 111, 90, false},
        {"above, on the tool bar", 50, 69, false},
        {"below, on the source view", 50, 121, false},
    };
    for (const Row& row : rows) EXPECT_EQ(DropPointOnPanel(row.x, row.y, panel), row.inside) << row.name;
}

TEST(MainWindowEvents, ClosingWhileBusyAsksTheWorkToStop)
{
    struct Row {
        const char* name;
        ActivityMode activity;
        bool closes;
    };
    const Row rows[] = {
        {"idle", ActivityMode::None, true},
        {"a run", ActivityMode::Opt, false},
        {"a folder scan", ActivityMode::Path, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.model.state.activity = row.activity;
        EXPECT_EQ(MainWindowCloseQuery(bench.model), row.closes);
        EXPECT_EQ(bench.model.state.interruptRequested, !row.closes);
    }
}

// Closing while a run lasts asks the run to stop; once the user has agreed,
// the program quits as asked. Cancel to the interrupt question withdraws the close.
TEST(MainWindowEvents, ClosingDuringARunQuitsOnceTheUserAgreed)
{
    struct Row {
        const char* name;
        test::ScriptedAnswer answer;
        bool quits;
        bool written; // the second page
    };
    const Row rows[] = {
        {"OK: the run stops, the program quits", test::Ok(), true, false},
        {"Cancel: the run goes on, the program stays", test::CancelOk(), false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.write("site/a.htm", "<p>a</p>");
        bench.write("site/b.htm", "<p>b</p>");
        bench.add({"site/a.htm", "site/b.htm"});
        bench.quietRuns();
        bool closed = false;
        bench.ui.onProcessEvents = [&] {
            if (closed || !bench.exists("optimized/a.htm")) return;
            closed = true;
            EXPECT_FALSE(MainWindowCloseQuery(bench.model)) << "not while the run writes files";
        };
        bench.ui.script({row.answer});
        EXPECT_FALSE(QuitAfterWork(bench.model)) << "no close asked yet";
        butOptimizeClick(bench.model);
        EXPECT_TRUE(closed);
        EXPECT_EQ(bench.exists("optimized/b.htm"), row.written);
        EXPECT_EQ(QuitAfterWork(bench.model), row.quits);
        EXPECT_FALSE(QuitAfterWork(bench.model)) << "once";
        EXPECT_TRUE(MainWindowCloseQuery(bench.model)) << "idle now";
    }
}

// Quitting with an edit in the source view asks as every editor does.
TEST(MainWindowEvents, QuittingWithAnUnsavedEditAsks)
{
    struct Row {
        const char* name;
        YesNoCancel answer;
        bool failingSave;
        bool closes;
        const char* saved;
    };
    const Row rows[] = {
        {"Yes saves and quits", YesNoCancel::Yes, false, true, "edited\r\n"},
        {"No quits without saving", YesNoCancel::No, false, true, "<p>page</p>\r\n"},
        {"Cancel stays", YesNoCancel::Cancel, false, false, "<p>page</p>\r\n"},
        {"Yes with a save that fails stays", YesNoCancel::Yes, true, false, "<p>page</p>\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.model.options.setFlag(Opt::cbKeepLineEnds, false);
        bench.write("site/page.htm", "<p>page</p>\r\n");
        bench.add({"site/page.htm"});
        HighlightRow(bench.model, 0);
        butViewUnZippedClick(bench.model);
        bench.hooks.setSourceViewText("edited");
        memoFileSrcChange(bench.model);
        if (row.failingSave) bench.fs.failWrites(bench.path("site/page.htm"));
        bench.ui.script({test::YesNoCancelAnswer(row.answer)});
        EXPECT_EQ(MainWindowCloseQuery(bench.model), row.closes);
        EXPECT_EQ(bench.ui.texts("yesnocancel"),
            std::vector<std::string> {"Save changes to *|* < " + bench.path("site/page.htm") + " >  ?"});
        EXPECT_EQ(bench.read("site/page.htm"), row.saved);
    }
    // Nothing edited: no question.
    Bench bench;
    EXPECT_TRUE(MainWindowCloseQuery(bench.model));
    EXPECT_TRUE(bench.ui.events().empty());
}

TEST(MainWindowEvents, TheRefreshWaitsUntilTheProgramIsIdle)
{
    Bench bench;
    bench.write("a.htm", "aaaa");
    bench.add({"a.htm"});
    IdleRefresh refresh;
    EXPECT_FALSE(refresh.runIfIdle(bench.model)) << "nothing is stale";

    bench.write("a.htm", "aaaaaaaa");
    refresh.invalidate();
    refresh.commandStarted(); // the window became active while a dialog of a command closed
    EXPECT_FALSE(refresh.runIfIdle(bench.model));
    refresh.commandEnded();
    bench.model.state.activity = ActivityMode::Opt;
    EXPECT_FALSE(refresh.runIfIdle(bench.model));
    EXPECT_EQ(bench.model.panel.row(0).cells[cellSize], "4");
    bench.model.state.activity = ActivityMode::None;
    EXPECT_TRUE(refresh.runIfIdle(bench.model));
    EXPECT_EQ(bench.model.panel.row(0).cells[cellSize], "8");
    EXPECT_FALSE(refresh.pending());
    EXPECT_FALSE(refresh.runIfIdle(bench.model)) << "one refresh per invalidation";
}

} // namespace
} // namespace qm
