// Answering the overwrite confirmation for one file, from the dialog or from the run's remembered answer.
#include "batch/run/overwrite_confirmation.h"

#include "batch/model/file_operations.h"
#include "batch/model/main_model.h"

namespace qm {
namespace {

std::string FileInfo(MainModel& model, const std::string& path)
{
    return std::to_string(model.fs.sizeOf(path)) + " bytes   " + FileDateText(model.fs, model.ui, path);
}

bool IsUsableName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

} // namespace

OverwritePrompt MakeOverwritePrompt(
    MainModel& model, OverwriteQuestion question, const std::string& lowerFile, const std::string& upperFile)
{
    OverwritePrompt prompt;
    prompt.question = question;
    prompt.upperFile = upperFile;
    prompt.upperFileInfo = FileInfo(model, upperFile);
    prompt.lowerFile = lowerFile;
    prompt.lowerFileInfo = FileInfo(model, lowerFile) + "  ?";
    prompt.secondLabel = question == OverwriteQuestion::Backup ? "With file" : "With optimized copy of the file";
    prompt.overwriteOlderEnabled = question == OverwriteQuestion::Backup;
    return prompt;
}

bool LowerIsOlderDayLater(MainModel& model, const std::string& lowerFile, const std::string& upperFile)
{
    std::optional<FileTime> lower = model.fs.lastWriteTime(lowerFile);
    std::optional<FileTime> upper = model.fs.lastWriteTime(upperFile);
    // Without both dates nothing shows the upper file is older: it is kept.
    return lower && upper && LocalDay(*lower) > LocalDay(*upper);
}

std::string AskNewName(MainModel& model, OverwriteAnswer answer, const std::string& upperFile)
{
    const bool newName = answer == OverwriteAnswer::NewName;
    const std::string caption = newName ? "Saving" : "Renaming";
    const std::string text = newName ? "Enter name for new file" : "Enter new filename";
    const std::string folder = FolderPart(upperFile);
    std::string initial = NamePart(upperFile);
    for (;;) {
        std::optional<std::string> name = model.ui.askText(caption, text, initial);
        if (!name) return {};
        if (IsUsableName(*name) && !model.fs.exists(folder + *name)) return folder + *name;
        initial = *name;
    }
}

OverwriteDecision DecideOverwrite(
    MainModel& model, OverwriteQuestion question, const std::string& lowerFile, const std::string& upperFile)
{
    QuestionMemory& memory =
        question == OverwriteQuestion::Backup ? model.run.confirmation.backup : model.run.confirmation.copy;
    if (!memory.ask) return {memory.remembered, {}};
    const OverwritePrompt prompt = MakeOverwritePrompt(model, question, lowerFile, upperFile);
    for (;;) {
        const OverwriteAnswer answer = model.ui.askOverwrite(prompt);
        switch (answer) {
        case OverwriteAnswer::Overwrite:
            return {OverwriteAnswer::Overwrite, {}};
        case OverwriteAnswer::Skip:
            return {OverwriteAnswer::Skip, {}};
        case OverwriteAnswer::OverwriteAll:
            memory = {false, OverwriteAnswer::Overwrite};
            return {OverwriteAnswer::Overwrite, {}};
        case OverwriteAnswer::SkipAll:
            memory = {false, OverwriteAnswer::Skip};
            return {OverwriteAnswer::Skip, {}};
        case OverwriteAnswer::OverwriteAllOlder:
            // The button is disabled for the copy question; should it come anyway, keep the file.
            if (question == OverwriteQuestion::Backup && LowerIsOlderDayLater(model, lowerFile, upperFile))
                return {OverwriteAnswer::Overwrite, {}};
            return {OverwriteAnswer::Skip, {}};
        case OverwriteAnswer::NewName:
        case OverwriteAnswer::Rename: {
            std::string path = AskNewName(model, answer, upperFile);
            if (!path.empty()) return {answer, std::move(path)};
            break; // the name prompt was cancelled: back to the dialog
        }
        }
    }
}

} // namespace qm
