// Walking the option table to read and write "Options.dat" and profiles, and loading and saving a profile with its schemes.
#include "settings/profile.h"

#include <filesystem>
#include <optional>

#include "settings/tag_scheme.h"

namespace qm {
namespace fs = std::filesystem;

namespace {

constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);

bool IsSeparator(char c) { return c == '/' || c == kSeparator; }

std::string InFolder(std::string_view folder, std::string_view relative)
{
    std::string path(folder);
    if (!path.empty() && !IsSeparator(path.back())) path += kSeparator;
    path += relative;
    return path;
}

// Texts whose fallback is not the value they hold when the file is read:
// these are the ones a damaged "Options.dat" must not leave pointing anywhere odd.
std::optional<std::string> FallbackText(Opt id, const ProgramFolderDefaults& defaults)
{
    switch (id) {
    case Opt::edProfile: return defaults.defaultProfile();
    case Opt::edBackUpPath: return defaults.backUpPath();
    case Opt::edOptimizedPath: return defaults.optimizedPath();
    case Opt::edExtEditor:
    case Opt::edLan: return std::string();
    default: return std::nullopt;
    }
}

// A stale sort column could name a column the panel no longer has; the first is always there.
std::optional<std::int32_t> FallbackInteger(Opt id)
{
    if (id == Opt::column_sort) return 0;
    return std::nullopt;
}

bool IsReadFromProfile(const OptionRow& row) { return row.store == OptionStore::Profile && row.kind == OptionKind::Flag; }

bool IsWrittenToProfile(const OptionRow& row)
{
    return (row.store == OptionStore::Profile || row.store == OptionStore::ProfileWriteOnly) &&
           row.kind == OptionKind::Flag;
}

} // namespace

std::string ProgramFolderDefaults::defaultProfile() const
{
    return InFolder(programFolder, std::string("Profiles") + kSeparator + "Default.pro");
}

std::string ProgramFolderDefaults::backUpPath() const { return InFolder(programFolder, std::string("backup") + kSeparator); }

std::string ProgramFolderDefaults::optimizedPath() const
{
    return InFolder(programFolder, std::string("optimized") + kSeparator);
}

void ReadProgramOptions(const SettingsFile& file, TOptionSet& options, const ProgramFolderDefaults& defaults)
{
    for (const OptionRow& row : OptionTable()) {
        if (row.store != OptionStore::ProgramOptions) continue;
        switch (row.kind) {
        case OptionKind::Flag:
            if (std::optional<std::int32_t> value = file.ReadInteger(kSettingsSection, row.key))
                options.setFlag(row.id, *value != 0);
            break;
        case OptionKind::Integer:
            if (std::optional<std::int32_t> value = file.ReadInteger(kSettingsSection, row.key))
                options.setInteger(row.id, *value);
            else if (std::optional<std::int32_t> fallback = FallbackInteger(row.id))
                options.setInteger(row.id, *fallback);
            break;
        case OptionKind::Text:
        case OptionKind::NumberText:
            if (std::optional<std::string> value = file.ReadString(kSettingsSection, row.key))
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
        if (!file.WriteString(kSettingsSection, row.key, options.valueAsText(row.id))) return false;
    }
    return true;
}

void ReadProfileFlags(const SettingsFile& file, TOptionSet& options, const FlagChanged& onFlagChanged)
{
    for (const OptionRow& row : OptionTable()) {
        if (!IsReadFromProfile(row)) continue;
        std::optional<std::int32_t> value = file.ReadInteger(kSettingsSection, row.key);
        if (!value || (*value != 0) == options.flag(row.id)) continue;
        options.setFlag(row.id, *value != 0);
        if (onFlagChanged)
            onFlagChanged(row.id);
        else if (row.click.raisesProfileModified)
            options.ProfileModified = true;
    }
}

void WriteProfileFlags(SettingsFile& file, const TOptionSet& options)
{
    // Flags are written as "1" or "0", which every file can hold.
    for (const OptionRow& row : OptionTable())
        if (IsWrittenToProfile(row)) file.WriteString(kSettingsSection, row.key, options.valueAsText(row.id));
}

std::string SchemeBase(std::string_view profilePath)
{
    std::size_t componentStart = 0;
    for (std::size_t i = profilePath.size(); i > 0; --i) {
        if (IsSeparator(profilePath[i - 1])) {
            componentStart = i;
            break;
        }
    }
    std::size_t dot = profilePath.rfind('.');
    if (dot == std::string_view::npos || dot < componentStart) return std::string(profilePath);
    return std::string(profilePath.substr(0, dot));
}

SettingsStatus LoadProfile(TOptionSet& options, std::string_view programFolder, const FlagChanged& onFlagChanged)
{
    const std::string path = options.text(Opt::edProfile);
    if (path.empty()) return SaveProfile(options, programFolder);
    SettingsFileLoad load = SettingsFile::Load(path);
    if (load.error) return SettingsStatus::Failure(load.error->reason);
    if (!load.file.HasSection(kSettingsSection)) return SaveProfile(options, programFolder);

    ReadProfileFlags(load.file, options, onFlagChanged);

    const std::string base = SchemeBase(path);
    if (SettingsStatus status = ReadReplaceScheme(base + ".rep", options.listReplaceTags); !status) return status;
    options.ReplaceSchemeModified = false;
    if (SettingsStatus status = ReadRemoveScheme(base + ".rem", options.listDeleteTags); !status) return status;
    options.RemoveSchemeModified = false;
    options.ProfileModified = false;
    return SettingsStatus::Success();
}

SettingsStatus SaveProfile(TOptionSet& options, std::string_view programFolder)
{
    if (options.text(Opt::edProfile).empty())
        options.setText(Opt::edProfile, ProgramFolderDefaults{std::string(programFolder)}.defaultProfile());
    const std::string path = options.text(Opt::edProfile);

    // The profile is edited, not rewritten, so lines another version of the program wrote survive.
    SettingsFileLoad load = SettingsFile::Load(path);
    if (load.error) return SettingsStatus::Failure(load.error->reason);
    WriteProfileFlags(load.file, options);
    if (std::optional<FileError> error = load.file.Save(path)) return SettingsStatus::Failure(error->reason);

    const std::string base = SchemeBase(path);
    if (SettingsStatus status = WriteReplaceScheme(base + ".rep", options.listReplaceTags); !status) return status;
    options.ReplaceSchemeModified = false;
    if (SettingsStatus status = WriteRemoveScheme(base + ".rem", options.listDeleteTags); !status) return status;
    options.RemoveSchemeModified = false;
    options.ProfileModified = false;
    return SettingsStatus::Success();
}

} // namespace qm
