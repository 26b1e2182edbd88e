// Viewing and editing one file of the panel: its side buttons, the View menu, the editor and the browser.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "batch/model/source_view_state.h"

namespace qm {

struct MainModel;

// With unsaved changes, asks "Save changes to *|* < %s >  ?" and saves on Yes,
// then resets the view when asked to. False when the save failed: the
// changes are still in the view, so the caller must not replace them.
bool OfferToSaveChanges(MainModel& model, bool resetAfterwards);

// Quitting with unsaved changes asks the same question with Cancel as well,
// as every editor does: Yes saves, No drops them, Cancel (or a save that
// failed) keeps the program open. False when the program must stay.
bool OfferToSaveChangesBeforeQuit(MainModel& model);

// menuViewPopup and a change of the highlighted row: the View items and the
// two view buttons follow whether the row's initial and optimized copies exist.
void UpdateViewCommands(MainModel& model);

// The highlighted row changes (listFilesSelectItem).
void HighlightRow(MainModel& model, std::optional<std::size_t> row);
// A click in the panel: no highlighted row afterwards resets the view.
void listFilesClick(MainModel& model);
void listFilesDblClick(MainModel& model);

// The side buttons: show the initial or the optimized copy's text.
void butViewUnZippedClick(MainModel& model);
void butViewZippedClick(MainModel& model);
// The third side button: the differences between the two copies, removed and added runs marked.
void butViewDiffClick(MainModel& model);
// Every change of the view's text: the unsaved-changes mark.
void memoFileSrcChange(MainModel& model);
// Saves the view's text over the shown file (beside it, then renamed over it).
void butSaveFileClick(MainModel& model);
void butSendToEditClick(MainModel& model);

// The View button, its two items, and "Send to external HTML editor".
void butViewClick(MainModel& model);
void menuUnzippedClick(MainModel& model);
void menuZippedClick(MainModel& model);
void menuSendClick(MainModel& model);

// The external editor (edExtEditor) on a file, in the file's folder.
void SendToEditor(MainModel& model, const std::string& file);
// The desktop's program for the file's type (the browser for a page); its answer is not looked at.
void OpenDocument(MainModel& model, const std::string& path);

// A run hides the view and shows it again.
void SetSourceViewVisible(MainModel& model, bool visible);
// The storage mode's radio buttons ran their behaviour: "Optimized file" follows.
void StorageModeChanged(MainModel& model);

} // namespace qm
