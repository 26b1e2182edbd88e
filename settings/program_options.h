// "Options.dat" in the program folder: the program options, their fallbacks, and the file as a whole.
#pragma once

#include <string>
#include <string_view>

#include "options/option_set.h"
#include "settings/settings_file.h"

namespace qm {

// Paths inside the program folder that serve as fallbacks when "Options.dat"
// lacks a key. The program folder is an absolute path; a missing trailing
// separator is supplied.
struct ProgramFolderDefaults {
    std::string programFolder;

    std::string defaultProfile() const; // program folder + "Profiles/Default.pro"
    std::string backUpPath() const; // program folder + "backup/"
    std::string optimizedPath() const; // program folder + "optimized/"
};

// Every program option of "Options.dat", in table order. A missing key (or,
// for flags and integers, one that is no integer) takes its fallback: the
// three program folder paths above for edProfile, edBackUpPath and
// edOptimizedPath, empty for edExtEditor and edLan, 0 for column_sort, the
// current value for all others. The enabling rules of the dependent
// controls are the window's business once it has the values.
void ReadProgramOptions(const SettingsFile& file, TOptionSet& options, const ProgramFolderDefaults& defaults);

// Writes every program option in table order. False when a value cannot be
// kept in the file (it holds a line break); the keys before it are written.
bool WriteProgramOptions(SettingsFile& file, const TOptionSet& options);

// The program folder + "Options.dat".
std::string OptionsFilePath(std::string_view programFolder);

// Reads every program option that the file holds, with the fallbacks of
// ReadProgramOptions; writes nothing. Without a section (no file, an empty
// file, or no key in it) the options stay as they were and the answer is
// false; a file that exists but cannot be read is a failure.
Expected<bool> ReadLastOptions(FileSystem& fs, TOptionSet& options, std::string_view programFolder);

// Writes the program options into "Options.dat", key by key (other lines
// stay), replacing the file atomically.
Status SaveLastOptions(FileSystem& fs, const TOptionSet& options, std::string_view programFolder);

} // namespace qm
