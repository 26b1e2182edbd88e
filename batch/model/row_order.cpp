// Comparing two panel rows by a sort key, and the merge sort that never needs a strict order.
#include "batch/model/row_order.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "batch/model/file_operations.h"
#include "engine/attribute_values.h"

namespace qm {
namespace {

std::optional<std::int64_t> ToInteger(std::string_view text)
{
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

const std::string* Cell(const PanelRow& row, int index)
{
    return static_cast<std::size_t>(index) < row.cells.size() ? &row.cells[index] : nullptr;
}

RowComparison ByText(const std::string& first, const std::string& second) { return {second > first ? -1 : 1, false}; }

RowComparison ByDate(const PanelRow& row1, const PanelRow& row2)
{
    constexpr int tie = 1;
    const std::string* date1 = Cell(row1, cellDate);
    const std::string* date2 = Cell(row2, cellDate);
    std::optional<int> key1 = date1 ? DateKey(*date1) : std::nullopt;
    std::optional<int> key2 = date2 ? DateKey(*date2) : std::nullopt;
    if (!key1 || !key2) return {tie, true};
    return {*key1 < *key2 ? -1 : 1, false};
}

RowComparison BySize(const PanelRow& row1, const PanelRow& row2, int cell)
{
    constexpr int tie = -1;
    const std::string* text1 = Cell(row1, cell);
    const std::string* text2 = Cell(row2, cell);
    if (!text1 || !text2) return {tie, true};
    if (!IsNum(*text1)) return {-1, false};
    if (!IsNum(*text2)) return {-1, false};
    std::optional<std::int64_t> value1 = ToInteger(*text1);
    std::optional<std::int64_t> value2 = ToInteger(*text2);
    if (!value1 || !value2) return {tie, true};
    return {*value1 < *value2 ? 1 : -1, false};
}

RowComparison ByRatio(const PanelRow& row1, const PanelRow& row2)
{
    constexpr int tie = -1;
    if (row1.cells.size() < 5 || row2.cells.size() < 5) return {row2.cells.size() > row1.cells.size() ? 1 : -1, false};
    const std::string& text1 = row1.cells[cellRatio];
    const std::string& text2 = row2.cells[cellRatio];
    if (text2.size() > text1.size()) return {1, false};
    if (text1.size() < 2 || text2.size() < 2) return {tie, true};
    std::optional<std::int64_t> value1 = ToInteger(std::string_view(text1).substr(0, text1.size() - 2));
    std::optional<std::int64_t> value2 = ToInteger(std::string_view(text2).substr(0, text2.size() - 2));
    if (!value1 || !value2) return {tie, true};
    return {*value1 < *value2 ? 1 : -1, false};
}

} // namespace

RowComparison CompareRows(const PanelRow& row1, const PanelRow& row2, int sortKey)
{
    switch (sortKey) {
    case 0:
        return ByText(row1.Filename, row2.Filename);
    case 1:
        return ByText(
            row1.cells.empty() ? std::string() : row1.path(), row2.cells.empty() ? std::string() : row2.path());
    case 2:
        return ByDate(row1, row2);
    case 3:
        return BySize(row1, row2, cellSize);
    case 4:
        return BySize(row1, row2, cellOptimized);
    case 5:
        return ByRatio(row1, row2);
    default:
        return {1, false};
    }
}

bool SortRows(std::vector<PanelRow>& rows, int sortKey)
{
    if (sortKey < 0 || sortKey >= kSortKeyCount || rows.size() < 2) return false;
    bool failed = false;
    const std::size_t n = rows.size();
    std::vector<PanelRow> buffer(n);
    std::vector<PanelRow>* from = &rows;
    std::vector<PanelRow>* to = &buffer;
    for (std::size_t width = 1; width < n; width *= 2) {
        for (std::size_t low = 0; low < n; low += 2 * width) {
            const std::size_t middle = std::min(low + width, n);
            const std::size_t high = std::min(low + 2 * width, n);
            std::size_t left = low, right = middle, out = low;
            while (left < middle && right < high) {
                // The right row overtakes only when both orders of asking agree that it goes
                // first, so tied rows keep the order they had.
                RowComparison forward = CompareRows((*from)[left], (*from)[right], sortKey);
                RowComparison backward = CompareRows((*from)[right], (*from)[left], sortKey);
                failed = failed || forward.failed || backward.failed;
                if (forward.order == 1 && backward.order == -1)
                    (*to)[out++] = std::move((*from)[right++]);
                else
                    (*to)[out++] = std::move((*from)[left++]);
            }
            while (left < middle) (*to)[out++] = std::move((*from)[left++]);
            while (right < high) (*to)[out++] = std::move((*from)[right++]);
        }
        std::swap(from, to);
    }
    if (from != &rows) rows = std::move(*from);
    return failed;
}

} // namespace qm
