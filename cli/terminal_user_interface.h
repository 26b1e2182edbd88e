// How qmk talks to its user: messages on standard error, questions on the terminal or answered by the command line.
#pragma once

#include <atomic>
#include <iosfwd>
#include <string>

#include "batch/model/user_interface.h"
#include "cli/qmk_arguments.h"

namespace qm {

// Set by qmk's Ctrl+C handler: the run stops before the next file, as after Break and OK.
std::atomic<bool>& InterruptSignal();

class TerminalUserInterface final : public UserInterface {
public:
    // `canAsk`: standard input and standard error are a terminal, so a question can be put and answered.
    TerminalUserInterface(std::istream& in, std::ostream& err, bool canAsk, ExistingTargets existing, bool noBackup);

    // Quiet: errors only; warnings and information are not shown.
    void setQuiet(bool quiet) { quiet_ = quiet; }
    // How many existing targets were kept only because nobody could be asked.
    int unansweredSkips() const { return unansweredSkips_; }
    // The model's interrupt flag, raised at the next check once Ctrl+C was pressed.
    void setInterruptFlag(bool* interruptRequested) { interruptRequested_ = interruptRequested; }
    bool interrupted() const { return InterruptSignal().load(); }
    // Clears the progress line before anything else is written to the terminal.
    void setProgressLine(std::string line);
    void clearProgressLine();

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
    std::optional<std::string> readLine();

    std::istream& in_;
    std::ostream& err_;
    bool canAsk_;
    ExistingTargets existing_;
    bool noBackup_;
    int unansweredSkips_ = 0;
    bool progressShown_ = false;
    bool quiet_ = false;
    bool* interruptRequested_ = nullptr;
};

// The message routine's text for a line-based output: carriage returns
// become line breaks, other control characters escapes.
std::string TerminalText(const std::string& text);

} // namespace qm
