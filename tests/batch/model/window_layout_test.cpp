// The main window's saved place fitted to the screen, and the panel's share of the window.
#include "batch/model/window_layout.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(WindowLayout, TheSavedPlaceFitsTheScreen)
{
    struct Row {
        const char* name;
        WindowRect saved;
        WindowRect screen;
        WindowRect fitted;
    };
    const WindowRect fullHd {0, 0, 1920, 1040};
    const Row rows[] = {
        {"nothing saved: the designed size, centred", {0, 0, 0, 0}, fullHd, {561, 235, 798, 570}},
        {"a saved place inside the screen stays", {100, 50, 1000, 700}, fullHd, {100, 50, 1000, 700}},
        {"larger than the screen: as large as it", {0, 0, 2500, 1400}, fullHd, {0, 0, 1920, 1040}},
        {"scaled twice: the designed size shrinks to the screen", {0, 0, 0, 0}, {0, 0, 960, 520}, {81, 0, 798, 520}},
        {"hanging over the right edge: moved back", {1500, 100, 800, 600}, fullHd, {1120, 100, 800, 600}},
        {"left of the screen: moved back", {-300, -40, 800, 600}, fullHd, {0, 0, 800, 600}},
        {"a second screen to the right", {2000, 100, 800, 600}, {1920, 0, 1280, 1024}, {2000, 100, 800, 600}},
        {"a screen that went away: onto the one there is", {2000, 100, 800, 600}, fullHd, {1120, 100, 800, 600}},
        {"no screen known: as saved", {10, 10, 900, 700}, {0, 0, 0, 0}, {10, 10, 900, 700}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FitWindowToScreen(row.saved, row.screen), row.fitted);
    }
}

TEST(WindowLayout, ThePanelKeepsItsShareOfTheWindow)
{
    struct Row {
        const char* name;
        int listHeight;
        int splitterHeight;
        int panelHeight;
    };
    const Row rows[] = {
        {"the designed window", 305, kDesignSplitterHeight, 305},
        {"twice as high", 305, 2 * kDesignSplitterHeight, 610},
        {"half as high", 305, kDesignSplitterHeight / 2, 152},
        {"a height beyond the window leaves the source view a tenth", 5000, 400, 360},
        {"no height leaves the panel a tenth", 0, 400, 40},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(PanelHeightFor(row.listHeight, row.splitterHeight), row.panelHeight);
    }
    // Stored and restored in another window, the share stays.
    EXPECT_EQ(ListHeightOf(610, 2 * kDesignSplitterHeight), 305);
    EXPECT_EQ(ListHeightOf(152, kDesignSplitterHeight / 2), 305);
    EXPECT_NEAR(PanelHeightFor(ListHeightOf(500, 800), 800), 500, 1);
}

TEST(WindowLayout, ColumnsShowTheirCaptionsWhole)
{
    struct Row {
        const char* name;
        std::vector<int> widths;
        int visible;
        std::vector<int> fitted;
    };
    // Filename, Path, Date, three figures; the captions of the last two are the longest.
    const std::vector<int> least {60, 40, 138, 70, 128, 128};
    const Row rows[] = {
        {"the designed widths in the designed window: Path gives up the overrun", {180, 150, 120, 110, 110, 100}, 776,
            {180, 92, 138, 110, 128, 128}},
        {"a wide window changes nothing but the captions' needs", {180, 150, 120, 110, 110, 100}, 1500,
            {180, 150, 138, 110, 128, 128}},
        {"a narrow window: Path stops at its floor", {180, 100, 120, 110, 110, 100}, 500,
            {180, 80, 138, 110, 128, 128}},
        {"wider than the window by the user's choice: only the captions' room is given back",
            {300, 222, 120, 110, 110, 100}, 776, {300, 158, 138, 110, 128, 128}},
        {"a Path the user made narrower than the floor stays", {180, 50, 140, 110, 130, 130}, 500,
            {180, 50, 140, 110, 130, 130}},
        {"widths the user chose that fit are kept", {100, 200, 150, 80, 130, 130}, 800, {100, 200, 150, 80, 130, 130}},
        {"no width known yet: only the captions' needs", {180, 150, 120, 110, 110, 100}, 0,
            {180, 150, 138, 110, 128, 128}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FitColumns(row.widths, least, row.visible, 1, 80), row.fitted);
    }
}

} // namespace
} // namespace qm
