// The headless command qmk on the desktop program's model: the panel, the run, placement, backup and restore.
#include "cli/qmk.h"

#include <chrono>
#include <istream>
#include <iterator>
#include <new>
#include <ostream>

#include "base/ascii.h"
#include "base/file_system.h"
#include "base/version.h"
#include "batch/model/file_filters.h"
#include "batch/model/file_operations.h"
#include "batch/model/file_ratio.h"
#include "batch/model/main_model.h"
#include "batch/panel/folder_scan.h"
#include "batch/panel/panel_commands.h"
#include "batch/panel/panel_refresh.h"
#include "batch/run/journal.h"
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

constexpr int kAllHandled = 0;
constexpr int kNotAllHandled = 1;
constexpr int kUsageError = 2;

std::string RatioText(std::optional<int> ratio) { return ratio ? std::to_string(*ratio) + " %" : "-"; }

// A file name as qmk prints it: a newline or a terminal escape in a name can neither forge a report line nor reach
// the terminal.
std::string Shown(const std::string& path) { return EscapeControlCharacters(path); }

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

enum class Loaded { Ok, CommandLineWrong, Failed };

// The options qmk runs with: the program folder's "Options.dat" and current
// profile (or the one named), read but never written, then --set. A profile
// that cannot be read, or that was named and holds no settings, ends qmk:
// running on other options than the user chose would give other pages. What
// the command line named wrong is a usage error; settings that cannot be read
// are a failure like a page that cannot be read.
Loaded LoadOptions(MainModel& model, const QmkArguments& args, std::ostream& err)
{
    TOptionSet& options = model.options;
    const std::string& folder = model.state.programFolder;
    const ProgramFolderDefaults defaults {folder};
    const bool verbose = args.verbosity == Verbosity::Verbose;
    options.setText(Opt::edOptimizedPath, defaults.optimizedPath());
    options.setText(Opt::edBackUpPath, defaults.backUpPath());
    Expected<bool> read = ReadLastOptions(model.fs, options, folder);
    if (!read) {
        err << "qmk: cannot read " << Shown(OptionsFilePath(folder)) << ": " << read.reason() << "\n";
        return Loaded::Failed;
    }
    if (verbose)
        err << "qmk: program options: "
            << (*read ? OptionsFilePath(folder) : "defaults (no " + OptionsFilePath(folder) + ")") << "\n";
    if (args.profile) {
        if (!model.fs.isFile(*args.profile)) {
            err << "qmk: no profile at " << Shown(*args.profile) << "\n";
            return Loaded::CommandLineWrong;
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
        err << "qmk: cannot read the profile " << Shown(profile) << ": " << file.reason() << "\n";
        return Loaded::Failed;
    }
    if (file->hasSection(kSettingsSection)) {
        for (const std::string& warning : ProfileKeyWarnings(*file))
            model.ui.showMessage(MessageKind::Warning, "profile " + profile + ": " + warning);
        if (Status loaded = LoadProfile(model.fs, options, folder); !loaded) {
            err << "qmk: cannot read the profile " << Shown(profile) << ": " << loaded.reason() << "\n";
            return Loaded::Failed;
        }
        if (verbose) err << "qmk: profile: " << profile << "\n";
    } else if (args.profile) {
        err << "qmk: the profile " << Shown(*args.profile)
            << " holds no settings (a [settings] section of KEY=VALUE lines)\n";
        return Loaded::CommandLineWrong;
    } else if (verbose) {
        err << "qmk: profile: defaults (" << (profile.empty() ? "none named" : "nothing in " + profile) << ")\n";
    }
    for (const std::string& assignment : args.assignments) {
        AssignmentOutcome outcome = AssignProfileOption(options, assignment);
        if (outcome.result == AssignmentResult::UnknownKey)
            model.ui.showMessage(MessageKind::Warning, "--set " + assignment + " ignored: " + outcome.message);
        if (outcome.result == AssignmentResult::Refused) {
            err << "qmk: --set " << assignment << ": " << outcome.message << "\n" << kTryHelp << "\n";
            return Loaded::CommandLineWrong;
        }
    }
    LoadedEngineData data = LoadEngineData(model.fs, args.data ? *args.data : folder);
    model.engineData = std::move(data.data);
    for (const std::string& warning : data.warnings) model.ui.showMessage(MessageKind::Warning, warning);
    return Loaded::Ok;
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
    model.run.replaceOwnUnchangedCopies = true;
}

// The journal of the folder a restore or a run of this mode works with.
std::string JournalFolderOf(const MainModel& model)
{
    return model.options.text(model.options.flag(Opt::radModifyOld) ? Opt::edBackUpPath : Opt::edOptimizedPath);
}

int Restore(MainModel& model, const QmkArguments& args, const SiteScan& site, QmkReport& report)
{
    RestoreSession session(model.fs);
    session.force = args.force;
    std::vector<PlacedFile> pages;
    for (const PanelRow& row : model.panel.rows()) pages.emplace_back(row.fullPath(), row.placement);
    pages.insert(pages.end(), site.missing.begin(), site.missing.end());
    bool anyHandled = false;
    for (const auto& [source, placement] : pages) {
        const RestoreOutcome outcome = RestoreFile(model, session, source, placement, nullptr);
        const bool named = site.named.count(source) != 0;
        switch (outcome.status) {
        case RestoreStatus::Restored: {
            anyHandled = true;
            std::string note;
            if (outcome.copiedBack) note = "copied back from the backup folder on another file system";
            if (!outcome.changedKeptAt.empty())
                note += (note.empty() ? "" : "; ") + std::string("the changed page is kept as ") +
                    Shown(outcome.changedKeptAt);
            report.restored(source, note);
            if (!outcome.reason.empty()) report.failure(Shown(source) + ": " + outcome.reason);
            break;
        }
        case RestoreStatus::AlreadyInitial:
            anyHandled = true;
            report.alreadyInitial(source);
            if (!outcome.reason.empty()) report.failure(Shown(source) + ": " + outcome.reason);
            break;
        case RestoreStatus::NothingToRestore:
            if (named)
                report.failure(Shown(source) + ": no " + (args.inPlace ? "backup" : "optimized copy") +
                    " of it is recorded in " + Shown(JournalFolderOf(model)));
            break;
        case RestoreStatus::NoInitialCopy:
            // The warning has named the backup it looked for.
            if (named)
                report.failure(Shown(source) + ": not restored: no " + (args.inPlace ? "backup" : "optimized copy") +
                    " of it is recorded in " + Shown(JournalFolderOf(model)));
            break;
        case RestoreStatus::Changed:
            report.notRestored(source,
                outcome.reason + (args.inPlace ? " (--force restores it and keeps the changed page beside it)" : ""));
            break;
        case RestoreStatus::Failed:
            report.notRestored(source, outcome.reason);
            break;
        }
    }
    FinishRestore(session);
    if (!anyHandled && !report.failed())
        report.failure("nothing to restore: no " + std::string(args.inPlace ? "backup" : "optimized copy") +
            " of these pages is recorded in " + Shown(JournalFolderOf(model)));
    const int status = report.failed() ? kNotAllHandled : kAllHandled;
    report.restoreSummary(status);
    return status;
}

int StandardInput(MainModel& model, CommandStreams streams, bool verbose)
{
    ErrorStreamSink sink(streams.err);
    OptimizedPage page;
    std::size_t sourceSize = 0;
    try {
        std::string source {std::istreambuf_iterator<char>(streams.in), std::istreambuf_iterator<char>()};
        sourceSize = source.size();
        page = OptimizePageBytes(std::move(source), model.options, model.engineData, sink);
    } catch (const std::bad_alloc&) {
        streams.err << "qmk: standard input: not enough memory to optimize it\n";
        return kNotAllHandled;
    }
    if (page.outcome != PipelineOutcome::Completed) {
        streams.err << "qmk: standard input: "
                    << (page.problem.empty() ? "Error during optimization process" : "not optimized: " + page.problem)
                    << "\n";
        return kNotAllHandled;
    }
    streams.out << page.bytes; // whether it reached standard output shows when the command flushes it
    // A filter is silent on standard error unless asked or failing.
    if (!verbose) return kAllHandled;
    streams.err << "qmk: standard input: " << sourceSize << " -> " << page.bytes.size() << " bytes, ratio "
                << RatioText(
                       FileRatio(static_cast<std::int64_t>(sourceSize), static_cast<std::int64_t>(page.bytes.size())))
                << "\n";
    return kAllHandled;
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
            return kNotAllHandled;
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
    const int status = report.failed() || interrupted || ending != RunEnding::Completed || ui.unansweredSkips() > 0
        ? kNotAllHandled
        : kAllHandled;
    report.summary(model.run.statistics, static_cast<std::int64_t>(model.run.processed.size()),
        std::chrono::steady_clock::now() - start, status);
    return status;
}

// A folder the command line names that does not exist is a mistake of the command line.
bool NamedFolderExists(FileSystem& fs, const std::optional<std::string>& folder, const char* option, std::ostream& err)
{
    if (!folder || fs.isFolder(fs.absolute(*folder))) return true;
    err << "qmk: " << option << " " << Shown(*folder) << ": no such folder\n" << kTryHelp << "\n";
    return false;
}

int Run(const QmkArguments& args, CommandStreams streams, const std::filesystem::path& programFolder, FileSystem& fs)
{
    if (!NamedFolderExists(fs, args.programFolder, "--program-folder", streams.err) ||
        !NamedFolderExists(fs, args.data, "--data", streams.err))
        return kUsageError;
    TerminalUserInterface ui(
        streams.in, streams.err, streams.inIsTerminal && streams.errIsTerminal, args.existing, args.noBackup);
    ui.setQuiet(args.verbosity == Verbosity::Quiet);
    MainWindowHooks hooks;
    MainModel model(fs, ui, hooks);
    ui.setInterruptFlag(&model.state.interruptRequested);
    model.state.panelShown = false;
    model.state.programFolder =
        WithTrailingSeparator(fs.absolute(args.programFolder ? *args.programFolder : programFolder.string()));
    switch (LoadOptions(model, args, streams.err)) {
    case Loaded::Ok:
        break;
    case Loaded::CommandLineWrong:
        return kUsageError;
    case Loaded::Failed:
        return kNotAllHandled;
    }
    if (args.listOptions) {
        PrintOptionList(model.options, streams.out, args.json);
        return kAllHandled;
    }
    if (args.standardInput) return StandardInput(model, streams, args.verbosity == Verbosity::Verbose);

    ApplyCommandLine(model, args);
    auto roots = PlaceRoots(model, args);
    if (auto* usage = std::get_if<QmkUsageError>(&roots)) {
        streams.err << "qmk: " << usage->text << "\n" << kTryHelp << "\n";
        return kUsageError;
    }
    std::optional<Journal> journal;
    if (args.restore) {
        journal.emplace(fs, JournalFolderOf(model));
        if (Status read = journal->refresh(); !read) {
            streams.err << "qmk: " << read.reason() << "\n";
            return kNotAllHandled;
        }
    }
    const SiteScan site =
        ScanSite(model, args, std::get<RootPlacements>(roots), streams.err, journal ? &*journal : nullptr);
    if (ui.interrupted()) {
        streams.err << "qmk: interrupted; nothing was changed\n";
        return kNotAllHandled;
    }
    if (model.panel.empty() && site.otherFiles.empty() && site.missing.empty()) {
        streams.err << "qmk: no web pages to " << (args.restore ? "restore" : "optimize") << "\n";
        return kNotAllHandled;
    }
    int status = kAllHandled;
    if (args.restore) {
        QmkReport report(streams.out, streams.err, ui, args);
        status = Restore(model, args, site, report);
    } else {
        status = Optimize(model, args, streams, ui, site);
    }
    return site.allFound ? status : kNotAllHandled;
}

} // namespace

int RunQmk(const std::vector<std::string>& arguments, CommandStreams streams,
    const std::filesystem::path& programFolder, FileSystem* fileSystem)
{
    auto parsed = ParseQmkArguments(arguments);
    if (auto* usage = std::get_if<QmkUsageError>(&parsed)) {
        streams.err << "qmk: " << usage->text << "\n" << kTryHelp << "\n";
        return kUsageError;
    }
    const QmkArguments& args = std::get<QmkArguments>(parsed);
    if (args.help) {
        streams.out << QmkUsage();
        return streams.out.flush() ? kAllHandled : kNotAllHandled;
    }
    if (args.version) {
        streams.out << "qmk " << kVersionText << "\n";
        return streams.out.flush() ? kAllHandled : kNotAllHandled;
    }

    RealFileSystem realFileSystem;
    int status = Run(args, streams, programFolder, fileSystem ? *fileSystem : realFileSystem);
    if (!streams.out.flush()) {
        streams.err << "qmk: cannot write to standard output\n";
        status = kNotAllHandled;
    }
    return status;
}

} // namespace qm
