// Number and colour tests for attribute values and the panel's sort.
#include "engine/attribute_values.h"

#include "base/ascii.h"

namespace qm {

bool IsNum(std::string_view value)
{
    for (std::size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        bool digit = c >= '0' && c <= '9';
        if (!digit && !(c == '%' && i + 1 == value.size())) return false;
    }
    return true;
}

bool Ishex(std::string_view value)
{
    if (value.size() < 2 || value.size() > 7 || value[0] != '#') return false;
    for (std::size_t i = 1; i < value.size(); ++i) {
        const char c = LowerAscii(value[i]);
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

} // namespace qm
