// Choosing, filling and falling back from the program folder.
#include "batch/startup/program_folder.h"

#include <cstdlib>

#include "base/install_layout.h"

namespace qm {
namespace {

Status CopyTree(FileSystem& fs, const std::string& from, const std::string& to)
{
    if (Status created = fs.createFolder(to); !created) return created;
    Expected<std::vector<FolderEntry>> entries = fs.listFolder(from);
    if (!entries) return Status::Ok();
    for (const FolderEntry& entry : *entries) {
        const std::string source = WithTrailingSeparator(from) + entry.name;
        const std::string target = WithTrailingSeparator(to) + entry.name;
        if (entry.isFolder) {
            if (Status copied = CopyTree(fs, source, target); !copied) return copied;
        } else if (entry.isFile && !fs.exists(target)) {
            if (Status copied = fs.copyFile(source, target); !copied) return copied;
        }
    }
    return Status::Ok();
}

} // namespace

EnvironmentLookup ProcessEnvironment()
{
    return [](std::string_view name) -> std::optional<std::string> {
        if (name != "XDG_DATA_HOME" && name != "HOME") return std::nullopt;
        const char* value = std::getenv(std::string(name).c_str());
        if (!value || !*value) return std::nullopt;
        return std::string(value);
    };
}

ProgramFolderChoice ChooseProgramFolder(
    FileSystem& fs, const std::string& executableFolder, const EnvironmentLookup& environment)
{
    const std::string executable = WithTrailingSeparator(executableFolder);
    if (fs.isFile(executable + std::string(kPortableMarker))) return {executable, {}};
    const std::string shared = WithTrailingSeparator(fs.absolute(executable + kInstalledDataFromExecutables));
    const std::string defaults = fs.isFolder(shared) ? shared : executable;
    std::string data;
    if (std::optional<std::string> xdg = environment("XDG_DATA_HOME"); xdg && (*xdg)[0] == '/')
        data = WithTrailingSeparator(*xdg);
    else if (std::optional<std::string> home = environment("HOME"))
        data = WithTrailingSeparator(*home) + ".local/share/";
    else
        return {defaults, {}};
    return {data + "quillmark/", defaults};
}

Status FillProgramFolder(FileSystem& fs, const ProgramFolderChoice& choice)
{
    const std::string& folder = choice.programFolder;
    // Parent folders too: ~/.local/share may not exist on a fresh account.
    if (Status created = CreateFolders(fs, folder); !created) return created;
    if (choice.installedDefaults.empty()) return Status::Ok();
    for (const char* name : {"Align.dat", "Ssi.dat"}) {
        const std::string source = choice.installedDefaults + name;
        if (fs.isFile(source) && !fs.exists(folder + name))
            if (Status copied = fs.copyFile(source, folder + name); !copied) return copied;
    }
    for (const char* tree : {"Profiles", "help"})
        if (fs.isFolder(choice.installedDefaults + tree))
            if (Status copied = CopyTree(fs, choice.installedDefaults + tree, folder + tree); !copied) return copied;
    return Status::Ok();
}

SettledProgramFolder SettleProgramFolder(FileSystem& fs, const ProgramFolderChoice& choice)
{
    Status filled = FillProgramFolder(fs, choice);
    if (!filled && !choice.installedDefaults.empty()) return {choice.installedDefaults, filled};
    return {choice.programFolder, filled};
}

std::string FolderToRead(FileSystem& fs, const ProgramFolderChoice& choice)
{
    const std::string& folder = choice.programFolder;
    if (choice.installedDefaults.empty() || fs.isFile(folder + "Options.dat") || fs.isFile(folder + "Align.dat"))
        return folder;
    return choice.installedDefaults;
}

} // namespace qm
