// The option table and the option set's storage.
#include "options/option_set.h"

#include <cassert>
#include <charconv>
#include <stdexcept>

#include "base/ascii.h"

namespace qm {
namespace {

using K = OptionKind;
using S = OptionStore;
using P = OptionPage;
constexpr Opt none = Opt::count;

constexpr ClickBehaviour Marks() { return ClickBehaviour {{none, none, none, none}, {none, none}, true}; }
constexpr ClickBehaviour MarksAndEnables(std::array<Opt, 4> on) { return ClickBehaviour {on, {none, none}, true}; }
constexpr ClickBehaviour Enables(std::array<Opt, 4> on, std::array<Opt, 2> off = {none, none})
{
    return ClickBehaviour {on, off, false};
}
constexpr ClickBehaviour Nothing() { return ClickBehaviour {}; }

// clang-format off
const OptionRow kTable[] = {
    {Opt::cbDelKav, "cbDelKav", K::Flag, S::Profile, "1", P::Common,
     "Remove unnecessary quotes    ...=\"50\"  ", MarksAndEnables({Opt::cbDelEmptyPar, none, none, none})},
    {Opt::cbDelEmptyPar, "cbDelEmptyPar", K::Flag, S::Profile, "1", P::Common,
     "remove empty attributes   alt=\"\"", Marks()},
    {Opt::cbDelEmptyLine, "cbDelEmptyLine", K::Flag, S::Profile, "1", P::Common,
     "Remove empty lines", MarksAndEnables({Opt::cbDelCRLF, none, none, none})},
    {Opt::cbDelCRLF, "cbDelCRLF", K::Flag, S::Profile, "0", P::Common,
     "remove all CR+LF chains    ( \"gluing\" )", Marks()},
    {Opt::cbDelTabLine, "cbDelTabLine", K::Flag, S::Profile, "1", P::Common,
     "Remove lines, which consist tabs ( key code #9 ) and spaces only", Marks()},
    {Opt::cbDelBegEndSpace, "cbDelBegEndSpace", K::Flag, S::Profile, "1", P::Common,
     "Trim lines ( remove spaces at the beginning and end of lines )", Marks()},
    {Opt::cbDelAllTabs, "cbDelAllTabs", K::Flag, S::Profile, "1", P::Common,
     "Remove all tabs ( key code #9 )", Marks()},
    {Opt::cbReplaceDoubleSpaces, "cbReplaceDoubleSpaces", K::Flag, S::Profile, "1", P::Common,
     "Replace superfluous space chains with one space     ___ => _",
     MarksAndEnables({Opt::cbReplaceDoubleSpacesInKav, none, none, none})},
    {Opt::cbReplaceDoubleSpacesInKav, "cbReplaceDoubleSpacesInKav", K::Flag, S::Profile, "0", P::Common,
     "including values of attributes   ...=\"...__...\"", Marks()},
    {Opt::cbReplaceDoubleNbsp, "cbReplaceDoubleNbsp", K::Flag, S::Profile, "1", P::Common,
     "Replace superfluous &&nbsp; chains with single &&nbsp;    &&nbsp;&&nbsp; => &&nbsp;",
     MarksAndEnables({Opt::cbReplaceDoubleNbspInKav, none, none, none})},
    {Opt::cbReplaceDoubleNbspInKav, "cbReplaceDoubleNbspInKav", K::Flag, S::Profile, "0", P::Common,
     "including values of attributes   ...=\"...&&nbsp;...\"", Marks()},
    {Opt::cbDelComments, "cbDelComments", K::Flag, S::Profile, "1", P::Scripts,
     "Remove comments  ( <!-- --> )",
     MarksAndEnables({Opt::cbIsScript, Opt::cbIsStyle, Opt::cbOuttag, Opt::cbSsi})},
    {Opt::cbIsStyle, "cbIsStyle", K::Flag, S::Profile, "1", P::Scripts,
     "<style> and </style>", Marks()},
    {Opt::cbIsScript, "cbIsScript", K::Flag, S::Profile, "1", P::Scripts,
     "<script ... > and </script>", Marks()},
    {Opt::cbOuttag, "cbOuttag", K::Flag, S::Profile, "1", P::Scripts,
     "the first outside tag is <style> or <script ... >", Marks()},
    {Opt::cbSsi, "cbSsi", K::Flag, S::Profile, "1", P::Scripts,
     "if there are SSI commands in comment's body", Marks()},
    {Opt::cbScriptsInfo, "cbScriptsInfo", K::Flag, S::ProfileWriteOnly, "1", P::Scripts,
     "JavaScript scripts ( <script ... > and </script> )", Nothing(), true},
    {Opt::cbDelScripts, "cbDelScripts", K::Flag, S::Profile, "0", P::Scripts,
     "Remove all scripts from the files", Marks()},
    {Opt::cbClosedTagsAlso, "cbClosedTagsAlso", K::Flag, S::Profile, "1", P::Tags,
     "Treat closing tags", Marks()},
    {Opt::cbKeepLineEnds, "cbKeepLineEnds", K::Flag, S::Profile, "1", P::Common,
     "Keep the line ends of the source file ( LF or CR+LF )", Marks()},
    {Opt::cbKeepPre, "cbKeepPre", K::Flag, S::Profile, "1", P::Common,
     "Keep the text of <pre>, <textarea> and <title> as it is", Marks()},

    {Opt::cbPhp, "cbPhp", K::Flag, S::NotStored, "1", P::Scripts,
     "PHP scripts  ( <? ... ?> and <?php ... ?> )", Nothing(), true},
    {Opt::cbAsp, "cbAsp", K::Flag, S::NotStored, "1", P::Scripts,
     "ASP scripts  ( <% ... %> )", Nothing(), true},
    {Opt::cbCF, "cbCF", K::Flag, S::NotStored, "1", P::Scripts,
     "ColdFusion scripts  ( < CF...  > )", Nothing(), true},

    {Opt::edProfile, "edProfile", K::Text, S::ProgramOptions, "", P::Header, "Profile", Nothing()},
    {Opt::cbProcessEmbeded, "cbProcessEmbeded", K::Flag, S::ProgramOptions, "0", P::Files,
     "Treat embeded folders", Enables({Opt::cbMaxEmbCount, Opt::edMaxEmbCount, none, none})},
    {Opt::cbMaxEmbCount, "cbMaxEmbCount", K::Flag, S::ProgramOptions, "0", P::Files,
     "Max level of embeded folders", Enables({Opt::edMaxEmbCount, none, none, none})},
    {Opt::edMaxEmbCount, "edMaxEmbCount", K::NumberText, S::ProgramOptions, "10", P::Files, "", Nothing()},
    {Opt::cbMaxFCount, "cbMaxFCount", K::Flag, S::ProgramOptions, "1", P::Files,
     "By files count ( not bigger than )", Enables({Opt::edMaxFCount, none, none, none})},
    {Opt::edMaxFCount, "edMaxFCount", K::NumberText, S::ProgramOptions, "100", P::Files, "", Nothing()},
    {Opt::cbSaveNopen, "cbSaveNopen", K::Flag, S::ProgramOptions, "0", P::Files,
     "Save filelist during quit and load during starting of application", Nothing()},
    {Opt::radModifyOld, "radModifyOld", K::Flag, S::ProgramOptions, "0", P::Files,
     "Modify initial files",
     Enables({Opt::cbSaveBefMod, Opt::edBackUpPath, none, none}, {Opt::edOptimizedPath, none})},
    {Opt::cbSaveBefMod, "cbSaveBefMod", K::Flag, S::ProgramOptions, "1", P::Files,
     "Make backup copies of the files before optimization to the folder:", Nothing()},
    {Opt::edBackUpPath, "edBackUpPath", K::Text, S::ProgramOptions, "", P::Files, "", Nothing()},
    {Opt::edOptimizedPath, "edOptimizedPath", K::Text, S::ProgramOptions, "", P::Files,
     "Save optimized copies of the files to the folder:", Nothing()},
    {Opt::cbShowEnd, "cbShowEnd", K::Flag, S::ProgramOptions, "1", P::Misc,
     "actions finishing messages ( optimization, restoration, etc. )", Nothing()},
    {Opt::cbShowConf, "cbShowConf", K::Flag, S::ProgramOptions, "1", P::Misc, "actions confirmations", Nothing()},
    {Opt::cbShowInfo, "cbShowInfo", K::Flag, S::ProgramOptions, "1", P::Misc,
     "warning and information messages", Nothing()},
    {Opt::cbShowOptWin, "cbShowOptWin", K::Flag, S::ProgramOptions, "1", P::Misc,
     "optimization process and results window", Nothing()},
    {Opt::edExtEditor, "edExtEditor", K::Text, S::ProgramOptions, "", P::Misc, "External HTML Editor", Nothing()},
    {Opt::edLan, "edLan", K::Text, S::ProgramOptions, "", P::Misc, "Interface language file", Nothing(), false, true},
    {Opt::col0, "col0", K::Integer, S::ProgramOptions, "180", P::None, "", Nothing()},
    {Opt::col1, "col1", K::Integer, S::ProgramOptions, "150", P::None, "", Nothing()},
    {Opt::col2, "col2", K::Integer, S::ProgramOptions, "120", P::None, "", Nothing()},
    {Opt::col3, "col3", K::Integer, S::ProgramOptions, "110", P::None, "", Nothing()},
    {Opt::col4, "col4", K::Integer, S::ProgramOptions, "110", P::None, "", Nothing()},
    {Opt::col5, "col5", K::Integer, S::ProgramOptions, "100", P::None, "", Nothing()},
    {Opt::listHeight, "listHeight", K::Integer, S::ProgramOptions, "305", P::None, "", Nothing()},
    {Opt::column_sort, "column_sort", K::Integer, S::ProgramOptions, "0", P::None, "", Nothing()},
    {Opt::lastFolder, "lastFolder", K::Text, S::ProgramOptions, "", P::None, "", Nothing()},
    // A width or height of 0 leaves the window at its designed size, centred.
    {Opt::windowLeft, "windowLeft", K::Integer, S::ProgramOptions, "0", P::None, "", Nothing()},
    {Opt::windowTop, "windowTop", K::Integer, S::ProgramOptions, "0", P::None, "", Nothing()},
    {Opt::windowWidth, "windowWidth", K::Integer, S::ProgramOptions, "0", P::None, "", Nothing()},
    {Opt::windowHeight, "windowHeight", K::Integer, S::ProgramOptions, "0", P::None, "", Nothing()},
    {Opt::windowMaximized, "windowMaximized", K::Flag, S::ProgramOptions, "0", P::None, "", Nothing()},

    {Opt::radSaveNewMod, "radSaveNewMod", K::Flag, S::NotStored, "1", P::Files,
     "Leave initial files unchanged    ( Recommended )",
     Enables({Opt::edOptimizedPath, none, none, none}, {Opt::cbSaveBefMod, Opt::edBackUpPath})},
};
// clang-format on

static_assert(std::size(kTable) == static_cast<std::size_t>(kOptionCount), "one row per option");

std::int32_t ParseDefaultInteger(std::string_view text)
{
    std::int32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

std::span<const OptionRow> OptionTable() { return kTable; }

const OptionRow& RowOf(Opt id)
{
    const OptionRow& row = kTable[static_cast<int>(id)];
    assert(row.id == id);
    return row;
}

std::optional<Opt> OptionByKey(std::string_view key)
{
    for (const OptionRow& row : kTable)
        if (EqualsIgnoringCase(row.key, key)) return row.id;
    return std::nullopt;
}

// Entries that change how a page shows are listed but start inactive: a
// missing document type puts the browser into quirks mode, address and
// blockquote lose their block layout, and listing, plaintext and xmp hold
// raw text that tt would parse as markup.
std::vector<TTagReplacement> DefaultReplaceTags()
{
    return {
        {true, "strong", "b"},
        {true, "em", "i"},
        {true, "strike", "s"},
        {false, "blockquote", "ul"},
        {true, "var", "i"},
        {true, "cite", "i"},
        {false, "address", "i"},
        {true, "code", "tt"},
        {true, "kbd", "tt"},
        {true, "samp", "tt"},
        {true, "dfn", "i"},
        {false, "listing", "tt"},
        {false, "plaintext", "tt"},
        {false, "xmp", "tt"},
    };
}

std::vector<TTagRemoval> DefaultDeleteTags()
{
    return {
        {false, "!doctype"},
        {true, "name=\"generator\""},
        {true, "name=\"progid\""},
        {true, "name=\"description\""},
        {true, "name=\"keywords\""},
        {true, "name=\"author\""},
        {false, "/P"},
        {false, "/Li"},
        {false, "/TR"},
        {false, "/TD"},
    };
}

TOptionSet::TOptionSet()
    : listReplaceTags(DefaultReplaceTags())
    , listDeleteTags(DefaultDeleteTags())
{
    for (const OptionRow& row : kTable) {
        Value& value = values_[static_cast<int>(row.id)];
        switch (row.kind) {
        case OptionKind::Flag:
            value = row.defaultValue == "1";
            break;
        case OptionKind::Integer:
            value = ParseDefaultInteger(row.defaultValue);
            break;
        case OptionKind::Text:
        case OptionKind::NumberText:
            value = std::string(row.defaultValue);
            break;
        }
    }
}

bool TOptionSet::flag(Opt id) const { return std::get<bool>(values_[static_cast<int>(id)]); }

void TOptionSet::setFlag(Opt id, bool on)
{
    std::get<bool>(values_[static_cast<int>(id)]) = on;
    if (id == Opt::radModifyOld) std::get<bool>(values_[static_cast<int>(Opt::radSaveNewMod)]) = !on;
    if (id == Opt::radSaveNewMod) std::get<bool>(values_[static_cast<int>(Opt::radModifyOld)]) = !on;
}

const std::string& TOptionSet::text(Opt id) const { return std::get<std::string>(values_[static_cast<int>(id)]); }

void TOptionSet::setText(Opt id, std::string value)
{
    std::get<std::string>(values_[static_cast<int>(id)]) = std::move(value);
}

std::int32_t TOptionSet::integer(Opt id) const { return std::get<std::int32_t>(values_[static_cast<int>(id)]); }

void TOptionSet::setInteger(Opt id, std::int32_t value)
{
    std::get<std::int32_t>(values_[static_cast<int>(id)]) = value;
}

std::string TOptionSet::valueAsText(Opt id) const
{
    switch (RowOf(id).kind) {
    case OptionKind::Flag:
        return flag(id) ? "1" : "0";
    case OptionKind::Integer:
        return std::to_string(integer(id));
    case OptionKind::Text:
    case OptionKind::NumberText:
        return text(id);
    }
    return {};
}

std::optional<std::int64_t> NumberTextValue(std::string_view text)
{
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace qm
