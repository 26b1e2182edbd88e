// How the external editor is started: a graphical editor by itself, a terminal editor inside a terminal.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// The terminal Debian's alternatives system names for the desktop.
inline constexpr std::string_view kTerminalEmulator = "x-terminal-emulator";

// An editor that draws in a terminal (vi, nano, Debian's "editor" ...):
// started from a desktop without one it shows nothing and waits for input
// that never comes.
bool IsTerminalEditor(std::string_view program);

// The shell request for editing a file: program and parameters each quoted
// as the launcher expects them.
struct EditorLaunch {
    std::string program;
    std::string parameters;
};
EditorLaunch EditorLaunchFor(const std::string& editor, const std::string& file);

} // namespace qm
