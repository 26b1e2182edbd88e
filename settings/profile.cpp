// Walking the option table to read and write profiles, and loading and saving a profile with its schemes.
#include "settings/profile.h"

#include <filesystem>
#include <optional>

#include "settings/program_options.h"
#include "settings/tag_scheme.h"

namespace qm {
namespace fs = std::filesystem;

namespace {

constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);

bool IsSeparator(char c) { return c == '/' || c == kSeparator; }

bool IsReadFromProfile(const OptionRow& row)
{
    return row.store == OptionStore::Profile && row.kind == OptionKind::Flag;
}

bool IsWrittenToProfile(const OptionRow& row)
{
    return (row.store == OptionStore::Profile || row.store == OptionStore::ProfileWriteOnly) &&
        row.kind == OptionKind::Flag;
}

} // namespace

void ReadProfileFlags(const SettingsFile& file, TOptionSet& options, const FlagChanged& onFlagChanged)
{
    for (const OptionRow& row : OptionTable()) {
        if (!IsReadFromProfile(row)) continue;
        std::optional<std::int32_t> value = file.readInteger(kSettingsSection, row.key);
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
        if (IsWrittenToProfile(row)) file.writeString(kSettingsSection, row.key, options.valueAsText(row.id));
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

Status LoadProfile(
    FileSystem& fs, TOptionSet& options, std::string_view programFolder, const FlagChanged& onFlagChanged)
{
    const std::string path = options.text(Opt::edProfile);
    if (path.empty()) return SaveProfile(fs, options, programFolder);
    Expected<SettingsFile> file = SettingsFile::load(fs, path);
    if (!file) return file.status();
    if (!file->hasSection(kSettingsSection)) return SaveProfile(fs, options, programFolder);

    ReadProfileFlags(*file, options, onFlagChanged);

    const std::string base = SchemeBase(path);
    if (Status read = ReadReplaceScheme(fs, base + ".rep", options.listReplaceTags); !read) return read;
    options.ReplaceSchemeModified = false;
    if (Status read = ReadRemoveScheme(fs, base + ".rem", options.listDeleteTags); !read) return read;
    options.RemoveSchemeModified = false;
    options.ProfileModified = false;
    return Status::Ok();
}

Status SaveProfile(FileSystem& fs, TOptionSet& options, std::string_view programFolder)
{
    if (options.text(Opt::edProfile).empty())
        options.setText(Opt::edProfile, ProgramFolderDefaults {std::string(programFolder)}.defaultProfile());
    const std::string path = options.text(Opt::edProfile);

    // The profile is edited, not rewritten, so lines another version of the program wrote survive.
    Expected<SettingsFile> file = SettingsFile::load(fs, path);
    if (!file) return file.status();
    WriteProfileFlags(*file, options);
    if (Status saved = file->save(fs, path); !saved) return saved;

    const std::string base = SchemeBase(path);
    if (Status written = WriteReplaceScheme(fs, base + ".rep", options.listReplaceTags); !written) return written;
    options.ReplaceSchemeModified = false;
    if (Status written = WriteRemoveScheme(fs, base + ".rem", options.listDeleteTags); !written) return written;
    options.RemoveSchemeModified = false;
    options.ProfileModified = false;
    return Status::Ok();
}

} // namespace qm
