// The external editor's launch: which editors need a terminal, and the command that gives them one.
#include "batch/model/external_editor.h"

#include <array>

#include "base/file_system.h"

namespace qm {
namespace {

std::string DoubleQuoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

} // namespace

bool IsTerminalEditor(std::string_view program)
{
    static constexpr std::array<std::string_view, 21> kTerminalEditors = {"editor", "sensible-editor", "vi", "vim",
        "vim.basic", "vim.tiny", "nvim", "view", "nano", "rnano", "pico", "micro", "joe", "jed", "jmacs", "jstar", "ne",
        "mcedit", "ed", "red", "emacs-nox"};
    const std::string name = NamePart(program);
    for (std::string_view editor : kTerminalEditors)
        if (name == editor) return true;
    return false;
}

EditorLaunch EditorLaunchFor(const std::string& editor, const std::string& file)
{
    if (IsTerminalEditor(editor))
        return {DoubleQuoted(kTerminalEmulator), "-e " + DoubleQuoted(editor) + " " + DoubleQuoted(file)};
    return {DoubleQuoted(editor), DoubleQuoted(file)};
}

} // namespace qm
