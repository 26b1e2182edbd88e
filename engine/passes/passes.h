// The engine's passes over a page, each in one forward sweep.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/passes/page.h"

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

} // namespace qm::passes
