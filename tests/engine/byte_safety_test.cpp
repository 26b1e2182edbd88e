// No byte of a page changes unless a rule asks for it: every byte value, and UTF-8 text in many scripts.
#include <gtest/gtest.h>

#include "base/text_lines.h"
#include "engine/optimize.h"
#include "tests/engine/pass_harness.h"
#include "tests/oracle/unit_text.h"

namespace qm {
namespace {

std::string Optimized(const std::string& page, const TOptionSet& options = {})
{
    EngineData data;
    data.ssiCommands = {"#include"};
    test::RecordingSink sink;
    OptimizedPage result = OptimizePageBytes(page, options, data, sink);
    EXPECT_EQ(result.outcome, PipelineOutcome::Completed);
    EXPECT_TRUE(sink.messages.empty());
    return result.bytes;
}

// Bytes some rule of the default options acts on: white space, quotes, brackets.
bool RuleActsOn(unsigned char byte)
{
    return byte == '\t' || byte == '\n' || byte == '\r' || byte == ' ' || byte == '"' || byte == '<' || byte == '>';
}

TEST(ByteSafety, EveryByteValueStandsUnchangedInTextValuesCommentsAndScripts)
{
    std::string page;
    for (int value = 1; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        if (RuleActsOn(byte)) continue;
        const std::string x(1, static_cast<char>(byte));
        page += "<p title=\"a" + x + "b\" class=k" + x + ">a" + x + "b<!--style" + x + "--><script>s" + x +
            "</script></p>\r\n";
    }
    const std::vector<std::string> lines = SplitLines(Optimized(page));
    const std::vector<std::string> expected = SplitLines(page);
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]);
}

TEST(ByteSafety, FormerMarkerAndPlaceholderBytesAreOrdinary)
{
    // Bytes once used as placeholders and markers, right where the passes hide and cut things.
    const std::string bytes = "\x89\x8A\x98\x9A\x9F\xA4\xA5\xA6\xAC\xAF";
    const std::string page = "<p title=\"< " + bytes + "\">" + bytes + "</p><script>" + bytes + "</script><?" + bytes +
        "?><a href=\"x = " + bytes + "\">" + bytes + "</a>\r\n";
    EXPECT_EQ(Optimized(page), page);
    // The pass that hides tag texts must give back the byte before a tag name too.
    const std::string near = "<p>\xA4strong \xA5</p><strong>\xA4</strong>\r\n";
    EXPECT_EQ(Optimized(near), "<p>\xA4strong \xA5</p><b>\xA4</b>\r\n");
}

TEST(ByteSafety, Utf8PagesInManyScripts)
{
    struct Row {
        const char* name;
        std::string input;
        std::string expected;
    } rows[] = {
        {"German", "<p class=\"gruß\">Grüße aus Köln, Äpfel und Öl</p>\r\n",
            "<p class=\"gruß\">Grüße aus Köln, Äpfel und Öl</p>\r\n"},
        {"Russian", "<h1 title=\"Привет  мир\">Привет,   мир!</h1>\r\n",
            "<h1 title=\"Привет  мир\">Привет, мир!</h1>\r\n"},
        {"Greek", "<li>Γειά σου Κόσμε</li>\r\n<li>ΑΒΓΔ</li>\r\n", "<li>Γειά σου Κόσμε</li>\r\n<li>ΑΒΓΔ</li>\r\n"},
        {"Chinese", "<p>你好，世界 <!-- 注释 --></p>\r\n", "<p>你好，世界 </p>\r\n"},
        {"Japanese", "<p alt=\"日本語\">日本語のテキスト</p>\r\n", "<p alt=\"日本語\">日本語のテキスト</p>\r\n"},
        {"Arabic", "<p dir=\"rtl\">مرحبا بالعالم</p>\r\n", "<p dir=\"rtl\">مرحبا بالعالم</p>\r\n"},
        {"Hebrew", "<p>שלום עולם</p>\r\n", "<p>שלום עולם</p>\r\n"},
        {"Hindi", "<p>नमस्ते दुनिया</p>\r\n", "<p>नमस्ते दुनिया</p>\r\n"},
        {"emoji", "<p>🎉 party  🎂</p>\r\n", "<p>🎉 party 🎂</p>\r\n"},
        {"upper-case UTF-8 next to a tag name", "<p>Ä strong Ä</p><strong>ÄÖÜ</strong>\r\n",
            "<p>Ä strong Ä</p><b>ÄÖÜ</b>\r\n"},
    };
    TOptionSet options;
    for (const Row& row : rows) EXPECT_EQ(Optimized(row.input, options), row.expected) << row.name;
}

TEST(ByteSafety, MirrorLowersAsciiLettersOnly)
{
    std::string all;
    for (int value = 1; value < 256; ++value) all += static_cast<char>(value);
    oracle::UnitText lower = oracle::Lower(oracle::Widen(all));
    for (int value = 1; value < 256; ++value) {
        const oracle::Unit expected = (value >= 'A' && value <= 'Z') ? value + 32 : value;
        EXPECT_EQ(lower[value - 1], expected) << value;
    }
}

} // namespace
} // namespace qm
