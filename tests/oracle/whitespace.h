// The nine passes that remove or shorten white space and lines.
#pragma once

#include "tests/oracle/unit_text.h"

namespace qm::oracle {

void DelTagSpaces(Page& page);
void DelSpaceBetweenTags(Page& page);
void DelCRLF(Page& page);
void ReplaceDoubleNbsp(Page& page, const PassContext& context);
void DelAllTabs(Page& page);
void DelTabLine(Page& page);
void ReplaceDoubleSpaces(Page& page, const PassContext& context);
void DelBegEndSpace(Page& page);
void DelEmptyLine(Page& page);

} // namespace qm::oracle
