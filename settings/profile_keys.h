// The profile options by key, for the command line: which keys --set takes, and what a key that names none means.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "options/option_set.h"
#include "settings/settings_file.h"

namespace qm {

// The options --set takes and --list-options lists: the profile options that
// a profile stores and reads back, in table order.
std::vector<const OptionRow*> SettableOptions();

// One line per key of the profile's section that a profile does not hold
// (the write-only cbScriptsInfo counts as held), each saying why.
std::vector<std::string> ProfileKeyWarnings(const SettingsFile& profile);

enum class AssignmentResult {
    Applied,
    UnknownKey, // a misspelling: a warning, the run goes on
    Refused, // a key or value that cannot be meant: a wrong command line
};

struct AssignmentOutcome {
    AssignmentResult result;
    std::string message; // why, naming the key; empty when applied
};

// Applies one "KEY=VALUE" of the command line. A flag's value is an integer
// as the profiles write it: 0 is off, any other integer on.
AssignmentOutcome AssignProfileOption(TOptionSet& options, std::string_view assignment);

// A caption as the window shows it: "&&" is one ampersand, chains of spaces one space.
std::string PlainCaption(std::string_view caption);

} // namespace qm
