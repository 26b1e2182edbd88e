// ASCII letter case, one byte to one byte: bytes from 0x80 up are never changed, whatever the page's code page.
#pragma once

#include <string>
#include <string_view>

namespace qm {

constexpr char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A separate name from the one for a byte, so the byte form can be passed to std::transform.
std::string ToLowerAscii(std::string_view text);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

// A space or a tab: the white space a line may begin or end with.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace qm
