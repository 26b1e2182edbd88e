// qmk's user interface on standard error and the terminal.
#include "cli/terminal_user_interface.h"

#include <istream>
#include <ostream>

#include "base/ascii.h"

namespace qm {

std::atomic<bool>& InterruptSignal()
{
    static std::atomic<bool> signalled {false};
    return signalled;
}

std::string TerminalText(const std::string& text)
{
    std::string line;
    for (char c : text) {
        if (c == '\r') {
            if (!line.empty() && line.back() != '\n') line += '\n';
        } else if (c == '\n' || c == '\t' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)) {
            line += c;
        } else {
            line += EscapeControlCharacters(std::string_view(&c, 1)); // an escape sequence never reaches the terminal
        }
    }
    while (!line.empty() && line.back() == '\n') line.pop_back();
    return line;
}

TerminalUserInterface::TerminalUserInterface(
    std::istream& in, std::ostream& err, bool canAsk, ExistingTargets existing, bool noBackup)
    : in_(in)
    , err_(err)
    , canAsk_(canAsk)
    , existing_(existing)
    , noBackup_(noBackup)
{
}

void TerminalUserInterface::setProgressLine(std::string line)
{
    err_ << "\r\033[K" << line << std::flush;
    progressShown_ = true;
}

void TerminalUserInterface::clearProgressLine()
{
    if (!progressShown_) return;
    err_ << "\r\033[K" << std::flush;
    progressShown_ = false;
}

void TerminalUserInterface::showMessage(MessageKind kind, const std::string& text)
{
    if (quiet_ && kind != MessageKind::Error) return;
    clearProgressLine();
    const char* word = kind == MessageKind::Error ? "error: " : kind == MessageKind::Warning ? "warning: " : "";
    err_ << "qmk: " << word << TerminalText(text) << "\n";
}

void TerminalUserInterface::showPlainMessage(const std::string& text)
{
    clearProgressLine();
    err_ << "qmk: " << TerminalText(text) << "\n";
}

std::optional<std::string> TerminalUserInterface::readLine()
{
    std::string line;
    if (!std::getline(in_, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// qmk asks nothing but the overwrite confirmation; any other question gets the answer that changes nothing.
bool TerminalUserInterface::askYesNo(const std::string&) { return false; }
YesNoCancel TerminalUserInterface::askYesNoCancel(const std::string&) { return YesNoCancel::Cancel; }
// The only OK/Cancel question during a run is whether to stop it: Ctrl+C has answered it.
bool TerminalUserInterface::askOkCancel(const std::string&) { return interrupted(); }

void TerminalUserInterface::processEvents()
{
    if (interruptRequested_ && interrupted()) *interruptRequested_ = true;
}

OverwriteAnswer TerminalUserInterface::askOverwrite(const OverwritePrompt& prompt)
{
    // --in-place --no-backup is itself the instruction to replace each source.
    if (prompt.question == OverwriteQuestion::Copy && noBackup_ && prompt.upperFile == prompt.lowerFile)
        return OverwriteAnswer::Overwrite;
    if (existing_ == ExistingTargets::Overwrite) return OverwriteAnswer::OverwriteAll;
    if (existing_ == ExistingTargets::Skip) return OverwriteAnswer::SkipAll;
    if (!canAsk_) {
        ++unansweredSkips_;
        return OverwriteAnswer::Skip;
    }
    clearProgressLine();
    const bool backup = prompt.question == OverwriteQuestion::Backup;
    err_ << "Overwrite: " << EscapeControlCharacters(prompt.upperFile) << " (" << prompt.upperFileInfo << ")\n"
         << prompt.secondLabel << ": " << EscapeControlCharacters(prompt.lowerFile) << " (" << prompt.lowerFileInfo
         << ")\n";
    for (;;) {
        err_ << "[o]verwrite, overwrite [a]ll, [s]kip, skip a[l]l, [n]ew name, [r]ename"
             << (backup ? ", overwrite all ol[d]er" : "") << "? " << std::flush;
        std::optional<std::string> line = readLine();
        if (!line) {
            ++unansweredSkips_;
            return OverwriteAnswer::Skip;
        }
        if (*line == "o") return OverwriteAnswer::Overwrite;
        if (*line == "a") return OverwriteAnswer::OverwriteAll;
        if (*line == "s") return OverwriteAnswer::Skip;
        if (*line == "l") return OverwriteAnswer::SkipAll;
        if (*line == "n") return OverwriteAnswer::NewName;
        if (*line == "r") return OverwriteAnswer::Rename;
        if (*line == "d" && backup) return OverwriteAnswer::OverwriteAllOlder;
    }
}

std::optional<std::string> TerminalUserInterface::askText(
    const std::string& caption, const std::string& prompt, const std::string& initial)
{
    if (!canAsk_) return std::nullopt;
    err_ << caption << ": " << prompt << " [" << initial << "] (empty line: back) " << std::flush;
    std::optional<std::string> line = readLine();
    if (!line || line->empty()) return std::nullopt;
    return line;
}

RestoreWarningAnswer TerminalUserInterface::warnRestore(const std::string& text)
{
    clearProgressLine();
    err_ << "qmk: warning: " << TerminalText(text) << "\n";
    return RestoreWarningAnswer::Yes;
}

std::string TerminalUserInterface::chooseFolder(const FolderChooserPanels&) { return "-"; }
std::vector<std::string> TerminalUserInterface::openFiles(const FileDialogRequest&) { return {}; }
std::optional<std::string> TerminalUserInterface::saveFile(const FileDialogRequest&) { return std::nullopt; }
bool TerminalUserInterface::openDocument(const std::string&) { return false; }
bool TerminalUserInterface::launchProgram(const std::string&, const std::string&, const std::string&) { return false; }

} // namespace qm
