// The round trip between a page's bytes and the source view's text.
#include "batch/view/source_text.h"

#include <optional>

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(SourceText, RoundTrip)
{
    struct Row {
        const char* name;
        std::string bytes;
        bool keepLineEnds;
        std::string shown;
        bool utf8;
        std::string savedUnchanged;
    };
    const Row rows[] = {
        // Line ends.
        {"CR LF lines", "a\r\nb\r\n", true, "a\nb", true, "a\r\nb\r\n"},
        {"LF lines are kept", "a\nb\n", true, "a\nb", true, "a\nb\n"},
        {"LF lines become CR LF without keeping", "a\nb\n", false, "a\nb", true, "a\r\nb\r\n"},
        {"lone CR lines are kept", "a\rb\r", true, "a\nb", true, "a\rb\r"},
        {"no final line end", "a\r\nb", true, "a\nb", true, "a\r\nb"},
        {"empty lines at the end survive", "a\r\n\r\n", true, "a\n", true, "a\r\n\r\n"},
        {"one empty line", "\r\n", true, "", true, "\r\n"},
        {"empty file", "", true, "", true, ""},
        // Encodings.
        {"UTF-8 stays UTF-8", "caf\xC3\xA9\r\n", true, "caf\xC3\xA9", true, "caf\xC3\xA9\r\n"},
        {"a single-byte page keeps its bytes", "caf\xE9\r\n", true, "caf\xC3\xA9", false, "caf\xE9\r\n"},
        {"every byte value of a single-byte page", std::string("\x80\x9F\xA0\xFF", 4), true,
            "\xC2\x80\xC2\x9F\xC2\xA0\xC3\xBF", false, std::string("\x80\x9F\xA0\xFF", 4)},
        {"an overlong form is no UTF-8", "\xC0\xAF", true, "\xC3\x80\xC2\xAF", false, "\xC0\xAF"},
        {"a surrogate is no UTF-8", "\xED\xA0\x80", true, "\xC3\xAD\xC2\xA0\xC2\x80", false, "\xED\xA0\x80"},
        {"a cut sequence is no UTF-8", "ab\xE2\x82", true, "ab\xC3\xA2\xC2\x82", false, "ab\xE2\x82"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SourceText text = SourceTextOf(row.bytes, row.keepLineEnds);
        EXPECT_EQ(text.text, row.shown);
        EXPECT_EQ(text.format.utf8, row.utf8);
        const Expected<std::string> saved = SourceBytesOf(text.text, text.format);
        ASSERT_TRUE(saved) << saved.reason();
        EXPECT_EQ(*saved, row.savedUnchanged);
    }
}

TEST(SourceText, EditsGoBackInTheFilesForm)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::string edited;
        std::optional<std::string> saved;
    };
    const Row rows[] = {
        {"a new line takes the file's line end", "a\nb\n", "a\nnew\nb", "a\nnew\nb\n"},
        {"a new empty last line", "a\r\n", "a\n", "a\r\n\r\n"},
        {"a letter of the single-byte page", "\xE9t\xE9\r\n", "\xC3\xA9t\xC3\xA9 \xC3\xBC", "\xE9t\xE9 \xFC\r\n"},
        {"a character the single-byte page cannot store", "\xE9\r\n", "\xE2\x82\xAC", std::nullopt},
        {"any character in a UTF-8 page", "x\r\n", "\xE2\x82\xAC", "\xE2\x82\xAC\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SourceText text = SourceTextOf(row.bytes, true);
        const Expected<std::string> saved = SourceBytesOf(row.edited, text.format);
        EXPECT_EQ(saved ? std::optional<std::string>(*saved) : std::nullopt, row.saved);
        EXPECT_EQ(saved.reason().empty(), row.saved.has_value());
    }
}

} // namespace
} // namespace qm
