// Reading the page's style blocks for the element names they style.
#include "engine/html_rules.h"

#include <unordered_set>

#include "engine/passes/rewriter.h"

namespace qm {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The first occurrence of a lower-case needle, in any case, from `from` on.
std::size_t FindLower(std::string_view text, std::string_view lowerNeedle, std::size_t from)
{
    return passes::FindNoCase(text, from, lowerNeedle);
}

bool IsNameChar(char c)
{
    return IsAsciiLetter(static_cast<unsigned char>(c)) || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

} // namespace

std::vector<std::string> StyleSheetElementNames(std::string_view page)
{
    std::unordered_set<std::string> names;
    constexpr auto npos = std::string_view::npos;
    for (std::size_t at = FindLower(page, "<style", 0); at != npos; at = FindLower(page, "<style", at)) {
        const std::size_t afterName = at + 6;
        if (afterName >= page.size() || !EndsTagName(static_cast<unsigned char>(page[afterName]))) {
            at = afterName;
            continue;
        }
        const std::size_t open = page.find('>', afterName);
        if (open == npos) break;
        std::size_t close = FindLower(page, "</style", open + 1);
        if (close == npos) close = page.size();
        // A name that stands for itself: not a class, an id, a pseudo-class,
        // an at-rule, a unit after a number or a function.
        for (std::size_t i = open + 1; i < close;) {
            if (!IsNameChar(page[i])) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < close && IsNameChar(page[end])) ++end;
            const char before = page[i - 1];
            const bool selector = IsAsciiLetter(static_cast<unsigned char>(page[i])) && before != '.' &&
                before != '#' && before != ':' && before != '@' && !(end < close && page[end] == '(');
            if (selector) {
                std::string name;
                for (std::size_t k = i; k < end; ++k) name.push_back(Lower(page[k]));
                names.insert(std::move(name));
            }
            i = end;
        }
        at = close;
    }
    return std::vector<std::string>(names.begin(), names.end());
}

std::string ElementNameOf(std::string_view tagText)
{
    std::size_t k = 0;
    if (k < tagText.size() && tagText[k] == '/') ++k;
    std::string name;
    for (; k < tagText.size() && !EndsTagName(static_cast<unsigned char>(tagText[k])); ++k)
        name.push_back(Lower(tagText[k]));
    return name;
}

} // namespace qm
