// Line splitting as pages, line passes and settings files see it.
#include "base/text_lines.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(TextLines, SplitAtEveryKindOfLineEnd)
{
    struct Row {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
    } rows[] = {
        {"empty", "", {}},
        {"no final break", "a", {"a"}},
        {"final crlf", "a\r\n", {"a"}},
        {"lone cr and lf", "a\rb\nc", {"a", "b", "c"}},
        {"blank lines kept", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"lf cr is two breaks", "a\n\rb", {"a", "", "b"}},
        {"only a break", "\n", {""}},
    };
    for (const Row& row : rows) EXPECT_EQ(SplitLines(row.text), row.lines) << row.name;
}

TEST(TextLines, JoinPutsTheEndAfterEveryLine)
{
    EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinLines({"a"}, "\n"), "a\n");
    EXPECT_EQ(JoinLines({}), "");
}

TEST(TextLines, FieldsKeepTheirEmptyOnes)
{
    using Fields = std::vector<std::string_view>;
    EXPECT_EQ(SplitFields("a\tb", '\t'), (Fields {"a", "b"}));
    EXPECT_EQ(SplitFields("\ta\t", '\t'), (Fields {"", "a", ""}));
    EXPECT_EQ(SplitFields("", '\t'), (Fields {""}));
}

} // namespace
} // namespace qm
