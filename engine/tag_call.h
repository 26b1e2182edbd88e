// One call of the tag steps: a tag text and what replaces it, nothing for a removal.
#pragma once

#include <string>

namespace qm {

struct TagCall {
    std::string tag;
    std::string replacement; // empty: the tags holding the text go

    bool operator==(const TagCall&) const = default;
};

} // namespace qm
