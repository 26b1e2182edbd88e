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

} // namespace
} // namespace qm
