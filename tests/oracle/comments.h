// Removing HTML comments, except those the keep rules protect.
#pragma once

#include "tests/oracle/unit_text.h"

namespace qm::oracle {

void DelComments(Page& page, const PassContext& context);

} // namespace qm::oracle
