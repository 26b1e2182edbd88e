// Comment removal with its four keep rules: style, script, enclosing style tag, SSI command.
#include "tests/oracle/comments.h"

#include <algorithm>

namespace qm::oracle {
namespace {

constexpr auto npos = UnitText::npos;

bool HoldsScriptPlaceholder(const Page& page, std::size_t first, std::size_t end)
{
    for (std::size_t i = first; i < end; ++i) {
        Unit u = page.text[i];
        if (IsPlaceholder(u) && page.fragments[u - kPlaceholderBase].kind == FragmentKind::Script) return true;
    }
    return false;
}

// "style" outside a quoted value, quotes counted from the body's own start.
bool BodyMentionsStyle(const UnitText& body)
{
    UnitText lower = Lower(body);
    for (std::size_t at = lower.find(U"style"); at != npos; at = lower.find(U"style", at + 1))
        if (!Inkav(lower, at)) return true;
    return false;
}

// The name of the tag that encloses the comment starting at s, if any.
bool EnclosingTagIsStyle(const Page& page, std::size_t s)
{
    const UnitText& text = page.text;
    if (s == 0) return false;
    bool inside = Inkav(text, s);
    std::size_t j = s;
    for (;;) {
        --j;
        if (text[j] == '"') inside = !inside;
        if (j == 0) break;
        if (j >= 1 && page.mirror[j] == '<' && !inside) break;
    }
    if (j == 0 && text[0] != '<') return false;

    // The name walks stop at the second-to-last character.
    const std::size_t limit = text.size() >= 2 ? text.size() - 2 : 0;
    std::size_t k = j + 1;
    std::size_t nameStart = npos;
    for (; k <= limit && k < text.size(); ++k) {
        if (!inside && text[k] != ' ') {
            nameStart = k;
            break;
        }
        if (text[k] == '"') inside = !inside;
    }
    if (nameStart == npos) return false;
    for (; k <= limit; ++k) {
        if (!inside && (text[k] == ' ' || text[k] == '>')) break;
        if (text[k] == '"') inside = !inside;
    }
    return page.mirror.compare(nameStart, k - nameStart, U"style") == 0 && k - nameStart == 5;
}

UnitText FirstWord(const UnitText& text, std::size_t s, std::size_t g)
{
    std::size_t stop = g >= 2 ? g - 2 : 0;
    std::size_t space = text.find(U' ', s + 5);
    if (space != npos) stop = std::min(stop, space);
    if (stop <= s + 4) return {};
    UnitText word = Lower(text.substr(s + 4, stop - (s + 4)));
    std::size_t first = 0;
    while (first < word.size() && word[first] <= 32) ++first;
    std::size_t last = word.size();
    while (last > first && word[last - 1] <= 32) --last;
    return word.substr(first, last - first);
}

bool IsSsiCommand(const UnitText& word, const EngineData& data)
{
    for (const std::string& entry : data.ssiCommands)
        if (Lower(Widen(entry)) == word) return true;
    return false;
}

} // namespace

void DelComments(Page& page, const PassContext& context)
{
    const TOptionSet& options = context.options;
    // Closing "--" of comments that stayed; no later comment may end there.
    std::vector<std::size_t> keptClosings;

    std::size_t from = 0;
    for (;;) {
        std::size_t p = page.mirror.find(U"!--", from);
        if (p == npos) break;
        if (Inkav(page.mirror, p)) {
            from = p + 1;
            continue;
        }
        // An "!--" with no "<" before it opens no comment; removing from
        // nowhere would take visible text with it.
        std::size_t s = p == 0 ? npos : page.mirror.rfind(U'<', p - 1);
        if (s == npos) {
            from = p + 1;
            continue;
        }
        const std::size_t b = p + 3;
        std::size_t q = page.mirror.find(U"--", b);
        while (q != npos &&
            (Inkav(page.mirror, q + 1) || std::find(keptClosings.begin(), keptClosings.end(), q) != keptClosings.end()))
            q = page.mirror.find(U"--", q + 1);
        const bool closed = q != npos;
        // Without a ">" after it the comment has no end; it stays, and so does
        // everything after it, as no ">" follows anywhere.
        std::size_t g = page.mirror.find(U'>', closed ? q + 2 : p + 4);
        if (g == npos) break;

        std::size_t bodyEnd = closed ? q : b;
        bool keep = (options.flag(Opt::cbIsScript) && HoldsScriptPlaceholder(page, b, bodyEnd)) ||
            (options.flag(Opt::cbIsStyle) && BodyMentionsStyle(page.text.substr(b, bodyEnd - b))) ||
            (options.flag(Opt::cbOuttag) && EnclosingTagIsStyle(page, s)) ||
            (options.flag(Opt::cbSsi) && IsSsiCommand(FirstWord(page.text, s, g), context.data));
        if (keep) {
            if (closed) keptClosings.push_back(q);
            from = p + 1;
        } else {
            EraseBoth(page, s, g);
            const std::size_t removed = g - s + 1;
            std::erase_if(keptClosings, [&](std::size_t at) { return at >= s && at <= g; });
            for (std::size_t& at : keptClosings)
                if (at > g) at -= removed;
            from = s;
        }
        if (!closed) break;
    }
}

} // namespace qm::oracle
