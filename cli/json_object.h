// One JSON object on one line, for qmk --json.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Builds {"key":value,...} in the order the members are added. Strings are
// escaped; bytes that are not UTF-8 (a page name in a single-byte code page)
// become U+FFFD, so the line stays valid JSON.
class JsonObject {
public:
    JsonObject& add(std::string_view key, std::string_view value);
    JsonObject& add(std::string_view key, const char* value) { return add(key, std::string_view(value)); }
    JsonObject& add(std::string_view key, std::int64_t value);
    JsonObject& add(std::string_view key, int value) { return add(key, static_cast<std::int64_t>(value)); }
    JsonObject& add(std::string_view key, double value);
    JsonObject& add(std::string_view key, bool value);
    JsonObject& add(std::string_view key, std::optional<std::int64_t> value); // null when empty

    std::string text() const { return body_ + "}"; }

private:
    void key(std::string_view name);
    std::string body_ = "{";
};

// The text as a JSON string literal, quotes included.
std::string JsonString(std::string_view text);

} // namespace qm
