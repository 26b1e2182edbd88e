// Removing whole tags named by a tag text, or replacing the tag text inside them.
#pragma once

#include "tests/oracle/unit_text.h"

namespace qm::oracle {

// An empty replacement removes every tag in which the tag text stands as a
// name or attribute; otherwise the tag text is replaced by the replacement.
void TreatTag(Page& page, std::string_view tagText, std::string_view replacement);

} // namespace qm::oracle
