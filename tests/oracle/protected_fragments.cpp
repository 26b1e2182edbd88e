// Scripts, "<?" and "<%" blocks and ColdFusion tags leave the page before the passes and come back unchanged.
#include "tests/oracle/protected_fragments.h"

#include <utility>

#include "engine/html_rules.h"

namespace qm::oracle {
namespace {

constexpr auto npos = UnitText::npos;

// Takes [first, last] out of the page; keeps it and leaves a placeholder
// unless scripts are to be deleted. Returns where the search goes on.
std::size_t CutBlock(Page& page, bool deleting, FragmentKind kind, std::size_t first, std::size_t last)
{
    UnitText block = page.text.substr(first, last - first + 1);
    EraseBoth(page, first, last);
    if (deleting) return first;
    page.fragments.push_back(Fragment {kind, std::move(block)});
    InsertBoth(page, first, kPlaceholderBase + static_cast<Unit>(page.fragments.size() - 1));
    return first + 1;
}

// The first occurrence at or after `from` that is not inside a quoted value,
// judged at the occurrence's index plus `judgeOffset`.
std::size_t FindUnquoted(const UnitText& text, std::u32string_view what, std::size_t from, std::size_t judgeOffset = 0)
{
    std::size_t at = text.find(what, from);
    while (at != npos && Inkav(text, at + judgeOffset)) at = text.find(what, at + 1);
    return at;
}

// Where the tag whose name ends at `from` ends: the first ">" outside a quoted attribute value.
std::size_t TagEnd(const UnitText& text, std::size_t from)
{
    for (std::size_t j = from; j < text.size(); ++j) {
        if (text[j] == '>') return j;
        if (text[j] != '"' && text[j] != '\'') continue;
        // A quote opens a value only right after "=" (white space between allowed).
        std::size_t k = j;
        while (k > from && IsPageWhiteSpace(text[k - 1])) --k;
        if (k > from && text[k - 1] == '=') {
            j = text.find(text[j], j + 1);
            if (j == npos) return npos;
        }
    }
    return npos;
}

std::size_t ClosingTag(const UnitText& text, std::size_t from, const UnitText& name)
{
    const UnitText lower = Lower(text);
    for (std::size_t j = lower.find(U"</" + name, from); j != npos; j = lower.find(U"</" + name, j + 1)) {
        const std::size_t after = j + 2 + name.size();
        if (after == text.size() || EndsTagName(text[after])) return j;
    }
    return npos;
}

} // namespace

void CutScripts(Page& page, const PassContext& context)
{
    std::size_t from = 0;
    for (;;) {
        std::size_t p = page.mirror.find(U"script", from);
        if (p == npos) break;
        const UnitText& m = page.mirror;
        // Only "<script" followed by what may end a tag's name opens a script.
        bool start = !Inkav(m, p) && p >= 1 && m[p - 1] == '<' && p + 6 < m.size() && EndsTagName(m[p + 6]);
        if (!start) {
            from = p + 1;
            continue;
        }
        const std::size_t s = p - 1;
        bool last = false;
        std::size_t e = npos;
        std::size_t close = FindUnquoted(m, U"/script", p, 1);
        if (close != npos) {
            e = m.find(U'>', close + 7);
        } else {
            e = m.find(U'>', s + 6);
            last = true;
        }
        // A script that never closes runs to the end: its text must not reach the passes.
        if (e == npos) {
            e = m.size() - 1;
            last = true;
        }
        from = CutBlock(page, context.options.flag(Opt::cbDelScripts), FragmentKind::Script, s, e);
        if (last) break;
    }
    page.refreshMirror();
}

void CutServerCode(Page& page, const PassContext& context, std::u32string_view start, std::u32string_view end)
{
    FragmentKind kind = start == U"<?" ? FragmentKind::QuestionBlock : FragmentKind::PercentBlock;
    std::size_t from = 0;
    for (;;) {
        std::size_t p = FindUnquoted(page.text, start, from);
        if (p == npos) break;
        std::size_t q = FindUnquoted(page.text, end, p);
        if (q == npos) break;
        from = CutBlock(page, context.options.flag(Opt::cbDelScripts), kind, p, q + end.size() - 1);
    }
}

FoundTag FindTag(const UnitText& original, std::u32string_view word, bool checkBefore, bool checkAfter)
{
    if (original.empty() || word.empty()) return FoundTag {4};
    UnitText text = Lower(original);
    UnitText lowerWord = Lower(UnitText(word));
    std::size_t p = text.find(lowerWord);
    for (; p != npos; p = text.find(lowerWord, p + 1)) {
        if (Inkav(text, p)) continue;
        if (checkBefore && p != 0 && !IsTagNameBefore(text[p - 1])) continue;
        std::size_t after = p + lowerWord.size();
        if (checkAfter && after + 1 < text.size()) {
            Unit u = text[after];
            if (!(u == 8 || u == '\n' || u == '\r' || u == ' ' || u == '>')) continue;
        }
        break;
    }
    if (p == npos) return FoundTag {0};

    std::size_t tagStart = npos;
    int quotes = 0;
    for (std::size_t j = p; j-- > 0;) {
        if (text[j] == '<' && quotes % 2 == 0) {
            tagStart = j;
            break;
        }
        if (text[j] == '"') ++quotes;
    }
    if (tagStart == npos) return FoundTag {2};

    quotes = 0;
    for (std::size_t j = p + lowerWord.size(); j < text.size(); ++j) {
        if (text[j] == '>' && quotes % 2 == 0) return FoundTag {1, tagStart, p, j};
        if (text[j] == '"') ++quotes;
    }
    return FoundTag {3};
}

void CutCfTags(Page& page, const PassContext& context)
{
    for (;;) {
        // The first "cf" outside quoted values right after "<" or "</", searched from the start every time.
        const UnitText m = Lower(page.text);
        std::size_t p = m.find(U"cf");
        std::size_t tagStart = npos;
        for (; p != npos; p = m.find(U"cf", p + 1)) {
            if (Inkav(m, p)) continue;
            if (p >= 1 && m[p - 1] == '<')
                tagStart = p - 1;
            else if (p >= 2 && m[p - 1] == '/' && m[p - 2] == '<')
                tagStart = p - 2;
            if (tagStart != npos) break;
        }
        if (p == npos) break;
        std::size_t tagEnd = npos;
        int quotes = 0;
        for (std::size_t j = p + 2; j < m.size(); ++j) {
            if (m[j] == '>' && quotes % 2 == 0) {
                tagEnd = j;
                break;
            }
            if (m[j] == '"') ++quotes;
        }
        if (tagEnd == npos) break;
        CutBlock(page, context.options.flag(Opt::cbDelScripts), FragmentKind::ColdFusionTag, tagStart, tagEnd);
    }
}

void CutKeptText(Page& page)
{
    // Read as a browser reads the page: no such element starts inside a
    // comment, inside a tag or in raw text.
    UnitText& text = page.text;
    for (std::size_t i = text.find(U'<'); i != npos; i = text.find(U'<', i)) {
        if (text.compare(i, 4, U"<!--") == 0) {
            const std::size_t end = text.find(U"-->", i + 4);
            if (end == npos) break;
            i = end + 3;
            continue;
        }
        const bool closing = i + 1 < text.size() && text[i + 1] == '/';
        const std::size_t nameStart = i + (closing ? 2 : 1);
        if (nameStart >= text.size() || !IsAsciiLetter(text[nameStart])) {
            ++i;
            continue;
        }
        std::size_t nameEnd = nameStart;
        while (nameEnd < text.size() && !EndsTagName(text[nameEnd])) ++nameEnd;
        const UnitText name = Lower(text.substr(nameStart, nameEnd - nameStart));
        const std::size_t tagEnd = TagEnd(text, nameEnd);
        if (tagEnd == npos) break;
        i = tagEnd + 1;
        if (closing) continue;
        std::string narrowName;
        for (Unit u : name) narrowName.push_back(u > 0xFF ? '\0' : static_cast<char>(u));
        if (HoldsRawText(narrowName)) {
            i = ClosingTag(text, i, name);
            if (i == npos) break;
        } else if (KeepsItsText(narrowName)) {
            std::size_t end = narrowName == "plaintext" ? npos : ClosingTag(text, i, name);
            if (end == npos) end = text.size();
            if (end > i) end = CutBlock(page, false, FragmentKind::KeptText, i, end - 1);
            i = end;
        }
    }
    page.refreshMirror();
}

void PasteScripts(Page& page)
{
    // Each placeholder names its own fragment, and a fragment holds only the
    // placeholders of fragments cut before it, so the expansion ends. A
    // fragment whose placeholder a pass removed is simply not reached.
    UnitText result;
    result.reserve(page.text.size());
    std::vector<std::pair<const UnitText*, std::size_t>> stack {{&page.text, 0}};
    while (!stack.empty()) {
        auto& [text, at] = stack.back();
        if (at == text->size()) {
            stack.pop_back();
            continue;
        }
        Unit u = (*text)[at++];
        if (IsPlaceholder(u) && u - kPlaceholderBase < page.fragments.size())
            stack.emplace_back(&page.fragments[u - kPlaceholderBase].text, 0);
        else
            result.push_back(u);
    }
    page.text = std::move(result);
    page.fragments.clear();
    page.refreshMirror();
}

} // namespace qm::oracle
