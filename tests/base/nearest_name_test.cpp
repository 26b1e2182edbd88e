// The "did you mean" hints: edit distance and the nearest of the known names.
#include <gtest/gtest.h>

#include <array>

#include "base/nearest_name.h"

namespace qm {
namespace {

TEST(NearestName, EditDistance)
{
    struct Row {
        const char* name;
        std::string_view a, b;
        std::size_t expected;
    };
    const Row rows[] = {
        {"equal", "output", "output", 0},
        {"case does not count", "cbDelKav", "CBDELKAV", 0},
        {"one letter missing", "outpt", "output", 1},
        {"one letter too many", "outputt", "output", 1},
        {"one letter wrong", "outpat", "output", 1},
        {"two letters swapped", "outptu", "output", 1},
        {"from nothing", "", "abc", 3},
        {"unrelated", "sync", "backup", 6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(EditDistance(row.a, row.b), row.expected);
        EXPECT_EQ(EditDistance(row.b, row.a), row.expected);
    }
}

TEST(NearestName, SuggestsOnlyWhatLooksLikeASlip)
{
    const std::array<std::string_view, 4> keys = {"cbDelComments", "cbDelKav", "cbDelCRLF", "jobs"};
    struct Row {
        const char* name;
        std::string_view word;
        std::optional<std::string_view> expected;
    };
    const Row rows[] = {
        {"two letters off a long key", "cbDelComent", "cbDelComments"},
        {"wrong case is the key itself", "CBDELKAV", std::nullopt},
        {"a short word allows one slip", "jbos", "jobs"},
        {"a short word with two slips is another word", "jeds", std::nullopt},
        {"nothing alike", "overwrite", std::nullopt},
        {"one letter wrong", "cbDelKRLF", "cbDelCRLF"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(NearestName(row.word, keys), row.expected);
    }
}

} // namespace
} // namespace qm
