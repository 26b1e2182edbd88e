// Walking the option table to read and write the program options, and "Options.dat" as a whole file.
#include "settings/program_options.h"

#include <optional>

namespace qm {

namespace {

std::string InFolder(std::string_view folder, std::string_view relative)
{
    return WithTrailingSeparator(std::string(folder)) + std::string(relative);
}

// Texts whose fallback is not the value they hold when the file is read:
// these are the ones a damaged "Options.dat" must not leave pointing anywhere odd.
std::optional<std::string> FallbackText(Opt id, const ProgramFolderDefaults& defaults)
{
    switch (id) {
    case Opt::edProfile:
        return defaults.defaultProfile();
    case Opt::edBackUpPath:
        return defaults.backUpPath();
    case Opt::edOptimizedPath:
        return defaults.optimizedPath();
    case Opt::edExtEditor:
    case Opt::edLan:
        return std::string();
    default:
        return std::nullopt;
    }
}

// A stale sort column could name a column the panel no longer has; the first is always there.
std::optional<std::int32_t> FallbackInteger(Opt id)
{
    if (id == Opt::column_sort) return 0;
    return std::nullopt;
}

} // namespace

std::string ProgramFolderDefaults::defaultProfile() const
{
    return InFolder(programFolder, std::string("Profiles") + kPathSeparator + "Default.pro");
}

std::string ProgramFolderDefaults::backUpPath() const
{
    return InFolder(programFolder, std::string("backup") + kPathSeparator);
}

std::string ProgramFolderDefaults::optimizedPath() const
{
    return InFolder(programFolder, std::string("optimized") + kPathSeparator);
}

void ReadProgramOptions(const SettingsFile& file, TOptionSet& options, const ProgramFolderDefaults& defaults)
{
    for (const OptionRow& row : OptionTable()) {
        if (row.store != OptionStore::ProgramOptions) continue;
        switch (row.kind) {
        case OptionKind::Flag:
            if (std::optional<std::int32_t> value = file.readInteger(kSettingsSection, row.key))
                options.setFlag(row.id, *value != 0);
            break;
        case OptionKind::Integer:
            if (std::optional<std::int32_t> value = file.readInteger(kSettingsSection, row.key))
                options.setInteger(row.id, *value);
            else if (std::optional<std::int32_t> fallback = FallbackInteger(row.id))
                options.setInteger(row.id, *fallback);
            break;
        case OptionKind::Text:
        case OptionKind::NumberText:
            if (std::optional<std::string> value = file.readString(kSettingsSection, row.key))
                options.setText(row.id, std::move(*value));
            else if (std::optional<std::string> fallback = FallbackText(row.id, defaults))
                options.setText(row.id, std::move(*fallback));
            break;
        }
    }
}

bool WriteProgramOptions(SettingsFile& file, const TOptionSet& options)
{
    for (const OptionRow& row : OptionTable()) {
        if (row.store != OptionStore::ProgramOptions) continue;
        if (!file.writeString(kSettingsSection, row.key, options.valueAsText(row.id))) return false;
    }
    return true;
}

std::string OptionsFilePath(std::string_view programFolder)
{
    std::string path(programFolder);
    if (!path.empty() && path.back() != '/') path += '/';
    return path + "Options.dat";
}

Expected<bool> ReadLastOptions(FileSystem& fs, TOptionSet& options, std::string_view programFolder)
{
    Expected<SettingsFile> file = SettingsFile::load(fs, OptionsFilePath(programFolder));
    if (!file) return file.status();
    if (!file->hasSection(kSettingsSection)) return false;
    ReadProgramOptions(*file, options, ProgramFolderDefaults {std::string(programFolder)});
    return true;
}

Status SaveLastOptions(FileSystem& fs, const TOptionSet& options, std::string_view programFolder)
{
    const std::string path = OptionsFilePath(programFolder);
    Expected<SettingsFile> file = SettingsFile::load(fs, path);
    if (!file) return file.status();
    if (!WriteProgramOptions(*file, options))
        return Status::Fail("an option holds a line break and cannot be kept in \"" + path + "\"");
    return file->save(fs, path);
}

} // namespace qm
