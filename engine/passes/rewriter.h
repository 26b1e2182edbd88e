// A pass's output built in one forward sweep, with the quote state and placeholders of what is built so far.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/passes/page.h"

namespace qm::passes {

// The text a pass sees at any moment is `out` (everything before the read
// point, as the pass has rewritten it) followed by the unread rest of the
// input. A pass copies, drops or replaces input and may cut back into `out`;
// the rewriter keeps what the searches need about `out` up to date:
// - the quote state under the quoted-value rule (a double quote counts
//   unless it follows a single backslash),
// - the parity of all double quotes,
// - the positions of "<" with the all-quote parity before them (on request),
// - which fragment each NUL stands for.
class Rewriter {
public:
    static constexpr std::size_t npos = std::string::npos;

    Rewriter(Page& page, bool trackLessThan = false);
    // A sweep that ends by a failure leaves the page as it was before it.
    ~Rewriter();
    Rewriter(const Rewriter&) = delete;
    Rewriter& operator=(const Rewriter&) = delete;

    std::string_view input() const { return in_; }
    std::size_t readPoint() const { return r_; }
    // What is written so far. Until the first change it is the input's own
    // prefix, and nothing is copied: most pages give a pass nothing to do.
    std::string_view out() const { return written_ ? std::string_view(out_) : in_.substr(0, r_); }
    std::size_t size() const { return written_ ? out_.size() : r_; } // the read point's position in the current text

    bool insideQuotes() const
    {
        track();
        return inside_;
    } // quoted-value rule, at the read point

    // Copies input up to (not including) input index `end`.
    void copyTo(std::size_t end);
    void copy(std::size_t count) { copyTo(r_ + count); }
    void copyRest() { copyTo(in_.size()); }

    // Drops input up to `end`; the fragments of its NULs go to `dropped` when given.
    void skipTo(std::size_t end, std::vector<std::uint32_t>* dropped = nullptr);

    // Cuts `out` back to `size`; the fragments of the NULs cut go to `dropped` when given.
    void truncate(std::size_t size, std::vector<std::uint32_t>* dropped = nullptr);

    void putPlaceholder(std::uint32_t fragment);
    // Puts text back that was cut from `out`, with the fragments of its NULs.
    void putBack(std::string_view text, const std::uint32_t* fragments);

    // The fragment ids of the input NULs in [from, to), without consuming them.
    std::vector<std::uint32_t> inputFragments(std::size_t from, std::size_t to) const;

    // A "<" in `out` with the quote states before it.
    struct LessThan {
        std::size_t position = npos;
        bool allOddBefore = false; // every quote counting
        bool insideBefore = false; // the quoted-value rule
    };
    // The nearest "<" before the read point (position npos when none).
    LessThan nearestLessThan() const;
    // The nearest "<" before `limit` with an odd (or even) number of double quotes before it.
    std::size_t lessThanBelow(std::size_t limit, bool odd) const;

    // Ends the sweep: the page gets the new text and its placeholders.
    void finish();

private:
    // Brings the state up to date with everything written; it is kept only as
    // far as a search has asked, since most of a page is never asked about.
    void track() const;
    void write(); // from now on `out_` holds what is written
    std::size_t inputNuls(std::size_t from, std::size_t to) const;

    Page& page_;
    bool finished_ = false;
    bool written_ = false;
    std::string source_; // the input text, owned while out_ is built
    std::string_view in_;
    std::size_t r_ = 0;
    std::size_t nextInputFragment_ = 0;
    std::string out_;
    std::vector<std::uint32_t> outFragments_;
    mutable std::size_t tracked_ = 0; // the state below describes out()[0, tracked_)
    mutable bool inside_ = false;
    mutable bool allOdd_ = false;
    bool trackLessThan_;
    // Positions of "<" by the all-quote parity before them, with the
    // quoted-value state before each in the lowest bit: a long page has many.
    mutable std::vector<std::uint64_t> less_[2];
};

// The quoted-value state at input positions ahead of the read point, walking
// on from the read point's state; positions asked for must not decrease.
class QuoteWalker {
public:
    explicit QuoteWalker(const Rewriter& w)
        : w_(w)
        , at_(w.readPoint())
        , inside_(w.insideQuotes())
    {
    }
    bool insideAt(std::size_t to);

private:
    char before(std::size_t i, std::size_t back) const;

    const Rewriter& w_;
    std::size_t at_;
    bool inside_;
};

// Whether the double quote at index i of text counts under the quoted-value rule.
inline bool QuoteCounts(std::string_view text, std::size_t i)
{
    return !(i >= 1 && text[i - 1] == '\\' && !(i >= 2 && text[i - 2] == '\\'));
}

// The first occurrence of a lower-case ASCII needle at or after `from`, ignoring the case of A to Z.
std::size_t FindNoCase(std::string_view haystack, std::size_t from, std::string_view lowerNeedle);
bool MatchesNoCase(std::string_view haystack, std::size_t at, std::string_view lowerNeedle);

} // namespace qm::passes
