// The one interface through which the program's logic talks to the user: messages, questions, dialogs, shell calls.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/messages.h"

namespace qm {

enum class YesNoCancel { Yes, No, Cancel };

// Which file the overwrite confirmation is about.
enum class OverwriteQuestion {
    Backup, // a backup copy of that name already exists
    Copy, // the file the optimized text is to go to already exists
};

// The seven buttons of the overwrite confirmation.
enum class OverwriteAnswer { Overwrite, OverwriteAll, Skip, OverwriteAllOlder, SkipAll, NewName, Rename };

// Everything the confirmation shows; the logic fills it, the window draws it.
struct OverwritePrompt {
    OverwriteQuestion question = OverwriteQuestion::Copy;
    std::string upperFile; // the file in the way (labToFile)
    std::string upperFileInfo; // its size, " bytes   ", its date text
    std::string lowerFile; // the file that would replace it (labFromFile)
    std::string lowerFileInfo; // likewise, followed by "  ?"
    std::string secondLabel; // "With file" or "With optimized copy of the file"
    bool overwriteOlderEnabled = false;
};

enum class RestoreWarningAnswer { Yes, YesToAll };

// What the folder chooser's two restriction panels say before a folder scan.
struct FolderChooserPanels {
    bool visible = false;
    std::array<std::string, 3> filesLines; // the last one is shown in bold
    int folderIcon = 0; // 1, 2 or 3: the chooser's first, second or third folder icon
    std::array<std::string, 3> foldersLines; // the last one is shown in bold
    std::string startFolder; // opened, expanded and selected when the chooser is shown
};

struct FileDialogRequest {
    std::string title;
    std::string filter; // "description|pattern;pattern|description|pattern..."
    std::string startFolder;
    std::string defaultExtension; // without the dot: "lst"; a typed name without an extension receives it
    bool multiple = false;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // The message routine: a modal box with an OK button. Use ShowMessage(),
    // which applies the leading carriage return rule first.
    virtual void showMessage(MessageKind kind, const std::string& text) = 0;
    // A plain message box without a kind (a file whose time cannot be read).
    virtual void showPlainMessage(const std::string& text) = 0;

    virtual bool askYesNo(const std::string& question) = 0; // true for Yes
    virtual YesNoCancel askYesNoCancel(const std::string& question) = 0;
    virtual bool askOkCancel(const std::string& question) = 0; // true for OK
    virtual OverwriteAnswer askOverwrite(const OverwritePrompt& prompt) = 0;
    // The input box; nullopt when cancelled.
    virtual std::optional<std::string> askText(
        const std::string& caption, const std::string& prompt, const std::string& initial) = 0;
    virtual RestoreWarningAnswer warnRestore(const std::string& text) = 0;

    // An existing folder's path, "-" when cancelled, "" when the chosen folder vanished.
    virtual std::string chooseFolder(const FolderChooserPanels& panels) = 0;
    virtual std::vector<std::string> openFiles(const FileDialogRequest& request) = 0; // empty when cancelled
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;

    // Lets pending window events run, so Break, Esc and the clock are seen during long work.
    virtual void processEvents() = 0;

    // Shell calls; false when the shell could not do it.
    virtual bool openDocument(const std::string& path) = 0;
    virtual bool launchProgram(
        const std::string& program, const std::string& parameters, const std::string& folder) = 0;
};

// The message routine's rule: a text without a carriage return gets one in front.
std::string MessageText(const std::string& text);
inline void ShowMessage(UserInterface& ui, MessageKind kind, const std::string& text)
{
    ui.showMessage(kind, MessageText(text));
}

} // namespace qm
