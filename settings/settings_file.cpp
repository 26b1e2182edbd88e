// Parsing and editing the lines of a settings file without disturbing the lines it does not own.
#include "settings/settings_file.h"

#include <limits>

#include "base/ascii.h"
#include "base/text_lines.h"

namespace qm {
namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool EnclosedInQuotes(std::string_view text)
{
    return text.size() >= 2 && IsQuote(text.front()) && text.front() == text.back();
}

bool HoldsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A file saved by an editor that marks UTF-8 must still show its first section.
std::string_view WithoutByteOrderMark(std::string_view line)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (line.substr(0, bom.size()) == bom) line.remove_prefix(bom.size());
    return line;
}

std::optional<std::string_view> SectionNameOf(std::string_view line)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    std::size_t close = line.rfind(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view rawValue; // trimmed, quotes still on
};

std::optional<KeyLine> KeyLineOf(std::string_view line)
{
    line = Trim(line);
    if (line.empty() || line.front() == ';' || line.front() == '[') return std::nullopt;
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    std::string_view key = Trim(line.substr(0, equals));
    if (key.empty()) return std::nullopt;
    return KeyLine {key, Trim(line.substr(equals + 1))};
}

std::string FormatValue(std::string_view value)
{
    bool changedByReading = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    if (changedByReading || EnclosedInQuotes(value)) return "\"" + std::string(value) + "\"";
    return std::string(value);
}

std::optional<std::uint32_t> ParseDigits(std::string_view digits, int base)
{
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f')
            digit = LowerAscii(c) - 'a' + 10;
        else
            return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        // Anything past 2^31 is out of range whatever the sign; stop before the sum can wrap.
        if (value > (std::uint64_t {1} << 31)) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace

std::optional<std::int32_t> ParseSettingsInteger(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() >= 2 && text[0] == '0' && LowerAscii(text[1]) == 'x') {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    std::optional<std::uint32_t> magnitude = ParseDigits(text, base);
    if (!magnitude) return std::nullopt;
    constexpr std::uint32_t maxPositive = std::numeric_limits<std::int32_t>::max();
    if (negative) {
        if (*magnitude == maxPositive + 1u) return std::numeric_limits<std::int32_t>::min();
        return -static_cast<std::int32_t>(*magnitude);
    }
    if (*magnitude > maxPositive) return std::nullopt;
    return static_cast<std::int32_t>(*magnitude);
}

Expected<SettingsFile> SettingsFile::load(FileSystem& fs, const std::string& path)
{
    if (!fs.exists(path)) return SettingsFile {};
    Expected<std::string> bytes = fs.readBytes(path);
    if (!bytes) return bytes.status();
    return SettingsFile(SplitLines(*bytes));
}

Status SettingsFile::save(FileSystem& fs, const std::string& path) const
{
    return fs.writeAtomically(path, JoinLines(lines_, "\r\n"));
}

std::optional<SettingsFile::SectionSpan> SettingsFile::findSection(std::string_view section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string_view line = i == 0 ? WithoutByteOrderMark(lines_[i]) : std::string_view(lines_[i]);
        std::optional<std::string_view> name = SectionNameOf(line);
        if (!name || !EqualsIgnoringCase(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && !SectionNameOf(lines_[end])) ++end;
        return SectionSpan {i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> SettingsFile::findKeyLine(const SectionSpan& span, std::string_view key) const
{
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        std::optional<KeyLine> line = KeyLineOf(lines_[i]);
        if (line && EqualsIgnoringCase(line->key, key)) return i;
    }
    return std::nullopt;
}

bool SettingsFile::hasSection(std::string_view section) const
{
    std::optional<SectionSpan> span = findSection(section);
    if (!span) return false;
    for (std::size_t i = span->header + 1; i < span->end; ++i)
        if (KeyLineOf(lines_[i])) return true;
    return false;
}

std::optional<std::string> SettingsFile::readString(std::string_view section, std::string_view key) const
{
    std::optional<SectionSpan> span = findSection(section);
    if (!span) return std::nullopt;
    std::optional<std::size_t> index = findKeyLine(*span, key);
    if (!index) return std::nullopt;
    std::string_view value = KeyLineOf(lines_[*index])->rawValue;
    if (EnclosedInQuotes(value)) value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kMaxValueLength));
}

std::optional<std::int32_t> SettingsFile::readInteger(std::string_view section, std::string_view key) const
{
    std::optional<std::string> text = readString(section, key);
    if (!text) return std::nullopt;
    return ParseSettingsInteger(*text);
}

std::vector<std::string> SettingsFile::keys(std::string_view section) const
{
    std::vector<std::string> found;
    std::optional<SectionSpan> span = findSection(section);
    if (!span) return found;
    for (std::size_t i = span->header + 1; i < span->end; ++i)
        if (std::optional<KeyLine> line = KeyLineOf(lines_[i])) found.emplace_back(line->key);
    return found;
}

bool SettingsFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    // Such names or values would spill into lines of their own and forge other keys.
    if (HoldsLineBreak(section) || HoldsLineBreak(key) || HoldsLineBreak(value)) return false;
    if (Trim(key) != key || key.empty() || key.find('=') != std::string_view::npos) return false;

    std::string line = std::string(key) + "=" + FormatValue(value);
    std::optional<SectionSpan> span = findSection(section);
    if (!span) {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::move(line));
        return true;
    }
    if (std::optional<std::size_t> index = findKeyLine(*span, key)) {
        lines_[*index] = std::move(line);
        return true;
    }
    std::size_t insertAt = span->header + 1;
    for (std::size_t i = span->header + 1; i < span->end; ++i)
        if (KeyLineOf(lines_[i])) insertAt = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
    return true;
}

} // namespace qm
