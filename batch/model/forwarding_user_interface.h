// A user interface that passes every call on to another one: for a model that must exist before the windows it talks
// through, and for a script that answers for the user while it runs.
#pragma once

#include "batch/model/user_interface.h"

namespace qm {

// The model needs its user interface when it is constructed, while the
// windows that implement it need the model's option set: the model gets
// this stand-in, which is pointed at the windows once they exist.
class ForwardingUserInterface final : public UserInterface {
public:
    void setTarget(UserInterface* target) { target_ = target; }

    void showMessage(MessageKind kind, const std::string& text) override { target_->showMessage(kind, text); }
    void showPlainMessage(const std::string& text) override { target_->showPlainMessage(text); }
    bool askYesNo(const std::string& question) override { return target_->askYesNo(question); }
    YesNoCancel askYesNoCancel(const std::string& question) override { return target_->askYesNoCancel(question); }
    bool askOkCancel(const std::string& question) override { return target_->askOkCancel(question); }
    OverwriteAnswer askOverwrite(const OverwritePrompt& prompt) override { return target_->askOverwrite(prompt); }
    std::optional<std::string> askText(
        const std::string& caption, const std::string& prompt, const std::string& initial) override
    {
        return target_->askText(caption, prompt, initial);
    }
    RestoreWarningAnswer warnRestore(const std::string& text) override { return target_->warnRestore(text); }
    std::string chooseFolder(const FolderChooserPanels& panels) override { return target_->chooseFolder(panels); }
    std::vector<std::string> openFiles(const FileDialogRequest& request) override
    {
        return target_->openFiles(request);
    }
    std::optional<std::string> saveFile(const FileDialogRequest& request) override
    {
        return target_->saveFile(request);
    }
    void processEvents() override { target_->processEvents(); }
    bool openDocument(const std::string& path) override { return target_->openDocument(path); }
    bool launchProgram(const std::string& program, const std::string& parameters, const std::string& folder) override
    {
        return target_->launchProgram(program, parameters, folder);
    }

private:
    UserInterface* target_ = nullptr;
};

} // namespace qm
