// The file panel's rows and the commands on them that need neither the disk nor the user.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "batch/model/panel_row.h"
#include "batch/model/row_order.h"

namespace qm {

// Row positions are 16-bit numbers in the window; the panel refuses a row beyond that.
inline constexpr std::size_t kMaxPanelRows = 65535;

enum class AddOutcome { Added, Duplicate, PanelFull };

// The captions of the "Sort by" items, which the columns take once sort marks are shown.
inline constexpr std::array<std::string_view, kSortKeyCount> kSortItemCaptions = {
    "Filename", "Path", "Date", "Filesize", "Optimized filesize", "Optimization ratio"};
// The column captions of the window design, shown until the first ShowSortMarks.
inline constexpr std::array<std::string_view, kSortKeyCount> kDesignColumnCaptions = {
    "Filename", "Path", "Date", "Size  [bytes]", "Optimized  [bytes]", "Ratio"};
// The bullet (Windows-1252 code 149) in front of the sorted column's caption, as UTF-8 for the window.
inline constexpr std::string_view kSortBullet = "\xE2\x80\xA2";

struct SortMarks {
    std::array<std::string, kSortKeyCount> columnCaptions;
    std::array<bool, kSortKeyCount> itemChecked {true, false, false, false, false, false}; // sort1 in the design
};

class FilePanel {
public:
    FilePanel();

    const std::vector<PanelRow>& rows() const { return rows_; }
    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const PanelRow& row(std::size_t index) const { return rows_[index]; }

    // Paths are compared byte for byte: no normalisation, letter case counts.
    bool contains(const std::string& fullPath) const { return paths_.count(fullPath) != 0; }
    // Appends a checked row with its Path cell only; refuses a duplicate or a 65,536th row.
    AddOutcome append(const std::string& fullPath, std::string placement = {});
    void reserve(std::size_t count) { rows_.reserve(count); }

    void setChecked(std::size_t index, bool checked);
    void selectAll(); // menuSelectAll
    void invertSelection(); // menuInvert
    void deselect(); // menuDeselect
    void removeRow(std::size_t index);
    // Removes every row the predicate picks in one pass over the rows.
    void removeRowsWhere(const std::function<bool(const PanelRow&)>& remove);
    bool removeHighlighted(); // Removefilefromthelist1; false when no row is highlighted
    void removeUnchecked(); // menuDelUnchecked, from the last row to the first
    void clear(); // menuLiseFilesClear (the caller resets the source view)

    std::size_t CountCheckedRows() const;

    std::optional<std::size_t> highlighted() const { return highlighted_; }
    void setHighlighted(std::optional<std::size_t> index);

    // A refresh replaces every cell after Path.
    void setCells(std::size_t index, std::vector<std::string> cells);

    int sortKey() const { return sortKey_; }
    void setSortKey(int key) { sortKey_ = key; }
    // Sorts by sortKey, keeping the highlighted row highlighted; true when a comparison failed.
    bool sort();
    // A column click or a "Sort by" item: the key, the sort, the marks.
    bool sortByColumn(int column);

    // "Files: %d   Selected: %d", written into the status bar's second panel.
    // Every change of the rows or their check boxes writes it, as the
    // window's change notification does; a refresh of an empty panel does not.
    std::string statusText() const;
    void ShowPanelStatus() { panelStatus_ = statusText(); }
    const std::string& panelStatus() const { return panelStatus_; }

    void ShowSortMarks();
    const SortMarks& sortMarks() const { return sortMarks_; }

private:
    std::vector<PanelRow> rows_;
    std::unordered_set<std::string> paths_;
    std::size_t checkedCount_ = 0; // kept as rows change, so the status text costs nothing per row
    std::optional<std::size_t> highlighted_;
    int sortKey_ = 0;
    std::string panelStatus_;
    SortMarks sortMarks_;
};

} // namespace qm
