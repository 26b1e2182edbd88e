// The options' files as operations: "Options.dat" at start and close, profiles Open, Save and Save as, closing the
// options window.
#pragma once

#include "base/status.h"

namespace qm {

struct MainModel;

// Any failure of the settings files shows the one message "Error"; true when the status is a success.
bool ReportSettings(MainModel& model, const Status& status);

// Load last options: "Options.dat" into the options; without a section the
// current options are written into it instead. Runs the click behaviours of
// cbProcessEmbeded, cbMaxEmbCount, cbMaxFCount and the radio group, applies
// the panel's layout and takes column_sort as the panel's sort key.
void LoadLastOptions(MainModel& model);

// Save last options, with the panel's current layout and sort key.
void SaveLastOptions(MainModel& model);

// Load profile and Save profile with their scheme files; "Error" on failure.
bool LoadCurrentProfile(MainModel& model);
bool SaveCurrentProfile(MainModel& model);

// butOpen (Ctrl+O): the question about unsaved changes, the dialog, Load profile.
void OpenProfile(MainModel& model);
// butSaveAs (Ctrl+A): the dialog, then Save profile under the new name.
void SaveProfileAs(MainModel& model);

// Closing the options window, however it is closed: the highlighted row
// selected again, Save profile, Save last options, RefreshPanel.
void CloseOptionsWindow(MainModel& model);

// The path check: a trailing separator for edOptimizedPath, and warnings
// when that folder or the external editor does not exist.
void PathCheck(MainModel& model);

// butChooseModPath and butChooseBackUpF: the folder chooser into
// edOptimizedPath or edBackUpPath (with a trailing separator), then the path check.
void ChooseOutputFolder(MainModel& model);
void ChooseBackupFolder(MainModel& model);

// butExtEditor: a program chosen in the file dialog becomes edExtEditor, as chosen.
void ChooseExternalEditor(MainModel& model);

// butLanEng: no language file, saved at once.
void SetEnglishLanguage(MainModel& model);

// butLan: the open-file dialog on the program folder's "languages" folder; the path is kept as chosen.
void ChooseLanguageFile(MainModel& model);

} // namespace qm
