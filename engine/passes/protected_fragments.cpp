// Scripts, "<?" and "<%" blocks, ColdFusion tags and text shown as written, cut out in one sweep each and pasted back
// in one.
#include <cstring>

#include "engine/html_rules.h"
#include "engine/passes/passes.h"
#include "engine/passes/rewriter.h"
#include "engine/passes/scan.h"

namespace qm::passes {
namespace {

constexpr std::size_t npos = std::string::npos;

// Takes out[from..] and input[readPoint..inputEnd) as one fragment and leaves
// its placeholder, or nothing when scripts are to be deleted.
void Cut(Rewriter& w, Page& page, bool deleting, FragmentKind kind, std::size_t from, std::size_t inputEnd)
{
    Fragment fragment {kind, std::string(w.out().substr(from)), {}};
    fragment.text.append(w.input().substr(w.readPoint(), inputEnd - w.readPoint()));
    w.truncate(from, &fragment.children);
    w.skipTo(inputEnd, &fragment.children);
    if (deleting) return;
    page.fragments.push_back(std::move(fragment));
    w.putPlaceholder(static_cast<std::uint32_t>(page.fragments.size() - 1));
}

// Where a tag that starts at `from` (just after its name) ends: the first
// ">" outside a quoted attribute value, or npos. A quote opens a value when
// the last byte before it that is no white space is "=".
std::size_t TagEnd(std::string_view in, std::size_t from)
{
    const char* data = in.data();
    const std::size_t size = in.size();
    std::size_t seen = from; // bytes before this were looked at already...
    char lastSeen = 0; // ...and this is the last of them that is no white space
    for (std::size_t j = FindAny<'>', '"', '\''>(data, from, size); j < size;
         j = FindAny<'>', '"', '\''>(data, j + 1, size)) {
        if (data[j] == '>') return j;
        for (std::size_t p = j; p > seen;) {
            if (!IsPageWhiteSpace(static_cast<unsigned char>(data[--p]))) {
                lastSeen = data[p];
                break;
            }
        }
        if (lastSeen == '=') {
            const std::size_t close = FindByte(data, j + 1, size, data[j]);
            if (close == size) return npos;
            j = close;
        }
        seen = j + 1;
        lastSeen = data[j];
    }
    return npos;
}

// The first "</name" from `from` on that closes the element `name`, or npos.
std::size_t ClosingTag(std::string_view in, std::size_t from, std::string_view name)
{
    for (std::size_t j = in.find("</", from); j != npos; j = in.find("</", j + 1)) {
        const std::size_t after = j + 2 + name.size();
        if (MatchesNoCase(in, j + 2, name) &&
            (after == in.size() || EndsTagName(static_cast<unsigned char>(in[after]))))
            return j;
    }
    return npos;
}

} // namespace

void CutScripts(Page& page, const PassContext& context)
{
    Rewriter w(page);
    const std::string_view in = w.input();
    for (;;) {
        std::size_t i = FindNoCase(in, w.readPoint(), "script");
        if (i == npos) break;
        w.copyTo(i);
        // Only "<script" followed by what may end a tag's name opens a script:
        // the word in body text ("a shell script") is text.
        const std::size_t p = w.size();
        if (w.insideQuotes() || p == 0 || w.out().back() != '<' || i + 6 >= in.size() || !EndsTagName(in[i + 6])) {
            w.copy(1);
            continue;
        }
        QuoteWalker quotes(w);
        std::size_t close = FindNoCase(in, i, "/script");
        while (close != npos && quotes.insideAt(close + 1)) close = FindNoCase(in, close + 1, "/script");
        bool last = close == npos;
        std::size_t e = in.find('>', last ? i + 6 : close + 7);
        // A script that never closes runs to the end: its text must not reach the passes.
        if (e == npos) {
            e = in.size() - 1;
            last = true;
        }
        Cut(w, page, context.options.flag(Opt::cbDelScripts), FragmentKind::Script, p - 1, e + 1);
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
        // The markers hold no letters: this is a plain search, two bytes at a time.
        std::size_t p = FindNoCase(in, w.readPoint(), start);
        if (p == npos) break;
        w.copyTo(p);
        if (w.insideQuotes()) {
            w.copy(1);
            continue;
        }
        QuoteWalker quotes(w);
        std::size_t q = FindNoCase(in, p, end);
        while (q != npos && quotes.insideAt(q)) q = FindNoCase(in, q + 1, end);
        if (q == npos) break;
        Cut(w, page, context.options.flag(Opt::cbDelScripts), kind, w.size(), q + end.size());
    }
    w.finish();
}

void CutCfTags(Page& page, const PassContext& context)
{
    Rewriter w(page);
    const std::string_view in = w.input();
    // The "<" (or "</") right before "cf" in what is written, or npos.
    auto tagStartBefore = [&](std::size_t word) -> std::size_t {
        const std::string_view out = w.out();
        if (word >= 1 && out[word - 1] == '<') return word - 1;
        if (word >= 2 && out[word - 1] == '/' && out[word - 2] == '<') return word - 2;
        return npos;
    };
    for (;;) {
        // A tag deleted without a placeholder joins the text around it, so an
        // occurrence may straddle the last written character.
        std::size_t word = npos; // in the current text
        std::size_t after = npos; // input index after the word
        if (w.size() >= 2 && w.readPoint() < in.size() && LowerAscii(w.out().back()) == 'c' &&
            LowerAscii(in[w.readPoint()]) == 'f' && !w.insideQuotes() && tagStartBefore(w.size() - 1) != npos) {
            word = w.size() - 1;
            after = w.readPoint() + 1;
        }
        for (std::size_t i = word == npos ? FindNoCase(in, w.readPoint(), "cf") : npos; i != npos;
             i = FindNoCase(in, i + 1, "cf")) {
            w.copyTo(i);
            if (!w.insideQuotes() && tagStartBefore(w.size()) != npos) {
                word = w.size();
                after = i + 2;
                break;
            }
        }
        if (word == npos) break;
        const std::size_t tagStart = tagStartBefore(word);
        // Its end: the nearest ">" after the word with an even number of quotes between.
        std::size_t tagEnd = npos;
        bool odd = false;
        for (std::size_t j = after; j < in.size(); ++j) {
            if (in[j] == '>' && !odd) {
                tagEnd = j;
                break;
            }
            if (in[j] == '"') odd = !odd;
        }
        if (tagEnd == npos) break;
        Cut(w, page, context.options.flag(Opt::cbDelScripts), FragmentKind::ColdFusionTag, tagStart, tagEnd + 1);
    }
    w.finish();
}

void CutKeptText(Page& page)
{
    // The page is read as a browser reads it, as far as it takes to find the
    // elements that keep their text: comments, the insides of tags and raw
    // text (style sheets) hold no such element.
    Rewriter w(page);
    const std::string_view in = w.input();
    const char* data = in.data();
    const std::size_t size = in.size();
    for (std::size_t i = FindByte(data, 0, size, '<'); i < size; i = FindByte(data, i, size, '<')) {
        if (i + 3 < size && data[i + 1] == '!' && data[i + 2] == '-' && data[i + 3] == '-') {
            const std::size_t end = in.find("-->", i + 4);
            if (end == npos) break;
            i = end + 3;
            continue;
        }
        const bool closing = i + 1 < size && data[i + 1] == '/';
        const std::size_t nameStart = i + (closing ? 2 : 1);
        if (nameStart >= size || !IsAsciiLetter(static_cast<unsigned char>(data[nameStart]))) {
            ++i;
            continue;
        }
        // Only short names matter: the longest of them is "plaintext".
        char lower[10];
        std::size_t length = 0;
        std::size_t nameEnd = nameStart;
        for (; nameEnd < size && !EndsTagName(static_cast<unsigned char>(data[nameEnd])); ++nameEnd)
            if (length < sizeof lower) lower[length++] = LowerAscii(data[nameEnd]);
        const std::size_t tagEnd = TagEnd(in, nameEnd);
        if (tagEnd == npos) break;
        i = tagEnd + 1;
        if (closing || nameEnd - nameStart > sizeof lower - 1) continue;
        const std::string_view name(lower, length);
        if (HoldsRawText(name)) {
            i = ClosingTag(in, i, name);
            if (i == npos) break;
        } else if (KeepsItsText(name)) {
            std::size_t end = name == "plaintext" ? npos : ClosingTag(in, i, name);
            if (end == npos) end = size;
            if (end > i) {
                w.copyTo(i);
                Cut(w, page, false, FragmentKind::KeptText, w.size(), end);
            }
            i = end;
        }
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
    std::vector<Level> stack {{&page.text, page.placeholders.data(), 0}};
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
