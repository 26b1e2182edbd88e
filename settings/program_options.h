// "Options.dat" in the program folder as a whole: reading it into the option set and writing it back.
#pragma once

#include <string>
#include <string_view>

#include "options/option_set.h"
#include "settings/settings_file.h"

namespace qm {

// The program folder + "Options.dat".
std::string OptionsFilePath(std::string_view programFolder);

struct LastOptionsRead {
    SettingsStatus status;     // a file that exists but cannot be read
    bool sectionFound = false; // false: no file, an empty file, or no key in the section
};

// Reads every program option that the file holds, with the fallbacks of
// ReadProgramOptions; writes nothing. Without a section the options stay as they were.
LastOptionsRead ReadLastOptions(TOptionSet& options, std::string_view programFolder);

// Writes the program options into "Options.dat", key by key (other lines
// stay), replacing the file atomically.
SettingsStatus SaveLastOptions(const TOptionSet& options, std::string_view programFolder);

} // namespace qm
