// White space passes, each searching again from the first character after every change.
#include "tests/oracle/whitespace.h"

#include <algorithm>

namespace qm::oracle {
namespace {

constexpr auto npos = UnitText::npos;

// Repeats until the pattern is gone: occurrences inside a tag and outside
// quoted values lose the space at `spaceAt`, the others get the unit at
// `hideAt` hidden behind `marker`.
void DeleteSpaceNextTo(
    UnitText& text, std::u32string_view pattern, std::size_t spaceAt, std::size_t hideAt, Unit marker)
{
    for (std::size_t p = text.find(pattern); p != npos; p = text.find(pattern)) {
        if (!Inkav(text, p) && InsideTag(text, p + spaceAt, p + spaceAt))
            text.erase(p + spaceAt, 1);
        else
            text[p + hideAt] = marker;
    }
}

// Whether the tag ending with the ">" at `greater`, or the one starting with
// the "<" at `less`, swallows the white space beside it.
bool EitherSwallows(const UnitText& text, std::size_t greater, std::size_t less)
{
    if (SwallowsSpaceAround(TagNameAt(text, less))) return true;
    for (std::size_t j = greater; j-- > 0;) {
        if (Plain(text[j]) == '>') return false;
        if (Plain(text[j]) == '<') return SwallowsSpaceAround(TagNameAt(text, j));
    }
    return false;
}

// Neither end of the text, nor white space.
bool SeparatesWords(const UnitText& text, std::size_t before, std::size_t after)
{
    return before != npos && after < text.size() && !IsPageWhiteSpace(text[before]) && !IsPageWhiteSpace(text[after]);
}

// Lines as the line passes see them: at CR LF, CR or LF; joined with CR LF after each.
std::vector<UnitText> SplitUnitLines(const UnitText& text)
{
    std::vector<UnitText> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        Unit u = text[i];
        if (u == '\r' || u == '\n') {
            lines.push_back(text.substr(start, i - start));
            i += (u == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

UnitText JoinUnitLines(const std::vector<UnitText>& lines)
{
    UnitText text;
    for (const UnitText& line : lines) {
        text += line;
        text += U"\r\n";
    }
    return text;
}

bool IsBlank(Unit u) { return u == ' ' || u == '\t'; }

} // namespace

void DelTagSpaces(Page& page)
{
    // Each loop turns its markers back before the next one looks.
    UnitText& text = page.text;
    auto loop = [&](std::u32string_view pattern, std::size_t spaceAt, std::size_t hideAt, Unit marker, Unit plain) {
        MarkerRestorer restore(text, {{marker, plain}});
        DeleteSpaceNextTo(text, pattern, spaceAt, hideAt, marker);
    };
    loop(U"< ", 1, 0, kHiddenLess, '<');
    loop(U" >", 0, 1, kHiddenGreater, '>');
    loop(U" =", 0, 1, kHiddenEqual, '=');
    loop(U"= ", 1, 0, kHiddenEqual, '=');
    DelSpaceBetweenTags(page);
}

void DelSpaceBetweenTags(Page& page)
{
    {
        UnitText& text = page.text;
        MarkerRestorer restore(text, {{kHiddenSpace, ' '}});
        for (std::size_t p = text.find(U"> <"); p != npos; p = text.find(U"> <")) {
            if (!Inkav(text, p) && EitherSwallows(text, p, p + 2))
                text.erase(p + 1, 1);
            else
                text[p + 1] = kHiddenSpace;
        }
    }
    page.refreshMirror();
}

void DelCRLF(Page& page)
{
    UnitText& text = page.text;
    for (std::size_t p = text.find(U"\r\n"); p != npos; p = text.find(U"\r\n")) {
        if (SeparatesWords(text, p == 0 ? npos : p - 1, p + 2))
            text.replace(p, 2, U" ");
        else
            text.erase(p, 2);
    }
    page.refreshMirror();
}

void ReplaceDoubleNbsp(Page& page, const PassContext& context)
{
    {
        UnitText& text = page.text;
        MarkerRestorer restore(text, {{kHiddenAmpersand, '&'}});
        for (std::size_t p = text.find(U"&nbsp;&nbsp;"); p != npos; p = text.find(U"&nbsp;&nbsp;")) {
            if (Inkav(text, p) && !context.options.flag(Opt::cbReplaceDoubleNbspInKav))
                text[p] = kHiddenAmpersand;
            else
                text.replace(p + 6, 6, U" ");
        }
    }
    page.refreshMirror();
}

void DelAllTabs(Page& page)
{
    UnitText& text = page.text;
    for (std::size_t p = text.find(U'\t'); p != npos; p = text.find(U'\t')) {
        if (SeparatesWords(text, p == 0 ? npos : p - 1, p + 1))
            text[p] = ' ';
        else
            text.erase(p, 1);
    }
    page.refreshMirror();
}

void DelTabLine(Page& page)
{
    std::vector<UnitText> lines = SplitUnitLines(page.text);
    std::erase_if(
        lines, [](const UnitText& line) { return !line.empty() && std::all_of(line.begin(), line.end(), IsBlank); });
    page.text = JoinUnitLines(lines);
    page.refreshMirror();
}

void ReplaceDoubleSpaces(Page& page, const PassContext& context)
{
    UnitText& text = page.text;
    bool quoted = false;
    std::size_t i = 0;
    while (i + 1 < text.size()) {
        if (text[i] == '"') quoted = !quoted;
        // A deleted space makes the next one move up to i+1; i itself is a
        // space, so coming back to it never flips the quote flag again.
        if (text[i] == ' ' && text[i + 1] == ' ' && (!quoted || context.options.flag(Opt::cbReplaceDoubleSpacesInKav)))
            text.erase(i + 1, 1);
        else
            ++i;
    }
    page.refreshMirror();
}

void DelBegEndSpace(Page& page)
{
    std::vector<UnitText> lines = SplitUnitLines(page.text);
    for (UnitText& line : lines) {
        std::size_t first = 0;
        while (first < line.size() && IsBlank(line[first])) ++first;
        std::size_t last = line.size();
        while (last > first && IsBlank(line[last - 1])) --last;
        line = line.substr(first, last - first);
    }
    page.text = JoinUnitLines(lines);
    page.refreshMirror();
}

void DelEmptyLine(Page& page)
{
    std::vector<UnitText> lines = SplitUnitLines(page.text);
    std::erase_if(lines, [](const UnitText& line) { return line.empty(); });
    page.text = JoinUnitLines(lines);
    page.refreshMirror();
}

} // namespace qm::oracle
