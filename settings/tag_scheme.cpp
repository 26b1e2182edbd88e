// Reading and writing tag scheme files, and the tag editor's checks on a replacement pair.
#include "settings/tag_scheme.h"

#include <string>

#include "base/ascii.h"
#include "base/text_lines.h"

namespace qm {
namespace {

std::string_view FieldsOf(std::string_view line) { return line.size() < 2 ? std::string_view() : line.substr(2); }

bool ActiveMark(std::string_view line) { return !line.empty() && line.front() == '+'; }

std::string LineStart(bool active) { return active ? "+ " : "- "; }

bool HoldsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

template<typename Entry, typename FromLine>
Status ReadScheme(FileSystem& fs, const std::string& path, std::vector<Entry>& list, FromLine fromLine)
{
    if (!fs.exists(path)) return Status::Ok();
    // The whole file is read before the list is touched, so a failure cannot
    // leave the user's list emptied or half replaced.
    Expected<std::string> bytes = fs.readBytes(path);
    if (!bytes) return bytes.status();
    std::vector<Entry> entries;
    for (const std::string& line : SplitLines(*bytes)) {
        if (line.empty() || entries.size() == kMaxTagEntries) break;
        entries.push_back(fromLine(line));
    }
    list = std::move(entries);
    return Status::Ok();
}

template<typename Entry, typename ToLine>
Status WriteScheme(FileSystem& fs, const std::string& path, const std::vector<Entry>& list, ToLine toLine)
{
    if (list.empty()) return Status::Ok();
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < list.size() && i < kMaxTagEntries; ++i) {
        std::string line = toLine(list[i]);
        // Such a line would come back as two entries, or cut the scheme short.
        if (HoldsLineBreak(line)) return Status::Fail("Cannot write \"" + path + "\": a tag text holds a line break");
        lines.push_back(std::move(line));
    }
    return fs.writeAtomically(path, JoinLines(lines, "\r\n"));
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

Status ReadReplaceScheme(FileSystem& fs, const std::string& path, std::vector<TTagReplacement>& list)
{
    return ReadScheme(fs, path, list, ReplacementFromLine);
}

Status ReadRemoveScheme(FileSystem& fs, const std::string& path, std::vector<TTagRemoval>& list)
{
    return ReadScheme(fs, path, list, RemovalFromLine);
}

Status WriteReplaceScheme(FileSystem& fs, const std::string& path, const std::vector<TTagReplacement>& list)
{
    return WriteScheme(fs, path, list,
        [](const TTagReplacement& entry) { return LineStart(entry.Active) + entry.FromTag + " " + entry.ToTag; });
}

Status WriteRemoveScheme(FileSystem& fs, const std::string& path, const std::vector<TTagRemoval>& list)
{
    return WriteScheme(fs, path, list, [](const TTagRemoval& entry) { return LineStart(entry.Active) + entry.Tag; });
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
