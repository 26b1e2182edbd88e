// The options window's commands, each one call into the logic.
#include "ui/options_window_binding.h"

#include "batch/options/options_commands.h"
#include "batch/options/scheme_commands.h"

namespace qm {

void OptionsWindowBinding::openProfile() { run_(OpenProfile); }
void OptionsWindowBinding::saveProfile()
{
    run_([](MainModel& m) { SaveCurrentProfile(m); });
}
void OptionsWindowBinding::saveProfileAs() { run_(SaveProfileAs); }
void OptionsWindowBinding::closeWindow() { run_(CloseOptionsWindow); }
void OptionsWindowBinding::loadScheme(TagListKind list)
{
    run_([list](MainModel& m) { LoadSchemeFromFile(m, list); });
}
void OptionsWindowBinding::saveScheme(TagListKind list)
{
    run_([list](MainModel& m) { SaveSchemeChanges(m, list); });
}
void OptionsWindowBinding::saveSchemeAs(TagListKind list)
{
    run_([list](MainModel& m) { SaveSchemeAs(m, list); });
}

void OptionsWindowBinding::removeEntry(TagListKind list, std::size_t index)
{
    run_([list, index](MainModel& m) { RemoveTagEntry(m, list, index); });
}

void OptionsWindowBinding::chooseFolder(Opt option)
{
    run_([option](MainModel& m) { option == Opt::edBackUpPath ? ChooseBackupFolder(m) : ChooseOutputFolder(m); });
}

void OptionsWindowBinding::chooseEditor() { run_(ChooseExternalEditor); }
void OptionsWindowBinding::chooseLanguageFile() { run_(ChooseLanguageFile); }
void OptionsWindowBinding::setEnglishLanguage() { run_(SetEnglishLanguage); }

} // namespace qm
