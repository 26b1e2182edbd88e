// Tag removal and replacement in one sweep per tag text, with a short look back after every change.
#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

#include "engine/passes/passes.h"
#include "engine/passes/rewriter.h"
#include "engine/passes/scan.h"

namespace qm::passes {
namespace {

constexpr std::size_t npos = std::string::npos;

enum : std::uint8_t {
    kHidden = 1, // the first character of an occurrence left alone: no quote, bracket or letter any more
    kInserted = 2, // put in by a replacement of this call: never searched again
};

bool EndsTagWord(char c) { return c == 8 || c == '\r' || c == ' ' || c == '>'; }

// Where a call changed the text: a replacement's position and length, or a removal's gap.
struct Change {
    std::size_t position;
    std::size_t length;
};

// A tag text without any character that may stand before or after an
// accepted occurrence can only be found as a whole token: the run after such
// a "before" character up to the next neighbour character, which must be an
// "after" one. One sweep over the tokens tells which such texts occur.
bool IsIndexable(std::string_view lowerTag)
{
    if (lowerTag.empty()) return false;
    for (char c : lowerTag)
        if (IsTagNameBefore(c) || EndsTagWord(c) || c == kPlaceholder) return false;
    return true;
}

void MarkToken(TagIndex& index, std::string_view text, std::size_t start, std::size_t end)
{
    const std::size_t length = end - start;
    const auto first = static_cast<unsigned char>(LowerAscii(text[start]));
    for (std::uint16_t k : index.byFirst[first]) {
        const std::string& tag = index.indexed[k];
        if (tag.size() == length && !index.present[k] && MatchesNoCase(text, start, tag)) index.present[k] = true;
    }
}

// Marks the indexed texts whose tokens start in [from, to) as present.
void MarkPresent(TagIndex& index, std::string_view text, std::size_t from, std::size_t to)
{
    const char* data = text.data();
    const std::size_t size = text.size();
    to = std::min(to, size);
    if (from >= to) return;
    // A token starts one past its "before" character.
    std::size_t base = from == 0 ? 0 : from - 1;
    while (base + 1 < to) {
        NeighbourMasks masks;
        if (base + 64 <= size) {
            masks = NeighboursOf64(data + base);
        } else {
            for (std::size_t k = 0; base + k < size; ++k) {
                char c = data[base + k];
                bool before = IsTagNameBefore(c);
                if (before) masks.before |= std::uint64_t {1} << k;
                if (before || c == '>') masks.neighbour |= std::uint64_t {1} << k;
            }
        }
        // A "before" character followed by another neighbour starts an empty token: none of those.
        const std::uint64_t starts0 = masks.before & ~(masks.neighbour >> 1 & ~(std::uint64_t {1} << 63));
        for (std::uint64_t starts = starts0; starts; starts &= starts - 1) {
            const unsigned k = static_cast<unsigned>(std::countr_zero(starts));
            const std::size_t start = base + k + 1;
            if (start >= to) break;
            // Most tokens fail here: no indexed text starts with their first character at their length.
            const std::uint64_t lengths = index.lengthsByFirst[static_cast<unsigned char>(LowerAscii(data[start]))];
            if (!lengths || start < from) continue;
            const std::uint64_t rest = k == 63 ? 0 : masks.neighbour >> (k + 1);
            std::size_t end;
            if (rest) {
                end = start + static_cast<std::size_t>(std::countr_zero(rest));
                const std::size_t length = end - start;
                if (length < 64 && !(lengths >> length & 1)) continue;
            } else {
                const std::size_t limit = std::min(size, start + index.longest + 1);
                end = FindAny<8, '\n', '\r', ' ', '<', '>'>(data, std::max(start, base + 64), limit);
                if (end >= limit) continue;
            }
            if (end < size && end > start && end - start <= index.longest && EndsTagWord(data[end]))
                MarkToken(index, text, start, end);
        }
        base += 64;
    }
}
bool IsBracket(char c) { return c == '<' || c == '>'; }

struct StreamChar {
    char c;
    std::uint8_t flags;
    std::uint32_t fragment; // for a NUL
};

// One call of the tag treatment. The text it sees is `out_` (written, with
// its flags) followed by the stream: characters put back for another look,
// then the unread input. An occurrence is examined at the front of the
// stream; everything before it is in `out_`. After a change, the last n-1
// written characters go back into the stream, since an occurrence that the
// change created must start there at the earliest.
class TagSweep {
public:
    TagSweep(Page& page, std::string_view tag, std::string_view replacement, std::vector<Change>& changes)
        : page_(page)
        , changes_(changes)
        , replacement_(replacement)
        , removal_(replacement.empty())
    {
        lowerTag_.resize(tag.size());
        std::transform(tag.begin(), tag.end(), lowerTag_.begin(), LowerAscii);
        source_ = std::move(page.text);
        in_ = source_;
        out_ = TakeSpare(page, source_.size() + source_.size() / 8 + 16);
    }
    // A sweep that ends by a failure leaves the page as it was before it.
    ~TagSweep()
    {
        if (!finished_) page_.text = std::move(source_);
    }
    TagSweep(const TagSweep&) = delete;
    TagSweep& operator=(const TagSweep&) = delete;

    void run()
    {
        const std::size_t n = lowerTag_.size();
        for (;;) {
            if (head_ == pending_.size()) {
                std::size_t i = FindNoCase(in_, r_, lowerTag_);
                if (i == npos) {
                    // Nothing ahead can change: the rest goes over without bookkeeping.
                    appendRestOfInput();
                    break;
                }
                emitInputTo(i);
            }
            if (!matchAtFront()) {
                emitFront(0);
                continue;
            }
            const std::size_t p = out_.size();
            bool accepted = !inside_ && p >= 1 && !hiddenAt(p - 1) && IsTagNameBefore(out_[p - 1]);
            StreamChar after {};
            accepted = accepted && peek(n, after) && !(after.flags & kHidden) && EndsTagWord(after.c);
            accepted = accepted && !insertedAhead(n);
            // Only an occurrence inside a tag is a tag's name or attribute: a
            // word of body text or a style sheet selector is left as it is.
            std::size_t s = npos;
            if (accepted) {
                const auto& brackets = brackets_[allOdd_];
                if (!brackets.empty() && out_[brackets.back()] == '<') s = brackets.back();
            }
            Closing e;
            if (s != npos) e = closingBracket();
            if (!e.found) {
                emitFront(kHidden);
                continue;
            }
            if (removal_) {
                popOut(out_.size() - s, nullptr);
                consumeThrough(e);
                changes_.push_back(Change {out_.size(), 0});
                lookBack({});
            } else {
                dropFront(n);
                changes_.push_back(Change {out_.size(), replacement_.size()});
                lookBack(replacement_);
            }
        }
        while (head_ < pending_.size()) emitFront(0);
        emitInputTo(in_.size());
        page_.text = std::move(out_);
        page_.spare = std::move(source_);
        page_.placeholders = std::move(outFragments_);
        finished_ = true;
    }

private:
    struct Closing {
        bool found = false;
        bool inPending = false;
        std::size_t index = 0; // in pending_ or in the input
    };

    // --- the written side -------------------------------------------------
    bool hiddenAt(std::size_t i) const { return std::binary_search(hidden_.begin(), hidden_.end(), i); }
    bool backslashAt(std::size_t i) const { return out_[i] == '\\' && !hiddenAt(i); }
    bool quoteCounts(std::size_t i) const { return !(i >= 1 && backslashAt(i - 1) && !(i >= 2 && backslashAt(i - 2))); }

    void emit(const StreamChar& ch)
    {
        const std::size_t pos = out_.size();
        out_.push_back(ch.c);
        if (ch.c == kPlaceholder) outFragments_.push_back(ch.fragment);
        if (ch.flags & kInserted) {
            if (!inserted_.empty() && inserted_.back().second == pos)
                ++inserted_.back().second;
            else
                inserted_.emplace_back(pos, pos + 1);
        }
        if (ch.flags & kHidden) {
            hidden_.push_back(pos);
            return;
        }
        if (ch.c == '"') {
            allOdd_ = !allOdd_;
            if (quoteCounts(pos)) inside_ = !inside_;
        } else if (IsBracket(ch.c)) {
            brackets_[allOdd_].push_back(pos);
        }
    }

    // Takes the last `count` written characters off, into `taken` (in text order) when given.
    void popOut(std::size_t count, std::vector<StreamChar>* taken)
    {
        std::vector<StreamChar> reversed;
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t pos = out_.size() - 1;
            StreamChar ch {out_[pos], 0, 0};
            if (!hidden_.empty() && hidden_.back() == pos) {
                ch.flags |= kHidden;
                hidden_.pop_back();
            } else if (ch.c == '"') {
                if (quoteCounts(pos)) inside_ = !inside_;
                allOdd_ = !allOdd_;
            } else if (IsBracket(ch.c)) {
                brackets_[allOdd_].pop_back();
            }
            if (!inserted_.empty() && inserted_.back().second == pos + 1) {
                ch.flags |= kInserted;
                if (--inserted_.back().second == inserted_.back().first) inserted_.pop_back();
            }
            if (ch.c == kPlaceholder) {
                ch.fragment = outFragments_.back();
                outFragments_.pop_back();
            }
            out_.pop_back();
            if (taken) reversed.push_back(ch);
        }
        if (taken) taken->assign(reversed.rbegin(), reversed.rend());
    }

    // --- the stream -------------------------------------------------------
    std::size_t pendingSize() const { return pending_.size() - head_; }

    bool peek(std::size_t k, StreamChar& ch) const
    {
        if (k < pendingSize()) {
            ch = pending_[head_ + k];
            return true;
        }
        std::size_t i = r_ + (k - pendingSize());
        if (i >= in_.size()) return false;
        ch = StreamChar {in_[i], 0, 0};
        return true;
    }

    bool matchAtFront() const
    {
        StreamChar ch;
        for (std::size_t k = 0; k < lowerTag_.size(); ++k) {
            if (!peek(k, ch) || (ch.flags & kHidden) || ch.c == kPlaceholder || LowerAscii(ch.c) != lowerTag_[k])
                return false;
        }
        return true;
    }

    bool insertedAhead(std::size_t count) const
    {
        for (std::size_t k = 0; k < count && k < pendingSize(); ++k)
            if (pending_[head_ + k].flags & kInserted) return true;
        return false;
    }

    StreamChar takeInput()
    {
        char c = in_[r_++];
        if (c == '"') inputOdd_ = !inputOdd_;
        std::uint32_t fragment = c == kPlaceholder ? page_.placeholders[nextInputFragment_++] : 0;
        return StreamChar {c, 0, fragment};
    }

    StreamChar takeFront()
    {
        if (head_ < pending_.size()) return pending_[head_++];
        return takeInput();
    }

    void emitFront(std::uint8_t flags)
    {
        StreamChar ch = takeFront();
        ch.flags |= flags;
        emit(ch);
    }

    void emitInputTo(std::size_t end)
    {
        while (r_ < end) {
            // Letters and spaces need no bookkeeping: they go over in one piece.
            std::size_t special = FindAny<'"', '<', '>', '\\', kPlaceholder>(in_.data(), r_, end);
            out_.append(in_.data() + r_, special - r_);
            r_ = special;
            if (special == end) break;
            emit(takeInput());
        }
    }

    void appendRestOfInput()
    {
        for (std::size_t i = FindByte(in_.data(), r_, in_.size(), kPlaceholder); i < in_.size();
             i = FindByte(in_.data(), i + 1, in_.size(), kPlaceholder))
            outFragments_.push_back(page_.placeholders[nextInputFragment_++]);
        out_.append(in_.data() + r_, in_.size() - r_);
        r_ = in_.size();
    }

    void dropFront(std::size_t count)
    {
        for (std::size_t k = 0; k < count; ++k) takeFront();
    }

    void consumeThrough(const Closing& e)
    {
        if (e.inPending) {
            head_ = e.index + 1;
            return;
        }
        head_ = pending_.size();
        while (r_ <= e.index) takeInput();
    }

    // The last n-1 written characters, then `inserted`, then the rest of the stream.
    void lookBack(std::string_view inserted)
    {
        std::vector<StreamChar> again;
        popOut(std::min(lowerTag_.size() - 1, out_.size()), &again);
        for (char c : inserted) again.push_back(StreamChar {c, kInserted, 0});
        again.insert(again.end(), pending_.begin() + static_cast<std::ptrdiff_t>(head_), pending_.end());
        pending_ = std::move(again);
        head_ = 0;
    }

    // Walking forward from the character after the occurrence's first one,
    // with a quote flag, the first ">" outside, unless a "<" outside or the
    // end of the text comes first.
    Closing closingBracket()
    {
        bool odd = false;
        for (std::size_t k = head_ + 1; k < pending_.size(); ++k) {
            const StreamChar& ch = pending_[k];
            if (ch.flags & kHidden) continue;
            if (ch.c == '"') {
                odd = !odd;
            } else if (!odd && IsBracket(ch.c)) {
                return ch.c == '>' ? Closing {true, true, k} : Closing {};
            }
        }
        std::size_t x = r_;
        bool parityAtX = inputOdd_;
        if (head_ == pending_.size()) { // the occurrence starts in the input
            parityAtX = inputOdd_ != (in_[r_] == '"');
            x = r_ + 1;
        }
        std::size_t j = nextBracket(parityAtX != odd, x, parityAtX);
        if (j == npos || in_[j] != '>') return Closing {};
        return Closing {true, false, j};
    }

    // The first input position j >= x holding "<" or ">" with `target` as the
    // parity of all quotes of the input before j. Answers are remembered:
    // the input never changes, and later questions start further on.
    std::size_t nextBracket(bool target, std::size_t x, bool parityAtX)
    {
        Remembered& memo = remembered_[target];
        if (memo.valid && memo.from <= x && (memo.result == npos || x <= memo.result)) return memo.result;
        bool odd = parityAtX;
        std::size_t j = x;
        for (; j < in_.size(); ++j) {
            char c = in_[j];
            if (IsBracket(c) && odd == target) break;
            if (c == '"') odd = !odd;
        }
        memo = Remembered {true, x, j < in_.size() ? j : npos};
        return memo.result;
    }

    struct Remembered {
        bool valid = false;
        std::size_t from = 0;
        std::size_t result = npos;
    };

    Page& page_;
    std::vector<Change>& changes_;
    bool finished_ = false;
    std::string lowerTag_;
    std::string replacement_;
    bool removal_;

    std::string source_;
    std::string_view in_;
    std::size_t r_ = 0;
    std::size_t nextInputFragment_ = 0;
    bool inputOdd_ = false; // parity of all quotes of the input before r_

    std::vector<StreamChar> pending_;
    std::size_t head_ = 0;

    std::string out_;
    std::vector<std::uint32_t> outFragments_;
    std::vector<std::size_t> hidden_; // written positions, increasing
    std::vector<std::pair<std::size_t, std::size_t>> inserted_; // written spans, increasing
    std::vector<std::size_t> brackets_[2]; // by the parity of all quotes before them
    bool inside_ = false; // the quoted-value rule
    bool allOdd_ = false; // every quote counting
    Remembered remembered_[2];
};

// A replacement whose tag text and replacement hold no quote, backslash or
// bracket changes no quote state and no bracket, and when the tag text does
// not begin with a character that an accepted occurrence needs beside it,
// occurrences left alone change nothing either. Every decision can then be
// taken on the text as it stands before the call, which is one sweep with
// no bookkeeping: occurrences in order, skipping those a replacement took.
bool DecidableUpFront(std::string_view lowerTag, std::string_view replacement)
{
    if (replacement.empty()) return false;
    auto plain = [](std::string_view text) {
        return text.find_first_of(std::string_view("\"\\<>\0", 5)) == std::string_view::npos;
    };
    const char first = lowerTag[0];
    return plain(lowerTag) && plain(replacement) && !IsTagNameBefore(first) && !EndsTagWord(first);
}

class UpFrontReplacement {
public:
    UpFrontReplacement(std::string_view text, std::string_view lowerTag, std::string_view replacement)
        : in_(text)
        , tag_(lowerTag)
        , to_(replacement)
    {
    }

    // Returns false when nothing was replaced; `out` is then left empty.
    bool run(std::string& out, std::vector<Change>& changes)
    {
        const std::size_t n = tag_.size();
        std::size_t copied = 0;
        std::size_t acceptedEnd = npos;
        for (std::size_t p = FindNoCase(in_, 0, tag_); p != npos;) {
            bool accepted = p >= 1 && p + n < in_.size() && EndsTagWord(in_[p + n]) &&
                IsTagNameBefore(p == acceptedEnd ? to_.back() : in_[p - 1]) && !insideAt(p);
            if (accepted) {
                std::size_t s = bracketBefore(allOddAt(p), p);
                std::size_t e = s != npos && in_[s] == '<' ? bracketFrom(allOddAt(p + 1), p + 1) : npos;
                accepted = e != npos && in_[e] == '>';
            }
            if (!accepted) {
                p = FindNoCase(in_, p + 1, tag_);
                continue;
            }
            out.append(in_.data() + copied, p - copied);
            changes.push_back(Change {out.size(), to_.size()});
            out.append(to_);
            copied = acceptedEnd = p + n;
            p = FindNoCase(in_, p + n, tag_);
        }
        if (changes.empty()) return false;
        out.append(in_.data() + copied, in_.size() - copied);
        return true;
    }

private:
    // The quote states before x; positions asked for never decrease.
    void advanceTo(std::size_t x)
    {
        if (x <= quotesFrom_) return;
        const char before1 = quotesFrom_ >= 1 ? in_[quotesFrom_ - 1] : '\0';
        const char before2 = quotesFrom_ >= 2 ? in_[quotesFrom_ - 2] : '\0';
        QuoteParity step = QuoteParities(in_.data(), quotesFrom_, x, before1, before2);
        inside_ ^= step.counting;
        odd_ ^= step.all;
        quotesFrom_ = x;
    }
    bool insideAt(std::size_t x)
    {
        advanceTo(x);
        return inside_;
    }
    bool allOddAt(std::size_t x)
    {
        advanceTo(x);
        return odd_;
    }

    // The last bracket before x with `target` as the parity of all quotes before it.
    std::size_t bracketBefore(bool target, std::size_t x)
    {
        // Mostly a tag's own "<" is a few characters back: looked for first,
        // walking back with the quotes counted from x.
        bool odd = false;
        for (std::size_t j = x; j-- > 0 && j + 64 >= x;) {
            char c = in_[j];
            if (c == '"') {
                odd = !odd;
            } else if ((c == '<' || c == '>') && !odd) {
                return j;
            }
        }
        return bracketBeforeFar(target, x);
    }

    std::size_t bracketBeforeFar(bool target, std::size_t x)
    {
        Memo& memo = before_[target];
        if (!memo.valid || x < memo.at) memo = Memo {true, 0, npos};
        bool odd = allOddAt(x);
        std::size_t found = npos;
        for (std::size_t j = x; j-- > memo.at;) {
            char c = in_[j];
            if (c == '"') {
                odd = !odd;
            } else if ((c == '<' || c == '>') && odd == target) {
                found = j;
                break;
            }
        }
        memo = Memo {true, x, found != npos ? found : memo.result};
        return memo.result;
    }

    // The first bracket at or after x with `target` as the parity of all quotes before it.
    std::size_t bracketFrom(bool target, std::size_t x)
    {
        bool odd = false;
        for (std::size_t j = x; j < in_.size() && j < x + 64; ++j) {
            char c = in_[j];
            if (c == '"') {
                odd = !odd;
            } else if ((c == '<' || c == '>') && !odd) {
                return j;
            }
        }
        return bracketFromFar(target, x);
    }

    std::size_t bracketFromFar(bool target, std::size_t x)
    {
        Memo& memo = after_[target];
        if (memo.valid && memo.at <= x && (memo.result == npos || x <= memo.result)) return memo.result;
        bool odd = allOddAt(x);
        std::size_t j = x;
        for (; j < in_.size(); ++j) {
            char c = in_[j];
            if ((c == '<' || c == '>') && odd == target) break;
            if (c == '"') odd = !odd;
        }
        memo = Memo {true, x, j < in_.size() ? j : npos};
        return memo.result;
    }

    struct Memo {
        bool valid = false;
        std::size_t at = 0;
        std::size_t result = npos;
    };

    std::string_view in_;
    std::string_view tag_;
    std::string_view to_;
    bool inside_ = false;
    bool odd_ = false;
    std::size_t quotesFrom_ = 0;
    Memo before_[2];
    Memo after_[2];
};

// Whether an occurrence with the neighbours of an accepted one exists at all.
// Until one is accepted nothing changes, so without any the call leaves the
// text exactly as it was.
bool MayChange(std::string_view text, std::string_view lowerTag)
{
    const std::size_t n = lowerTag.size();
    for (std::size_t i = FindNoCase(text, 0, lowerTag); i != npos; i = FindNoCase(text, i + 1, lowerTag)) {
        if (i >= 1 && IsTagNameBefore(text[i - 1]) && i + n < text.size() && EndsTagWord(text[i + n])) return true;
    }
    return false;
}

std::string LowerCopy(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    return lower;
}

// The position of an indexed text, or none.
std::optional<std::size_t> Indexed(const TagIndex& index, std::string_view lower)
{
    auto it = std::find(index.indexed.begin(), index.indexed.end(), lower);
    if (it == index.indexed.end()) return std::nullopt;
    return static_cast<std::size_t>(it - index.indexed.begin());
}

} // namespace

void IndexTagTexts(Page& page, const std::vector<std::string>& tagTexts)
{
    TagIndex& index = page.tagIndex;
    index = TagIndex {};
    for (const std::string& text : tagTexts) {
        std::string lower = LowerCopy(text);
        if (!IsIndexable(lower) || Indexed(index, lower)) continue;
        index.longest = std::max(index.longest, lower.size());
        const auto first = static_cast<unsigned char>(lower[0]);
        if (lower.size() < 64) index.lengthsByFirst[first] |= std::uint64_t {1} << lower.size();
        index.byFirst[first].push_back(static_cast<std::uint16_t>(index.indexed.size()));
        index.indexed.push_back(std::move(lower));
    }
    index.present.assign(index.indexed.size(), false);
    MarkPresent(index, page.text, 0, page.text.size());
    index.built = true;
}

void TreatTag(Page& page, std::string_view tagText, std::string_view replacement)
{
    if (tagText.empty()) return;
    const std::string lowerTag = LowerCopy(tagText);
    TagIndex& index = page.tagIndex;
    if (index.built && IsIndexable(lowerTag)) {
        std::optional<std::size_t> k = Indexed(index, lowerTag);
        if (k && !index.present[*k]) return;
    }
    std::vector<Change> changes;
    if (DecidableUpFront(lowerTag, replacement)) {
        std::string out = TakeSpare(page, page.text.size() + page.text.size() / 8 + 16);
        if (UpFrontReplacement(page.text, lowerTag, replacement).run(out, changes))
            ReplaceText(page, std::move(out));
        else
            page.spare = std::move(out);
    } else {
        if (!MayChange(page.text, lowerTag)) return;
        TagSweep sweep(page, tagText, replacement, changes);
        sweep.run();
    }
    if (!index.built || changes.empty()) return;
    // What a change puts in or joins together may be another tag text's token
    // now. A replacement without neighbour characters is one whole token of
    // its own, between the same neighbours as the occurrence it replaced.
    const std::string lowerReplacement = LowerCopy(replacement);
    if (IsIndexable(lowerReplacement)) {
        if (std::optional<std::size_t> k = Indexed(index, lowerReplacement)) index.present[*k] = true;
        return;
    }
    for (const Change& change : changes)
        MarkPresent(index, page.text, change.position > index.longest + 2 ? change.position - index.longest - 2 : 0,
            change.position + change.length + 2);
}

} // namespace qm::passes
