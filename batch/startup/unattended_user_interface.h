// The user a scripted command line stands in for: no question waits for an answer, messages go to a log.
#pragma once

#include <ostream>

#include "batch/model/user_interface.h"

namespace qm {

struct MainState;

// While a command line that quits (/q) or starts a run itself (/nc) is carried
// out, nobody may be there to answer. Every question gets the answer that
// carries out what the script asked for: Yes (restrict as the options say,
// start the run), OK (a Break pressed meanwhile stops), the overwrite rule of
// /ow (Skip All unless it says "y"), and Cancel for anything that needs a
// choice (a name, a folder, a file). Messages are written to the log, one line
// each, as a Unix tool reports them. Pending events and the shell calls still
// go to the shown user interface, so Break and Esc keep working.
class UnattendedUserInterface final : public UserInterface {
public:
    UnattendedUserInterface(UserInterface& shown, std::ostream& log, const MainState& state);

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
    void log(std::string_view kind, const std::string& text);

    UserInterface& shown_;
    std::ostream& log_;
    const MainState& state_;
};

// One line of the log for a message: the program's name, the kind, the text
// with its carriage returns as "; ".
std::string LogLine(std::string_view kind, const std::string& text);

} // namespace qm
