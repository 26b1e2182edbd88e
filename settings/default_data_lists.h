// The data lists as shipped, built into the program so a missing file never empties a list.
#pragma once

#include <string_view>

namespace qm {

// The texts of the shipped "Align.dat" and "Ssi.dat", one entry a line.
std::string_view DefaultAlignDat();
std::string_view DefaultSsiDat();

} // namespace qm
