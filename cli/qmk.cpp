// The headless command qmk on the desktop program's model: the panel, the run, placement, backup and restore.
#include "cli/qmk.h"

#include <chrono>
#include <istream>
#include <iterator>
#include <ostream>

#include "base/file_system.h"
#include "base/version.h"
#include "batch/model/file_filters.h"
#include "batch/model/file_operations.h"
#include "batch/model/file_ratio.h"
#include "batch/model/main_model.h"
#include "batch/panel/folder_scan.h"
#include "batch/panel/panel_commands.h"
#include "batch/panel/panel_refresh.h"
#include "batch/run/page_optimizer.h"
#include "batch/run/restore.h"
#include "batch/run/run_control.h"
#include "cli/option_list.h"
#include "cli/processor_count.h"
#include "cli/qmk_arguments.h"
#include "cli/qmk_report.h"
#include "cli/qmk_site.h"
#include "cli/terminal_user_interface.h"
#include "engine/optimize.h"
#include "engine/page_text.h"
#include "settings/data_lists.h"
#include "settings/profile.h"
#include "settings/profile_keys.h"
#include "settings/program_options.h"

namespace qm {
namespace {

std::string RatioText(std::optional<int> ratio) { return ratio ? std::to_string(*ratio) + " %" : "-"; }

// Passes' own messages go to standard error.
class ErrorStreamSink final : public MessageSink {
public:
    explicit ErrorStreamSink(std::ostream& err)
        : err_(err)
    {
    }
    void report(MessageKind, std::string_view text) override
    {
        err_ << "qmk: standard input: " << TerminalText(std::string(text)) << "\n";
    }

private:
    std::ostream& err_;
};

// The options qmk runs with: the program folder's "Options.dat" and current
// profile (or the one named), read but never written, then --set. A profile
// that cannot be read, or that was named and holds no settings, ends qmk:
// running on other options than the user chose would give other pages.
bool LoadOptions(MainModel& model, const QmkArguments& args, std::ostream& err)
{
    TOptionSet& options = model.options;
    const std::string& folder = model.state.programFolder;
    const ProgramFolderDefaults defaults {folder};
    const bool verbose = args.verbosity == Verbosity::Verbose;
    options.setText(Opt::edOptimizedPath, defaults.optimizedPath());
    options.setText(Opt::edBackUpPath, defaults.backUpPath());
    Expected<bool> read = ReadLastOptions(model.fs, options, folder);
    if (!read) {
        err << "qmk: cannot read " << OptionsFilePath(folder) << ": " << read.reason() << "\n";
        return false;
    }
    if (verbose)
        err << "qmk: program options: "
            << (*read ? OptionsFilePath(folder) : "defaults (no " + OptionsFilePath(folder) + ")") << "\n";
    if (args.profile) {
        if (!model.fs.isFile(*args.profile)) {
            err << "qmk: no profile at " << *args.profile << "\n";
            return false;
        }
        options.setText(Opt::edProfile, model.fs.absolute(*args.profile));
    }
    // Before the desktop program's first start names a profile, the folder's default one (an installed copy's).
    if (options.text(Opt::edProfile).empty() && model.fs.isFile(defaults.defaultProfile()))
        options.setText(Opt::edProfile, defaults.defaultProfile());
    // A profile without settings would be written by the desktop program; qmk only reads.
    const std::string profile = options.text(Opt::edProfile);
    Expected<SettingsFile> file =
        profile.empty() ? Expected<SettingsFile>(SettingsFile {}) : SettingsFile::load(model.fs, profile);
    if (!file) {
        err << "qmk: cannot read the profile " << profile << ": " << file.reason() << "\n";
        return false;
    }
    if (file->hasSection(kSettingsSection)) {
        for (const std::string& warning : ProfileKeyWarnings(*file))
            model.ui.showMessage(MessageKind::Warning, "profile " + profile + ": " + warning);
        if (Status loaded = LoadProfile(model.fs, options, folder); !loaded) {
            err << "qmk: cannot read the profile " << profile << ": " << loaded.reason() << "\n";
            return false;
        }
        if (verbose) err << "qmk: profile: " << profile << "\n";
    } else if (args.profile) {
        err << "qmk: the profile " << *args.profile << " holds no settings (a [settings] section of KEY=VALUE lines)\n";
        return false;
    } else if (verbose) {
        err << "qmk: profile: defaults (" << (profile.empty() ? "none named" : "nothing in " + profile) << ")\n";
    }
    for (const std::string& assignment : args.assignments) {
        AssignmentOutcome outcome = AssignProfileOption(options, assignment);
        if (outcome.result == AssignmentResult::UnknownKey)
            model.ui.showMessage(MessageKind::Warning, "--set " + assignment + " ignored: " + outcome.message);
        if (outcome.result == AssignmentResult::Refused) {
            err << "qmk: --set " << assignment << ": " << outcome.message << "\n" << kTryHelp << "\n";
            return false;
        }
    }
    model.engineData = LoadEngineData(model.fs, args.data ? *args.data : folder);
    return true;
}

void ApplyCommandLine(MainModel& model, const QmkArguments& args)
{
    TOptionSet& options = model.options;
    FileSystem& fs = model.fs;
    if (args.outputFolder) {
        options.setFlag(Opt::radSaveNewMod, true);
        options.setText(Opt::edOptimizedPath, WithTrailingSeparator(fs.absolute(*args.outputFolder)));
    } else {
        options.setFlag(Opt::radModifyOld, true);
        options.setFlag(Opt::cbSaveBefMod, !args.noBackup);
        if (args.backupFolder)
            options.setText(Opt::edBackUpPath, WithTrailingSeparator(fs.absolute(*args.backupFolder)));
    }
    // The panel's caps serve a window of rows; a batch command takes every page it is given.
    options.setFlag(Opt::cbProcessEmbeded, args.recursive);
    options.setFlag(Opt::cbMaxEmbCount, false);
    options.setFlag(Opt::cbMaxFCount, false);
    // Files are reported one by one below; no boxes, no question before the run.
    options.setFlag(Opt::cbShowOptWin, false);
    options.setFlag(Opt::cbShowConf, false);
    options.setFlag(Opt::cbShowEnd, false);
    options.setFlag(Opt::cbShowInfo, true);
    model.run.reportFileProblems = false;
}

int Restore(MainModel& model, QmkReport& report)
{
    for (const PanelRow& row : model.panel.rows()) {
        const std::string source = row.fullPath();
        RestoreOutcome outcome = RestoreFile(model, source, row.placement, nullptr);
        switch (outcome.status) {
        case RestoreStatus::Restored:
            report.restored(source);
            break;
        case RestoreStatus::NothingToRestore:
            break;
        case RestoreStatus::NoInitialCopy:
            break; // the warning has been shown
        case RestoreStatus::Failed:
            report.notRestored(source, outcome.reason);
            break;
        }
    }
    const int status = report.failed() ? 1 : 0;
    report.restoreSummary(status);
    return status;
}

int StandardInput(MainModel& model, CommandStreams streams, bool verbose)
{
    std::string source {std::istreambuf_iterator<char>(streams.in), std::istreambuf_iterator<char>()};
    ErrorStreamSink sink(streams.err);
    const std::size_t sourceSize = source.size();
    OptimizedPage page = OptimizePageBytes(std::move(source), model.options, model.engineData, sink);
    if (page.outcome != PipelineOutcome::Completed) {
        streams.err << "qmk: standard input: "
                    << (page.problem.empty() ? "Error during optimization process" : "not optimized: " + page.problem)
                    << "\n";
        return 1;
    }
    streams.out << page.bytes;
    // A filter is silent on standard error unless asked or failing.
    if (!verbose) return 0;
    streams.err << "qmk: standard input: " << sourceSize << " -> " << page.bytes.size() << " bytes, ratio "
                << RatioText(
                       FileRatio(static_cast<std::int64_t>(sourceSize), static_cast<std::int64_t>(page.bytes.size())))
                << "\n";
    return 0;
}

int Optimize(
    MainModel& model, const QmkArguments& args, CommandStreams streams, TerminalUserInterface& ui, const SiteScan& site)
{
    FileSystem& fs = model.fs;
    const TOptionSet& options = model.options;
    const std::string root =
        options.flag(Opt::radModifyOld) ? options.text(Opt::edBackUpPath) : options.text(Opt::edOptimizedPath);
    if (options.flag(Opt::radSaveNewMod) || options.flag(Opt::cbSaveBefMod)) {
        if (Status created = CreateFolders(fs, root); !created) {
            streams.err << "qmk: " << created.reason() << "\n";
            return 1;
        }
    }
    if (args.inPlace && args.noBackup)
        ui.showMessage(MessageKind::Warning, "no backups: the sources are replaced and cannot be restored");

    const unsigned jobs = args.jobs.value_or(UsableProcessorCount());
    std::unique_ptr<ParallelPageOptimizer> parallel;
    if (jobs > 1) {
        parallel = std::make_unique<ParallelPageOptimizer>(fs, jobs);
        model.optimizer = parallel.get();
    }

    QmkReport report(streams.out, streams.err, ui, args);
    const bool progress = streams.errIsTerminal && args.verbosity != Verbosity::Quiet;
    const std::size_t total = model.panel.CountCheckedRows() + site.otherFiles.size();
    std::size_t done = 0;
    auto showProgress = [&](const std::string& file) {
        ++done;
        if (progress)
            ui.setProgressLine("[" + std::to_string(done) + "/" + std::to_string(total) + "] " + NamePart(file));
    };
    const auto start = std::chrono::steady_clock::now();
    RunEnding ending = RunEnding::Completed;
    if (!model.panel.empty()) {
        ending = RunOptimization(model, [&](const FileOutcome& outcome) {
            report.optimized(outcome);
            showProgress(outcome.source);
        });
    }
    model.optimizer = nullptr;
    if (ending == RunEnding::Completed && args.sync)
        SyncFiles(
            fs, site.otherFiles, options.text(Opt::edOptimizedPath), args.existing,
            [&](const CopyOutcome& outcome) {
                report.copied(outcome);
                showProgress(outcome.source);
            },
            [&] { return ui.interrupted(); });
    ui.clearProgressLine();
    const bool interrupted = ending == RunEnding::Interrupted || ui.interrupted();
    if (interrupted)
        streams.err << "qmk: interrupted; the files written so far stay written, the others are untouched\n";
    const int status =
        report.failed() || interrupted || ending != RunEnding::Completed || ui.unansweredSkips() > 0 ? 1 : 0;
    report.summary(model.run.statistics, static_cast<std::int64_t>(model.run.processed.size()),
        std::chrono::steady_clock::now() - start, status);
    return status;
}

} // namespace

int RunQmk(const std::vector<std::string>& arguments, CommandStreams streams,
    const std::filesystem::path& programFolder, FileSystem* fileSystem)
{
    auto parsed = ParseQmkArguments(arguments);
    if (auto* usage = std::get_if<QmkUsageError>(&parsed)) {
        streams.err << "qmk: " << usage->text << "\n" << kTryHelp << "\n";
        return 2;
    }
    const QmkArguments& args = std::get<QmkArguments>(parsed);
    if (args.help) {
        streams.out << QmkUsage();
        return 0;
    }
    if (args.version) {
        streams.out << "qmk " << kVersionText << "\n";
        return 0;
    }

    RealFileSystem realFileSystem;
    FileSystem& fs = fileSystem ? *fileSystem : realFileSystem;
    TerminalUserInterface ui(
        streams.in, streams.err, streams.inIsTerminal && streams.errIsTerminal, args.existing, args.noBackup);
    ui.setQuiet(args.verbosity == Verbosity::Quiet);
    MainWindowHooks hooks;
    MainModel model(fs, ui, hooks);
    ui.setInterruptFlag(&model.state.interruptRequested);
    model.state.programFolder =
        WithTrailingSeparator(fs.absolute(args.programFolder ? *args.programFolder : programFolder.string()));
    if (!LoadOptions(model, args, streams.err)) return 2;
    if (args.listOptions) {
        PrintOptionList(model.options, streams.out, args.json);
        return 0;
    }
    if (args.standardInput) return StandardInput(model, streams, args.verbosity == Verbosity::Verbose);

    ApplyCommandLine(model, args);
    auto roots = PlaceRoots(model, args);
    if (auto* usage = std::get_if<QmkUsageError>(&roots)) {
        streams.err << "qmk: " << usage->text << "\n" << kTryHelp << "\n";
        return 2;
    }
    const SiteScan site = ScanSite(model, args, std::get<RootPlacements>(roots), streams.err);
    if (ui.interrupted()) {
        streams.err << "qmk: interrupted; nothing was changed\n";
        return 1;
    }
    if (model.panel.empty() && site.otherFiles.empty()) {
        streams.err << "qmk: no web pages to " << (args.restore ? "restore" : "optimize") << "\n";
        return 1;
    }
    int status = 0;
    if (args.restore) {
        QmkReport report(streams.out, streams.err, ui, args);
        status = Restore(model, report);
    } else {
        status = Optimize(model, args, streams, ui, site);
    }
    return site.allFound ? status : 1;
}

} // namespace qm
