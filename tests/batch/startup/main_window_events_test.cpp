// The main window's own events as logic: where drops are welcome, closing while busy, the refresh when idle.
#include "batch/startup/main_window_events.h"

#include <gtest/gtest.h>

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
