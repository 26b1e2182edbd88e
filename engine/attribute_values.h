// Which attribute values are safe without quotes: numbers and colours.
#pragma once

#include <string_view>

namespace qm {

// Digits only, the last character may be "%"; true for "" and for "%".
bool IsNum(std::string_view value);

// "#" followed by one to six hexadecimal digits.
bool Ishex(std::string_view value);

} // namespace qm
