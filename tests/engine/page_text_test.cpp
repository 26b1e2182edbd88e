// Reading a page into the working text and writing it back.
#include <gtest/gtest.h>

#include "engine/page_text.h"

namespace qm {
namespace {

TEST(PageText, WorkingTextFromBytes)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::optional<std::string> text;
    } rows[] = {
        {"empty", "", ""},
        {"no final break", "a", "a\r\n"},
        {"lone breaks", "a\rb\nc\r\n", "a\r\nb\r\nc\r\n"},
        {"utf-8 bom is a byte-order mark of a single-byte page", "\xEF\xBB\xBFx", "\xEF\xBB\xBFx\r\n"},
        {"NUL byte", std::string("a\0b", 3), std::nullopt},
        {"UTF-16 little endian", "\xFF\xFEx", std::nullopt},
        {"UTF-16 big endian", "\xFE\xFFx", std::nullopt},
    };
    for (const Row& row : rows) {
        Expected<std::string> result = WorkingTextFromBytes(row.bytes);
        EXPECT_EQ(result ? std::optional<std::string>(*result) : std::nullopt, row.text) << row.name;
        EXPECT_EQ(result.reason().empty(), row.text.has_value()) << row.name;
    }
}

TEST(PageText, LineEnds)
{
    EXPECT_EQ(DetectLineEnd("a\r\nb\n", LineEnd::Lf), LineEnd::CrLf);
    EXPECT_EQ(DetectLineEnd("a\nb\r\n", LineEnd::CrLf), LineEnd::Lf);
    EXPECT_EQ(DetectLineEnd("a\rb", LineEnd::Lf), LineEnd::Cr);
    EXPECT_EQ(DetectLineEnd("ab\r", LineEnd::Lf), LineEnd::Cr);
    EXPECT_EQ(DetectLineEnd("ab", LineEnd::Cr), LineEnd::Cr);
    EXPECT_EQ(TextForWriting("a\r\n\r\nb\r\n", "\n"), "a\n\nb\n");
    EXPECT_EQ(TextForWriting("a b ", "\r\n"), "a b \r\n");
    EXPECT_EQ(TextForWriting("", "\n"), "");
}

TEST(PageText, WritingInPlaceGivesWhatACopyGives)
{
    const std::string texts[] = {"", "a", "a\r\n", "a\r\nb\r\n", "a\rb\nc", "a b ", "\r\n\r\n", "x\n", "\r", "ab\r\ncd",
        "a\nb", "\n\nx\n\n", "a\r\nb\nc\n", "a\r\nb\nc", "\n", "long line\nshort\n\nlast"};
    for (const std::string& text : texts) {
        for (std::string_view lineEnd : {"\r\n", "\n", "\r"}) {
            // Without room to grow, and with room (where LF ends become two bytes in the buffer itself).
            for (std::size_t room : {std::size_t {0}, 2 * text.size() + 2}) {
                std::string inPlace;
                inPlace.reserve(text.size() + room);
                inPlace = text;
                MakeTextForWriting(inPlace, lineEnd);
                EXPECT_EQ(inPlace, TextForWriting(text, lineEnd)) << ::testing::PrintToString(text) << " room " << room;
            }
        }
    }
}

} // namespace
} // namespace qm
