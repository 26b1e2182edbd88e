// The INI-like settings file shared by "Options.dat" and the profiles: reading and writing one key at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "base/status.h"

namespace qm {

// The one section both kinds of settings file use.
inline constexpr std::string_view kSettingsSection = "settings";

// The text the user sees for any failure of the settings files and schemes; the
// status's reason, naming the file, goes to logs and the command line.
inline constexpr std::string_view kSettingsErrorMessage = "Error";

// The lines of one settings file, kept as bytes: a write changes only the line
// of its key, so comments, unknown keys and other sections survive untouched.
//
// Reading follows the conventions of the platform's initialization files:
// section names and keys match without regard to ASCII case; spaces and tabs
// around keys and values are ignored; a value wholly enclosed in one pair of
// double or single quotes loses them; a value is taken up to 2047 characters.
// Only the first section of a name counts, for reading and for writing alike,
// so what is written is always what is read back.
class SettingsFile {
public:
    static constexpr std::size_t kMaxValueLength = 2047;

    SettingsFile() = default;
    explicit SettingsFile(std::vector<std::string> lines)
        : lines_(std::move(lines))
    {
    }

    // A missing file gives an empty settings file; any other failure to read is reported.
    static Expected<SettingsFile> load(FileSystem& fs, const std::string& path);

    // Every line followed by CR LF, replacing the file atomically.
    Status save(FileSystem& fs, const std::string& path) const;

    // A section counts as present only when it holds at least one key.
    bool hasSection(std::string_view section) const;

    std::optional<std::string> readString(std::string_view section, std::string_view key) const;

    // Decimal with an optional sign, or hexadecimal after "0x", "0X" or "$"
    // (the sign may stand before these too). Anything else, including
    // trailing characters ("12abc") and numbers outside the signed 32-bit
    // range, is no integer: nullopt, so the caller takes its fallback.
    std::optional<std::int32_t> readInteger(std::string_view section, std::string_view key) const;

    // The keys of the section's key lines, as they are spelt there, in file order.
    std::vector<std::string> keys(std::string_view section) const;

    // Sets the key's line to key=value: the first line of that key in the
    // section is replaced; a new key goes right after the section's last key
    // line; a missing section is added at the end. A value that reading would
    // change (surrounding spaces or tabs, or enclosing quotes) is written
    // inside double quotes so it reads back as it was. A value holding a line
    // break cannot be kept in one line: nothing is written and false returned.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);

    const std::vector<std::string>& lines() const { return lines_; }

private:
    struct SectionSpan {
        std::size_t header; // index of the "[name]" line
        std::size_t end; // one past the section's last line
    };
    std::optional<SectionSpan> findSection(std::string_view section) const;
    std::optional<std::size_t> findKeyLine(const SectionSpan& span, std::string_view key) const;

    std::vector<std::string> lines_;
};

// The integer a settings value means, by the rules of SettingsFile::ReadInteger.
std::optional<std::int32_t> ParseSettingsInteger(std::string_view text);

} // namespace qm
