// The engine's passes over a page, each in one forward sweep.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/passes/page.h"
#include "engine/tag_call.h"

namespace qm::passes {

// Protected fragments.
void CutScripts(Page& page, const PassContext& context);
void CutServerCode(Page& page, const PassContext& context, std::string_view start, std::string_view end);
void CutCfTags(Page& page, const PassContext& context);
void CutKeptText(Page& page);
void PasteScripts(Page& page);

// Comments.
void DelComments(Page& page, const PassContext& context);

// White space and lines.
void DelTagSpaces(Page& page);
void DelSpaceBetweenTags(Page& page);
void DelCRLF(Page& page);
void ReplaceDoubleNbsp(Page& page, const PassContext& context);
void DelAllTabs(Page& page);
void DelTabLine(Page& page);
void ReplaceDoubleSpaces(Page& page, const PassContext& context);
void DelBegEndSpace(Page& page);
void DelEmptyLine(Page& page);

// Attribute quotes.
void DelKav(Page& page, const PassContext& context);

// Tags.
void TreatTag(Page& page, std::string_view tagText, std::string_view replacement);
// Builds the page's tag index for these tag texts (in any case).
void IndexTagTexts(Page& page, const std::vector<std::string>& tagTexts);

// The calls of one tag step, made all at once in one sweep over the page.
// Whether they may be is decided from the list alone: no call's change may
// make or unmake an occurrence of another call's text. The sweep gives what
// the calls give one after the other, TreatTag by TreatTag.
class TagListSweep {
public:
    // Nothing when the calls depend on each other: they must then go one by one.
    static std::optional<TagListSweep> For(const std::vector<TagCall>& calls);

    // Every change the calls make, in order; nothing when the page holds a
    // tag whose removal would reach beyond itself (a tag inside another, a
    // backslash in it, a word glued to it): the calls must then go one by one.
    std::optional<std::vector<TagEdit>> plan(const Page& page) const;

private:
    struct Entry {
        std::string lower; // the tag text
        std::uint32_t call; // the first call with this text
        bool removal;
    };
    const Entry* find(const char* token, std::size_t length) const;
    bool GluedWordsAreNoEntries(const Page& page, const std::vector<TagEdit>& edits) const;

    std::vector<Entry> entries_; // in list order
    std::vector<bool> removals_; // by call
    std::vector<std::uint16_t> byFirst_[256]; // entries by the first byte of their text
    std::uint64_t lengthsByFirst_[256] = {}; // bit L: an entry of length L (below 64) starts with that byte
    bool longEntries_ = false; // some entry is 64 bytes long or more
    // Bit (a << 8 | b): some entry's occurrence may begin with the bytes a, b
    // (b the byte after a one-byte entry), in any case.
    std::vector<std::uint64_t> pairs_;
};

// Makes the planned changes, the calls' replacements put in as written.
void ApplyTagEdits(Page& page, std::vector<TagEdit>&& edits, const std::vector<TagCall>& calls);

// The calls of a tag step in one sweep where the lists and the page allow
// it; false, with the page as it was, when they must go one by one. `next`
// is the next step's list as it stands: when it allows, that step's changes
// are found in the same sweep, and made when the step comes with that list.
bool TreatTagsTogether(Page& page, const std::vector<TagCall>& calls, const std::vector<TagCall>& next = {});

} // namespace qm::passes
