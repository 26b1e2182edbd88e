// A user who answers from a script: records every message and question, and fails the test on one it did not expect.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "batch/model/user_interface.h"

namespace qm::test {

// One thing the program showed or asked, in order.
struct UiEvent {
    std::string kind; // "warning", "error", "information", "plain", "yesno", "yesnocancel", "okcancel",
                      // "overwrite", "text", "restore", "folder", "open", "save"
    std::string text; // the message or question; for "overwrite" the upper file
};

// The answer to the next question, and which kind of question it must be.
struct ScriptedAnswer {
    std::string kind;
    std::variant<bool, YesNoCancel, OverwriteAnswer, std::optional<std::string>, RestoreWarningAnswer, std::string,
        std::vector<std::string>>
        value;
};

ScriptedAnswer Yes();
ScriptedAnswer No();
ScriptedAnswer Ok();
ScriptedAnswer CancelOk(); // Cancel to an OK/Cancel question
ScriptedAnswer YesNoCancelAnswer(YesNoCancel answer);
ScriptedAnswer Overwrite(OverwriteAnswer answer);
ScriptedAnswer TypeText(std::string text);
ScriptedAnswer CancelText();
ScriptedAnswer RestoreWarning(RestoreWarningAnswer answer);
ScriptedAnswer ChooseFolder(std::string folder); // "-" cancels
ScriptedAnswer OpenFiles(std::vector<std::string> files);
ScriptedAnswer SaveFileAs(std::optional<std::string> name);

class ScriptedUi final : public UserInterface {
public:
    ScriptedUi() = default;
    explicit ScriptedUi(std::vector<ScriptedAnswer> answers);
    ~ScriptedUi() override;

    void script(std::vector<ScriptedAnswer> answers);
    bool scriptDone() const { return answers_.empty(); }

    const std::vector<UiEvent>& events() const { return events_; }
    std::vector<std::string> texts(const std::string& kind) const;
    std::vector<std::string> messages() const; // warnings, errors and information, in order
    bool saw(const std::string& kind, const std::string& fragment) const;
    void clearEvents() { events_.clear(); }

    // Runs at every processEvents, as a user pressing a key would.
    std::function<void()> onProcessEvents;
    int processEventsCalls = 0;
    bool launchSucceeds = true; // the shell starts the programs it is asked to
    bool openSucceeds = true; // the shell has a program for every document
    std::vector<OverwritePrompt> overwritePrompts;
    std::vector<FolderChooserPanels> chooserPanels;
    std::vector<FileDialogRequest> dialogRequests;

    void showMessage(MessageKind kind, const std::string& text) override;
    void showPlainMessage(const std::string& text) override;
    bool askYesNo(const std::string& question) override;
    YesNoCancel askYesNoCancel(const std::string& question) override;
    bool askOkCancel(const std::string& question) override;
    OverwriteAnswer askOverwrite(const OverwritePrompt& prompt) override;
    std::optional<std::string> askText(
        const std::string& caption, const std::string& prompt, const std::string& initial) override;
    RestoreWarningAnswer warnRestore(const std::string& text) override;
    std::string chooseFolder(const FolderChooserPanels& panels) override;
    std::vector<std::string> openFiles(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    void processEvents() override;
    bool openDocument(const std::string& path) override;
    bool launchProgram(const std::string& program, const std::string& parameters, const std::string& folder) override;

private:
    // The next answer if it is of this kind; otherwise the test fails and nullopt.
    std::optional<ScriptedAnswer> next(const std::string& kind, const std::string& text);

    std::deque<ScriptedAnswer> answers_;
    std::vector<UiEvent> events_;
};

} // namespace qm::test
