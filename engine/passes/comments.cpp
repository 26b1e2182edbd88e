// Comment removal in one sweep, with the four keep rules.
#include <algorithm>
#include <set>
#include <unordered_set>

#include "engine/passes/passes.h"
#include "engine/passes/rewriter.h"

namespace qm::passes {
namespace {

constexpr std::size_t npos = std::string::npos;

// "style" outside a quoted value, quotes counted from the body's own start.
bool BodyMentionsStyle(std::string_view body)
{
    bool inside = false;
    for (std::size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        if (c == '"' && QuoteCounts(body, i)) inside = !inside;
        if (!inside && (c | 0x20) == 's' && MatchesNoCase(body, i, "style")) {
            // The quote state at i is the one before i: c itself is no quote here.
            return true;
        }
    }
    return false;
}

// The current text: what the rewriter has written, then the unread input.
class CurrentText {
public:
    explicit CurrentText(const Rewriter& w)
        : w_(w)
    {
    }
    std::size_t size() const { return w_.size() + w_.input().size() - w_.readPoint(); }
    char operator[](std::size_t k) const
    {
        return k < w_.size() ? w_.out()[k] : w_.input()[w_.readPoint() + k - w_.size()];
    }

private:
    const Rewriter& w_;
};

// Whether the tag enclosing a comment that starts at the "<" s is a style tag.
bool EnclosingTagIsStyle(const Rewriter& w, const Rewriter::LessThan& s)
{
    if (s.position == 0) return false;
    const CurrentText text(w);
    // Walking back from s, the quote state flips at every quote; the walk
    // stops at the first "<" met outside, which is the nearest "<" whose
    // count of quotes before it has the parity that makes the state outside.
    const bool parity = s.allOddBefore != s.insideBefore;
    std::size_t j = w.lessThanBelow(s.position, parity);
    bool inside = false;
    if (j == npos || j == 0) {
        if (text[0] != '<') return false;
        j = 0;
        inside = s.insideBefore != s.allOddBefore;
    }
    // The name: from the first character outside quotes that is no space, to
    // the next space or ">" outside; neither walk passes the second-to-last character.
    const std::size_t size = text.size();
    if (size < 2) return false;
    const std::size_t limit = size - 2;
    std::size_t k = j + 1;
    std::size_t nameStart = npos;
    for (; k <= limit; ++k) {
        char c = text[k];
        if (!inside && c != ' ') {
            nameStart = k;
            break;
        }
        if (c == '"') inside = !inside;
    }
    if (nameStart == npos) return false;
    for (; k <= limit; ++k) {
        char c = text[k];
        if (!inside && (c == ' ' || c == '>')) break;
        if (c == '"') inside = !inside;
        if (k - nameStart >= 5) return false; // longer than "style"
    }
    if (k - nameStart != 5) return false;
    for (std::size_t m = 0; m < 5; ++m)
        if (LowerAscii(text[nameStart + m]) != "style"[m]) return false;
    return true;
}

// The comment's first word: from s+4 to the smaller of g-2 and the first
// space from s+5 on, lower-cased and trimmed of characters up to 32.
bool FirstWordIsSsiCommand(
    const Rewriter& w, std::size_t s, std::size_t g, const std::unordered_set<std::string>& ssi, std::size_t longest)
{
    const CurrentText text(w);
    std::size_t stop = g >= 2 ? g - 2 : 0;
    std::string word;
    std::size_t leading = 0; // characters up to 32 before the first one above 32
    for (std::size_t k = s + 4; k < stop; ++k) {
        char c = text[k];
        if (k >= s + 5 && c == ' ') break;
        // A word holding a cut fragment is no command word.
        if (c == kPlaceholder) return false;
        bool blank = static_cast<unsigned char>(c) <= 32;
        if (blank && leading == word.size()) ++leading;
        // A word whose trimmed core already outgrows every entry can match none.
        if (!blank && word.size() - leading + 1 > longest) return false;
        word.push_back(LowerAscii(c));
    }
    std::size_t first = 0;
    while (first < word.size() && static_cast<unsigned char>(word[first]) <= 32) ++first;
    std::size_t last = word.size();
    while (last > first && static_cast<unsigned char>(word[last - 1]) <= 32) --last;
    if (last - first > longest) return false;
    return ssi.count(word.substr(first, last - first)) > 0;
}

} // namespace

void DelComments(Page& page, const PassContext& context)
{
    const TOptionSet& options = context.options;
    std::unordered_set<std::string> ssi;
    std::size_t longest = 0;
    for (const std::string& entry : context.data.ssiCommands) {
        std::string lower(entry);
        std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
        longest = std::max(longest, lower.size());
        ssi.insert(std::move(lower));
    }

    Rewriter w(page, /*trackLessThan=*/true);
    const std::string_view in = w.input();
    std::set<std::size_t> keptClosings; // input positions of the closing "--" of comments that stayed
    for (;;) {
        std::size_t p = in.find("!--", w.readPoint());
        if (p == npos) break;
        w.copyTo(p);
        if (w.insideQuotes()) {
            w.copy(1);
            continue;
        }
        // An "!--" with no "<" before it opens no comment; removing from
        // nowhere would take visible text with it.
        const Rewriter::LessThan s = w.nearestLessThan();
        if (s.position == npos) {
            w.copy(1);
            continue;
        }
        const std::size_t b = p + 3;
        QuoteWalker quotes(w);
        std::size_t q = in.find("--", b);
        while (q != npos && (quotes.insideAt(q + 1) || keptClosings.count(q))) q = in.find("--", q + 1);
        const bool closed = q != npos;
        // Without a ">" after it the comment has no end; it stays, and so does
        // everything after it, as no ">" follows anywhere.
        const std::size_t g = in.find('>', closed ? q + 2 : p + 4);
        if (g == npos) break;

        const std::size_t bodyEnd = closed ? q : b;
        auto holdsScript = [&] {
            for (std::uint32_t id : w.inputFragments(b, bodyEnd))
                if (page.fragments[id].kind == FragmentKind::Script) return true;
            return false;
        };
        const std::size_t gInText = w.size() + (g - p);
        bool keep = (options.flag(Opt::cbIsScript) && holdsScript()) ||
            (options.flag(Opt::cbIsStyle) && BodyMentionsStyle(in.substr(b, bodyEnd - b))) ||
            (options.flag(Opt::cbOuttag) && EnclosingTagIsStyle(w, s)) ||
            (options.flag(Opt::cbSsi) && !ssi.empty() && FirstWordIsSsiCommand(w, s.position, gInText, ssi, longest));
        if (keep) {
            if (closed) keptClosings.insert(q);
            w.copy(1);
        } else {
            w.truncate(s.position);
            w.skipTo(g + 1);
        }
        if (!closed) break;
    }
    w.finish();
}

} // namespace qm::passes
