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

// A file name as it may be printed: control characters (and the backslash
// that introduces the escapes) become C escapes such as \n, \t and \x1b, so
// a name can neither break a report line nor send commands to a terminal.
// Bytes from 0x80 up pass unchanged.
std::string EscapeControlCharacters(std::string_view text);

// A space or a tab: the white space a line may begin or end with.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace qm
