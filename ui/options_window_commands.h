// What the options window asks of the program's logic: profiles, tag schemes, closing, path checks.
#pragma once

#include <cstddef>

namespace qm {

// The two tag lists of the "Tags" page.
enum class TagList { Replace, Delete };

// Every button of the options window that needs more than the option set
// itself lands here. The window calls one, then shows the option set again,
// so an implementation only changes the option set and asks its questions.
class OptionsWindowCommands {
public:
    virtual ~OptionsWindowCommands() = default;

    virtual void openProfile() = 0;   // butOpen, Ctrl+O
    virtual void saveProfile() = 0;   // butSave, Ctrl+S (also while butSave is disabled)
    virtual void saveProfileAs() = 0; // butSaveAs, Ctrl+A
    // butClose, the close box, Esc: the closing sequence. The window hides afterwards whatever happens.
    virtual void closeWindow() = 0;

    virtual void loadScheme(TagList list) = 0;   // butRepOpen, butRemOpen
    virtual void saveScheme(TagList list) = 0;   // butRepSave, butRemSave
    virtual void saveSchemeAs(TagList list) = 0; // butRepSaveAs, butRemSaveAs
    // butDeleteReplaceTag, but2DeleteTag: asks, then removes the entry at index.
    virtual void removeEntry(TagList list, std::size_t index) = 0;

    virtual void checkPaths() = 0;      // after butChooseModPath or butChooseBackUpF
    virtual void saveLastOptions() = 0; // butLanEng
};

} // namespace qm
