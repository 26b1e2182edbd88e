// The differences between two texts: the runs for typical optimizations, and that they give both texts back.
#include "batch/model/text_diff.h"

#include <gtest/gtest.h>
#include <random>

namespace qm {
namespace {

using K = DiffKind;

std::string Joined(const std::vector<DiffRun>& runs, DiffKind left)
{
    std::string text;
    for (const DiffRun& run : runs)
        if (run.kind == K::Same || run.kind == left) text += run.text;
    return text;
}

TEST(TextDiff, RunsOfTypicalOptimizations)
{
    struct Row {
        const char* name;
        const char* before;
        const char* after;
        std::vector<DiffRun> runs;
    };
    const Row rows[] = {
        {"the same text", "<p>a</p>", "<p>a</p>", {{K::Same, "<p>a</p>"}}},
        {"both empty", "", "", {}},
        {"all removed", "<!-- x -->", "", {{K::Removed, "<!-- x -->"}}},
        {"all new", "", "<b>", {{K::Added, "<b>"}}},
        {"quotes removed", "<td width=\"50\">", "<td width=50>",
            {{K::Same, "<td width="}, {K::Removed, "\""}, {K::Same, "50"}, {K::Removed, "\""}, {K::Same, ">"}}},
        {"a chain of blanks", "a   b", "a b", {{K::Same, "a"}, {K::Removed, "   "}, {K::Added, " "}, {K::Same, "b"}}},
        {"a blank line", "<p>\n\n<p>", "<p>\n<p>", {{K::Same, "<p>\n"}, {K::Removed, "\n"}, {K::Same, "<p>"}}},
        {"a tag replaced", "<strong>x</strong>", "<b>x</b>",
            {{K::Same, "<"}, {K::Removed, "strong"}, {K::Added, "b"}, {K::Same, ">x</"}, {K::Removed, "strong"},
                {K::Added, "b"}, {K::Same, ">"}}},
        {"a word in UTF-8 stays one word", "caf\xC3\xA9 ok", "caf\xC3\xA9 ok", {{K::Same, "caf\xC3\xA9 ok"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(TextDifferences(row.before, row.after), row.runs);
    }
}

TEST(TextDiff, TheRunsGiveBothTextsBack)
{
    std::mt19937 random(20261208); // a fixed seed: the same texts every run
    const std::string alphabet = "<>=\" \n\tabcXY/";
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        std::string before, after;
        const std::size_t length = random() % 200;
        for (std::size_t i = 0; i < length; ++i) before += alphabet[random() % alphabet.size()];
        // The second text is the first with deletions and insertions, as an optimization makes.
        for (char c : before) {
            const unsigned roll = random() % 10;
            if (roll == 0) continue;
            if (roll == 1) after += alphabet[random() % alphabet.size()];
            after += c;
        }
        const std::vector<DiffRun> runs = TextDifferences(before, after);
        EXPECT_EQ(Joined(runs, K::Removed), before);
        EXPECT_EQ(Joined(runs, K::Added), after);
        for (std::size_t i = 1; i < runs.size(); ++i) EXPECT_NE(runs[i].kind, runs[i - 1].kind);
    }
}

TEST(TextDiff, ALargePageStaysExactAndQuick)
{
    std::string before, after;
    for (int line = 0; line < 20000; ++line) {
        before += "    <td width=\"" + std::to_string(line) + "\">  cell   text  </td>\n\n";
        after += "<td width=" + std::to_string(line) + ">cell text</td>\n";
    }
    const std::vector<DiffRun> runs = TextDifferences(before, after);
    EXPECT_EQ(Joined(runs, K::Removed), before);
    EXPECT_EQ(Joined(runs, K::Added), after);
}

TEST(TextDiff, Summary)
{
    const DiffSummary summary = SummaryOf(
        {{K::Same, "a"}, {K::Removed, "xx"}, {K::Added, "y"}, {K::Same, "b"}, {K::Removed, "zzz"}, {K::Same, "c"}});
    EXPECT_EQ(summary.removedBytes, 5u);
    EXPECT_EQ(summary.addedBytes, 1u);
    EXPECT_EQ(summary.places, 2u);
}

} // namespace
} // namespace qm
