// Where the file dialogs open, which folder they remember, and the extension a saved name receives.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/model/user_interface.h"

namespace qm {

struct MainModel;

// The folder a dialog without a folder of its own opens in: the last one the
// user went to (kept in "Options.dat" as lastFolder) while it exists, else
// the home folder; never the program's folder, which holds nothing of the user's.
std::string DialogStartFolder(MainModel& model);

// The folder of a file or folder the user has just chosen becomes the next start folder.
void RememberDialogFolder(MainModel& model, const std::string& folder);

// A saved name without an extension receives the dialog's one, so that
// "mylist" is written as "mylist.lst" and found again by its filter; a name
// that has one keeps it. A file dialog may add it itself; a second is never added.
std::string WithDefaultExtension(const std::string& name, std::string_view extension);

// The open-file and save-file dialogs as every command shows them: the start
// folder filled in when the request names none, the folder remembered
// afterwards, paths made absolute, and a saved name given its extension.
std::vector<std::string> AskOpenFiles(MainModel& model, FileDialogRequest request);
std::optional<std::string> AskSaveFile(MainModel& model, FileDialogRequest request);

// The folder chooser, opened at the start folder; a folder chosen is remembered.
// Its answers are ChooseFolder's: a path, "-" when cancelled, "" when the folder vanished.
std::string AskFolder(MainModel& model, FolderChooserPanels panels);

} // namespace qm
