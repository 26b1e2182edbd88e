// The logic's file dialog filters ("description|pattern;pattern|...") in the form Qt's file dialog takes.
#pragma once

#include <QStringList>
#include <string_view>

namespace qm {

// One Qt name filter per description, "description (pattern pattern)". Each
// letter of a pattern becomes a class of both cases ("*.htm" gives
// "*.[hH][tT][mM]"), since the program accepts extensions in any case and the
// dialog would otherwise hide INDEX.HTM on a case-sensitive file system. A
// trailing description without patterns gets "*".
QStringList QtNameFilters(std::string_view filter);

} // namespace qm
