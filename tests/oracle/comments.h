// Removing HTML comments, except those the keep rules protect.
#pragma once

#include "tests/oracle/unit_text.h"

namespace qm::plain {

void DelComments(Page& page, const PassContext& context);

} // namespace qm::plain
