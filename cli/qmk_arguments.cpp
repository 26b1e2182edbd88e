// Reading qmk's command line from its option table.
#include "cli/qmk_arguments.h"

#include <algorithm>
#include <charconv>

#include "base/ascii.h"
#include "base/nearest_name.h"

namespace qm {
namespace {

using O = QmkOption;

// clang-format off
const QmkOptionRow kOptions[] = {
    {O::Output, "output", 'o', "DIR", "write the optimized copies into DIR"},
    {O::InPlace, "in-place", 0, "", "replace the sources, each kept in the backup folder first"},
    {O::Restore, "restore", 0, "", "undo by the folder's journal: delete the copies it wrote (-o), or put the backups back (--in-place)"},
    {O::Force, "force", 0, "", "with --restore: restore pages changed since the run too, keeping each change beside it (NAME.~1~)"},
    {O::Recursive, "recursive", 'r', "", "descend into embedded folders"},
    {O::Sync, "sync", 0, "", "with -o: copy the files that are not pages (scripts, images, fonts) unchanged too"},
    {O::Exclude, "exclude", 0, "GLOB",
     "pass over what matches GLOB: a name, or a path below the folder named (repeatable)"},
    {O::Ext, "ext", 0, "LIST", "take these extensions as pages too, for example inc,tpl,xhtml (repeatable)"},
    {O::ProgramFolder, "program-folder", 0, "DIR", "take Options.dat, the current profile, Align.dat and Ssi.dat from DIR"},
    {O::Profile, "profile", 0, "FILE", "use this profile (*.pro, with its *.rep and *.rem) instead of the current one"},
    {O::Set, "set", 0, "KEY=VALUE", "set a profile option, for example cbDelComments=0 (repeatable)"},
    {O::ListOptions, "list-options", 0, "", "print each profile option's key, value in force, default and caption"},
    {O::Data, "data", 0, "DIR", "take Align.dat and Ssi.dat from DIR"},
    {O::Backup, "backup", 0, "DIR", "backup folder for --in-place (default: the program's backup folder)"},
    {O::NoBackup, "no-backup", 0, "", "replace sources without backups (they cannot be restored)"},
    {O::Overwrite, "overwrite", 0, "", "replace existing optimized copies and backups"},
    {O::SkipExisting, "skip-existing", 0, "", "keep existing optimized copies and backups; skip those files"},
    {O::Jobs, "jobs", 'j', "N", "optimize on N threads (default: one per processor this process may use)"},
    {O::Json, "json", 0, "", "print one JSON object per file and a summary object instead of the lines"},
    {O::Quiet, "quiet", 'q', "", "print errors only"},
    {O::Verbose, "verbose", 'v', "", "also say where the options come from, what is passed over, and the ratio of -"},
    {O::Help, "help", 'h', "", "print this help and stop"},
    {O::Version, "version", 'V', "", "print the version and stop"},
};
// clang-format on

const QmkOptionRow* ByLongName(std::string_view name)
{
    for (const QmkOptionRow& row : kOptions)
        if (row.longName == name) return &row;
    return nullptr;
}

const QmkOptionRow* ByShortName(char name)
{
    for (const QmkOptionRow& row : kOptions)
        if (row.shortName != 0 && row.shortName == name) return &row;
    return nullptr;
}

std::string Spelling(const QmkOptionRow& row)
{
    return row.shortName ? "-" + std::string(1, row.shortName) + "/--" + std::string(row.longName)
                         : "--" + std::string(row.longName);
}

std::string UnknownLongOption(std::string_view name)
{
    std::vector<std::string_view> names;
    for (const QmkOptionRow& row : kOptions) names.push_back(row.longName);
    std::string text = "unknown option --" + std::string(name);
    if (std::optional<std::string_view> nearest = NearestName(name, names))
        text += "; did you mean --" + std::string(*nearest) + "?";
    return text;
}

bool IsExtensionCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '+' ||
        static_cast<unsigned char>(c) >= 0x80;
}

std::optional<std::string> AddExtensions(std::vector<std::string>& into, std::string_view list)
{
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        std::string extension = ToLowerAscii(list.substr(start, comma - start));
        if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
        if (extension.empty() || !std::all_of(extension.begin(), extension.end(), IsExtensionCharacter))
            return "--ext takes extensions separated by commas, for example inc,tpl,xhtml, not '" + std::string(list) +
                "'";
        into.push_back(std::move(extension));
        if (comma == list.size()) return std::nullopt;
        start = comma + 1;
    }
}

// Takes one option's effect; the text of a usage error when its value is wrong.
std::optional<std::string> Apply(QmkArguments& parsed, const QmkOptionRow& row, const std::string& value)
{
    switch (row.id) {
    case O::Output:
        parsed.outputFolder = value;
        break;
    case O::InPlace:
        parsed.inPlace = true;
        break;
    case O::Restore:
        parsed.restore = true;
        break;
    case O::Force:
        parsed.force = true;
        break;
    case O::Recursive:
        parsed.recursive = true;
        break;
    case O::Sync:
        parsed.sync = true;
        break;
    case O::Exclude:
        parsed.excludes.push_back(value);
        break;
    case O::Ext:
        return AddExtensions(parsed.extensions, value);
    case O::ProgramFolder:
        parsed.programFolder = value;
        break;
    case O::Profile:
        parsed.profile = value;
        break;
    case O::Set:
        parsed.assignments.push_back(value);
        break;
    case O::ListOptions:
        parsed.listOptions = true;
        break;
    case O::Data:
        parsed.data = value;
        break;
    case O::Backup:
        parsed.backupFolder = value;
        break;
    case O::NoBackup:
        parsed.noBackup = true;
        break;
    case O::Overwrite:
    case O::SkipExisting: {
        const ExistingTargets wanted = row.id == O::Overwrite ? ExistingTargets::Overwrite : ExistingTargets::Skip;
        if (parsed.existing != ExistingTargets::Ask && parsed.existing != wanted)
            return "--overwrite and --skip-existing exclude each other";
        parsed.existing = wanted;
        break;
    }
    case O::Jobs: {
        unsigned jobs = 0;
        auto [end, problem] = std::from_chars(value.data(), value.data() + value.size(), jobs);
        if (problem != std::errc() || end != value.data() + value.size() || jobs == 0 || jobs > 256)
            return "--jobs needs a number from 1 to 256, not '" + value + "'";
        parsed.jobs = jobs;
        break;
    }
    case O::Json:
        parsed.json = true;
        break;
    case O::Quiet:
    case O::Verbose: {
        const Verbosity wanted = row.id == O::Quiet ? Verbosity::Quiet : Verbosity::Verbose;
        if (parsed.verbosity != Verbosity::Normal && parsed.verbosity != wanted)
            return "--quiet and --verbose exclude each other";
        parsed.verbosity = wanted;
        break;
    }
    case O::Help:
        parsed.help = true;
        break;
    case O::Version:
        parsed.version = true;
        break;
    }
    return std::nullopt;
}

// The switches and values, without checking how they go together.
std::optional<std::string> ReadOptions(const std::vector<std::string>& arguments, QmkArguments& parsed)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            if (argument == "-" && !optionsEnded)
                parsed.standardInput = true;
            else
                parsed.paths.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        // The value after the option, from the same argument or the next one.
        auto valueFor = [&](std::optional<std::string> attached) -> std::optional<std::string> {
            if (attached) return attached;
            if (i + 1 < arguments.size()) return arguments[++i];
            return std::nullopt;
        };
        auto missing = [](const QmkOptionRow& row) {
            return Spelling(row) + " needs a value (" + std::string(row.valueName) + ")";
        };
        if (argument[1] == '-') {
            const std::size_t equals = argument.find('=');
            const std::string name = argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
            const QmkOptionRow* row = ByLongName(name);
            if (!row) return UnknownLongOption(name);
            std::optional<std::string> attached;
            if (equals != std::string::npos) attached = argument.substr(equals + 1);
            if (row->valueName.empty()) {
                if (attached) return "--" + name + " takes no value";
                if (auto error = Apply(parsed, *row, {})) return error;
                continue;
            }
            std::optional<std::string> value = valueFor(attached);
            if (!value || value->empty()) return missing(*row);
            if (auto error = Apply(parsed, *row, *value)) return error;
            continue;
        }
        for (std::size_t k = 1; k < argument.size(); ++k) {
            const QmkOptionRow* row = ByShortName(argument[k]);
            if (!row) return "unknown option -" + std::string(1, argument[k]);
            if (row->valueName.empty()) {
                if (auto error = Apply(parsed, *row, {})) return error;
                continue;
            }
            std::optional<std::string> attached;
            if (k + 1 < argument.size()) attached = argument.substr(k + 1);
            std::optional<std::string> value = valueFor(attached);
            if (!value || value->empty()) return missing(*row);
            if (auto error = Apply(parsed, *row, *value)) return error;
            break;
        }
    }
    return std::nullopt;
}

// Whether the argument stands before "--" as one of the two spellings.
bool Mentions(const std::vector<std::string>& arguments, std::string_view longForm, std::string_view shortForm)
{
    for (const std::string& argument : arguments) {
        if (argument == "--") return false;
        if (argument == longForm || argument == shortForm) return true;
    }
    return false;
}

// How the options go together.
std::optional<std::string> CheckCombination(const QmkArguments& parsed)
{
    if (parsed.listOptions) {
        if (!parsed.paths.empty() || parsed.standardInput || parsed.outputFolder || parsed.inPlace || parsed.restore)
            return "--list-options prints the options in force and takes no paths, -, -o, --in-place or --restore";
        return std::nullopt;
    }
    if (parsed.standardInput) {
        if (!parsed.paths.empty() || parsed.outputFolder || parsed.inPlace || parsed.restore || parsed.sync)
            return "\"-\" reads one page from standard input and takes neither paths nor -o, --in-place, --restore, "
                   "--sync";
        if (parsed.json) return "--json describes files; \"-\" writes the page itself to standard output";
        return std::nullopt;
    }
    if (parsed.outputFolder && parsed.inPlace) return "choose either -o DIR or --in-place";
    if (!parsed.outputFolder && !parsed.inPlace) return "no output: give -o DIR or --in-place";
    if (parsed.outputFolder && (parsed.backupFolder || parsed.noBackup))
        return "--backup and --no-backup belong to --in-place";
    if (parsed.backupFolder && parsed.noBackup) return "--backup and --no-backup exclude each other";
    if (parsed.restore && parsed.noBackup) return "without backups there is nothing to restore";
    if (parsed.force && !parsed.restore) return "--force belongs to --restore";
    if (parsed.sync && !parsed.outputFolder) return "--sync copies into the -o folder; --in-place has nothing to copy";
    if (parsed.sync && parsed.restore) return "--sync and --restore exclude each other";
    if (parsed.paths.empty()) return "no files to optimize";
    return std::nullopt;
}

} // namespace

std::span<const QmkOptionRow> QmkOptionTable() { return kOptions; }

std::string QmkUsage()
{
    std::string text =
        "usage: qmk [OPTION]... -o DIR PATH...          optimized copies into DIR\n"
        "       qmk [OPTION]... --in-place PATH...      replace the sources, each kept in the backup folder first\n"
        "       qmk [OPTION]... --restore (-o DIR | --in-place) PATH...   undo by the folder's journal: delete the\n"
        "                                               copies it wrote, or put the backups back\n"
        "       qmk [OPTION]... -                       standard input to standard output\n"
        "       qmk [OPTION]... --list-options          the profile options in force\n"
        "Makes web pages smaller; scripts and server code stay byte for byte.\n"
        "PATH is a page or a folder; a folder gives its web pages (with -r those of its embedded folders too),\n"
        "and its outputs keep the folder structure below it; backups keep each page's absolute path. With -o,\n"
        "several folders each get a subfolder of DIR named after them. Hidden folders and node_modules are passed over "
        "unless named.\n"
        "The options come from the program folder's Options.dat and current profile, then --profile, then --set.\n"
        "\n"
        "Options:\n";
    for (const QmkOptionRow& row : kOptions) {
        std::string names = row.shortName ? "  -" + std::string(1, row.shortName) + ", " : std::string("      ");
        names += "--" + std::string(row.longName);
        if (!row.valueName.empty()) names += " " + std::string(row.valueName);
        constexpr std::size_t column = 28;
        names.resize(std::max(column, names.size() + 2), ' ');
        text += names + std::string(row.help) + "\n";
    }
    text +=
        "\n"
        "Exit status: 0 every page asked for was handled; 1 some page or folder was not, or standard output failed;\n"
        "2 a wrong command line.\n";
    return text;
}

std::variant<QmkArguments, QmkUsageError> ParseQmkArguments(const std::vector<std::string>& arguments)
{
    QmkArguments parsed;
    std::optional<std::string> error = ReadOptions(arguments, parsed);
    // A line that asks for help gets it, whatever else is wrong with it; help before the version.
    const bool help = parsed.help || (error && Mentions(arguments, "--help", "-h"));
    const bool version = parsed.version || (error && Mentions(arguments, "--version", "-V"));
    if (help || version) {
        QmkArguments only;
        only.help = help;
        only.version = !help;
        return only;
    }
    if (!error) error = CheckCombination(parsed);
    if (error) return QmkUsageError {*error};
    return parsed;
}

} // namespace qm
