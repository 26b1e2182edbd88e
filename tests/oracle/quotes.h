// Removing quotes that attribute values do not need, and empty attributes.
#pragma once

#include "tests/oracle/unit_text.h"

namespace qm::oracle {

void DelKav(Page& page, const PassContext& context);

} // namespace qm::oracle
