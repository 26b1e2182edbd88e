// The headless command qmk on the desktop program's model: the panel, the run, placement, backup and restore.
#include "cli/qmk.h"

#include <chrono>
#include <istream>
#include <iterator>
#include <ostream>
#include <thread>

#include "base/file_system.h"
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
#include "cli/qmk_arguments.h"
#include "cli/terminal_user_interface.h"
#include "engine/optimize.h"
#include "engine/page_text.h"
#include "settings/data_lists.h"
#include "settings/profile.h"
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
// profile (or the one named), read but never written, then the command line.
bool LoadOptions(MainModel& model, const QmkArguments& args, std::ostream& err)
{
    TOptionSet& options = model.options;
    const std::string& folder = model.state.programFolder;
    const ProgramFolderDefaults defaults {folder};
    options.setText(Opt::edOptimizedPath, defaults.optimizedPath());
    options.setText(Opt::edBackUpPath, defaults.backUpPath());
    Expected<bool> read = ReadLastOptions(model.fs, options, folder);
    if (!read) {
        err << "qmk: cannot read " << OptionsFilePath(folder) << ": " << read.reason() << "\n";
        return false;
    }
    if (args.profile) {
        if (!model.fs.isFile(*args.profile)) {
            err << "qmk: no profile at " << *args.profile << "\n";
            return false;
        }
        options.setText(Opt::edProfile, model.fs.absolute(*args.profile));
    }
    // A profile without settings would be written by the desktop program; qmk only reads.
    const std::string profile = options.text(Opt::edProfile);
    Expected<SettingsFile> file = SettingsFile::load(model.fs, profile);
    if (!profile.empty() && file && file->hasSection(kSettingsSection)) {
        if (Status loaded = LoadProfile(model.fs, options, folder); !loaded) {
            err << "qmk: cannot read the profile " << profile << ": " << loaded.reason() << "\n";
            return false;
        }
    } else if (args.profile) {
        err << "qmk: the profile " << *args.profile << " holds no settings; the default options apply\n";
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

// Folder arguments are scanned like Add folder; files are taken when the web files filter names their extension.
bool FillPanel(MainModel& model, const QmkArguments& args, std::ostream& err)
{
    bool allFound = true;
    FileSystem& fs = model.fs;
    const std::vector<std::string> excluded = {WithoutTrailingSeparator(model.options.text(Opt::edOptimizedPath)),
        WithoutTrailingSeparator(model.options.text(Opt::edBackUpPath))};
    PanelFullReport files;
    for (const std::string& given : args.paths) {
        const std::string path = fs.absolute(given);
        if (fs.isFolder(path)) {
            ScanScope scope;
            scope.root = WithTrailingSeparator(path);
            scope.excludedFolders = excluded;
            ScanFolder(model, path, 0, &scope);
            scope.full.show(model);
        } else if (fs.isFile(path) && MatchesFilter(path, kWebFilesFilter)) {
            files.note(AddFileToPanel(model, path, false));
        } else if (fs.isFile(path)) {
            // As the desktop program's f command: a run would rewrite a script's or a program's tabs and line ends.
            err << "qmk: " << given << ": not a web page by its extension; skipped\n";
            allFound = false;
        } else {
            err << "qmk: " << given << ": no such file or folder\n";
            allFound = false;
        }
    }
    files.show(model);
    return allFound;
}

int Restore(MainModel& model, std::ostream& out, std::ostream& err)
{
    bool failed = false;
    for (const PanelRow& row : model.panel.rows()) {
        const std::string source = row.fullPath();
        RestoreOutcome outcome = RestoreFile(model, source, row.placement, nullptr);
        switch (outcome.status) {
        case RestoreStatus::Restored:
            out << source << ": restored\n";
            break;
        case RestoreStatus::NothingToRestore:
            break;
        case RestoreStatus::NoInitialCopy:
            break; // the warning has been shown
        case RestoreStatus::Failed:
            err << "qmk: " << source << ": not restored: " << outcome.reason << "\n";
            failed = true;
            break;
        }
    }
    return failed ? 1 : 0;
}

int StandardInput(MainModel& model, CommandStreams streams)
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
    streams.err << "standard input: " << sourceSize << " -> " << page.bytes.size() << " bytes, ratio "
                << RatioText(
                       FileRatio(static_cast<std::int64_t>(sourceSize), static_cast<std::int64_t>(page.bytes.size())))
                << "\n";
    return 0;
}

void PrintSummary(const MainModel& model, std::ostream& out, std::chrono::steady_clock::duration elapsed)
{
    const RunStatistics& statistics = model.run.statistics;
    const std::int64_t files = static_cast<std::int64_t>(model.run.processed.size());
    out << "Files processed: " << files << "\n"
        << "Bytes removed: " << (statistics.totalInitial - statistics.totalOptimized) << "\n"
        << "Average optimization ratio: " << (files ? statistics.ratioSum / files : 0) << " %\n"
        << "Max optimization ratio: " << statistics.maxRatio << " %\n"
        << "Time elapsed: " << DurationText(elapsed) << "\n";
}

int Optimize(MainModel& model, const QmkArguments& args, CommandStreams streams, TerminalUserInterface& ui)
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

    const unsigned jobs = args.jobs.value_or(std::max(1u, std::thread::hardware_concurrency()));
    std::unique_ptr<ParallelPageOptimizer> parallel;
    if (jobs > 1) {
        parallel = std::make_unique<ParallelPageOptimizer>(fs, jobs);
        model.optimizer = parallel.get();
    }

    const std::size_t total = model.panel.CountCheckedRows();
    std::size_t done = 0;
    bool failed = false;
    const auto start = std::chrono::steady_clock::now();
    const RunEnding ending = RunOptimization(model, [&](const FileOutcome& outcome) {
        ++done;
        ui.clearProgressLine();
        switch (outcome.status) {
        case FileStatus::Written:
            streams.out << outcome.source << ": " << outcome.initialSize << " -> " << outcome.optimizedSize
                        << " bytes, ratio " << RatioText(outcome.ratio) << "\n";
            break;
        case FileStatus::Skipped:
            streams.err << "qmk: " << outcome.source << ": skipped: " << outcome.reason
                        << (outcome.answeredByUser && args.existing == ExistingTargets::Ask
                                   ? " (--overwrite replaces it, --skip-existing skips quietly)"
                                   : "")
                        << "\n";
            break;
        case FileStatus::Failed:
            streams.err << "qmk: " << outcome.source << ": " << outcome.reason << "\n";
            failed = true;
            break;
        }
        streams.out.flush();
        if (streams.errIsTerminal)
            ui.setProgressLine(
                "[" + std::to_string(done) + "/" + std::to_string(total) + "] " + NamePart(outcome.source));
    });
    ui.clearProgressLine();
    model.optimizer = nullptr;
    if (ending == RunEnding::Interrupted)
        streams.err << "qmk: interrupted; the files written so far stay written, the others are untouched\n";
    PrintSummary(model, streams.out, std::chrono::steady_clock::now() - start);
    return failed || ending != RunEnding::Completed || ui.unansweredSkips() > 0 ? 1 : 0;
}

} // namespace

int RunQmk(const std::vector<std::string>& arguments, CommandStreams streams,
    const std::filesystem::path& programFolder, FileSystem* fileSystem)
{
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        streams.out << kQmkUsage;
        return 0;
    }
    auto parsed = ParseQmkArguments(arguments);
    if (auto* usage = std::get_if<QmkUsageError>(&parsed)) {
        streams.err << "qmk: " << usage->text << "\n" << kQmkUsage;
        return 2;
    }
    const QmkArguments& args = std::get<QmkArguments>(parsed);

    RealFileSystem realFileSystem;
    FileSystem& fs = fileSystem ? *fileSystem : realFileSystem;
    TerminalUserInterface ui(
        streams.in, streams.err, streams.inIsTerminal && streams.errIsTerminal, args.existing, args.noBackup);
    MainWindowHooks hooks;
    MainModel model(fs, ui, hooks);
    ui.setInterruptFlag(&model.state.interruptRequested);
    model.state.programFolder =
        WithTrailingSeparator(fs.absolute(args.programFolder ? *args.programFolder : programFolder.string()));
    if (!LoadOptions(model, args, streams.err)) return 2;
    if (args.standardInput) return StandardInput(model, streams);

    ApplyCommandLine(model, args);
    const bool allFound = FillPanel(model, args, streams.err);
    if (ui.interrupted()) {
        streams.err << "qmk: interrupted; nothing was changed\n";
        return 1;
    }
    if (model.panel.empty()) {
        streams.err << "qmk: no web pages to " << (args.restore ? "restore" : "optimize") << "\n";
        return 1;
    }
    const int status = args.restore ? Restore(model, streams.out, streams.err) : Optimize(model, args, streams, ui);
    return allFound ? status : 1;
}

} // namespace qm
