// Reading qmk's command line.
#include "cli/qmk_arguments.h"

#include <charconv>

namespace qm {

std::variant<QmkArguments, QmkUsageError> ParseQmkArguments(const std::vector<std::string>& arguments)
{
    QmkArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto value = [&](std::optional<std::string>& into) -> std::optional<QmkUsageError> {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty())
                return QmkUsageError {argument + " needs a value"};
            into = arguments[++i];
            return std::nullopt;
        };
        std::optional<QmkUsageError> error;
        if (optionsEnded || argument.empty() || argument[0] != '-') {
            parsed.paths.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-") {
            parsed.standardInput = true;
        } else if (argument == "--program-folder") {
            error = value(parsed.programFolder);
        } else if (argument == "--profile") {
            error = value(parsed.profile);
        } else if (argument == "--data") {
            error = value(parsed.data);
        } else if (argument == "-o") {
            error = value(parsed.outputFolder);
        } else if (argument == "--backup") {
            error = value(parsed.backupFolder);
        } else if (argument == "--jobs" || argument == "-j") {
            std::optional<std::string> text;
            error = value(text);
            if (!error) {
                unsigned jobs = 0;
                auto [end, problem] = std::from_chars(text->data(), text->data() + text->size(), jobs);
                if (problem != std::errc() || end != text->data() + text->size() || jobs == 0 || jobs > 256)
                    error = QmkUsageError {"--jobs needs a number from 1 to 256"};
                else
                    parsed.jobs = jobs;
            }
        } else if (argument == "--in-place") {
            parsed.inPlace = true;
        } else if (argument == "--no-backup") {
            parsed.noBackup = true;
        } else if (argument == "--restore") {
            parsed.restore = true;
        } else if (argument == "--force") {
            parsed.force = true;
        } else if (argument == "-r") {
            parsed.recursive = true;
        } else if (argument == "--overwrite" || argument == "--skip-existing") {
            const ExistingTargets wanted =
                argument == "--overwrite" ? ExistingTargets::Overwrite : ExistingTargets::Skip;
            if (parsed.existing != ExistingTargets::Ask && parsed.existing != wanted)
                error = QmkUsageError {"--overwrite and --skip-existing exclude each other"};
            parsed.existing = wanted;
        } else {
            error = QmkUsageError {"unknown option " + argument};
        }
        if (error) return *error;
    }

    if (parsed.standardInput) {
        if (!parsed.paths.empty() || parsed.outputFolder || parsed.inPlace || parsed.restore)
            return QmkUsageError {
                "\"-\" reads one page from standard input and takes neither paths nor -o, --in-place, --restore"};
        return parsed;
    }
    if (parsed.outputFolder && parsed.inPlace) return QmkUsageError {"choose either -o DIR or --in-place"};
    if (!parsed.outputFolder && !parsed.inPlace) return QmkUsageError {"no output: give -o DIR or --in-place"};
    if (parsed.outputFolder && (parsed.backupFolder || parsed.noBackup))
        return QmkUsageError {"--backup and --no-backup belong to --in-place"};
    if (parsed.backupFolder && parsed.noBackup) return QmkUsageError {"--backup and --no-backup exclude each other"};
    if (parsed.restore && parsed.noBackup) return QmkUsageError {"without backups there is nothing to restore"};
    if (parsed.force && !parsed.restore) return QmkUsageError {"--force belongs to --restore"};
    if (parsed.paths.empty()) return QmkUsageError {"no files to optimize"};
    return parsed;
}

} // namespace qm
