// Printing the settable options as a table or as JSON lines.
#include "cli/option_list.h"

#include <algorithm>
#include <ostream>

#include "cli/json_object.h"
#include "settings/profile_keys.h"

namespace qm {
namespace {

const char* PageName(OptionPage page)
{
    switch (page) {
    case OptionPage::Common:
        return "Common";
    case OptionPage::Scripts:
        return "Scripts";
    case OptionPage::Tags:
        return "Tags";
    case OptionPage::Files:
        return "Files";
    case OptionPage::Misc:
        return "Misc";
    case OptionPage::Header:
        return "Header";
    case OptionPage::None:
        break;
    }
    return "";
}

std::string Padded(std::string text, std::size_t width)
{
    text.resize(std::max(width, text.size() + 1), ' ');
    return text;
}

} // namespace

void PrintOptionList(const TOptionSet& options, std::ostream& out, bool json)
{
    const std::vector<const OptionRow*> rows = SettableOptions();
    if (json) {
        for (const OptionRow* row : rows)
            out << JsonObject()
                       .add("key", row->key)
                       .add("value", options.valueAsText(row->id))
                       .add("default", row->defaultValue)
                       .add("page", PageName(row->page))
                       .add("caption", PlainCaption(row->caption))
                       .text()
                << "\n";
        return;
    }
    std::size_t keyWidth = 3;
    for (const OptionRow* row : rows) keyWidth = std::max(keyWidth, row->key.size());
    out << Padded("KEY", keyWidth + 2) << "VALUE  DEFAULT  PAGE     CAPTION\n";
    for (const OptionRow* row : rows)
        out << Padded(std::string(row->key), keyWidth + 2) << Padded(options.valueAsText(row->id), 7)
            << Padded(std::string(row->defaultValue), 9) << Padded(PageName(row->page), 9) << PlainCaption(row->caption)
            << "\n";
}

} // namespace qm
