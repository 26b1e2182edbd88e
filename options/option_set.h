// The option set: every choice that steers the engine, the file panel and the messages, driven by one table.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qm {

// One name per option; the names are the file keys and the option window's control names.
enum class Opt : int {
    // Profile flags, in the order a profile stores them.
    cbDelKav,
    cbDelEmptyPar,
    cbDelEmptyLine,
    cbDelCRLF,
    cbDelTabLine,
    cbDelBegEndSpace,
    cbDelAllTabs,
    cbReplaceDoubleSpaces,
    cbReplaceDoubleSpacesInKav,
    cbReplaceDoubleNbsp,
    cbReplaceDoubleNbspInKav,
    cbDelComments,
    cbIsStyle,
    cbIsScript,
    cbOuttag,
    cbSsi,
    cbScriptsInfo,
    cbDelScripts,
    cbClosedTagsAlso,
    cbKeepLineEnds,
    cbKeepPre,
    // Shown on the "Scripts" page only, never stored.
    cbPhp,
    cbAsp,
    cbCF,
    // Program options, in the order "Options.dat" stores them.
    edProfile,
    cbProcessEmbeded,
    cbMaxEmbCount,
    edMaxEmbCount,
    cbMaxFCount,
    edMaxFCount,
    cbSaveNopen,
    radModifyOld,
    cbSaveBefMod,
    edBackUpPath,
    edOptimizedPath,
    cbShowEnd,
    cbShowConf,
    cbShowInfo,
    cbShowOptWin,
    edExtEditor,
    edLan,
    col0,
    col1,
    col2,
    col3,
    col4,
    col5,
    listHeight,
    column_sort,
    // Keys of this program's own, after the first 25 of the file: where the
    // file dialogs and the folder chooser open, and the main window's place.
    lastFolder,
    windowLeft,
    windowTop,
    windowWidth,
    windowHeight,
    windowMaximized,
    // The other half of the radio group of radModifyOld; always its opposite.
    radSaveNewMod,
    count
};

constexpr int kOptionCount = static_cast<int>(Opt::count);

enum class OptionKind { Flag, Text, NumberText, Integer };

enum class OptionStore {
    Profile, // read from and written to the profile
    ProfileWriteOnly, // written to the profile, never read back
    ProgramOptions, // "Options.dat"
    NotStored,
};

enum class OptionPage { None, Header, Common, Scripts, Tags, Files, Misc };

// Which controls a flag's click behaviour enables or disables (its own value decides).
struct ClickBehaviour {
    std::array<Opt, 4> enablesWhenOn {Opt::count, Opt::count, Opt::count, Opt::count};
    std::array<Opt, 2> enablesWhenOff {Opt::count, Opt::count};
    bool raisesProfileModified = false;
};

struct OptionRow {
    Opt id;
    std::string_view key;
    OptionKind kind;
    OptionStore store;
    // Flags "1"/"0", integers in decimal, texts as they are. Folder and editor
    // defaults depend on the program folder and are set at start-up.
    std::string_view defaultValue;
    OptionPage page;
    std::string_view caption;
    ClickBehaviour click;
    bool neverEnabled = false; // the informational "Do not optimize:" boxes
    bool hidden = false; // edLan
};

// The whole table, indexed by Opt.
std::span<const OptionRow> OptionTable();
const OptionRow& RowOf(Opt id);
std::optional<Opt> OptionByKey(std::string_view key); // case-insensitive, as file keys match

struct TTagReplacement {
    bool Active = true;
    std::string FromTag;
    std::string ToTag;
    bool operator==(const TTagReplacement&) const = default;
};

struct TTagRemoval {
    bool Active = true;
    std::string Tag;
    bool operator==(const TTagRemoval&) const = default;
};

// A tag list holds at most this many entries; scheme files store no more.
constexpr std::size_t kMaxTagEntries = 255;

std::vector<TTagReplacement> DefaultReplaceTags();
std::vector<TTagRemoval> DefaultDeleteTags();

class TOptionSet {
public:
    TOptionSet(); // every option at its default, both tag lists at their defaults

    bool flag(Opt id) const;
    // Setting either radio button keeps the other its opposite.
    void setFlag(Opt id, bool on);

    const std::string& text(Opt id) const; // Text and NumberText
    void setText(Opt id, std::string value);

    std::int32_t integer(Opt id) const;
    void setInteger(Opt id, std::int32_t value);

    // The value in the form the settings files write it: "1"/"0", decimal, or the text.
    std::string valueAsText(Opt id) const;

    std::vector<TTagReplacement> listReplaceTags;
    std::vector<TTagRemoval> listDeleteTags;

    bool ProfileModified = false;
    bool ReplaceSchemeModified = false;
    bool RemoveSchemeModified = false;

private:
    using Value = std::variant<bool, std::int32_t, std::string>;
    std::array<Value, kOptionCount> values_;
};

// A number text as the count it means. Empty, non-digit or over-long texts
// mean "no limit" (nullopt): the window lets only digits in, and a user who
// deletes every digit has asked for no number at all.
std::optional<std::int64_t> NumberTextValue(std::string_view text);

} // namespace qm
