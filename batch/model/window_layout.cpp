// Fitting the saved window to the screen and the panel's height to the window.
#include "batch/model/window_layout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace qm {
namespace {

// Neither the panel nor the source view may vanish under the splitter.
constexpr double kSmallestShare = 0.1;
constexpr double kLargestShare = 0.9;

int ClampedStart(int start, int size, int areaStart, int areaSize)
{
    return std::clamp(start, areaStart, areaStart + areaSize - size);
}

} // namespace

WindowRect FitWindowToScreen(const WindowRect& saved, const WindowRect& screen)
{
    WindowRect fitted = saved;
    const bool sized = saved.width > 0 && saved.height > 0;
    if (!sized) {
        fitted.width = kDesignWindowWidth;
        fitted.height = kDesignWindowHeight;
    }
    if (screen.width <= 0 || screen.height <= 0) return fitted;
    fitted.width = std::min(fitted.width, screen.width);
    fitted.height = std::min(fitted.height, screen.height);
    if (!sized) {
        fitted.left = screen.left + (screen.width - fitted.width) / 2;
        fitted.top = screen.top + (screen.height - fitted.height) / 2;
    }
    fitted.left = ClampedStart(fitted.left, fitted.width, screen.left, screen.width);
    fitted.top = ClampedStart(fitted.top, fitted.height, screen.top, screen.height);
    return fitted;
}

int PanelHeightFor(int listHeight, int splitterHeight)
{
    if (splitterHeight <= 0) return std::max(listHeight, 0);
    const double share =
        std::clamp(static_cast<double>(listHeight) / kDesignSplitterHeight, kSmallestShare, kLargestShare);
    return static_cast<int>(std::lround(share * splitterHeight));
}

int ListHeightOf(int panelHeight, int splitterHeight)
{
    if (splitterHeight <= 0) return panelHeight;
    const double share = std::clamp(static_cast<double>(panelHeight) / splitterHeight, kSmallestShare, kLargestShare);
    return static_cast<int>(std::lround(share * kDesignSplitterHeight));
}

std::vector<int> FitColumns(
    std::vector<int> widths, const std::vector<int>& least, int visible, std::size_t elastic, int floor)
{
    const int before = std::accumulate(widths.begin(), widths.end(), 0);
    for (std::size_t column = 0; column < widths.size() && column < least.size(); ++column)
        widths[column] = std::max(widths[column], least[column]);
    if (elastic >= widths.size() || visible <= 0) return widths;
    const int after = std::accumulate(widths.begin(), widths.end(), 0);
    // Only the room the captions took is given back: widths a user chose wider
    // than the window stay as wide as they were.
    const int overrun = std::min(after - visible, after - before);
    const int lowest = std::max(floor, elastic < least.size() ? least[elastic] : 0);
    if (overrun > 0 && widths[elastic] > lowest) widths[elastic] = std::max(widths[elastic] - overrun, lowest);
    return widths;
}

} // namespace qm
