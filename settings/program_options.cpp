// Reading and writing "Options.dat" as a whole file.
#include "settings/program_options.h"

#include "settings/profile.h"

namespace qm {

std::string OptionsFilePath(std::string_view programFolder)
{
    std::string path(programFolder);
    if (!path.empty() && path.back() != '/') path += '/';
    return path + "Options.dat";
}

LastOptionsRead ReadLastOptions(TOptionSet& options, std::string_view programFolder)
{
    LastOptionsRead result;
    SettingsFileLoad load = SettingsFile::Load(OptionsFilePath(programFolder));
    if (load.error) {
        result.status = SettingsStatus::Failure(load.error->reason);
        return result;
    }
    if (!load.file.HasSection(kSettingsSection)) return result;
    result.sectionFound = true;
    ReadProgramOptions(load.file, options, ProgramFolderDefaults {std::string(programFolder)});
    return result;
}

SettingsStatus SaveLastOptions(const TOptionSet& options, std::string_view programFolder)
{
    const std::string path = OptionsFilePath(programFolder);
    SettingsFileLoad load = SettingsFile::Load(path);
    if (load.error) return SettingsStatus::Failure(load.error->reason);
    if (!WriteProgramOptions(load.file, options))
        return SettingsStatus::Failure("an option holds a line break and cannot be kept in \"" + path + "\"");
    if (std::optional<FileError> error = load.file.Save(path)) return SettingsStatus::Failure(error->reason);
    return SettingsStatus::Success();
}

} // namespace qm
