// All the calls of a tag step in one sweep over the page, where no call's change can touch another's occurrences.
#include <algorithm>
#include <bit>
#include <cstring>
#include <exception>
#include <limits>

#include "engine/passes/passes.h"
#include "engine/passes/rewriter.h"
#include "engine/passes/scan.h"

namespace qm::passes {
namespace {

constexpr std::size_t npos = std::string::npos;

// What may stand after an accepted occurrence: backspace, CR, space, ">".
bool EndsTagWord(char c) { return c == 8 || c == '\r' || c == ' ' || c == '>'; }
// What may stand before or after one. A text free of them is found only
// where it is a whole token: the run after a "before" byte up to the next of these.
bool IsNeighbour(char c) { return IsTagNameBefore(c) || c == '>'; }

bool HoldsAny(std::string_view text, std::string_view bytes) { return text.find_first_of(bytes) != npos; }

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    return lower;
}

// Bits [from, to) of a 64-bit mask.
std::uint64_t Bits(unsigned from, unsigned to)
{
    const std::uint64_t below = to >= 64 ? ~std::uint64_t {0} : (std::uint64_t {1} << to) - 1;
    return from >= 64 ? 0 : below & ~((std::uint64_t {1} << from) - 1);
}

} // namespace

// Why one sweep gives what the calls give one by one.
//
// A call accepts an occurrence at x of its text (n bytes) when no odd
// number of counting quotes stands before x, a "before" byte stands at x-1
// and an "after" byte at x+n, and, with P(j) the parity of all quotes before
// j, the nearest bracket before x with P(j) = P(x) is a "<" and the nearest
// after x with P(j) = P(x) is a ">": the two walks with a quote flag. Call
// that pair of brackets the occurrence's tag; all its occurrences share it.
//
// The list allows the sweep when every text is free of neighbour bytes (so
// an occurrence that may be accepted is a whole token, and no two overlap),
// begins with no quote or backslash (so an occurrence left alone, its first
// byte hidden, changes no quote and no bracket), every replacement and the
// text it replaces hold no quote and no backslash either (so a replacement
// changes nothing any other occurrence is judged by), and no replacement is
// the text of a later call (so no change makes an occurrence a later call
// would find; an earlier call's text that a replacement puts in is what the
// calls one by one leave too, as the earlier call is done by then).
//
// A removal takes a whole tag [s, e]. The sweep makes it only when it
// changes nothing any other occurrence is judged by: no bracket and no
// backslash inside it (its quotes, even in number, all count), in its own
// quote class not a "<" before it and a ">" after it, nor around a row of
// removed tags, with a call's text between (it would be in a tag then), no
// backslash before it (no quote after it changes its count), and no word
// that grows across the gap is any call's text. Otherwise the page goes one by one. With
// no change touching another occurrence's judgement, every call accepts the
// occurrences the sweep accepts on the text as it stands, and the tags that a
// removal takes take the occurrences in them along, in any order.
std::optional<TagListSweep> TagListSweep::For(const std::vector<TagCall>& calls)
{
    static constexpr std::string_view kNeighbours("\x08\n\r <>\0", 7);
    static constexpr std::string_view kQuoting("\"\\", 2);
    TagListSweep sweep;
    sweep.pairs_.assign(1024, 0);
    sweep.removals_.resize(calls.size());
    auto cases = [](char c) {
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        return std::string {c, upper};
    };
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const TagCall& call = calls[i];
        if (call.tag.empty()) continue; // changes nothing
        if (HoldsAny(call.tag, kNeighbours) || call.tag[0] == '"' || call.tag[0] == '\\') return std::nullopt;
        if (!call.replacement.empty()) {
            if (HoldsAny(call.tag, kQuoting) || HoldsAny(call.replacement, kQuoting) ||
                HoldsAny(call.replacement, kNeighbours))
                return std::nullopt;
            const std::string lowerReplacement = Lower(call.replacement);
            for (std::size_t j = i + 1; j < calls.size(); ++j)
                if (Lower(calls[j].tag) == lowerReplacement) return std::nullopt;
        }
        sweep.removals_[i] = call.replacement.empty();
        std::string lower = Lower(call.tag);
        if (std::any_of(sweep.entries_.begin(), sweep.entries_.end(), [&](const Entry& e) { return e.lower == lower; }))
            continue; // the first call of a text takes all its occurrences
        const auto first = static_cast<unsigned char>(lower[0]);
        if (lower.size() < 64)
            sweep.lengthsByFirst_[first] |= std::uint64_t {1} << lower.size();
        else
            sweep.longEntries_ = true;
        for (char a : cases(lower[0])) {
            for (char b : lower.size() > 1 ? cases(lower[1]) : std::string("\x08\r >")) {
                const unsigned pair = static_cast<unsigned char>(a) << 8 | static_cast<unsigned char>(b);
                sweep.pairs_[pair >> 6] |= std::uint64_t {1} << (pair & 63);
            }
        }
        sweep.byFirst_[first].push_back(static_cast<std::uint16_t>(sweep.entries_.size()));
        sweep.entries_.push_back(Entry {std::move(lower), static_cast<std::uint32_t>(i), call.replacement.empty()});
    }
    return sweep;
}

inline const TagListSweep::Entry* TagListSweep::find(const char* token, std::size_t length) const
{
    const auto first = static_cast<unsigned char>(LowerAscii(token[0]));
    if (length < 64 ? !(lengthsByFirst_[first] >> length & 1) : !longEntries_) return nullptr;
    for (std::uint16_t k : byFirst_[first]) {
        const Entry& entry = entries_[k];
        if (entry.lower.size() == length && MatchesNoCase(std::string_view(token, length), 0, entry.lower))
            return &entry;
    }
    return nullptr;
}

std::optional<std::vector<TagEdit>> TagListSweep::plan(const Page& page) const
{
    std::vector<TagEdit> edits;
    if (entries_.empty()) return edits;
    const std::string& text = page.text;
    const char* data = text.data(); // data[size] is the string's NUL, which is read as a byte of no class
    const std::size_t size = text.size();
    if (size > std::numeric_limits<std::uint32_t>::max()) return std::nullopt; // an edit's length must fit

    struct Found {
        std::size_t at;
        std::size_t length;
        const Entry* entry;
    };
    // Tags and tokens of one quote class: those whose count of all quotes before them is even, or odd.
    struct QuoteClass {
        char last = 0; // the last bracket of the class, 0 before the first
        std::size_t open = npos; // its position when it is a "<"
        // Removed tags in a row (no other bracket of the class between them)
        // leave the brackets before and after the row side by side: a "<"
        // and a ">" then make one tag of the words from the one to the other.
        char beforeRow = 0; // the bracket of the class before the row the open tag would join
        bool entriesBeforeRow = false; // and whether calls' texts stand between it and the open tag
        bool rowBehind = false; // the last bracket of the class ends a removed tag
        char rowBefore = 0; // the bracket before that row
        bool rowEntries = false; // calls' texts between that bracket and here, outside the removed tags
        std::size_t removedEnd = npos; // one past the last removed tag
        std::size_t removedFrom = 0; // where the removed tags that end there, one right after the other, begin
        std::vector<Found> found; // entries among the tokens of the open tag
    };
    QuoteClass classes[2];
    bool sorted = true;

    bool gluedFront = false; // some removed tag has a word glued to its front
    // Ends the open tag of a class at the ">" e: its entries decide.
    auto close = [&](QuoteClass& qc, std::size_t e) {
        const std::size_t s = qc.open;
        qc.open = npos;
        if (qc.found.empty()) return true;
        // The removal of the first call in the list takes the tag; the
        // replacements in it are listed too, for when that call comes later.
        const Found* removal = nullptr;
        for (const Found& f : qc.found)
            if (f.entry->removal && (!removal || f.entry->call < removal->entry->call)) removal = &f;
        if (!edits.empty() && edits.back().at > s) sorted = false;
        if (removal) {
            if (s > 0 && data[s - 1] == '\\') return false; // the quote after the tag would stop counting
            if (s > 0 && !IsNeighbour(data[s - 1])) gluedFront = true;
            if (FindAny<'<', '>', '\\'>(data, s + 1, e) != e) return false;
            qc.rowBehind = true;
            qc.rowBefore = qc.beforeRow;
            qc.rowEntries = qc.entriesBeforeRow;
            // A word right behind the tag starts after what stands before it once it is gone.
            qc.removedFrom = qc.removedEnd == s ? qc.removedFrom : s;
            qc.removedEnd = e + 1;
            if (qc.removedFrom > 0 && IsTagNameBefore(data[qc.removedFrom - 1])) {
                const std::size_t end = FindAny<8, '\n', '\r', ' ', '<', '>'>(data, e + 1, size);
                if (end > e + 1 && end < size && EndsTagWord(data[end]) && find(data + e + 1, end - e - 1))
                    qc.rowEntries = true;
            }
            edits.push_back(TagEdit {s, static_cast<std::uint32_t>(e + 1 - s), removal->entry->call});
        }
        for (const Found& f : qc.found)
            if (!f.entry->removal) edits.push_back(TagEdit {f.at, static_cast<std::uint32_t>(f.length), f.entry->call});
        qc.found.clear();
        return true;
    };

    bool allOdd = false; // parity of all quotes before the block
    bool countingOdd = false; // parity of the quotes that count (not after a single backslash)
    bool backslash1 = false, backslash2 = false; // the bytes one and two before the block
    bool beforeByte = false; // the byte before the block may stand before a tag text
    char padded[64];
    for (std::size_t base = 0; base < size; base += 64) {
        const char* block = data + base;
        std::uint64_t valid = ~std::uint64_t {0};
        if (size - base < 64) {
            // The last bytes, padded with a byte of no class.
            std::memset(padded, 'a', sizeof padded);
            std::memcpy(padded, block, size - base);
            block = padded;
            valid = Bits(0, static_cast<unsigned>(size - base));
        }
        const TagMasks m = TagMasksOf64(block);
        const std::uint64_t after1 = m.backslash << 1 | (backslash1 ? 1 : 0);
        const std::uint64_t after2 = m.backslash << 2 | (backslash1 ? 2 : 0) | (backslash2 ? 1 : 0);
        const std::uint64_t counting = m.quote & ~(after1 & ~after2);
        const std::uint64_t odd = ParityBelow(m.quote, allOdd); // all quotes
        const std::uint64_t inside = ParityBelow(counting, countingOdd); // the quoted-value rule
        const std::uint64_t tokens = (m.before << 1 | (beforeByte ? 1 : 0)) & ~m.neighbour & ~inside & valid;
        const std::uint64_t brackets = (m.less | m.greater) & valid;

        // The classes are independent of each other: each goes through the block on its own.
        for (int c = 0; c < 2; ++c) {
            QuoteClass& qc = classes[c];
            const std::uint64_t mine = c ? odd : ~odd;
            std::uint64_t classBrackets = brackets & mine;
            const std::uint64_t classTokens = tokens & mine;
            unsigned from = 0;
            for (;;) {
                const unsigned k = classBrackets ? static_cast<unsigned>(std::countr_zero(classBrackets)) : 64;
                if (qc.open != npos || qc.rowBehind) {
                    for (std::uint64_t t = classTokens & Bits(from, k); t; t &= t - 1) {
                        const unsigned bit = static_cast<unsigned>(std::countr_zero(t));
                        const std::size_t x = base + bit;
                        // Most tokens fail on their first two bytes.
                        const unsigned pair =
                            static_cast<unsigned char>(data[x]) << 8 | static_cast<unsigned char>(data[x + 1]);
                        if (!(pairs_[pair >> 6] >> (pair & 63) & 1)) continue;
                        const std::uint64_t rest = m.neighbour >> bit; // bit 0 is clear: x starts a token
                        const std::size_t end = rest ? x + static_cast<std::size_t>(std::countr_zero(rest))
                                                     : FindAny<8, '\n', '\r', ' ', '<', '>'>(data, base + 64, size);
                        if (end >= size || !EndsTagWord(data[end])) continue;
                        const Entry* entry = find(data + x, end - x);
                        if (!entry) continue;
                        if (qc.open != npos)
                            qc.found.push_back(Found {x, end - x, entry});
                        else
                            qc.rowEntries = true;
                    }
                }
                if (!classBrackets) break;
                const std::size_t j = base + k;
                const char kind = (m.less >> k & 1) ? '<' : '>';
                // A row of removed tags between a "<" and a ">" would join them into a tag.
                const bool rowBehind = qc.rowBehind;
                qc.rowBehind = false;
                if (rowBehind && kind == '>' && qc.rowBefore == '<' && qc.rowEntries) return std::nullopt;
                if (kind == '<') {
                    qc.beforeRow = rowBehind ? qc.rowBefore : qc.last;
                    qc.entriesBeforeRow = rowBehind ? qc.rowEntries : qc.last == '<' && !qc.found.empty();
                    qc.open = j;
                    qc.found.clear();
                } else if (qc.open != npos && !close(qc, j)) {
                    return std::nullopt;
                }
                qc.last = kind;
                from = k + 1;
                classBrackets &= classBrackets - 1;
            }
        }

        allOdd ^= std::popcount(m.quote & valid) & 1;
        countingOdd ^= std::popcount(counting & valid) & 1;
        backslash1 = m.backslash >> 63 & 1;
        backslash2 = m.backslash >> 62 & 1;
        beforeByte = m.before >> 63 & 1;
    }

    // The classes' changes come in the order their tags closed.
    if (!sorted) std::sort(edits.begin(), edits.end(), [](const TagEdit& a, const TagEdit& b) { return a.at < b.at; });
    if (gluedFront && !GluedWordsAreNoEntries(page, edits)) return std::nullopt;
    return edits;
}

// A word glued to the front of a removed tag reads on behind it once the tag
// is gone, across every removed tag in a row, and may then be judged in
// another quote class than the tag's. (A word glued only to its back stays in
// the tag's class, whose bracket before it is no "<".) Such a word is left to
// the calls one by one when it is any call's text.
bool TagListSweep::GluedWordsAreNoEntries(const Page& page, const std::vector<TagEdit>& edits) const
{
    const char* data = page.text.data();
    const std::size_t size = page.text.size();
    std::vector<const TagEdit*> removed;
    for (const TagEdit& edit : edits)
        if (removals_[edit.call]) removed.push_back(&edit);
    std::size_t longest = 0;
    for (const Entry& entry : entries_) longest = std::max(longest, entry.lower.size());
    std::string word;
    for (std::size_t i = 0; i < removed.size(); ++i) {
        const std::size_t s = removed[i]->at;
        if (s == 0 || IsNeighbour(data[s - 1])) continue;
        word.clear();
        std::size_t p = s, k = i;
        for (;;) {
            if (k > 0 && removed[k - 1]->at + removed[k - 1]->length == p) {
                p = removed[--k]->at;
            } else if (p > 0 && !IsNeighbour(data[p - 1]) && word.size() <= longest) {
                word.push_back(data[--p]);
            } else {
                break;
            }
        }
        std::reverse(word.begin(), word.end());
        p = removed[i]->at + removed[i]->length;
        k = i + 1;
        for (;;) {
            if (k < removed.size() && removed[k]->at == p) {
                p += removed[k++]->length;
            } else if (p < size && !IsNeighbour(data[p]) && word.size() <= longest) {
                word.push_back(data[p++]);
            } else {
                break;
            }
        }
        if (word.size() <= longest && find(word.data(), word.size())) return false;
    }
    return true;
}

void ApplyTagEdits(Page& page, std::vector<TagEdit>&& edits, const std::vector<TagCall>& calls)
{
    // A replacement inside a removed tag goes with the tag, whichever call comes first.
    std::size_t covered = 0; // the end of the last removal
    std::erase_if(edits, [&](const TagEdit& edit) {
        if (edit.at < covered) return true;
        if (calls[edit.call].replacement.empty()) covered = edit.at + edit.length;
        return false;
    });
    if (edits.empty()) return;
    const std::string& text = page.text;
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t grows = 0;
    bool dropsFragments = false;
    for (const TagEdit& edit : edits) {
        const std::string& replacement = calls[edit.call].replacement;
        if (replacement.empty()) {
            if (!page.placeholders.empty() && std::memchr(data + edit.at, kPlaceholder, edit.length))
                dropsFragments = true;
        } else if (replacement.size() > edit.length) {
            grows += replacement.size() - edit.length;
        }
    }

    // Everything that may fail comes before the page changes.
    std::vector<std::uint32_t> placeholders;
    if (dropsFragments) {
        std::size_t next = 0;
        auto edit = edits.begin();
        for (std::size_t at = FindByte(data, 0, size, kPlaceholder); at < size;
             at = FindByte(data, at + 1, size, kPlaceholder), ++next) {
            while (edit != edits.end() && edit->at + edit->length <= at) ++edit;
            const bool removed = edit != edits.end() && edit->at <= at; // only a removal holds a NUL
            if (!removed) placeholders.push_back(page.placeholders[next]);
        }
    }
    std::string grown = grows ? TakeSpare(page, size + grows) : std::string();
    if (dropsFragments) page.placeholders = std::move(placeholders);

    if (!grows) {
        // Every change shrinks the text or keeps its length: compacted where it stands.
        char* out = page.text.data();
        std::size_t w = 0, r = 0;
        for (const TagEdit& edit : edits) {
            const std::string& replacement = calls[edit.call].replacement;
            MoveDown(out, w, r, edit.at);
            std::memcpy(out + w, replacement.data(), replacement.size());
            w += replacement.size();
            r = edit.at + edit.length;
        }
        MoveDown(out, w, r, size);
        page.text.resize(w);
    } else {
        std::size_t r = 0;
        for (const TagEdit& edit : edits) {
            grown.append(data + r, edit.at - r);
            grown.append(calls[edit.call].replacement);
            r = edit.at + edit.length;
        }
        grown.append(data + r, size - r);
        ReplaceText(page, std::move(grown));
    }
    page.tagIndex.built = false; // it described the text before
}

bool TreatTagsTogether(Page& page, const std::vector<TagCall>& calls, const std::vector<TagCall>& next)
{
    std::optional<PlannedTagStep> planned = std::move(page.plannedTags);
    page.plannedTags.reset();
    try {
        if (planned && planned->calls == calls) {
            ApplyTagEdits(page, std::move(planned->edits), calls);
            return true;
        }
        if (!next.empty()) {
            std::vector<TagCall> both = calls;
            both.insert(both.end(), next.begin(), next.end());
            const std::optional<TagListSweep> sweep = TagListSweep::For(both);
            std::optional<std::vector<TagEdit>> edits;
            if (sweep) edits = sweep->plan(page);
            if (edits) {
                // This step's changes now; the next step's, moved to where this step leaves them, when it comes.
                // A change of the next step inside a tag this step removes goes with the tag.
                const auto first = static_cast<std::uint32_t>(calls.size());
                std::vector<TagEdit> now;
                PlannedTagStep later {next, {}};
                std::vector<std::pair<std::size_t, std::ptrdiff_t>>
                    shifts; // after an edit's end, how far the text moved
                std::size_t covered = 0;
                for (const TagEdit& edit : *edits) {
                    if (edit.call >= first || edit.at < covered) continue;
                    if (both[edit.call].replacement.empty()) covered = edit.at + edit.length;
                    now.push_back(edit);
                    const std::ptrdiff_t moved = (shifts.empty() ? 0 : shifts.back().second) +
                        static_cast<std::ptrdiff_t>(both[edit.call].replacement.size()) -
                        static_cast<std::ptrdiff_t>(edit.length);
                    shifts.emplace_back(edit.at + edit.length, moved);
                }
                auto moved = [&](std::size_t at) {
                    auto after = std::upper_bound(shifts.begin(), shifts.end(), at,
                        [](std::size_t p, const std::pair<std::size_t, std::ptrdiff_t>& s) { return p < s.first; });
                    const std::ptrdiff_t by = after == shifts.begin() ? 0 : std::prev(after)->second;
                    return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(at) + by);
                };
                auto removedNow = [&](const TagEdit& edit) {
                    auto it = std::upper_bound(
                        now.begin(), now.end(), edit.at, [](std::size_t p, const TagEdit& e) { return p < e.at; });
                    return it != now.begin() && both[std::prev(it)->call].replacement.empty() &&
                        edit.at < std::prev(it)->at + std::prev(it)->length;
                };
                bool fits = true;
                for (const TagEdit& edit : *edits) {
                    if (edit.call < first || removedNow(edit)) continue;
                    const std::size_t at = moved(edit.at);
                    const std::size_t length = moved(edit.at + edit.length) - at;
                    fits = fits && length <= std::numeric_limits<std::uint32_t>::max();
                    later.edits.push_back(TagEdit {at, static_cast<std::uint32_t>(length), edit.call - first});
                }
                // Only this step's changes stay in memory while the text is rewritten.
                edits.reset();
                std::vector<std::pair<std::size_t, std::ptrdiff_t>>().swap(shifts);
                ApplyTagEdits(page, std::move(now), calls);
                if (fits) page.plannedTags = std::move(later); // else the next step plans for itself
                return true;
            }
        }
        const std::optional<TagListSweep> sweep = TagListSweep::For(calls);
        if (!sweep) return false;
        std::optional<std::vector<TagEdit>> edits = sweep->plan(page);
        if (!edits) return false;
        ApplyTagEdits(page, std::move(*edits), calls);
        return true;
    } catch (const std::exception&) {
        return false; // the changes are made only once nothing can fail any more
    }
}

} // namespace qm::passes
