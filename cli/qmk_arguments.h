// qmk's command line: the table of its options, what a command line names, and the usage text made from the table.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qm {

enum class QmkOption {
    Output,
    InPlace,
    Restore,
    Force,
    Recursive,
    Sync,
    Exclude,
    Ext,
    ProgramFolder,
    Profile,
    Set,
    ListOptions,
    Data,
    Backup,
    NoBackup,
    Overwrite,
    SkipExisting,
    Jobs,
    Json,
    Quiet,
    Verbose,
    Help,
    Version,
};

// One row per option: the usage text, the man page's check and the bash
// completion (which asks `qmk --help`) all come from here.
struct QmkOptionRow {
    QmkOption id;
    std::string_view longName; // without the leading "--"
    char shortName; // 0 when there is none
    std::string_view valueName; // empty for a switch
    std::string_view help;
};

std::span<const QmkOptionRow> QmkOptionTable();

// The whole --help text.
std::string QmkUsage();

// What a usage error adds after its one line.
inline constexpr std::string_view kTryHelp = "Try 'qmk --help' for more information.";

enum class ExistingTargets { Ask, Overwrite, Skip };
enum class Verbosity { Quiet, Normal, Verbose };

struct QmkArguments {
    bool help = false;
    bool version = false;
    bool listOptions = false;
    std::optional<std::string> programFolder;
    std::optional<std::string> profile;
    std::vector<std::string> assignments; // --set KEY=VALUE, in order
    std::optional<std::string> data;
    std::optional<std::string> outputFolder;
    bool inPlace = false;
    std::optional<std::string> backupFolder;
    bool noBackup = false;
    bool restore = false;
    bool force = false; // --restore: pages changed since the run too
    bool recursive = false;
    bool sync = false;
    std::vector<std::string> excludes; // glob patterns
    std::vector<std::string> extensions; // lower case, without dots
    bool standardInput = false;
    bool json = false;
    Verbosity verbosity = Verbosity::Normal;
    ExistingTargets existing = ExistingTargets::Ask;
    std::optional<unsigned> jobs;
    std::vector<std::string> paths;
};

struct QmkUsageError {
    std::string text; // one line, without "qmk: "
};

// Reads the arguments as Unix tools do: "--name value" and "--name=value",
// bundled short switches ("-rj4", "-ro DIR"), "--" before paths that begin
// with "-", and "-" alone for standard input. "--help" or "--version"
// anywhere before "--" wins over any error.
std::variant<QmkArguments, QmkUsageError> ParseQmkArguments(const std::vector<std::string>& arguments);

} // namespace qm
