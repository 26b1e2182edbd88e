// Checking option keys typed by the user, and setting profile options from the command line.
#include "settings/profile_keys.h"

#include "base/nearest_name.h"

namespace qm {
namespace {

bool IsSettable(const OptionRow& row) { return row.store == OptionStore::Profile; }

enum class KeyKind { Settable, WriteOnly, ProgramOption, NotStored, Unknown };

KeyKind KindOf(std::string_view key)
{
    std::optional<Opt> id = OptionByKey(key);
    if (!id) return KeyKind::Unknown;
    switch (RowOf(*id).store) {
    case OptionStore::Profile:
        return KeyKind::Settable;
    case OptionStore::ProfileWriteOnly:
        return KeyKind::WriteOnly;
    case OptionStore::ProgramOptions:
        return KeyKind::ProgramOption;
    case OptionStore::NotStored:
        break;
    }
    return KeyKind::NotStored;
}

std::string UnknownKeyText(std::string_view key)
{
    std::vector<std::string_view> keys;
    for (const OptionRow* row : SettableOptions()) keys.push_back(row->key);
    const std::string quoted = "'" + std::string(key) + "'";
    if (std::optional<std::string_view> nearest = NearestName(key, keys))
        return "unknown option key " + quoted + "; did you mean " + std::string(*nearest) + "?";
    return "unknown option key " + quoted + "; 'qmk --list-options' lists the keys";
}

std::string KindText(std::string_view key, KeyKind kind)
{
    const std::string quoted = "'" + std::string(key) + "'";
    switch (kind) {
    case KeyKind::Settable:
        return {};
    case KeyKind::WriteOnly:
        return quoted + " is written into profiles but never read; it changes nothing";
    case KeyKind::ProgramOption:
        return quoted + " is a program option of Options.dat, not a profile option";
    case KeyKind::NotStored:
        return quoted + " only informs in the options window; it changes nothing";
    case KeyKind::Unknown:
        break;
    }
    return UnknownKeyText(key);
}

} // namespace

std::vector<const OptionRow*> SettableOptions()
{
    std::vector<const OptionRow*> rows;
    for (const OptionRow& row : OptionTable())
        if (IsSettable(row)) rows.push_back(&row);
    return rows;
}

std::vector<std::string> ProfileKeyWarnings(const SettingsFile& profile)
{
    std::vector<std::string> warnings;
    for (const std::string& key : profile.keys(kSettingsSection)) {
        const KeyKind kind = KindOf(key);
        if (kind != KeyKind::Settable && kind != KeyKind::WriteOnly) warnings.push_back(KindText(key, kind));
    }
    return warnings;
}

AssignmentOutcome AssignProfileOption(TOptionSet& options, std::string_view assignment)
{
    const std::size_t equals = assignment.find('=');
    if (equals == std::string_view::npos || equals == 0)
        return {AssignmentResult::Refused,
            "--set takes KEY=VALUE, for example cbDelComments=0, not '" + std::string(assignment) + "'"};
    const std::string_view key = assignment.substr(0, equals);
    const std::string_view value = assignment.substr(equals + 1);
    const KeyKind kind = KindOf(key);
    if (kind == KeyKind::Unknown) return {AssignmentResult::UnknownKey, UnknownKeyText(key)};
    if (kind != KeyKind::Settable) return {AssignmentResult::Refused, KindText(key, kind)};
    const Opt id = *OptionByKey(key);
    std::optional<std::int32_t> number = ParseSettingsInteger(value);
    if (!number)
        return {AssignmentResult::Refused,
            std::string(RowOf(id).key) + " is a flag: 1 is on, 0 is off, not '" + std::string(value) + "'"};
    options.setFlag(id, *number != 0);
    return {AssignmentResult::Applied, {}};
}

std::string PlainCaption(std::string_view caption)
{
    std::string plain;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        if (c == '&' && i + 1 < caption.size() && caption[i + 1] == '&') continue;
        if (c == ' ' && (plain.empty() || plain.back() == ' ')) continue;
        plain += c;
    }
    while (!plain.empty() && plain.back() == ' ') plain.pop_back();
    return plain;
}

} // namespace qm
