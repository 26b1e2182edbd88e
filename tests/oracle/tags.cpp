// Tag removal and replacement, searching the mirror again from the start after every change.
#include "tests/oracle/tags.h"

#include <algorithm>

namespace qm::oracle {
namespace {

constexpr auto npos = UnitText::npos;

bool EndsTagWord(Unit u) { return u == 8 || u == '\r' || u == ' ' || u == '>'; }

// The "<" that opens the tag around p: walking back with a quote flag, the
// first unquoted "<", unless an unquoted ">" comes first.
std::size_t OpeningBracket(const UnitText& mirror, std::size_t p)
{
    bool quoted = false;
    for (std::size_t j = p; j-- > 0;) {
        Unit u = mirror[j];
        if (u == '"')
            quoted = !quoted;
        else if (!quoted && u == '<')
            return j;
        else if (!quoted && u == '>')
            return npos;
    }
    return npos;
}

// The ">" that closes it: walking forward from p+1 the same way, the first
// unquoted ">", unless an unquoted "<" or the end of the text comes first.
std::size_t ClosingBracket(const UnitText& mirror, std::size_t p)
{
    bool quoted = false;
    for (std::size_t j = p + 1; j < mirror.size(); ++j) {
        Unit u = mirror[j];
        if (u == '"')
            quoted = !quoted;
        else if (!quoted && u == '>')
            return j;
        else if (!quoted && u == '<')
            return npos;
    }
    return npos;
}

struct Span {
    std::size_t first, end; // [first, end)
};

// Positions shift as text is deleted or inserted before them.
void Shift(std::vector<Span>& spans, std::size_t at, std::size_t removed, std::size_t inserted)
{
    for (Span& span : spans) {
        if (span.first >= at + removed) {
            span.first = span.first - removed + inserted;
            span.end = span.end - removed + inserted;
        }
    }
}

} // namespace

void TreatTag(Page& page, std::string_view tagText, std::string_view replacement)
{
    if (tagText.empty()) return;
    const UnitText tag = Widen(tagText);
    const UnitText lowerTag = Lower(tag);
    const Unit upperFirst = (tag[0] >= 'a' && tag[0] <= 'z') ? tag[0] - ('a' - 'A') : tag[0];
    const std::size_t n = tag.size();
    const bool removal = replacement.empty();
    const UnitText insert = Widen(replacement);
    const UnitText lowerInsert = Lower(insert);
    // Text this call has put in: never searched again, so a pair whose result
    // holds its own tag text cannot repeat for ever.
    std::vector<Span> inserted;

    {
        UnitText& text = page.text;
        UnitText& mirror = page.mirror;
        MarkerRestorer restore(text, {{kHiddenTagUpper, upperFirst}, {kHiddenTagOther, lowerTag[0]}});
        for (std::size_t p = mirror.find(lowerTag); p != npos; p = mirror.find(lowerTag)) {
            bool accepted = !Inkav(mirror, p) && p >= 1 && IsTagNameBefore(mirror[p - 1]) && p + n < mirror.size() &&
                EndsTagWord(mirror[p + n]);
            accepted = accepted && std::none_of(inserted.begin(), inserted.end(), [&](const Span& span) {
                return p < span.end && p + n > span.first;
            });
            // Only an occurrence inside a tag is a tag's name or attribute: a word
            // of body text or a style sheet selector is left as it is.
            std::size_t s = accepted ? OpeningBracket(mirror, p) : npos;
            std::size_t e = s != npos ? ClosingBracket(mirror, p) : npos;
            if (e == npos) {
                Unit marker = text[p] != mirror[p] ? kHiddenTagUpper : kHiddenTagOther;
                text[p] = marker;
                mirror[p] = marker;
                continue;
            }
            if (removal) {
                EraseBoth(page, s, e);
            } else {
                text.replace(p, n, insert);
                mirror.replace(p, n, lowerInsert);
                Shift(inserted, p, n, insert.size());
                inserted.push_back(Span {p, p + insert.size()});
            }
        }
    }
    page.refreshMirror();
}

} // namespace qm::oracle
