// The quote pass in one sweep: quote pairs in order, the needless ones dropped in place.
#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "engine/attribute_values.h"
#include "engine/passes/passes.h"
#include "engine/passes/scan.h"
#include "engine/passes/tag_context.h"

namespace qm::passes {
namespace {

// What may follow an unquoted value without becoming part of it.
bool EndsUnquotedValue(std::string_view text, std::size_t at)
{
    if (at >= text.size()) return true;
    char c = text[at];
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '>';
}

// Where an attribute's name cannot reach back past; a NUL stands for a cut fragment.
bool BoundsAttributeName(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '<' || c == '>' || c == '"' || c == kPlaceholder;
}

// Whether an attribute of this name (in any case) may go when its value is
// empty. It allocates nothing: it runs while the text is being compacted.
bool EmptyMeansNothing(std::string_view name)
{
    char lower[16];
    const std::size_t n = std::min(name.size(), sizeof lower);
    for (std::size_t k = 0; k < n; ++k) lower[k] = LowerAscii(name[k]);
    if (n >= 2 && lower[0] == 'o' && lower[1] == 'n') return name.size() > 2; // event handlers, however long
    return name.size() <= sizeof lower && EmptyValueMeansNothing(std::string_view(lower, n));
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    return lower;
}

} // namespace

void DelKav(Page& page, const PassContext& context)
{
    std::unordered_set<std::string> align;
    std::size_t longest = 0;
    for (const std::string& word : context.data.alignWords) {
        align.insert(Lower(word));
        longest = std::max(longest, word.size());
    }
    // Everything that may fail is done before the text is touched: the
    // compaction below allocates nothing, so it runs to its end.
    std::string lowered;
    lowered.reserve(longest);
    bool firstBytes[256] = {}; // the words' first bytes, in lower case
    for (const std::string& word : align)
        if (!word.empty()) firstBytes[static_cast<unsigned char>(word[0])] = true;
    auto listed = [&](std::string_view value) {
        if (value.empty() || value.size() > longest || !firstBytes[static_cast<unsigned char>(LowerAscii(value[0]))])
            return false;
        lowered.assign(value);
        std::transform(lowered.begin(), lowered.end(), lowered.begin(), LowerAscii);
        return align.count(lowered) > 0;
    };

    // Quotes pair in order; every decision depends on the text before the
    // pair as rewritten so far and on the input after it, so the text can be
    // compacted in place.
    std::string& text = page.text;
    const std::size_t size = text.size();
    TagContext tags(text);
    std::size_t w = 0;
    std::size_t i = 0;
    while (i < size) {
        const char* data = text.data();
        // Quotes stand a few bytes apart: found inline rather than by a library call.
        const std::size_t p = FindByte(data, i, size, '"');
        MoveDown(text.data(), w, i, p);
        i = p;
        if (p == size) break;
        const std::size_t q = FindByte(data, p + 1, size, '"');
        if (q == size) {
            // A quote without a partner pairs with nothing and changes nothing.
            MoveDown(text.data(), w, p, size);
            break;
        }
        // Only a value written right after "=" inside a tag belongs to an
        // attribute; quotes in body text or style sheets are what the reader sees.
        const bool attributeValue = w >= 1 && text[w - 1] == '=';
        const bool empty = q == p + 1;
        if (empty && attributeValue && context.options.flag(Opt::cbDelEmptyPar)) {
            std::size_t s = w - 1;
            while (s > 1 && !BoundsAttributeName(text[s])) --s;
            const std::size_t nameLength = w - 1 > s + 1 ? w - 1 - (s + 1) : 0;
            if (EmptyMeansNothing(std::string_view(text).substr(s + 1, nameLength)) && tags.inside(w, '"', q + 1)) {
                w = s + 1;
                tags.cutBack(w);
                i = q + 1;
                continue;
            }
        }
        // The cheap tests first: most values are no attribute's or need their quotes.
        const std::string_view value(data + p + 1, q - p - 1);
        auto safe = [&] {
            return ((!value.empty() && IsNum(value)) || Ishex(value) || listed(value)) &&
                value.find(kPlaceholder) == std::string_view::npos;
        };
        if (attributeValue && EndsUnquotedValue(text, q + 1) && safe() && tags.inside(w, '"', q + 1)) {
            MoveDown(text.data(), w, p + 1, q);
        } else {
            MoveDown(text.data(), w, p, q + 1);
        }
        i = q + 1;
    }
    text.resize(w);
}

} // namespace qm::passes
