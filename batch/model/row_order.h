// The file panel's row order: the six sort keys' comparison and a sort that copes with it.
#pragma once

#include <vector>

#include "batch/model/panel_row.h"

namespace qm {

inline constexpr int kSortKeyCount = 6; // Filename, Path, Date, Size, Optimized, Ratio

struct RowComparison {
    int order = 1; // -1: the first row goes first; 1: the second does. Never 0.
    bool failed = false; // a cell did not convert; the order is then the key's tie value
};

// Not a strict ordering: ties give the same answer whichever row comes first,
// and a row with a non-numeric Size or Optimized cell goes first against any row.
RowComparison CompareRows(const PanelRow& row1, const PanelRow& row2, int sortKey);

// Sorts by CompareRows with a bottom-up merge sort: every index it touches is
// bounded by the run lengths alone, so no answer of the comparison can make it
// read outside the rows or loop for ever, and the result is always a
// permutation of the rows. A row moves ahead of another only when CompareRows
// puts it first whichever of the two is asked about first, so tied rows keep
// their order. A key outside 0 to 5 leaves the order as it is.
// Returns whether any comparison failed.
bool SortRows(std::vector<PanelRow>& rows, int sortKey);

} // namespace qm
