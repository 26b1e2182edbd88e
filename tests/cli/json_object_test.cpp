// JSON lines that any parser takes, whatever bytes a file name holds.
#include <gtest/gtest.h>

#include "cli/json_object.h"

namespace qm {
namespace {

TEST(JsonObject, StringLiterals)
{
    struct Row {
        const char* name;
        std::string_view text, literal;
    };
    const Row rows[] = {
        {"plain", "a.html", "\"a.html\""},
        {"quote and backslash", "say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
        {"line breaks and tabs", "a\r\nb\tc", "\"a\\r\\nb\\tc\""},
        {"other control bytes", std::string_view("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\\u007f\""},
        {"UTF-8 stays", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\""},
        {"a single-byte name", "caf\xE9.html", "\"caf\xEF\xBF\xBD.html\""},
        {"a cut sequence", "\xE2\x82", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"an overlong form", "\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"a surrogate", "\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(JsonString(row.text), row.literal);
    }
}

TEST(JsonObject, MembersInOrder)
{
    JsonObject object;
    object.add("type", "file")
        .add("size", std::int64_t {12})
        .add("ratio", std::optional<std::int64_t>())
        .add("ok", true)
        .add("seconds", 0.25);
    EXPECT_EQ(object.text(), "{\"type\":\"file\",\"size\":12,\"ratio\":null,\"ok\":true,\"seconds\":0.250}");
    EXPECT_EQ(JsonObject().text(), "{}");
}

} // namespace
} // namespace qm
