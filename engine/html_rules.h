// What a browser makes of a few characters and element names: the rules that keep an optimized page showing the same.
#pragma once

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// White space that separates words on a page.
constexpr bool IsPageWhiteSpace(unsigned c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

constexpr bool IsAsciiLetter(unsigned c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// What may follow a tag's name: white space, "/" or ">" (and the backspace
// that has always ended the word "script").
constexpr bool EndsTagName(unsigned c) { return c == 8 || IsPageWhiteSpace(c) || c == '/' || c == '>'; }

// A "<" opens a tag (or a comment, a declaration or a processing
// instruction) only when one of these follows it; "a < b" is text.
constexpr bool OpensTagAfterLess(unsigned c) { return IsAsciiLetter(c) || c == '/' || c == '!' || c == '?'; }

// Elements whose edges swallow the white space beside them: blocks, tables,
// lists, the document's structure and the head's content, and line breaks. A
// space between two tags goes only when one of them is such an element (by
// its lower-case name; a closing tag counts as its element). Elements that
// keep their content as written (pre, textarea, ...) are not here: a space
// inside them shows.
constexpr std::string_view kSpaceSwallowingElements[] = {"address", "article", "aside", "base", "blockquote", "body",
    "br", "caption", "center", "col", "colgroup", "dd", "details", "dir", "div", "dl", "dt", "fieldset", "figcaption",
    "figure", "footer", "form", "frame", "frameset", "h1", "h2", "h3", "h4", "h5", "h6", "head", "header", "hgroup",
    "hr", "html", "legend", "li", "link", "main", "menu", "meta", "nav", "ol", "optgroup", "option", "p", "search",
    "section", "summary", "table", "tbody", "td", "tfoot", "th", "thead", "title", "tr", "ul"};

inline bool SwallowsSpaceAround(std::string_view lowerName)
{
    return std::find(std::begin(kSpaceSwallowingElements), std::end(kSpaceSwallowingElements), lowerName) !=
        std::end(kSpaceSwallowingElements);
}

// Elements whose content the browser shows as written, or takes as plain
// text: with cbKeepPre on, their content comes back byte for byte.
constexpr std::array<std::string_view, 6> kKeptTextElements {"pre", "textarea", "title", "xmp", "listing", "plaintext"};

inline bool KeepsItsText(std::string_view lowerName)
{
    return std::find(kKeptTextElements.begin(), kKeptTextElements.end(), lowerName) != kKeptTextElements.end();
}

// Elements whose content is raw text up to their closing tag: no tag or comment starts inside them.
inline bool HoldsRawText(std::string_view lowerName) { return lowerName == "script" || lowerName == "style"; }

// Attributes whose empty value means the same as no attribute at all (by
// lower-case name): an empty href still makes a link, an empty value or
// checked still sets them, and an image with an empty alt that does not load
// shows nothing where one without alt shows a broken-image sign.
inline bool EmptyValueMeansNothing(std::string_view lowerName)
{
    static constexpr std::array<std::string_view, 6> names {"class", "id", "style", "title", "lang", "dir"};
    if (lowerName.size() > 2 && lowerName.substr(0, 2) == "on") return true; // event handlers
    return std::find(names.begin(), names.end(), lowerName) != names.end();
}

// The element names the page's own style sheets (its style blocks) use as
// selectors, in lower case. Replacing such an element by another changes how
// the page shows, whatever the browser's own styles say.
std::vector<std::string> StyleSheetElementNames(std::string_view page);

// The element name of a tag text of the tag lists: "/P" gives "p", "font size=2" gives "font".
std::string ElementNameOf(std::string_view tagText);

} // namespace qm
