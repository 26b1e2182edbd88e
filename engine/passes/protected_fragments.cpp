// Scripts, "<?" and "<%" blocks and ColdFusion tags, cut out in one sweep each and pasted back in one.
#include <cstring>

#include "engine/passes/passes.h"
#include "engine/passes/rewriter.h"

namespace qm::passes {
namespace {

constexpr std::size_t npos = std::string::npos;

bool EndsScriptWord(char c) { return c == 8 || c == '\r' || c == ' ' || c == '>'; }

// Takes out[from..] and input[readPoint..inputEnd) as one fragment and leaves
// its placeholder, or nothing when scripts are to be deleted.
void Cut(Rewriter& w, Page& page, const PassContext& context, FragmentKind kind, std::size_t from,
    std::size_t inputEnd)
{
    Fragment fragment{kind, std::string(w.out().substr(from)), {}};
    fragment.text.append(w.input().substr(w.readPoint(), inputEnd - w.readPoint()));
    w.truncate(from, &fragment.children);
    w.skipTo(inputEnd, &fragment.children);
    if (context.options.flag(Opt::cbDelScripts)) return;
    page.fragments.push_back(std::move(fragment));
    w.putPlaceholder(static_cast<std::uint32_t>(page.fragments.size() - 1));
}

} // namespace

void CutScripts(Page& page, const PassContext& context)
{
    Rewriter w(page, /*trackLessThan=*/true);
    const std::string_view in = w.input();
    for (;;) {
        std::size_t i = FindNoCase(in, w.readPoint(), "script");
        if (i == npos) break;
        w.copyTo(i);
        const std::size_t p = w.size();
        bool start = !w.insideQuotes() && i + 6 < in.size() && EndsScriptWord(in[i + 6]) && p >= 1 &&
                     IsTagNameBefore(w.out().back());
        std::size_t s = start ? w.nearestLessThan().position : npos;
        if (s == npos) {
            w.copy(1);
            continue;
        }
        QuoteWalker quotes(w);
        std::size_t close = FindNoCase(in, i, "/script");
        while (close != npos && quotes.insideAt(close + 1)) close = FindNoCase(in, close + 1, "/script");

        bool last = close == npos;
        std::size_t e = npos; // input index
        if (!last) {
            e = in.find('>', close + 7);
        } else if (s + 6 < p) {
            // The block's end may even lie before the word, in what is already written.
            std::size_t inOut = w.out().find('>', s + 6);
            if (inOut != npos) {
                Fragment fragment{FragmentKind::Script, std::string(w.out().substr(s, inOut - s + 1)), {}};
                std::string rest(w.out().substr(inOut + 1));
                std::vector<std::uint32_t> cut;
                w.truncate(s, &cut);
                std::size_t inBlock = 0;
                for (char c : std::string_view(fragment.text))
                    if (c == kPlaceholder) ++inBlock;
                fragment.children.assign(cut.begin(), cut.begin() + static_cast<std::ptrdiff_t>(inBlock));
                if (!context.options.flag(Opt::cbDelScripts)) {
                    page.fragments.push_back(std::move(fragment));
                    w.putPlaceholder(static_cast<std::uint32_t>(page.fragments.size() - 1));
                }
                w.putBack(rest, cut.data() + inBlock);
                break;
            }
            e = in.find('>', i);
        } else {
            e = in.find('>', i + (s + 6 - p));
        }
        // A script that never closes runs to the end: its text must not reach the passes.
        if (e == npos) {
            e = in.size() - 1;
            last = true;
        }
        Cut(w, page, context, FragmentKind::Script, s, e + 1);
        if (last) break;
    }
    w.finish();
}

void CutServerCode(Page& page, const PassContext& context, std::string_view start, std::string_view end)
{
    const FragmentKind kind = start == "<?" ? FragmentKind::QuestionBlock : FragmentKind::PercentBlock;
    Rewriter w(page);
    const std::string_view in = w.input();
    for (;;) {
        std::size_t p = in.find(start, w.readPoint());
        if (p == npos) break;
        w.copyTo(p);
        if (w.insideQuotes()) {
            w.copy(1);
            continue;
        }
        QuoteWalker quotes(w);
        std::size_t q = in.find(end, p);
        while (q != npos && quotes.insideAt(q)) q = in.find(end, q + 1);
        if (q == npos) break;
        Cut(w, page, context, kind, w.size(), q + end.size());
    }
    w.finish();
}

void CutCfTags(Page& page, const PassContext& context)
{
    Rewriter w(page);
    const std::string_view in = w.input();
    const bool deleting = context.options.flag(Opt::cbDelScripts);
    for (;;) {
        // The first "cf" outside quoted values with a tag-name neighbour before
        // it decides. A tag deleted without a placeholder joins the text around
        // it, so an occurrence may also straddle the last written character.
        std::size_t p = npos;  // in the current text
        std::size_t straddling = w.size() >= 1 && deleting && w.readPoint() < in.size() &&
                                         LowerAscii(w.out().back()) == 'c' && LowerAscii(in[w.readPoint()]) == 'f'
                                     ? w.size() - 1
                                     : npos;
        if (straddling != npos && !w.insideQuotes() && (straddling == 0 || IsTagNameBefore(w.out()[straddling - 1])))
            p = straddling;
        for (std::size_t i = p == npos ? FindNoCase(in, w.readPoint(), "cf") : npos; i != npos;
             i = FindNoCase(in, i + 1, "cf")) {
            w.copyTo(i);
            if (!w.insideQuotes() && (w.size() == 0 || IsTagNameBefore(w.out().back()))) {
                p = w.size();
                break;
            }
        }
        if (p == npos) break;

        // Its tag: the nearest "<" before it with an even number of quotes
        // between, and the nearest ">" after it likewise.
        const std::string_view out = w.out();
        std::size_t tagStart = npos;
        bool odd = false;
        for (std::size_t j = p; j-- > 0;) {
            if (out[j] == '<' && !odd) {
                tagStart = j;
                break;
            }
            if (out[j] == '"') odd = !odd;
        }
        if (tagStart == npos) break;
        std::size_t tagEnd = npos;
        odd = false;
        const std::size_t after = w.readPoint() + (p + 2 - w.size()); // input index after the word
        for (std::size_t j = after; j < in.size(); ++j) {
            if (in[j] == '>' && !odd) {
                tagEnd = j;
                break;
            }
            if (in[j] == '"') odd = !odd;
        }
        if (tagEnd == npos) break;
        Cut(w, page, context, FragmentKind::ColdFusionTag, tagStart, tagEnd + 1);
    }
    w.finish();
}

void PasteScripts(Page& page)
{
    // Each NUL stands for its own fragment; a fragment's own NULs for its
    // children. A fragment whose placeholder a pass removed is not reached.
    std::size_t total = page.text.size();
    for (const Fragment& fragment : page.fragments) total += fragment.text.size();
    std::string result = TakeSpare(page, total);
    struct Level {
        const std::string* text;
        const std::uint32_t* fragments;
        std::size_t at;
    };
    std::vector<Level> stack{{&page.text, page.placeholders.data(), 0}};
    while (!stack.empty()) {
        Level& level = stack.back();
        const std::string& text = *level.text;
        const char* data = text.data();
        const void* nul = std::memchr(data + level.at, kPlaceholder, text.size() - level.at);
        std::size_t stop = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - data) : text.size();
        result.append(data + level.at, stop - level.at);
        if (!nul) {
            stack.pop_back();
            continue;
        }
        level.at = stop + 1;
        const Fragment& fragment = page.fragments[*level.fragments++];
        stack.push_back({&fragment.text, fragment.children.data(), 0});
    }
    ReplaceText(page, std::move(result));
    page.placeholders.clear();
    page.fragments.clear();
}

} // namespace qm::passes
