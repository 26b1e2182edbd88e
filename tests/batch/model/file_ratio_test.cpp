// The ratio of a page's sizes, in exact integer arithmetic.
#include "batch/model/file_ratio.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(FileRatio, RatioRoundsHalvesToEven)
{
    struct Row {
        std::int64_t initial, optimized;
        std::optional<int> ratio;
    } rows[] = {
        {1000, 875, 12},
        {1000, 125, 88},
        {1000, 1010, -1},
        {1000, 1005, 0},
        {1000, 995, 0},
        {1000, 985, 2},
        {1000, 0, 100},
        {0, 0, std::nullopt},
        {0, 10, std::nullopt},
        {100, 30, 70},
        {100, 150, -50},
        {1000, -1, 100},
        {3, 1, 67},
        {5000000000LL, 2500000000LL, 50},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FileRatio(row.initial, row.optimized), row.ratio) << row.initial << " " << row.optimized;
}

} // namespace
} // namespace qm
