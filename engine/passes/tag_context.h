// Whether a place in a page being rewritten in place lies inside a tag, and the names of the tags beside a space.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/html_rules.h"
#include "engine/passes/page.h"
#include "engine/passes/scan.h"

namespace qm::passes {

// A place is inside a tag when, walking back from it with a flag that flips
// at every double quote, the first "<" or ">" met with the flag off is a "<"
// that opens a tag, and walking forward from it the same way the first one
// met is a ">". With the parity of all quotes before each position, those
// walks find the nearest bracket whose parity equals the place's: the last
// such bracket written, and the next such bracket ahead in the input.
//
// The text is compacted in place: text[0, w) is what is written and the
// input goes on at some index at or after w. Quotes are only ever dropped in
// pairs and brackets never, so the parities of the input and of what is
// written agree.
class TagContext {
public:
    explicit TagContext(const std::string& text)
        : text_(text)
    {
    }

    // `w` is the written size, `next` the character that follows what is
    // written as the text now stands, and `ahead` the input index where the
    // forward walk starts.
    bool inside(std::size_t w, char next, std::size_t ahead)
    {
        track(w);
        const std::size_t back = last_[odd_];
        if (back == std::string::npos || text_[back] != '<') return false;
        const char after = back + 1 < w ? text_[back + 1] : next;
        if (!OpensTagAfterLess(static_cast<unsigned char>(after))) return false;
        const std::size_t forward = nextBracket(odd_, ahead);
        return forward != std::string::npos && text_[forward] == '>';
    }

    // What is written was cut back to `w`; nothing cut was a quote or a bracket.
    void cutBack(std::size_t w)
    {
        if (tracked_ > w) tracked_ = w;
    }

private:
    void track(std::size_t w)
    {
        const char* data = text_.data();
        for (std::size_t i = FindAny<'"', '<', '>'>(data, tracked_, w); i < w;
             i = FindAny<'"', '<', '>'>(data, i + 1, w)) {
            if (data[i] == '"')
                odd_ = !odd_;
            else
                last_[odd_] = i;
        }
        if (w > tracked_) tracked_ = w;
    }

    // The first bracket at or after x whose parity of all quotes before it is
    // `odd`, the parity at x being `odd` too. Answers are remembered: the
    // input ahead never changes, and later questions start further on.
    std::size_t nextBracket(bool odd, std::size_t x)
    {
        Memo& memo = memo_[odd];
        if (memo.valid && memo.from <= x && (memo.result == std::string::npos || x <= memo.result)) return memo.result;
        bool flag = false;
        std::size_t j = x;
        for (; j < text_.size(); ++j) {
            const char c = text_[j];
            if (c == '"')
                flag = !flag;
            else if (!flag && (c == '<' || c == '>'))
                break;
        }
        memo = Memo {true, x, j < text_.size() ? j : std::string::npos};
        return memo.result;
    }

    struct Memo {
        bool valid = false;
        std::size_t from = 0;
        std::size_t result = std::string::npos;
    };

    const std::string& text_;
    std::size_t tracked_ = 0;
    bool odd_ = false; // parity of all quotes in text_[0, tracked_)
    std::size_t last_[2] = {std::string::npos, std::string::npos};
    Memo memo_[2];
};

// Whether the tag whose "<" stands at `less` is one that swallows the white
// space beside it. Its name ends where a tag's name ends, or at "=": the tag
// space pass may take the spaces out of "<p =", and must not change the name.
inline bool SwallowingTagAt(std::string_view text, std::size_t less)
{
    std::size_t k = less + 1;
    if (k < text.size() && text[k] == '/') ++k;
    char name[16];
    std::size_t n = 0;
    for (; k < text.size() && !EndsTagName(static_cast<unsigned char>(text[k])) && text[k] != '='; ++k) {
        if (n == sizeof name) return false; // longer than any such element's name
        name[n++] = LowerAscii(text[k]);
    }
    return SwallowsSpaceAround(std::string_view(name, n));
}

// The same for the tag that ends with the ">" at `greater`: its "<" is the
// nearest one before with no other ">" between.
inline bool SwallowingTagEndingAt(std::string_view text, std::size_t greater)
{
    for (std::size_t j = greater; j-- > 0;) {
        if (text[j] == '>') return false;
        if (text[j] == '<') return SwallowingTagAt(text.substr(0, greater + 1), j);
    }
    return false;
}

} // namespace qm::passes
