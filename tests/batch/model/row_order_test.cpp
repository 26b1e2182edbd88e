// The six sort keys' comparison, and a sort that survives the comparison's non-strict answers.
#include "batch/model/row_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace qm {
namespace {

PanelRow Row(std::string name, std::vector<std::string> cells)
{
    PanelRow row;
    row.Filename = std::move(name);
    row.cells = std::move(cells);
    return row;
}

TEST(RowOrder, CompareRows)
{
    struct Case {
        const char* name;
        int key;
        PanelRow first, second;
        RowComparison expected;
    };
    const PanelRow a = Row("a.htm", {"/s/", "05.01.2024 10:00:00", "100", "30", "70 %"});
    const PanelRow b = Row("B.htm", {"/t/", "04.01.2024 23:00:00", "200", "-"});
    const Case cases[] = {
        // Filename and Path: ascending, byte order, ties give 1.
        {"B before a in byte order", 0, a, b, {1, false}},
        {"a after B", 0, b, a, {-1, false}},
        {"equal names tie to 1", 0, a, a, {1, false}},
        {"path ascending", 1, a, b, {-1, false}},
        // Date: the date before the blank, ascending; ties give 1.
        {"earlier date first", 2, b, a, {-1, false}},
        {"later date second", 2, a, b, {1, false}},
        {"same day, other time: tie", 2, a, Row("c", {"/", "05.01.2024 09:00:00", "1", "-"}), {1, false}},
        {"date without time", 2, Row("c", {"/", "04.01.2024", "1", "-"}), a, {-1, false}},
        {"empty date fails", 2, Row("c", {"/", "", "1", "-"}), a, {1, true}},
        {"unrefreshed row fails", 2, Row("c", {"/"}), a, {1, true}},
        // Size and Optimized: descending, non-numeric first, ties give -1.
        {"larger size first", 3, b, a, {-1, false}},
        {"smaller size second", 3, a, b, {1, false}},
        {"equal sizes tie to -1", 3, a, a, {-1, false}},
        {"optimized dash goes first", 4, b, a, {-1, false}},
        {"numeric against dash: dash first", 4, a, b, {-1, false}},
        {"percent sign is numeric but no number", 3, Row("c", {"/", "d", "12%", "-"}), a, {-1, true}},
        {"empty is numeric but no number", 3, Row("c", {"/", "d", "", "-"}), a, {-1, true}},
        // Ratio: descending among rows with a ratio, which come first.
        {"higher ratio first", 5, a, Row("c", {"/", "d", "10", "9", "10 %"}), {-1, false}},
        {"lower ratio second", 5, Row("c", {"/", "d", "10", "9", "10 %"}), Row("e", {"/", "d", "10", "2", "80 %"}),
            {1, false}},
        {"longer text second", 5, a, Row("c", {"/", "d", "10", "15", "-50 %"}), {1, false}},
        {"row with a ratio first", 5, a, b, {-1, false}},
        {"row without a ratio second", 5, b, a, {1, false}},
        {"ratio text without a number", 5, Row("c", {"/", "d", "1", "1", "xx %"}), a, {-1, true}},
        {"shorter ratio text is no failure", 5, Row("c", {"/", "d", "1", "1", "x %"}), a, {1, false}},
        // Keys outside 0 to 5.
        {"unknown key", 9, a, b, {1, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RowComparison got = CompareRows(c.first, c.second, c.key);
        EXPECT_EQ(got.order, c.expected.order);
        EXPECT_EQ(got.failed, c.expected.failed);
    }
}

TEST(RowOrder, SortGivesTheExpectedOrder)
{
    std::vector<PanelRow> rows = {Row("b.htm", {"/", "01.01.2024", "10", "-"}),
        Row("a.htm", {"/", "01.01.2024", "30", "-"}), Row("C.htm", {"/", "01.01.2024", "20", "-"})};
    EXPECT_FALSE(SortRows(rows, 0));
    EXPECT_EQ(rows[0].Filename, "C.htm");
    EXPECT_EQ(rows[1].Filename, "a.htm");
    EXPECT_EQ(rows[2].Filename, "b.htm");
    EXPECT_FALSE(SortRows(rows, 3));
    EXPECT_EQ(rows[0].cells[2], "30");
    EXPECT_EQ(rows[2].cells[2], "10");
    std::vector<PanelRow> unchanged = rows;
    EXPECT_FALSE(SortRows(rows, 6));
    EXPECT_EQ(rows[0].Filename, unchanged[0].Filename);
}

// Rows built to make the comparison as inconsistent as it gets: ties,
// non-numeric cells that go first against anything, failing cells, mixed cell counts.
TEST(RowOrder, SortCopesWithEveryNonStrictAnswer)
{
    std::mt19937 random(42);
    const std::vector<std::string> sizes = {"", "-", "12%", "5", "5", "x", "700"};
    const std::vector<std::string> ratios = {"5 %", "-5 %", "100 %", "x %", "%", ""};
    for (int round = 0; round < 200; ++round) {
        std::vector<PanelRow> rows;
        const std::size_t n = random() % 40;
        for (std::size_t i = 0; i < n; ++i) {
            std::vector<std::string> cells = {"/" + std::to_string(random() % 3) + "/"};
            if (random() % 4 != 0) {
                cells.push_back(random() % 3 ? "0" + std::to_string(1 + random() % 9) + ".01.2024" : "bad");
                cells.push_back(sizes[random() % sizes.size()]);
                cells.push_back(sizes[random() % sizes.size()]);
                if (random() % 2) cells.push_back(ratios[random() % ratios.size()]);
            }
            rows.push_back(Row(std::to_string(i), cells));
        }
        for (int key = 0; key < kSortKeyCount; ++key) {
            SCOPED_TRACE("round " + std::to_string(round) + " key " + std::to_string(key));
            std::vector<PanelRow> sorted = rows;
            SortRows(sorted, key);
            ASSERT_EQ(sorted.size(), rows.size());
            std::vector<std::string> before, after;
            for (const PanelRow& row : rows) before.push_back(row.Filename);
            for (const PanelRow& row : sorted) after.push_back(row.Filename);
            std::sort(before.begin(), before.end());
            std::sort(after.begin(), after.end());
            EXPECT_EQ(before, after) << "the sort must be a permutation";
        }
    }
}

} // namespace
} // namespace qm
