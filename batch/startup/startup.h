// Where the program keeps its files, how it comes up and how it goes down.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "batch/model/desktop_facts.h"

namespace qm {

struct MainModel;

// Stands for the "Windows folder": the folder whose programs the default external editor is looked for in.
inline constexpr std::string_view kSystemProgramFolder = "/usr/bin";

inline constexpr std::string_view kScreenTooNarrow =
    "Sorry, minimum screen resolution restriction is 800\xD1\x85"
    "600. Program will be closed.\rPlease, set bigger screen resolution and try again.";

// The process environment, limited to the variables the program reads: XDG_DATA_HOME
// and HOME to find its own data folder (and HOME for the file dialogs), and
// VISUAL, EDITOR, PATH and XDG_DATA_DIRS to find the user's text editor.
EnvironmentLookup ProcessEnvironment();

struct ProgramFolderChoice {
    std::string programFolder; // absolute, ending with a separator
    std::string installedDefaults; // where a fresh program folder's data files come from; empty when it is the same
};

// The executable's folder when the program may write there (a portable
// install); otherwise the user's data folder for Quillmark, $XDG_DATA_HOME/quillmark/
// or ~/.local/share/quillmark/, whose defaults come from <prefix>/share/quillmark/
// beside the executable's folder, or from the executable's folder itself.
ProgramFolderChoice ChooseProgramFolder(FileSystem& fs, const std::string& executableFolder,
    const EnvironmentLookup& environment, const std::function<bool(const std::string&)>& isWritable);

// Creates the program folder and copies the installed data files that it
// lacks (Align.dat, Ssi.dat, the help folder); files already there are kept.
Status FillProgramFolder(FileSystem& fs, const ProgramFolderChoice& choice);

// The main window shown for the first time: caption, folders, then the
// settings sequence (defaults, data lists, "Options.dat", the profile, the
// saved list, the command line, a refresh and the path check) and the screen check.
void MainWindowShown(MainModel& model, const std::string& programFolder, const std::string& systemProgramFolder,
    const std::vector<std::string>& arguments);

// The main window closing: "Options.dat" and, when asked, "Default.lst".
void MainWindowClosing(MainModel& model);

} // namespace qm
