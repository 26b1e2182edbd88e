// qmk --list-options: the profile options in force, made from the option table.
#pragma once

#include <iosfwd>

#include "options/option_set.h"

namespace qm {

// One line per option --set takes: key, value in force, default and
// caption, under a heading line; with json, one object per option instead.
void PrintOptionList(const TOptionSet& options, std::ostream& out, bool json);

} // namespace qm
