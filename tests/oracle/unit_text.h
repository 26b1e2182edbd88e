// The oracle's text: one unit per byte, with markers and placeholders beyond the byte range.
#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/engine_data.h"
#include "engine/html_rules.h"
#include "engine/messages.h"
#include "options/option_set.h"

namespace qm::oracle {

// Every byte of a page is the unit of the same value. The passes hide
// occurrences behind marker units and stand placeholders for cut fragments;
// both lie above 0xFF, so no byte of the page can ever be taken for one.
using Unit = char32_t;
using UnitText = std::u32string;

enum Marker : Unit {
    kHiddenLess = 0x100, // "<" of a quoted "< "
    kHiddenGreater, // ">" of a quoted " >"
    kHiddenEqual, // "=" of a quoted " =" or "= "
    kHiddenSpace, // the space of a quoted "> <"
    kHiddenAmpersand, // first "&" of a quoted "&nbsp;&nbsp;"
    kKeptQuote, // a double quote the quote pass has examined and keeps
    kHiddenTagUpper, // first letter, upper case, of a tag text occurrence left alone
    kHiddenTagOther, // first character, as the lower-case tag text has it, likewise
};

// Placeholder units number their fragments: kPlaceholderBase + index.
constexpr Unit kPlaceholderBase = 0x10000;
inline bool IsPlaceholder(Unit u) { return u >= kPlaceholderBase; }

// A to Z only: bytes from 0x80 up are parts of UTF-8 characters and stay as they are.
inline Unit LowerUnit(Unit u) { return (u >= 'A' && u <= 'Z') ? u + ('a' - 'A') : u; }
UnitText Lower(const UnitText& text);
UnitText Widen(std::string_view bytes);
std::string Narrow(const UnitText& text); // every unit must be a byte by now

enum class FragmentKind { Script, QuestionBlock, PercentBlock, ColdFusionTag, KeptText };

struct Fragment {
    FragmentKind kind;
    UnitText text; // may hold the placeholders of fragments cut before it
};

// The working text, its mirror, and the fragments cut out of them.
struct Page {
    UnitText text;
    UnitText mirror;
    std::vector<Fragment> fragments;

    void refreshMirror() { mirror = Lower(text); }
};

struct PassContext {
    const TOptionSet& options;
    const EngineData& data;
    MessageSink& messages;
};

// Whether the unit at index p (0-based) lies inside a double-quoted value:
// an odd number of counting quotes stands before it. A quote right after a
// backslash does not count unless that backslash follows another backslash.
bool Inkav(const UnitText& text, std::size_t p);

// Every unit equal to `from` becomes `to`.
void ReplaceChar(UnitText& text, Unit from, Unit to);

// Erase [first, last] inclusive, or insert, in both texts at once.
void EraseBoth(Page& page, std::size_t first, std::size_t last);
void InsertBoth(Page& page, std::size_t at, Unit unit);

// Turns the given markers back into their characters when the pass ends,
// also when it ends by a failure, so no marker outlives its pass.
class MarkerRestorer {
public:
    MarkerRestorer(UnitText& text, std::initializer_list<std::pair<Unit, Unit>> markers)
        : text_(text)
    {
        for (auto marker : markers) markers_[count_++] = marker;
    }
    ~MarkerRestorer()
    {
        for (std::size_t i = 0; i < count_; ++i) ReplaceChar(text_, markers_[i].first, markers_[i].second);
    }
    MarkerRestorer(const MarkerRestorer&) = delete;
    MarkerRestorer& operator=(const MarkerRestorer&) = delete;

private:
    UnitText& text_;
    std::array<std::pair<Unit, Unit>, 4> markers_ {};
    std::size_t count_ = 0;
};

// A marker as the character it stands for; any other unit as it is.
Unit Plain(Unit u);

// Whether the place [first, last] lies inside a tag: walking back from it
// with a flag that flips at every double quote, the first unquoted "<" or
// ">" is a "<" that opens a tag, and walking forward likewise the first is a
// ">". Markers count as the characters they stand for.
bool InsideTag(const UnitText& text, std::size_t first, std::size_t last);

// The lower-case name of the tag whose "<" stands at `less` ("/" skipped), as bytes, up to "=" at most.
std::string TagNameAt(const UnitText& text, std::size_t less);

// Character classes the passes test neighbours against.
inline bool IsTagNameBefore(Unit u) { return u == 8 || u == '\n' || u == '\r' || u == ' ' || u == '<'; }

} // namespace qm::oracle
