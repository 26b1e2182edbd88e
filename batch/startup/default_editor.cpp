// Finding a graphical text editor through the environment, the desktop's default applications and the program folder.
#include "batch/startup/default_editor.h"

#include <optional>
#include <vector>

#include "base/text_lines.h"
#include "batch/model/external_editor.h"

namespace qm {
namespace {

std::vector<std::string> SplitList(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        std::string part = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!part.empty()) parts.push_back(std::move(part));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// The program of a command line such as "code --wait" or an Exec value such as "\"/opt/my ed\" %U".
std::string CommandProgram(const std::string& command)
{
    std::size_t start = command.find_first_not_of(" \t");
    if (start == std::string::npos) return {};
    if (command[start] == '"') {
        const std::size_t end = command.find('"', start + 1);
        return command.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    }
    const std::size_t end = command.find_first_of(" \t", start);
    return command.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// A program's file: a path as it is, a bare name along $PATH.
std::optional<std::string> FindProgram(FileSystem& fs, const DesktopFacts& desktop, const std::string& program)
{
    if (program.empty()) return std::nullopt;
    if (program.find('/') != std::string::npos) {
        if (fs.isFile(program)) return program;
        return std::nullopt;
    }
    const std::string path = desktop.variable("PATH").value_or("/usr/local/bin:/usr/bin:/bin");
    for (const std::string& folder : SplitList(path, ':')) {
        const std::string candidate = WithTrailingSeparator(folder) + program;
        if (fs.isFile(candidate)) return candidate;
    }
    return std::nullopt;
}

std::optional<std::string> EditorFromVariable(FileSystem& fs, const DesktopFacts& desktop, const char* name)
{
    const std::optional<std::string> value = desktop.variable(name);
    if (!value) return std::nullopt;
    return FindProgram(fs, desktop, CommandProgram(*value));
}

// The folders that hold desktop entries, the user's own first.
std::vector<std::string> ApplicationFolders(const DesktopFacts& desktop)
{
    std::vector<std::string> folders;
    if (std::optional<std::string> home = desktop.variable("XDG_DATA_HOME"))
        folders.push_back(WithTrailingSeparator(*home) + "applications/");
    else if (std::optional<std::string> user = desktop.variable("HOME"))
        folders.push_back(WithTrailingSeparator(*user) + ".local/share/applications/");
    const std::string shared = desktop.variable("XDG_DATA_DIRS").value_or("/usr/local/share:/usr/share");
    for (const std::string& folder : SplitList(shared, ':'))
        folders.push_back(WithTrailingSeparator(folder) + "applications/");
    return folders;
}

// The program of a desktop entry that describes a graphical text editor.
std::optional<std::string> EditorOfEntry(FileSystem& fs, const DesktopFacts& desktop, const std::string& id)
{
    if (id.empty() || id.find('/') != std::string::npos) return std::nullopt;
    for (const std::string& folder : ApplicationFolders(desktop)) {
        Expected<std::string> bytes = fs.readBytes(folder + id);
        if (!bytes) continue;
        bool inEntry = false;
        std::string exec;
        bool terminal = false;
        bool textEditor = false;
        for (const std::string& line : SplitLines(*bytes)) {
            if (!line.empty() && line.front() == '[') {
                inEntry = line == "[Desktop Entry]";
                continue;
            }
            if (!inEntry) continue;
            if (line.rfind("Exec=", 0) == 0) exec = line.substr(5);
            if (line.rfind("Terminal=", 0) == 0) terminal = line.substr(9) == "true";
            if (line.rfind("Categories=", 0) == 0)
                for (const std::string& category : SplitList(line.substr(11), ';'))
                    textEditor = textEditor || category == "TextEditor";
        }
        // The first entry of that name hides the others, as the desktop reads them.
        if (!textEditor || terminal) return std::nullopt;
        std::optional<std::string> program = FindProgram(fs, desktop, CommandProgram(exec));
        if (!program || IsTerminalEditor(*program)) return std::nullopt;
        return program;
    }
    return std::nullopt;
}

} // namespace

std::string DefaultExternalEditor(FileSystem& fs, const DesktopFacts& desktop, const std::string& systemProgramFolder)
{
    const std::optional<std::string> visual = EditorFromVariable(fs, desktop, "VISUAL");
    if (visual && !IsTerminalEditor(*visual)) return *visual;
    for (const char* mimeType : {"text/html", "text/plain"})
        if (std::optional<std::string> editor = EditorOfEntry(fs, desktop, desktop.defaultApplication(mimeType)))
            return *editor;
    static const char* const kGraphicalEditors[] = {"gedit", "gnome-text-editor", "kate", "kwrite", "mousepad", "pluma",
        "xed", "featherpad", "leafpad", "geany", "bluefish", "code", "codium"};
    const std::string folder = WithTrailingSeparator(systemProgramFolder);
    for (const char* editor : kGraphicalEditors)
        if (fs.isFile(folder + editor)) return folder + editor;
    if (visual) return *visual;
    if (std::optional<std::string> editor = EditorFromVariable(fs, desktop, "EDITOR")) return *editor;
    return folder + "editor";
}

} // namespace qm
