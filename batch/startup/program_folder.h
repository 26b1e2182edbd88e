// Which folder the program keeps its settings, profiles, data lists, copies and backups in.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace qm {

// A file of this name beside the executables makes their folder the program
// folder (the portable layout and the build tree). An installed copy has
// none, whoever runs it: root's settings belong in root's home, not in /usr.
inline constexpr std::string_view kPortableMarker = "quillmark-portable.txt";

// Reads one environment variable; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;
// The process environment. XDG_DATA_HOME and HOME are the only variables the
// program ever reads, and only to find its own data folder when it is installed.
EnvironmentLookup ProcessEnvironment();

struct ProgramFolderChoice {
    std::string programFolder; // absolute, ending with a separator
    std::string installedDefaults; // where a fresh program folder's data files come from; empty when it is the same
};

// The executables' folder when it holds the portable marker; otherwise the
// user's data folder for Quillmark, $XDG_DATA_HOME/quillmark/ or
// ~/.local/share/quillmark/, whose defaults come from the installed
// share/quillmark/ (or the executables' folder, when there is none). Without
// either variable, the installed defaults themselves.
ProgramFolderChoice ChooseProgramFolder(
    FileSystem& fs, const std::string& executableFolder, const EnvironmentLookup& environment);

// Creates the program folder and copies the installed data files that it
// lacks (Align.dat, Ssi.dat, the default profile, the help folder); files
// already there are kept.
Status FillProgramFolder(FileSystem& fs, const ProgramFolderChoice& choice);

// The folder the desktop program runs in: the chosen one, created and
// filled; when that fails (a read-only home), the installed defaults, so the
// pages come out as on any other machine, with the reason to show.
struct SettledProgramFolder {
    std::string folder;
    Status filled;
};
SettledProgramFolder SettleProgramFolder(FileSystem& fs, const ProgramFolderChoice& choice);

// The folder qmk, which only reads settings, takes them from: the user's
// program folder once it holds settings or data lists, otherwise the
// installed defaults. Nothing is created.
std::string FolderToRead(FileSystem& fs, const ProgramFolderChoice& choice);

} // namespace qm
