// Cutting scripts and server code out of the page before the passes, and putting them back after.
#pragma once

#include "tests/oracle/unit_text.h"

namespace qm::oracle {

void CutScripts(Page& page, const PassContext& context);
void CutServerCode(Page& page, const PassContext& context, std::u32string_view start, std::u32string_view end);
void CutCfTags(Page& page, const PassContext& context);
void CutKeptText(Page& page);
void PasteScripts(Page& page);

struct FoundTag {
    int status = 0; // 1 found; 0 no qualifying word; 2 no "<" before it; 3 no ">" after it; 4 empty input
    std::size_t tagStart = 0;
    std::size_t wordPos = 0;
    std::size_t tagEnd = 0;
};
FoundTag FindTag(const UnitText& text, std::u32string_view word, bool checkBefore, bool checkAfter);

} // namespace qm::oracle
