// Reading and writing tag scheme files, and the tag editor's checks on a replacement pair.
#include "settings/tag_scheme.h"

#include <string>

#include "base/file_io.h"
#include "base/text_lines.h"

namespace qm {
namespace fs = std::filesystem;

namespace {

std::string_view FieldsOf(std::string_view line) { return line.size() < 2 ? std::string_view() : line.substr(2); }

bool ActiveMark(std::string_view line) { return !line.empty() && line.front() == '+'; }

std::string LineStart(bool active) { return active ? "+ " : "- "; }

bool HoldsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (LowerAscii(text[i]) != LowerAscii(prefix[i])) return false;
    return true;
}

template <typename Entry, typename FromLine>
SettingsStatus ReadScheme(const fs::path& path, std::vector<Entry>& list, FromLine fromLine)
{
    std::error_code ec;
    if (fs::status(path, ec).type() == fs::file_type::not_found) return SettingsStatus::Success();
    // The whole file is read before the list is touched, so a failure cannot
    // leave the user's list emptied or half replaced.
    ReadResult read = ReadFileBytes(path);
    if (!read.bytes) return SettingsStatus::Failure(read.error.reason);
    std::vector<Entry> entries;
    for (const std::string& line : SplitLines(*read.bytes)) {
        if (line.empty() || entries.size() == kMaxTagEntries) break;
        entries.push_back(fromLine(line));
    }
    list = std::move(entries);
    return SettingsStatus::Success();
}

template <typename Entry, typename ToLine>
SettingsStatus WriteScheme(const fs::path& path, const std::vector<Entry>& list, ToLine toLine)
{
    if (list.empty()) return SettingsStatus::Success();
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < list.size() && i < kMaxTagEntries; ++i) {
        std::string line = toLine(list[i]);
        // Such a line would come back as two entries, or cut the scheme short.
        if (HoldsLineBreak(line))
            return SettingsStatus::Failure("Cannot write \"" + path.string() + "\": a tag text holds a line break");
        lines.push_back(std::move(line));
    }
    if (std::optional<FileError> error = WriteFileAtomically(path, JoinLines(lines, "\r\n")))
        return SettingsStatus::Failure(error->reason);
    return SettingsStatus::Success();
}

} // namespace

TTagReplacement ReplacementFromLine(std::string_view line)
{
    std::string_view fields = FieldsOf(line);
    std::size_t space = fields.find(' ');
    if (space == std::string_view::npos) return {ActiveMark(line), "", std::string(fields)};
    return {ActiveMark(line), std::string(fields.substr(0, space)), std::string(fields.substr(space + 1))};
}

TTagRemoval RemovalFromLine(std::string_view line) { return {ActiveMark(line), std::string(FieldsOf(line))}; }

SettingsStatus ReadReplaceScheme(const fs::path& path, std::vector<TTagReplacement>& list)
{
    return ReadScheme(path, list, ReplacementFromLine);
}

SettingsStatus ReadRemoveScheme(const fs::path& path, std::vector<TTagRemoval>& list)
{
    return ReadScheme(path, list, RemovalFromLine);
}

SettingsStatus WriteReplaceScheme(const fs::path& path, const std::vector<TTagReplacement>& list)
{
    return WriteScheme(path, list, [](const TTagReplacement& entry) {
        return LineStart(entry.Active) + entry.FromTag + " " + entry.ToTag;
    });
}

SettingsStatus WriteRemoveScheme(const fs::path& path, const std::vector<TTagRemoval>& list)
{
    return WriteScheme(path, list, [](const TTagRemoval& entry) { return LineStart(entry.Active) + entry.Tag; });
}

bool CycleTestPasses(const std::vector<TTagReplacement>& list, std::string_view from, std::string_view to,
                     std::optional<std::size_t> exceptedIndex)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (exceptedIndex && *exceptedIndex == i) continue;
        if (list[i].FromTag == to || list[i].ToTag == from) return false;
    }
    return true;
}

bool ReplacementFindsItself(std::string_view from, std::string_view to)
{
    if (!StartsWithIgnoringCase(to, from)) return false;
    return to.size() == from.size() || to[from.size()] == ' ';
}

} // namespace qm
