// The main window's place and the panel's share of it: saved in "Options.dat", fitted to the screen when restored.
#pragma once

#include <cstddef>
#include <vector>

namespace qm {

struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowRect&) const = default;
};

// The designed size of the main window's frame.
inline constexpr int kDesignWindowWidth = 798;
inline constexpr int kDesignWindowHeight = 570;

// The saved place fitted into the screen's free area: no larger than it,
// moved back inside it when it hangs over an edge (a screen that shrank, a
// scale factor that grew). Without a saved size the designed size, centred.
WindowRect FitWindowToScreen(const WindowRect& saved, const WindowRect& screen);

// listHeight keeps the panel's height as it would be in the designed window,
// whose splitter is kDesignSplitterHeight high; a larger or smaller window
// gives the panel the same share of its splitter. Both results stay within
// the splitter, leaving the source view room to show a few lines.
inline constexpr int kDesignSplitterHeight = 455;
int PanelHeightFor(int listHeight, int splitterHeight);
int ListHeightOf(int panelHeight, int splitterHeight);

// The panel's column widths for the width it shows: no column narrower than
// its caption needs (least, one entry per column), and when the columns then
// overrun the visible width the elastic column, whose cells elide their text,
// gives up the room the captions took, down to floor, so the last column's
// caption is not cut off.
std::vector<int> FitColumns(
    std::vector<int> widths, const std::vector<int>& least, int visible, std::size_t elastic, int floor);

} // namespace qm
