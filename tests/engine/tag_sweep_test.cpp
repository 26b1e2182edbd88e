// The calls of a tag step in one sweep: when the list allows it, when a page makes it go one by one, and that the
// result is always what the calls give one by one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "engine/passes/passes.h"
#include "tests/engine/pass_harness.h"
#include "tests/engine/random_pages.h"

namespace qm {
namespace {

std::vector<TagCall> Removals(std::initializer_list<const char*> tags)
{
    std::vector<TagCall> calls;
    for (const char* tag : tags) calls.push_back({tag, ""});
    return calls;
}

const std::vector<TagCall> kDefaultReplacements = {{"strong", "b"}, {"/strong", "/b"}, {"em", "i"}, {"/em", "/i"},
    {"strike", "s"}, {"/strike", "/s"}, {"var", "i"}, {"/var", "/i"}, {"cite", "i"}, {"/cite", "/i"}, {"code", "tt"},
    {"/code", "/tt"}, {"kbd", "tt"}, {"/kbd", "/tt"}, {"samp", "tt"}, {"/samp", "/tt"}, {"dfn", "i"}, {"/dfn", "/i"}};

TEST(TagListSweep, IsAllowedByTheListAlone)
{
    struct Row {
        const char* name;
        std::vector<TagCall> calls;
        bool allowed;
    } rows[] = {
        {"the default removals",
            Removals({"name=\"generator\"", "name=generator", "name=\"progid\"", "name=progid", "name=\"keywords\"",
                "name=keywords"}),
            true},
        {"the default replacements with their closing tags", kDefaultReplacements, true},
        {"nothing to do", {}, true},
        {"an empty tag text changes nothing", {{"", "b"}, {"b", "i"}}, true},
        {"a removal among replacements", {{"strong", "b"}, {"font", ""}}, true},
        {"a pair equal to itself", {{"a", "a"}}, true},
        {"a replacement that an earlier call's text is", {{"b", "i"}, {"strong", "b"}}, true},
        // a change would make an occurrence a later call finds
        {"a chain of replacements", {{"strong", "b"}, {"b", "i"}}, false},
        {"a chain in another case", {{"strong", "B"}, {"b", "i"}}, false},
        {"a replacement a later removal takes", {{"x", "y"}, {"Y", ""}}, false},
        // texts that are no whole token, or that change quotes
        {"a text with a space", {{"font size=2", ""}}, false},
        {"a text with a bracket", Removals({"<p"}), false},
        {"a text that begins with a quote", Removals({"\"x"}), false},
        {"a text that begins with a backslash", Removals({"\\x"}), false},
        {"a replacement with a space", {{"b", "b b"}}, false},
        {"a replacement with a quote", {{"b", "\"b"}}, false},
        {"a replaced text with a quote", {{"name=\"a\"", "b"}}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(passes::TagListSweep::For(row.calls).has_value(), row.allowed);
    }
}

TEST(TagListSweep, GivesWhatTheCallsGiveOneByOne)
{
    const std::vector<TagCall> generator = Removals({"name=\"generator\"", "name=generator"});
    struct Row {
        const char* name;
        std::string input;
        std::vector<TagCall> calls;
        std::string expected;
        bool swept; // by the shipped passes, in one sweep
    } rows[] = {
        // made in one sweep
        {"names and closing names", "<STRONG class=x>t</strong> <em>e</EM>", kDefaultReplacements,
            "<b class=x>t</b> <i>e</i>", true},
        {"a removal takes its tag", "x\r\n<meta name=\"generator\" content=\"a b\">\r\ny", generator, "x\r\n\r\ny",
            true},
        {"tags side by side", "<p><meta name=generator><meta name=\"generator\"><b>", generator, "<p><b>", true},
        {"a removal and a replacement in one tag", "<strong name=keywords>\r\nx",
            {{"strong", "b"}, {"name=keywords", ""}}, "\r\nx", true},
        {"replacements that grow", "<b>x</b><B class=y>", {{"b", "strong"}, {"/b", "/strong"}},
            "<strong>x</strong><strong class=y>", true},
        {"a pair equal to itself", "<a href=x>y</a>", {{"a", "a"}}, "<a href=x>y</a>", true},
        {"an earlier call's text put in", "<b><strong>", {{"b", "i"}, {"strong", "b"}}, "<i><b>", true},
        {"words of body text", "<p>strong em</p> strong", kDefaultReplacements, "<p>strong em</p> strong", true},
        {"an occurrence in a quoted value", "<p title=\"<strong>\">", kDefaultReplacements, "<p title=\"<strong>\">",
            true},
        {"an escaped quote puts the tag in the odd class", "a=\\\" <strong>x", kDefaultReplacements, "a=\\\" <b>x",
            true},
        {"a tag without its >", "<strong x", kDefaultReplacements, "<strong x", true},
        {"a text at the very end", "<p>x<strong", kDefaultReplacements, "<p>x<strong", true},
        {"a tab after the name", "<strong\tx>", kDefaultReplacements, "<strong\tx>", true},
        {"words glued to a removed tag", "a<meta name=generator>b", generator, "ab", true},
        {"a < before the removed tag", "<p <meta name=generator> x", generator, "<p  x", true},
        {"a tag inside another, no call's text around it", "<p x <meta name=generator> y>", generator, "<p x  y>",
            true},
        {"a > after the removed tag", "<meta name=generator> x>", generator, " x>", true},
        // the page makes the calls go one by one
        {"a tag inside another", "<p x <meta name=generator> y>", {{"name=generator", ""}, {"x", "z"}}, "<p z  y>",
            false},
        {"a word glued to a removed tag inside another", "<p a<meta name=generator>b>", generator, "<p ab>", true},
        {"a call's text behind a removed tag inside another", "<<b>b>", Removals({"b"}), "", false},
        {"a call's text behind a row of removed tags inside another", "<x <b>y<b>b>", Removals({"b"}), "<x yb>", true},
        {"a call's text behind removed tags one after the other", "<<b><b>b>", Removals({"b"}), "", false},
        {"a row of removed tags inside another", "<p x <meta name=generator><meta name=generator>\r\ny>",
            {{"name=generator", ""}, {"y", "z"}}, "<p x \r\nz>", false},
        {"a backslash before the removed tag", "\\<meta name=generator>\"", generator, "\\\"", false},
        {"a quote in a word glued to the removed tag", "a\"<meta name=generator>", generator,
            "a\"<meta name=generator>", true},
        {"a glued word that is a call's text", "a<meta name=generator>b", {{"name=generator", ""}, {"ab", "x"}}, "ab",
            false},
        {"a backslash in the removed tag", "<meta name=generator a=\\\"x\\\">\r\n", generator, "\r\n", false},
        {"a bracket in the removed tag's value", "<meta name=\"generator\" content=\"a>b\">\r\n", generator, "\r\n",
            false},
        {"a chain of replacements", "<strong>x</strong>", {{"strong", "b"}, {"b", "i"}}, "<i>x</strong>", false},
    };
    for (const Row& row : rows) {
        test::ForBothEngines(row.name, [&](test::PassHarness& h) {
            h.load(row.input);
            const bool swept = h.treatTags(row.calls);
            EXPECT_EQ(h.shown(), row.expected);
            if (h.engine() == test::Engine::Passes) {
                EXPECT_EQ(swept, row.swept);
            }
        });
    }
}

TEST(TagListSweep, DropsTheFragmentsOfTheTagsItRemoves)
{
    test::ForBothEngines("a fragment in a removed tag", [](test::PassHarness& h) {
        h.load("<meta name=generator <?a?>> <?b?> <meta name=x>");
        h.cutServerCode("<?", "?>");
        const bool swept = h.treatTags(Removals({"name=generator"}));
        EXPECT_EQ(h.shown(), " {1} <meta name=x>");
        if (h.engine() == test::Engine::Passes) {
            EXPECT_TRUE(swept);
        }
        h.pasteScripts();
        EXPECT_EQ(h.shown(), " <?b?> <meta name=x>");
    });
}

TEST(TagListSweep, FindsTheNextStepsChangesAhead)
{
    const std::vector<TagCall> removals = Removals({"name=generator"});
    const std::string input = "<meta name=generator content=x>\r\n<strong>x</strong>\r\n";
    struct Row {
        const char* name;
        std::vector<TagCall> announced; // the next step's list before the check
        std::vector<TagCall> next; // and after it
        std::string expected;
    } rows[] = {
        {"the list stays", {{"strong", "b"}, {"/strong", "/b"}}, {{"strong", "b"}, {"/strong", "/b"}},
            "\r\n<b>x</b>\r\n"},
        {"the list changes at the check", {{"strong", "b"}, {"/strong", "/b"}}, {{"strong", "em"}},
            "\r\n<em>x</strong>\r\n"},
        {"the list is emptied at the check", {{"strong", "b"}}, {}, "\r\n<strong>x</strong>\r\n"},
        {"the next list is a chain", {{"strong", "b"}, {"b", "i"}}, {{"strong", "b"}, {"b", "i"}},
            "\r\n<i>x</strong>\r\n"},
        {"the lists together are a chain", {{"x", "name=generator"}}, {{"x", "name=generator"}},
            "\r\n<strong>x</strong>\r\n"},
    };
    for (const Row& row : rows) {
        test::ForBothEngines(row.name, [&](test::PassHarness& h) {
            h.load(input);
            h.treatTags(removals, row.announced);
            h.treatTags(row.next);
            EXPECT_EQ(h.shown(), row.expected);
        });
    }
    // A replacement of this step inside a tag that the announced next step would remove.
    test::ForBothEngines("the announced removal does not come", [&](test::PassHarness& h) {
        h.load("<script x>\r\n");
        h.treatTags({{"script", "tt"}}, Removals({"x"}));
        h.treatTags({});
        EXPECT_EQ(h.shown(), "<tt x>\r\n");
    });
}

// The differential test's seed and count: fixed by default, QMK_DIFF_SEED and QMK_DIFF_CASES name others.
std::uint64_t Seed()
{
    const char* given = std::getenv("QMK_DIFF_SEED");
    return given && *given ? std::strtoull(given, nullptr, 10) : 20261208;
}

int Cases()
{
    if (const char* given = std::getenv("QMK_DIFF_CASES")) return std::atoi(given);
    return 4000;
}

// Random lists, dependent ones among them, on random pages: whichever way the
// shipped passes go, the result is the oracle's; and both ways are taken often.
TEST(TagListSweep, RandomListsOnRandomPagesComeOutAsFromTheOracle)
{
    static const char* const kTexts[] = {"strong", "STRONG", "em", "b", "i", "p", "/p", "/strong", "/b", "/P",
        "name=\"generator\"", "name=generator", "name=\"keywords\"", "font", "x", "a", "!doctype", "cf", "script",
        "title", "td", "\"x", "a b", "\\x", "-", "!--", "title=\"<font>\""};
    static const char* const kReplacements[] = {
        "", "", "", "b", "i", "strong", "tt", "x", "a", "/b", "B", "p", "b b", "\"", "em", "font"};
    test::RandomPages pages(Seed());
    std::mt19937_64 random(Seed() + 1);
    auto below = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    int swept = 0, oneByOne = 0;
    const int cases = Cases();
    for (int i = 0; i < cases; ++i) {
        const std::string page = pages.page(1 + below(40));
        // Two steps, the first told of the second's list as it stands before it; now and then that list changes.
        auto randomCalls = [&] {
            std::vector<TagCall> calls;
            for (std::size_t k = below(5); k > 0; --k)
                calls.push_back({kTexts[below(std::size(kTexts))], kReplacements[below(std::size(kReplacements))]});
            return calls;
        };
        const std::vector<TagCall> first = randomCalls(), second = randomCalls();
        const std::vector<TagCall> announced = below(4) == 0 ? randomCalls() : second;
        test::PassHarness passes(test::Engine::Passes), oracle(test::Engine::Oracle);
        passes.load(page);
        oracle.load(page);
        (passes.treatTags(first, announced) ? swept : oneByOne)++;
        passes.treatTags(second);
        oracle.treatTags(first);
        oracle.treatTags(second);
        if (passes.shown() != oracle.shown()) {
            auto list = [](const std::vector<TagCall>& calls) {
                std::string text;
                for (const TagCall& call : calls) text += " {\"" + call.tag + "\", \"" + call.replacement + "\"}";
                return text;
            };
            FAIL() << "case " << i << "\npage: " << ::testing::PrintToString(page) << "\nfirst step:" << list(first)
                   << "\nsecond step:" << list(second) << " (announced:" << list(announced) << ")"
                   << "\nengine: " << ::testing::PrintToString(passes.shown())
                   << "\noracle: " << ::testing::PrintToString(oracle.shown());
        }
    }
    EXPECT_GT(swept, cases / 5);
    EXPECT_GT(oneByOne, cases / 5);
}

} // namespace
} // namespace qm
