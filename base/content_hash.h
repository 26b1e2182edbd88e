// A digest of a file's bytes, so a later run can tell whether a file still holds exactly what was recorded.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// BLAKE2b with a 256-bit digest, as 64 lower-case hexadecimal digits: the
// same text `b2sum -l 256 FILE` prints, so a user can check a record by hand.
std::string ContentHash(std::string_view bytes);

} // namespace qm
