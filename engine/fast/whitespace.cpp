// White space and line passes, each one sweep over the text, rewriting it in place where it only shrinks.
#include <algorithm>
#include <cstring>

#include "engine/fast/passes.h"

namespace qm::fast {
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

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Calls line(begin, end) for every line, where a line ends at CR LF, CR or LF;
// the text is rebuilt with CR LF after every line that line() keeps.
template <class Keep> void RewriteLines(std::string& text, Keep&& keep)
{
    std::string result;
    result.reserve(text.size() + 16);
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t start = 0;
    while (start < size) {
        std::size_t end = start;
        while (end < size && data[end] != '\r' && data[end] != '\n') ++end;
        std::string_view line(data + start, end - start);
        if (keep(line)) {
            result.append(line);
            result.append("\r\n");
        }
        if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n')
            start = end + 2;
        else
            start = end + 1;
    }
    text = std::move(result);
}

} // namespace

void DelTagSpaces(Page& page)
{
    // Every run of spaces outside a quoted value goes when a "<" or "=" stands
    // before it or a ">" or "=" after it; a single space between ">" and "<"
    // goes too. Runs are independent: what stands around one never changes
    // when another goes, and no quote changes its standing either.
    std::string& text = page.text;
    const std::size_t size = text.size();
    QuoteState quotes;
    std::size_t w = 0;
    for (std::size_t i = 0; i < size;) {
        char c = text[i];
        if (c != ' ') {
            quotes.see(text, w, c);
            text[w++] = c;
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < size && text[end] == ' ') ++end;
        const std::size_t run = end - i;
        bool drop = false;
        if (!quotes.inside) {
            char before = w > 0 ? text[w - 1] : '\0';
            char after = end < size ? text[end] : '\0';
            bool hasBefore = w > 0;
            bool hasAfter = end < size;
            drop = (hasBefore && (before == '<' || before == '=')) || (hasAfter && (after == '>' || after == '=')) ||
                   (run == 1 && hasBefore && hasAfter && before == '>' && after == '<');
        }
        if (!drop) {
            std::memmove(&text[w], &text[i], run);
            w += run;
        }
        i = end;
    }
    text.resize(w);
}

void DelSpaceBetweenTags(Page& page)
{
    std::string& text = page.text;
    const std::size_t size = text.size();
    QuoteState quotes;
    std::size_t w = 0;
    for (std::size_t i = 0; i < size; ++i) {
        char c = text[i];
        if (c == ' ' && !quotes.inside && w > 0 && text[w - 1] == '>' && i + 1 < size && text[i + 1] == '<') continue;
        quotes.see(text, w, c);
        text[w++] = c;
    }
    text.resize(w);
}

void DelCRLF(Page& page)
{
    std::string& text = page.text;
    std::size_t w = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            text[w++] = ' ';
            ++i;
        } else {
            text[w++] = text[i];
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
        char c = text[i];
        if (c == '&' && std::string_view(text).compare(i, kPair.size(), kPair) == 0) {
            if (quotes.inside && !context.options.flag(Opt::cbReplaceDoubleNbspInKav)) {
                // Left as it is; its second entity may still start a pair of its own.
                std::memmove(&text[w], &text[i], 6);
                w += 6;
                i += 6;
            } else {
                std::memmove(&text[w], &text[i], 6);
                w += 6;
                text[w++] = ' ';
                i += 12;
            }
            continue;
        }
        quotes.see(text, w, c);
        text[w++] = c;
        ++i;
    }
    text.resize(w);
}

void DelAllTabs(Page& page) { std::erase(page.text, '\t'); }

void DelTabLine(Page& page)
{
    RewriteLines(page.text, [](std::string_view line) {
        return line.empty() || !std::all_of(line.begin(), line.end(), IsBlank);
    });
}

void ReplaceDoubleSpaces(Page& page, const PassContext& context)
{
    std::string& text = page.text;
    bool quoted = false;
    std::size_t w = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == ' ' && w > 0 && text[w - 1] == ' ' &&
            (!quoted || context.options.flag(Opt::cbReplaceDoubleSpacesInKav)))
            continue;
        if (c == '"') quoted = !quoted;
        text[w++] = c;
    }
    text.resize(w);
}

void DelBegEndSpace(Page& page)
{
    std::string& text = page.text;
    std::string result;
    result.reserve(text.size() + 16);
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t start = 0;
    while (start < size) {
        std::size_t end = start;
        while (end < size && data[end] != '\r' && data[end] != '\n') ++end;
        std::size_t first = start;
        while (first < end && IsBlank(data[first])) ++first;
        std::size_t last = end;
        while (last > first && IsBlank(data[last - 1])) --last;
        result.append(data + first, last - first);
        result.append("\r\n");
        start = (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ? end + 2 : end + 1;
    }
    text = std::move(result);
}

void DelEmptyLine(Page& page)
{
    RewriteLines(page.text, [](std::string_view line) { return !line.empty(); });
}

} // namespace qm::fast
