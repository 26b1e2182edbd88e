// Scripts, "<?" and "<%" blocks and ColdFusion tags leave the page before the passes and come back unchanged.
#include "tests/oracle/protected_fragments.h"

#include <utility>

namespace qm::oracle {
namespace {

constexpr auto npos = UnitText::npos;

// Takes [first, last] out of the page; keeps it and leaves a placeholder
// unless scripts are to be deleted. Returns where the search goes on.
std::size_t CutBlock(Page& page, const PassContext& context, FragmentKind kind, std::size_t first, std::size_t last)
{
    UnitText block = page.text.substr(first, last - first + 1);
    EraseBoth(page, first, last);
    if (context.options.flag(Opt::cbDelScripts)) return first;
    page.fragments.push_back(Fragment {kind, std::move(block)});
    InsertBoth(page, first, kPlaceholderBase + static_cast<Unit>(page.fragments.size() - 1));
    return first + 1;
}

bool EndsScriptWord(Unit u) { return u == 8 || u == '\r' || u == ' ' || u == '>'; }

// The first occurrence at or after `from` that is not inside a quoted value,
// judged at the occurrence's index plus `judgeOffset`.
std::size_t FindUnquoted(const UnitText& text, std::u32string_view what, std::size_t from, std::size_t judgeOffset = 0)
{
    std::size_t at = text.find(what, from);
    while (at != npos && Inkav(text, at + judgeOffset)) at = text.find(what, at + 1);
    return at;
}

} // namespace

void CutScripts(Page& page, const PassContext& context)
{
    std::size_t from = 0;
    for (;;) {
        std::size_t p = page.mirror.find(U"script", from);
        if (p == npos) break;
        const UnitText& m = page.mirror;
        bool start =
            !Inkav(m, p) && p + 6 < m.size() && EndsScriptWord(m[p + 6]) && p >= 1 && IsTagNameBefore(m[p - 1]);
        // Without a "<" before it the word opens no tag, so nothing is cut for it.
        std::size_t s = start ? m.rfind(U'<', p - 1) : npos;
        if (s == npos) {
            from = p + 1;
            continue;
        }
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
        from = CutBlock(page, context, FragmentKind::Script, s, e);
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
        from = CutBlock(page, context, kind, p, q + end.size() - 1);
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
        FoundTag tag = FindTag(page.text, U"cf", true, false);
        if (tag.status != 1) break;
        CutBlock(page, context, FragmentKind::ColdFusionTag, tag.tagStart, tag.tagEnd);
    }
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
