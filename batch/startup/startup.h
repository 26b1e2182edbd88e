// How the program comes up and how it goes down.
#pragma once

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

// The main window shown for the first time: caption, folders, then the
// settings sequence (defaults, data lists, "Options.dat", the profile, the
// saved list, the command line, a refresh and the path check) and the screen check.
void MainWindowShown(MainModel& model, const std::string& programFolder, const std::string& systemProgramFolder,
    const std::vector<std::string>& arguments);

// The main window closing: "Options.dat" and, when asked, "Default.lst".
void MainWindowClosing(MainModel& model);

} // namespace qm
