// Conversions and the small routines every oracle pass shares.
#include "tests/oracle/unit_text.h"

#include <stdexcept>

namespace qm::oracle {

UnitText Lower(const UnitText& text)
{
    UnitText lower(text);
    for (Unit& u : lower) u = LowerUnit(u);
    return lower;
}

UnitText Widen(std::string_view bytes)
{
    UnitText text(bytes.size(), 0);
    for (std::size_t i = 0; i < bytes.size(); ++i) text[i] = static_cast<unsigned char>(bytes[i]);
    return text;
}

std::string Narrow(const UnitText& text)
{
    std::string bytes(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] > 0xFF) throw std::logic_error("a marker or placeholder survived the passes");
        bytes[i] = static_cast<char>(text[i]);
    }
    return bytes;
}

bool Inkav(const UnitText& text, std::size_t p)
{
    bool inside = false;
    for (std::size_t i = 0; i < p && i < text.size(); ++i) {
        if (text[i] != '"') continue;
        bool escaped = i >= 1 && text[i - 1] == '\\' && !(i >= 2 && text[i - 2] == '\\');
        if (!escaped) inside = !inside;
    }
    return inside;
}

Unit Plain(Unit u)
{
    switch (u) {
    case kHiddenLess:
        return '<';
    case kHiddenGreater:
        return '>';
    case kHiddenEqual:
        return '=';
    case kHiddenSpace:
        return ' ';
    case kHiddenAmpersand:
        return '&';
    case kKeptQuote:
        return '"';
    default:
        return u;
    }
}

bool InsideTag(const UnitText& text, std::size_t first, std::size_t last)
{
    bool quoted = false;
    std::size_t open = UnitText::npos;
    for (std::size_t j = first; j-- > 0;) {
        Unit u = Plain(text[j]);
        if (u == '"')
            quoted = !quoted;
        else if (!quoted && u == '>')
            return false;
        else if (!quoted && u == '<') {
            open = j;
            break;
        }
    }
    if (open == UnitText::npos || !OpensTagAfterLess(Plain(text[open + 1]))) return false;
    quoted = false;
    for (std::size_t j = last + 1; j < text.size(); ++j) {
        Unit u = Plain(text[j]);
        if (u == '"')
            quoted = !quoted;
        else if (!quoted && u == '<')
            return false;
        else if (!quoted && u == '>')
            return true;
    }
    return false;
}

std::string TagNameAt(const UnitText& text, std::size_t less)
{
    std::size_t k = less + 1;
    if (k < text.size() && Plain(text[k]) == '/') ++k;
    std::string name;
    for (; k < text.size() && !EndsTagName(Plain(text[k])) && Plain(text[k]) != '='; ++k) {
        Unit u = LowerUnit(Plain(text[k]));
        name.push_back(u > 0xFF ? '\0' : static_cast<char>(u));
    }
    return name;
}

void ReplaceChar(UnitText& text, Unit from, Unit to)
{
    for (Unit& u : text)
        if (u == from) u = to;
}

void EraseBoth(Page& page, std::size_t first, std::size_t last)
{
    page.text.erase(first, last - first + 1);
    page.mirror.erase(first, last - first + 1);
}

void InsertBoth(Page& page, std::size_t at, Unit unit)
{
    page.text.insert(page.text.begin() + static_cast<std::ptrdiff_t>(at), unit);
    page.mirror.insert(page.mirror.begin() + static_cast<std::ptrdiff_t>(at), unit);
}

} // namespace qm::oracle
