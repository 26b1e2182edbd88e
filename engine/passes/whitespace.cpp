// White space and line passes, each one sweep over the text, rewriting it in place where it only shrinks.
#include <algorithm>
#include <cstring>
#include <optional>

#include "engine/passes/passes.h"
#include "engine/passes/rewriter.h"
#include "engine/passes/scan.h"
#include "engine/passes/tag_context.h"

namespace qm::passes {
namespace {

// The quoted-value state of a text being compacted in place: quotes are
// judged by the characters written before them, as the passes see them.
struct QuoteState {
    bool inside = false;
    void see(const std::string& text, std::size_t written, char c)
    {
        if (c != '"') return;
        bool escaped = written >= 1 && text[written - 1] == '\\' && !(written >= 2 && text[written - 2] == '\\');
        if (!escaped) inside = !inside;
    }
};

// Rewrites every line (ending at CR LF, CR or LF) as line(content) says:
// the part of it to keep, or nothing to drop the line. Kept lines end with
// CR LF. The text is rewritten in place while every line fits where it
// stood, which it does unless the text has a lone CR or LF or lacks a final
// line break; from such a line on the rest goes to a new buffer.
template<class Line> void RewriteLines(Page& page, Line&& line)
{
    std::string& text = page.text;
    const char* data = text.data();
    const std::size_t size = text.size();
    std::string copy;
    bool inPlace = true;
    std::size_t w = 0;
    for (std::size_t start = 0; start < size;) {
        const std::size_t end = FindAny<'\r', '\n'>(data, start, size);
        // Decided before writing: the line's own CR LF may be overwritten below.
        const std::size_t next =
            (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ? end + 2 : end + 1;
        std::optional<std::string_view> kept = line(std::string_view(data + start, end - start));
        if (kept) {
            if (inPlace && w + kept->size() + 2 > std::min(next, size)) {
                copy = TakeSpare(page, size + size / 16 + 16);
                copy.append(data, w);
                inPlace = false;
            }
            if (inPlace) {
                const std::size_t from = static_cast<std::size_t>(kept->data() - data);
                MoveDown(text.data(), w, from, from + kept->size());
                text[w++] = '\r';
                text[w++] = '\n';
            } else {
                copy.append(*kept);
                copy.append("\r\n");
            }
        }
        start = next;
    }
    if (inPlace)
        text.resize(w);
    else
        ReplaceText(page, std::move(copy));
}

} // namespace

void DelTagSpaces(Page& page)
{
    // Every run of spaces outside a quoted value and inside a tag goes when
    // an "=" stands before it or a ">" or "=" after it; a single space
    // between ">" and "<" goes when one of the two tags swallows it. Runs are
    // independent: what stands around one never changes when another goes,
    // and no quote or bracket changes its standing either. (A space right
    // after "<" never goes: "< p" is text to a browser, not a tag.)
    std::string& text = page.text;
    const std::size_t size = text.size();
    QuoteState quotes;
    TagContext tags(text);
    std::size_t w = 0;
    for (std::size_t i = 0; i < size;) {
        // Runs of spaces with no "=", ">" or "<" beside them never go: they are
        // skipped with the rest, and the quotes on the way counted. A run that
        // goes changes no quote's count (only a run after "=" may stand right
        // before a quote or a backslash, and "=" is no backslash either), so
        // the quotes count in the text as read as in the text as written.
        const std::size_t k = FindTagSpace(text.data(), i, size, w > 0 ? text[w - 1] : '\0');
        quotes.inside ^=
            QuoteParities(text.data(), i, k, w > 0 ? text[w - 1] : '\0', w > 1 ? text[w - 2] : '\0').counting;
        MoveDown(text.data(), w, i, k);
        if (k == size) break;
        // The space found is the first or the last of its run; the spaces of
        // the run before it are written already.
        std::size_t start = w;
        while (start > 0 && text[start - 1] == ' ') --start;
        std::size_t end = k;
        while (end < size && text[end] == ' ') ++end;
        const std::size_t run = w - start + end - k;
        bool drop = false;
        if (!quotes.inside) {
            const char before = start > 0 ? text[start - 1] : '\0';
            const char after = end < size ? text[end] : '\0';
            if (before == '=' || after == '>' || after == '=') {
                tags.cutBack(start);
                drop = tags.inside(start, ' ', end);
            } else if (run == 1 && before == '>' && after == '<') {
                drop = SwallowingTagEndingAt(std::string_view(text.data(), start), start - 1) ||
                    SwallowingTagAt(std::string_view(text.data() + end, size - end), 0);
            }
        }
        if (drop)
            w = start;
        else
            MoveDown(text.data(), w, k, end);
        i = end;
    }
    text.resize(w);
}

void DelSpaceBetweenTags(Page& page)
{
    // A space between two tags shows unless one of them swallows it. Such a
    // space changes no quote's count, so the quotes on the way are counted in
    // the text as read.
    std::string& text = page.text;
    const std::size_t size = text.size();
    bool inside = false;
    std::size_t w = 0;
    for (std::size_t i = 0; i < size;) {
        const std::size_t k = FindSpaceBetweenTags(text.data(), i, size);
        inside ^= QuoteParities(text.data(), i, k, w > 0 ? text[w - 1] : '\0', w > 1 ? text[w - 2] : '\0').counting;
        if (k == size) {
            MoveDown(text.data(), w, i, size);
            break;
        }
        MoveDown(text.data(), w, i, k + 1);
        i = k + 1;
        if (!inside &&
            (SwallowingTagEndingAt(std::string_view(text.data(), w), w - 1) ||
                SwallowingTagAt(std::string_view(text.data() + i + 1, size - i - 1), 0)))
            ++i;
    }
    text.resize(w);
}

void DelCRLF(Page& page)
{
    // A line break between two characters that are not white space becomes
    // a space, so the words on either side stay apart; any other goes. A
    // break that goes may join a CR before it and an LF after it into a new
    // break, which is then judged the same way.
    std::string& text = page.text;
    const std::size_t size = text.size();
    std::size_t w = 0;
    for (std::size_t i = 0; i < size;) {
        std::size_t k = FindByte(text.data(), i, size, '\r');
        MoveDown(text.data(), w, i, k);
        if (k == size) break;
        if (k + 1 >= size || text[k + 1] != '\n') {
            text[w++] = '\r';
            i = k + 1;
            continue;
        }
        i = k + 2;
        for (;;) {
            const bool separates = w > 0 && !IsPageWhiteSpace(static_cast<unsigned char>(text[w - 1])) && i < size &&
                !IsPageWhiteSpace(static_cast<unsigned char>(text[i]));
            if (separates) {
                text[w++] = ' ';
                break;
            }
            if (!(w > 0 && text[w - 1] == '\r' && i < size && text[i] == '\n')) break;
            --w;
            ++i;
        }
    }
    text.resize(w);
}

void ReplaceDoubleNbsp(Page& page, const PassContext& context)
{
    static constexpr std::string_view kPair = "&nbsp;&nbsp;";
    std::string& text = page.text;
    const std::size_t size = text.size();
    QuoteState quotes;
    std::size_t w = 0;
    for (std::size_t i = 0; i < size;) {
        // The quotes on the way are counted in the text as read: the pass changes no quote's count.
        // Found in any case, then compared as written: only lower-case entities pair.
        std::size_t k = FindNoCase(text, i, kPair);
        while (k != std::string::npos && text.compare(k, kPair.size(), kPair) != 0) k = FindNoCase(text, k + 1, kPair);
        if (k == std::string::npos) k = size;
        quotes.inside ^=
            QuoteParities(text.data(), i, k, w > 0 ? text[w - 1] : '\0', w > 1 ? text[w - 2] : '\0').counting;
        MoveDown(text.data(), w, i, k);
        if (k == size) break;
        MoveDown(text.data(), w, k, k + 6);
        if (quotes.inside && !context.options.flag(Opt::cbReplaceDoubleNbspInKav)) {
            // Left as it is; its second entity may still start a pair of its own.
            i = k + 6;
        } else {
            text[w++] = ' ';
            i = k + 12;
        }
    }
    text.resize(w);
}

void DelAllTabs(Page& page)
{
    // A run of tabs between two characters that are not white space becomes
    // one space, so the words on either side stay apart; any other goes.
    std::string& text = page.text;
    const std::size_t size = text.size();
    std::size_t w = 0;
    for (std::size_t i = 0; i < size;) {
        std::size_t k = FindByte(text.data(), i, size, '\t');
        MoveDown(text.data(), w, i, k);
        if (k == size) break;
        std::size_t end = k;
        while (end < size && text[end] == '\t') ++end;
        if (w > 0 && !IsPageWhiteSpace(static_cast<unsigned char>(text[w - 1])) && end < size &&
            !IsPageWhiteSpace(static_cast<unsigned char>(text[end])))
            text[w++] = ' ';
        i = end;
    }
    text.resize(w);
}

void DelTabLine(Page& page)
{
    RewriteLines(page, [](std::string_view line) -> std::optional<std::string_view> {
        if (!line.empty() && std::all_of(line.begin(), line.end(), IsBlank)) return std::nullopt;
        return line;
    });
}

void ReplaceDoubleSpaces(Page& page, const PassContext& context)
{
    std::string& text = page.text;
    const std::size_t size = text.size();
    bool quoted = false;
    std::size_t w = 0;
    for (std::size_t i = 0; i < size;) {
        // Every quote flips the flag here, escaped or not: their parity on the way is all it needs.
        const std::size_t k = FindSpacePair(text.data(), i, size);
        quoted ^= QuoteParities(text.data(), i, k, '\0', '\0').all;
        MoveDown(text.data(), w, i, k);
        if (k == size) break;
        // A run of spaces: the first stays, the others go unless inside quotes.
        std::size_t end = k;
        while (end < size && text[end] == ' ') ++end;
        if (!quoted || context.options.flag(Opt::cbReplaceDoubleSpacesInKav)) {
            text[w++] = ' ';
        } else {
            MoveDown(text.data(), w, k, end);
        }
        i = end;
    }
    text.resize(w);
}

void DelBegEndSpace(Page& page)
{
    RewriteLines(page, [](std::string_view line) -> std::optional<std::string_view> {
        std::size_t first = 0;
        while (first < line.size() && IsBlank(line[first])) ++first;
        std::size_t last = line.size();
        while (last > first && IsBlank(line[last - 1])) --last;
        return line.substr(first, last - first);
    });
}

void DelEmptyLine(Page& page)
{
    RewriteLines(page, [](std::string_view line) -> std::optional<std::string_view> {
        if (line.empty()) return std::nullopt;
        return line;
    });
}

} // namespace qm::passes
