// qmk's command line: what it names, and the usage text.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace qm {

inline constexpr const char* kQmkUsage =
    "usage: qmk [OPTIONS] -o DIR PATH...        optimized copies into DIR\n"
    "       qmk [OPTIONS] --in-place PATH...    replace the sources, each kept in the backup folder first\n"
    "       qmk [OPTIONS] --restore (-o DIR | --in-place) PATH...   undo by the folder's journal: delete the\n"
    "                                           copies, or put the backups back\n"
    "       qmk [OPTIONS] -                     standard input to standard output\n"
    "PATH is a page or a folder; a folder gives its web pages (with -r those of its embedded folders too).\n"
    "Outputs keep the paths below the folder that holds every PATH; backups keep each page's absolute path.\n"
    "OPTIONS:\n"
    "  --program-folder DIR  take Options.dat, the current profile, Align.dat and Ssi.dat from DIR\n"
    "  --profile FILE        use this profile (*.pro, with its *.rep and *.rem) instead of the current one\n"
    "  --data DIR            take Align.dat and Ssi.dat from DIR\n"
    "  -r                    descend into embedded folders\n"
    "  --backup DIR          backup folder for --in-place (default: the program's backup folder)\n"
    "  --no-backup           replace sources without backups (they cannot be restored)\n"
    "  --overwrite           replace existing optimized copies and backups\n"
    "  --skip-existing       keep existing optimized copies and backups; skip those files\n"
    "  --force               with --restore: restore pages changed since the run too, keeping each changed page\n"
    "                        beside it under a numbered name (NAME.~1~)\n"
    "  --jobs N              optimize on N threads (default: one per processor)\n"
    "Exit status: 0 every page handled, 1 some page or folder was not (or standard output failed), 2 wrong command\n"
    "line.\n";

enum class ExistingTargets { Ask, Overwrite, Skip };

struct QmkArguments {
    std::optional<std::string> programFolder;
    std::optional<std::string> profile;
    std::optional<std::string> data;
    std::optional<std::string> outputFolder;
    bool inPlace = false;
    std::optional<std::string> backupFolder;
    bool noBackup = false;
    bool restore = false;
    bool force = false; // --restore: pages changed since the run too
    bool recursive = false;
    bool standardInput = false;
    ExistingTargets existing = ExistingTargets::Ask;
    std::optional<unsigned> jobs;
    std::vector<std::string> paths;
};

struct QmkUsageError {
    std::string text;
};

std::variant<QmkArguments, QmkUsageError> ParseQmkArguments(const std::vector<std::string>& arguments);

} // namespace qm
