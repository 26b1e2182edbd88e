// The overwrite confirmation's two questions: filling the dialog, remembering "All" answers, the name prompt.
#pragma once

#include <string>

#include "batch/model/user_interface.h"

namespace qm {

struct MainModel;

// The answer to carry out for one file: Overwrite, Skip, NewName or Rename.
// "Overwrite All", "Skip All" and "Ovewrite All Older" are resolved into
// Overwrite or Skip here.
struct OverwriteDecision {
    OverwriteAnswer answer = OverwriteAnswer::Skip;
    std::string newPath; // NewName and Rename: the accepted name in the upper file's folder
};

// TfrmReplaceDlg's texts: the upper file is the one in the way, the lower the one that would replace it.
OverwritePrompt MakeOverwritePrompt(
    MainModel& model, OverwriteQuestion question, const std::string& lowerFile, const std::string& upperFile);

// Asks the question while its ask flag is on (whatever cbShowConf says),
// otherwise gives the remembered answer. The backup question and the copy
// question never share an answer.
OverwriteDecision DecideOverwrite(
    MainModel& model, OverwriteQuestion question, const std::string& lowerFile, const std::string& upperFile);

// "Ovewrite All Older": true when the lower file's calendar day (local time)
// is later than the upper file's; files of one day count as equally old.
bool LowerIsOlderDayLater(MainModel& model, const std::string& lowerFile, const std::string& upperFile);

// The input box of New name ("Saving", "Enter name for new file") and Rename
// ("Renaming", "Enter new filename"), shown again while the name is empty,
// names another folder, or is taken in the upper file's folder. The path in
// that folder, or empty when the user cancelled.
std::string AskNewName(MainModel& model, OverwriteAnswer answer, const std::string& upperFile);

} // namespace qm
