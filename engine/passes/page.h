// The engine's working page: bytes with one NUL per cut fragment, and the fragments themselves.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/ascii.h"
#include "engine/engine_data.h"
#include "engine/messages.h"
#include "engine/tag_call.h"
#include "options/option_set.h"

namespace qm::passes {

// A page never holds a NUL byte (such files are refused before they reach
// the engine), so a NUL can stand for a cut fragment without meeting any
// byte of the page. Which fragment it stands for is kept beside the text.
constexpr char kPlaceholder = '\0';

enum class FragmentKind : std::uint8_t { Script, QuestionBlock, PercentBlock, ColdFusionTag, KeptText };

struct Fragment {
    FragmentKind kind;
    std::string text; // its own NULs stand for...
    std::vector<std::uint32_t> children; // ...these fragments, in order
};

// Which tag texts may occur in the text with the neighbours an accepted
// occurrence needs: built once before the tag passes of a page and widened
// around every change they make. An indexed text that is not present cannot
// be found by its pass, which then has nothing to do.
struct TagIndex {
    bool built = false;
    std::vector<std::string> indexed; // lower case, none holding a neighbour character
    std::vector<bool> present; // beside `indexed`
    std::size_t longest = 0;
    // Bit L of lengthsByFirst[c] is set when an indexed text of length L
    // (below 64) starts with the lower-case byte c: most tokens stop there.
    std::uint64_t lengthsByFirst[256] = {};
    std::vector<std::uint16_t> byFirst[256]; // the indexed texts starting with each lower-case byte
};

// A change of the tag steps: `length` bytes at `at` replaced by the call's
// replacement, or taken away when the call is a removal.
// 16 bytes: a page of many tags plans hundreds of thousands of these. The
// sweep plans no page whose tags could be longer than a length holds.
struct TagEdit {
    std::size_t at;
    std::uint32_t length;
    std::uint32_t call; // the index of the call that makes it
};

// The changes of a tag step found ahead, in one sweep with the step before
// it, for the calls that step had then; in the text as that step leaves it.
struct PlannedTagStep {
    std::vector<TagCall> calls;
    std::vector<TagEdit> edits; // in order
};

struct Page {
    std::string text;
    std::vector<std::uint32_t> placeholders; // the fragment of each NUL of the text, in order
    std::vector<Fragment> fragments; // every fragment cut from this page
    // A pass that writes a new text writes it into this spare and leaves the
    // old text here, so a long page does not cost fresh memory every pass.
    std::string spare;
    TagIndex tagIndex;
    // Empty for a working text. Otherwise the text came with the page's own
    // line ends: they become CR LF once the fragments are cut (which keep
    // theirs, byte for byte), and this line end before the fragments come back.
    std::string pageLineEnd;
    std::optional<PlannedTagStep> plannedTags;
};

// A cleared buffer with room for `capacity` bytes, taken from the page's spare.
inline std::string TakeSpare(Page& page, std::size_t capacity)
{
    std::string buffer = std::move(page.spare);
    buffer.clear();
    // A spare too small goes before the new one comes: the two never live side
    // by side. (Growing it in place would also double its size.) The new one is
    // as large as the text's too, so the two buffers keep taking turns: a
    // smaller one would leave a hole in the heap that no later buffer fits.
    if (buffer.capacity() < capacity) {
        buffer.shrink_to_fit();
        buffer.reserve(std::max(capacity, page.text.capacity()));
    }
    return buffer;
}

// Makes `text` the page's text; the old text becomes the spare.
inline void ReplaceText(Page& page, std::string&& text)
{
    page.spare = std::move(page.text);
    page.text = std::move(text);
}

struct PassContext {
    const TOptionSet& options;
    const EngineData& data;
    MessageSink& messages;
};

// Neighbours the passes test occurrences against.
inline bool IsTagNameBefore(char c) { return c == 8 || c == '\n' || c == '\r' || c == ' ' || c == '<'; }

} // namespace qm::passes
