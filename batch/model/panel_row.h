// One row of the file panel: check box, file name, and the cells that a refresh fills from the disk.
#pragma once

#include <string>
#include <vector>

namespace qm {

// Cell positions after Filename.
enum PanelCell { cellPath = 0, cellDate = 1, cellSize = 2, cellOptimized = 3, cellRatio = 4 };

struct PanelRow {
    bool checked = true;
    std::string Filename;
    // 1 cell (Path) until the next refresh; then 4 (Path, Date, Size, and
    // Optimized or "-") or 5 (with Ratio). The sort by ratio looks at the count.
    std::vector<std::string> cells;
    // Where below the output and backup folders this file's copies go,
    // ending with a separator; empty for the flat placement the desktop uses.
    std::string placement;

    const std::string& path() const { return cells.front(); }
    std::string fullPath() const { return cells.front() + Filename; }
};

} // namespace qm
