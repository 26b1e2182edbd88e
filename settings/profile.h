// Profiles (*.pro with their *.rep and *.rem schemes): moving the profile options in and out of files.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "options/option_set.h"
#include "settings/settings_file.h"

namespace qm {

// Called after a flag read from a profile has changed the option set, so the
// window can run that flag's click behaviour.
using FlagChanged = std::function<void(Opt)>;

// Reads the profile flags (every one but the write-only cbScriptsInfo); a key
// that is missing or no integer keeps the current value. Each flag whose value
// changes is reported to onFlagChanged; without one, the click behaviour's
// effect on the option set (ProfileModified) is applied here.
void ReadProfileFlags(const SettingsFile& file, TOptionSet& options, const FlagChanged& onFlagChanged = {});

// Writes every profile flag, the write-only one included, in table order.
void WriteProfileFlags(SettingsFile& file, const TOptionSet& options);

// The profile path without its extension: from the last "." of the last path
// component; a component without "." leaves the whole path.
std::string SchemeBase(std::string_view profilePath);

// Loads the profile named by edProfile with its two scheme files. A profile
// without a settings section (no file, an empty file, an empty edProfile) is
// saved from the current options instead. On failure the steps done stay
// done, the later ones are skipped and the modified marks stay as they are.
Status LoadProfile(
    FileSystem& fs, TOptionSet& options, std::string_view programFolder, const FlagChanged& onFlagChanged = {});

// Saves the profile named by edProfile (the default profile when it is empty)
// and its two scheme files, then clears the modified marks. The profile's
// folder is never created: a missing one is a failure.
Status SaveProfile(FileSystem& fs, TOptionSet& options, std::string_view programFolder);

} // namespace qm
