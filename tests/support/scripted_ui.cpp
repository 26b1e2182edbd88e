// The scripted user of the logic's tests.
#include "tests/support/scripted_ui.h"

#include <gtest/gtest.h>

namespace qm::test {

ScriptedAnswer Yes() { return {"yesno", true}; }
ScriptedAnswer No() { return {"yesno", false}; }
ScriptedAnswer Ok() { return {"okcancel", true}; }
ScriptedAnswer CancelOk() { return {"okcancel", false}; }
ScriptedAnswer YesNoCancelAnswer(YesNoCancel answer) { return {"yesnocancel", answer}; }
ScriptedAnswer Overwrite(OverwriteAnswer answer) { return {"overwrite", answer}; }
ScriptedAnswer TypeText(std::string text) { return {"text", std::optional<std::string>(std::move(text))}; }
ScriptedAnswer CancelText() { return {"text", std::optional<std::string>()}; }
ScriptedAnswer RestoreWarning(RestoreWarningAnswer answer) { return {"restore", answer}; }
ScriptedAnswer ChooseFolder(std::string folder) { return {"folder", std::move(folder)}; }
ScriptedAnswer OpenFiles(std::vector<std::string> files) { return {"open", std::move(files)}; }
ScriptedAnswer SaveFileAs(std::optional<std::string> name) { return {"save", std::move(name)}; }

ScriptedUi::ScriptedUi(std::vector<ScriptedAnswer> answers) { script(std::move(answers)); }

ScriptedUi::~ScriptedUi()
{
    if (!answers_.empty())
        ADD_FAILURE() << answers_.size() << " scripted answers were never asked for; the first is a \""
                      << answers_.front().kind << "\"";
}

void ScriptedUi::script(std::vector<ScriptedAnswer> answers)
{
    for (ScriptedAnswer& answer : answers) answers_.push_back(std::move(answer));
}

std::vector<std::string> ScriptedUi::texts(const std::string& kind) const
{
    std::vector<std::string> found;
    for (const UiEvent& event : events_)
        if (event.kind == kind) found.push_back(event.text);
    return found;
}

std::vector<std::string> ScriptedUi::messages() const
{
    std::vector<std::string> found;
    for (const UiEvent& event : events_)
        if (event.kind == "warning" || event.kind == "error" || event.kind == "information")
            found.push_back(event.text);
    return found;
}

bool ScriptedUi::saw(const std::string& kind, const std::string& fragment) const
{
    for (const UiEvent& event : events_)
        if (event.kind == kind && event.text.find(fragment) != std::string::npos) return true;
    return false;
}

std::optional<ScriptedAnswer> ScriptedUi::next(const std::string& kind, const std::string& text)
{
    events_.push_back({kind, text});
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected " << kind << ": " << text;
        return std::nullopt;
    }
    if (answers_.front().kind != kind) {
        ADD_FAILURE() << "expected a " << answers_.front().kind << " but got a " << kind << ": " << text;
        return std::nullopt;
    }
    ScriptedAnswer answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

void ScriptedUi::showMessage(MessageKind kind, const std::string& text)
{
    const char* name = kind == MessageKind::Warning ? "warning" : kind == MessageKind::Error ? "error" : "information";
    events_.push_back({name, text});
}

void ScriptedUi::showPlainMessage(const std::string& text) { events_.push_back({"plain", text}); }

bool ScriptedUi::askYesNo(const std::string& question)
{
    std::optional<ScriptedAnswer> answer = next("yesno", question);
    return answer && std::get<bool>(answer->value);
}

YesNoCancel ScriptedUi::askYesNoCancel(const std::string& question)
{
    std::optional<ScriptedAnswer> answer = next("yesnocancel", question);
    return answer ? std::get<YesNoCancel>(answer->value) : YesNoCancel::Cancel;
}

bool ScriptedUi::askOkCancel(const std::string& question)
{
    std::optional<ScriptedAnswer> answer = next("okcancel", question);
    return answer && std::get<bool>(answer->value);
}

OverwriteAnswer ScriptedUi::askOverwrite(const OverwritePrompt& prompt)
{
    overwritePrompts.push_back(prompt);
    std::optional<ScriptedAnswer> answer = next("overwrite", prompt.upperFile);
    return answer ? std::get<OverwriteAnswer>(answer->value) : OverwriteAnswer::Skip;
}

std::optional<std::string> ScriptedUi::askText(
    const std::string& caption, const std::string& prompt, const std::string& initial)
{
    std::optional<ScriptedAnswer> answer = next("text", caption + "|" + prompt + "|" + initial);
    return answer ? std::get<std::optional<std::string>>(answer->value) : std::nullopt;
}

RestoreWarningAnswer ScriptedUi::warnRestore(const std::string& text)
{
    std::optional<ScriptedAnswer> answer = next("restore", text);
    return answer ? std::get<RestoreWarningAnswer>(answer->value) : RestoreWarningAnswer::Yes;
}

std::string ScriptedUi::chooseFolder(const FolderChooserPanels& panels)
{
    chooserPanels.push_back(panels);
    std::optional<ScriptedAnswer> answer = next("folder", "");
    return answer ? std::get<std::string>(answer->value) : "-";
}

std::vector<std::string> ScriptedUi::openFiles(const FileDialogRequest& request)
{
    dialogRequests.push_back(request);
    std::optional<ScriptedAnswer> answer = next("open", request.filter);
    return answer ? std::get<std::vector<std::string>>(answer->value) : std::vector<std::string>();
}

std::optional<std::string> ScriptedUi::saveFile(const FileDialogRequest& request)
{
    dialogRequests.push_back(request);
    std::optional<ScriptedAnswer> answer = next("save", request.filter);
    return answer ? std::get<std::optional<std::string>>(answer->value) : std::nullopt;
}

void ScriptedUi::processEvents()
{
    ++processEventsCalls;
    if (onProcessEvents) onProcessEvents();
}

bool ScriptedUi::openDocument(const std::string& path)
{
    events_.push_back({"open document", path});
    return openSucceeds;
}

bool ScriptedUi::launchProgram(const std::string& program, const std::string& parameters, const std::string& folder)
{
    events_.push_back({"launch", program + " " + parameters + " in " + folder});
    return launchSucceeds;
}

} // namespace qm::test
