// Answers for a scripted command line, and its messages as log lines.
#include "batch/startup/unattended_user_interface.h"

#include "batch/model/main_model.h"

namespace qm {

std::string LogLine(std::string_view kind, const std::string& text)
{
    std::string line = "quillmark: " + std::string(kind) + ": ";
    bool pendingBreak = false;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            pendingBreak = true;
            continue;
        }
        if (pendingBreak && line.back() != ' ') line += "; ";
        pendingBreak = false;
        line += c;
    }
    return line;
}

UnattendedUserInterface::UnattendedUserInterface(UserInterface& shown, std::ostream& log, const MainState& state)
    : shown_(shown)
    , log_(log)
    , state_(state)
{
}

void UnattendedUserInterface::log(std::string_view kind, const std::string& text)
{
    log_ << LogLine(kind, text) << std::endl;
}

void UnattendedUserInterface::showMessage(MessageKind kind, const std::string& text)
{
    switch (kind) {
    case MessageKind::Error:
        log("error", text);
        return;
    case MessageKind::Warning:
        log("warning", text);
        return;
    case MessageKind::Information:
        log("information", text);
        return;
    }
}

void UnattendedUserInterface::showPlainMessage(const std::string& text) { log("message", text); }

bool UnattendedUserInterface::askYesNo(const std::string& question)
{
    log("answered Yes", question);
    return true;
}

YesNoCancel UnattendedUserInterface::askYesNoCancel(const std::string& question)
{
    log("answered Cancel", question);
    return YesNoCancel::Cancel;
}

bool UnattendedUserInterface::askOkCancel(const std::string& question)
{
    log("answered OK", question);
    return true;
}

OverwriteAnswer UnattendedUserInterface::askOverwrite(const OverwritePrompt& prompt)
{
    const bool overwrite = state_.scriptOverwrites;
    log(overwrite ? "overwriting" : "skipping",
        prompt.upperFile + " is in the way" + (overwrite ? "" : "; /ow=y overwrites such files"));
    return overwrite ? OverwriteAnswer::OverwriteAll : OverwriteAnswer::SkipAll;
}

std::optional<std::string> UnattendedUserInterface::askText(
    const std::string& caption, const std::string&, const std::string&)
{
    log("cancelled", caption);
    return std::nullopt;
}

RestoreWarningAnswer UnattendedUserInterface::warnRestore(const std::string& text)
{
    log("warning", text);
    return RestoreWarningAnswer::YesToAll;
}

std::string UnattendedUserInterface::chooseFolder(const FolderChooserPanels&) { return "-"; }

std::vector<std::string> UnattendedUserInterface::openFiles(const FileDialogRequest&) { return {}; }

std::optional<std::string> UnattendedUserInterface::saveFile(const FileDialogRequest&) { return std::nullopt; }

void UnattendedUserInterface::processEvents() { shown_.processEvents(); }

bool UnattendedUserInterface::openDocument(const std::string& path) { return shown_.openDocument(path); }

bool UnattendedUserInterface::launchProgram(
    const std::string& program, const std::string& parameters, const std::string& folder)
{
    return shown_.launchProgram(program, parameters, folder);
}

} // namespace qm
