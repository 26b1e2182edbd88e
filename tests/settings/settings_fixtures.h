// What the settings tests share: the program folder and options as start-up hands them over.
#pragma once

#include <string>
#include <string_view>

#include "base/text_lines.h"
#include "options/option_set.h"
#include "settings/settings_file.h"
#include "tests/support/temp_dir.h"

namespace qm::test {

// The program folder as start-up hands it over: absolute, ending with a separator.
inline std::string FolderOf(const TempDir& dir) { return dir.path().string() + "/"; }

// The options as the start-up sequence leaves them before "Options.dat" is read.
inline TOptionSet StartUpOptions(const std::string& programFolder)
{
    TOptionSet options;
    options.setText(Opt::edBackUpPath, programFolder + "backup/");
    options.setText(Opt::edOptimizedPath, programFolder + "optimized/");
    options.setText(Opt::edExtEditor, "/usr/bin/editor");
    return options;
}

inline SettingsFile FromText(std::string_view text) { return SettingsFile(SplitLines(text)); }

} // namespace qm::test
