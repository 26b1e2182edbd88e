// What the options window asks of the program's logic: profiles, tag schemes, closing, choosers.
#pragma once

#include <cstddef>

#include "batch/options/tag_editor_model.h"
#include "options/option_set.h"

namespace qm {

// Every button of the options window that needs more than the option set
// itself lands here. The window calls one, then shows the option set again,
// so an implementation only changes the option set and asks its questions.
class OptionsWindowCommands {
public:
    virtual ~OptionsWindowCommands() = default;

    virtual void openProfile() = 0; // butOpen, Ctrl+O
    virtual void saveProfile() = 0; // butSave, Ctrl+S (also while butSave is disabled)
    virtual void saveProfileAs() = 0; // butSaveAs, Ctrl+A
    // butClose, the close box, Esc: the closing sequence. The window hides afterwards whatever happens.
    virtual void closeWindow() = 0;

    virtual void loadScheme(TagListKind list) = 0; // butRepOpen, butRemOpen
    virtual void saveScheme(TagListKind list) = 0; // butRepSave, butRemSave
    virtual void saveSchemeAs(TagListKind list) = 0; // butRepSaveAs, butRemSaveAs
    // butDeleteReplaceTag, but2DeleteTag: asks, then removes the entry at index.
    virtual void removeEntry(TagListKind list, std::size_t index) = 0;

    virtual void chooseFolder(Opt option) = 0; // butChooseModPath, butChooseBackUpF: the chooser, then the path check
    virtual void chooseEditor() = 0; // butExtEditor
    virtual void chooseLanguageFile() = 0; // butLan
    virtual void setEnglishLanguage() = 0; // butLanEng
};

} // namespace qm
