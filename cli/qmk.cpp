// The headless command qmk on the desktop program's model: the panel, the run, placement, backup and restore.
#include "cli/qmk.h"

#include <algorithm>
#include <chrono>
#include <istream>
#include <iterator>
#include <new>
#include <ostream>
#include <set>
#include <thread>

#include "base/ascii.h"
#include "base/file_system.h"
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
#include "cli/qmk_arguments.h"
#include "cli/terminal_user_interface.h"
#include "engine/optimize.h"
#include "engine/page_text.h"
#include "settings/data_lists.h"
#include "settings/profile.h"
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

// Where the copies and backups of the pages go below the output or backup
// folder. Backups keep each page's absolute path, so two sites never share a
// backup name. Outputs keep each page's path below the deepest folder that
// holds everything the arguments name: one folder argument lays its pages out
// below itself, and pages from several folders or sites stay apart as well.
struct Layout {
    std::string root; // ends with a separator; "/" for the absolute path
};

Layout ChooseLayout(FileSystem& fs, const QmkArguments& args)
{
    Layout layout {"/"};
    if (args.inPlace) return layout;
    std::optional<std::string> common;
    for (const std::string& given : args.paths) {
        const std::string path = fs.absolute(given);
        const std::string folder = fs.isFolder(path) ? WithTrailingSeparator(path) : FolderPart(path);
        if (!common) {
            common = folder;
            continue;
        }
        std::size_t same = 0;
        while (same < common->size() && same < folder.size() && (*common)[same] == folder[same]) ++same;
        *common = FolderPart(common->substr(0, same)); // whole folder names only
    }
    if (common && !common->empty()) layout.root = *common;
    return layout;
}

std::string PlacementOf(const Layout& layout, const std::string& folder)
{
    const std::string withSeparator = WithTrailingSeparator(folder);
    if (withSeparator.compare(0, layout.root.size(), layout.root) == 0) return withSeparator.substr(layout.root.size());
    return withSeparator.substr(1);
}

enum class Loaded { Ok, CommandLineWrong, Failed };

// The options qmk runs with: the program folder's "Options.dat" and current
// profile (or the one named), read but never written, then the command line.
Loaded LoadOptions(MainModel& model, const QmkArguments& args, std::ostream& err)
{
    TOptionSet& options = model.options;
    const std::string& folder = model.state.programFolder;
    const ProgramFolderDefaults defaults {folder};
    options.setText(Opt::edOptimizedPath, defaults.optimizedPath());
    options.setText(Opt::edBackUpPath, defaults.backUpPath());
    Expected<bool> read = ReadLastOptions(model.fs, options, folder);
    if (!read) {
        err << "qmk: cannot read " << Shown(OptionsFilePath(folder)) << ": " << read.reason() << "\n";
        return Loaded::Failed;
    }
    if (args.profile) {
        if (!model.fs.isFile(*args.profile)) {
            err << "qmk: no profile at " << Shown(*args.profile) << "\n";
            return Loaded::CommandLineWrong;
        }
        options.setText(Opt::edProfile, model.fs.absolute(*args.profile));
    }
    // A profile without settings would be written by the desktop program; qmk only reads.
    const std::string profile = options.text(Opt::edProfile);
    Expected<SettingsFile> file = SettingsFile::load(model.fs, profile);
    if (!profile.empty() && file && file->hasSection(kSettingsSection)) {
        if (Status loaded = LoadProfile(model.fs, options, folder); !loaded) {
            err << "qmk: cannot read the profile " << Shown(profile) << ": " << loaded.reason() << "\n";
            return Loaded::Failed;
        }
    } else if (args.profile) {
        err << "qmk: the profile " << Shown(*args.profile) << " holds no settings; the default options apply\n";
    }
    LoadedEngineData data = LoadEngineData(model.fs, args.data ? *args.data : folder);
    model.engineData = std::move(data.data);
    for (const std::string& warning : data.warnings) err << "qmk: warning: " << warning << "\n";
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
}

// The journal of the folder a restore or a run of this mode works with.
std::string JournalFolderOf(const MainModel& model)
{
    return model.options.text(model.options.flag(Opt::radModifyOld) ? Opt::edBackUpPath : Opt::edOptimizedPath);
}

// What the arguments name: folder arguments are scanned like Add folder;
// files are taken when the web files filter names their extension. A
// restore takes the pages its journal knows below the arguments too, when
// they are missing from the disk.
struct Targets {
    bool allFound = true;
    std::vector<std::pair<std::string, std::string>> missing; // restore: source and placement
    std::set<std::string> named; // pages named one by one
};

Targets FillPanel(MainModel& model, const QmkArguments& args, const Layout& layout, std::ostream& err)
{
    Targets targets;
    FileSystem& fs = model.fs;
    const std::vector<std::string> excluded = {WithoutTrailingSeparator(model.options.text(Opt::edOptimizedPath)),
        WithoutTrailingSeparator(model.options.text(Opt::edBackUpPath))};
    std::optional<Journal> journal;
    if (args.restore) {
        journal.emplace(fs, JournalFolderOf(model));
        if (Status read = journal->refresh(); !read) {
            err << "qmk: " << read.reason() << "\n";
            targets.allFound = false;
        }
    }
    const RecordKind kind = args.inPlace ? RecordKind::Backup : RecordKind::Copy;
    auto addMissing = [&](const std::string& pathOrFolder, bool recursive) {
        if (!journal) return false;
        bool any = false;
        for (const JournalEntry* entry : journal->liveEntriesUnder(pathOrFolder, recursive)) {
            if (entry->kind != kind || fs.exists(entry->source) || model.panel.contains(entry->source)) continue;
            const bool known = std::any_of(targets.missing.begin(), targets.missing.end(),
                [&](const auto& target) { return target.first == entry->source; });
            if (!known) targets.missing.emplace_back(entry->source, PlacementOf(layout, FolderPart(entry->source)));
            any = true;
        }
        return any;
    };
    PanelFullReport files;
    for (const std::string& given : args.paths) {
        const std::string path = fs.absolute(given);
        if (fs.isFolder(path)) {
            ScanScope scope;
            scope.root = layout.root;
            scope.excludedFolders = excluded;
            ScanFolder(model, path, 0, &scope);
            scope.full.show(model);
            for (const std::string& reason : scope.unlisted) {
                err << "qmk: " << reason << "; its pages were not " << (args.restore ? "restored" : "optimized")
                    << "\n";
                targets.allFound = false;
            }
            addMissing(WithTrailingSeparator(path), args.recursive);
        } else if (fs.isFile(path) && MatchesFilter(path, kWebFilesFilter)) {
            files.note(AddFileToPanel(model, path, false, PlacementOf(layout, FolderPart(path))));
            targets.named.insert(path);
        } else if (fs.isFile(path)) {
            // As the desktop program's f command: a run would rewrite a script's or a program's tabs and line ends.
            err << "qmk: " << Shown(given) << ": not a web page by its extension; skipped\n";
            targets.allFound = false;
        } else if (fs.exists(path)) {
            Expected<std::string> bytes = fs.readBytes(path);
            err << "qmk: " << Shown(given) << ": " << (bytes ? "not a regular file" : bytes.reason()) << "; skipped\n";
            targets.allFound = false;
        } else if (addMissing(path, false)) {
            targets.named.insert(path);
        } else {
            err << "qmk: " << Shown(given) << ": no such file or folder\n";
            targets.allFound = false;
        }
    }
    files.show(model);
    return targets;
}

int Restore(MainModel& model, const QmkArguments& args, const Targets& targets, std::ostream& out, std::ostream& err)
{
    RestoreSession session(model.fs);
    session.force = args.force;
    std::vector<std::pair<std::string, std::string>> pages;
    for (const PanelRow& row : model.panel.rows()) pages.emplace_back(row.fullPath(), row.placement);
    pages.insert(pages.end(), targets.missing.begin(), targets.missing.end());
    bool failed = false;
    bool anyHandled = false;
    for (const auto& [source, placement] : pages) {
        const RestoreOutcome outcome = RestoreFile(model, session, source, placement, nullptr);
        const bool named = targets.named.count(source) != 0;
        switch (outcome.status) {
        case RestoreStatus::Restored:
            anyHandled = true;
            out << Shown(source) << ": restored";
            if (outcome.copiedBack) out << " (copied back from the backup folder on another file system)";
            if (!outcome.changedKeptAt.empty()) out << "; the changed page is kept as " << Shown(outcome.changedKeptAt);
            out << "\n";
            if (!outcome.reason.empty()) err << "qmk: " << Shown(source) << ": " << outcome.reason << "\n";
            break;
        case RestoreStatus::AlreadyInitial:
            anyHandled = true;
            out << Shown(source) << ": holds its initial text already\n";
            break;
        case RestoreStatus::NothingToRestore:
            if (named) {
                err << "qmk: " << Shown(source) << ": no optimized copy of it is recorded in "
                    << Shown(JournalFolderOf(model)) << "\n";
                failed = true;
            }
            break;
        case RestoreStatus::NoInitialCopy:
            failed = failed || named; // the warning has been shown
            break;
        case RestoreStatus::Changed:
            err << "qmk: " << Shown(source) << ": not restored: " << outcome.reason
                << (args.inPlace ? " (--force restores it and keeps the changed page beside it)" : "") << "\n";
            failed = true;
            break;
        case RestoreStatus::Failed:
            err << "qmk: " << Shown(source) << ": not restored: " << outcome.reason << "\n";
            failed = true;
            break;
        }
    }
    FinishRestore(session);
    if (!anyHandled && !failed) {
        err << "qmk: nothing to restore: no backup or copy of these pages is recorded in "
            << Shown(JournalFolderOf(model)) << "\n";
        failed = true;
    }
    return failed ? kNotAllHandled : kAllHandled;
}

int StandardInput(MainModel& model, CommandStreams streams)
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
    streams.out << page.bytes;
    if (!streams.out.flush()) {
        streams.err << "qmk: cannot write the optimized page to standard output\n";
        return kNotAllHandled;
    }
    streams.err << "standard input: " << sourceSize << " -> " << page.bytes.size() << " bytes, ratio "
                << RatioText(
                       FileRatio(static_cast<std::int64_t>(sourceSize), static_cast<std::int64_t>(page.bytes.size())))
                << "\n";
    return kAllHandled;
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
            return kNotAllHandled;
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
            streams.out << Shown(outcome.source) << ": " << outcome.initialSize << " -> " << outcome.optimizedSize
                        << " bytes, ratio " << RatioText(outcome.ratio) << "\n";
            break;
        case FileStatus::Skipped: {
            const char* hint = "";
            if (outcome.answeredByUser && args.existing == ExistingTargets::Ask)
                hint = args.inPlace ? " (--overwrite keeps that backup under a numbered name and makes a new one, "
                                      "--skip-existing skips quietly)"
                                    : " (--overwrite replaces it, --skip-existing skips quietly)";
            streams.err << "qmk: " << Shown(outcome.source) << ": skipped: " << outcome.reason << hint << "\n";
            // A skip the user chose (--skip-existing, or an answer on the terminal) is the page handled as asked.
            failed = failed || !outcome.answeredByUser;
            break;
        }
        case FileStatus::Failed:
            streams.err << "qmk: " << Shown(outcome.source) << ": " << outcome.reason << "\n";
            failed = true;
            break;
        }
        streams.out.flush();
        if (streams.errIsTerminal)
            ui.setProgressLine(
                "[" + std::to_string(done) + "/" + std::to_string(total) + "] " + Shown(NamePart(outcome.source)));
    });
    ui.clearProgressLine();
    model.optimizer = nullptr;
    if (ending == RunEnding::Interrupted)
        streams.err << "qmk: interrupted; the files written so far stay written, the others are untouched\n";
    PrintSummary(model, streams.out, std::chrono::steady_clock::now() - start);
    return failed || ending != RunEnding::Completed || ui.unansweredSkips() > 0 ? kNotAllHandled : kAllHandled;
}

// A folder the command line names that does not exist is a mistake of the command line.
bool NamedFolderExists(FileSystem& fs, const std::optional<std::string>& folder, const char* option, std::ostream& err)
{
    if (!folder || fs.isFolder(fs.absolute(*folder))) return true;
    err << "qmk: " << option << " " << Shown(*folder) << ": no such folder\n" << kQmkUsage;
    return false;
}

} // namespace

int RunQmk(const std::vector<std::string>& arguments, CommandStreams streams,
    const std::filesystem::path& programFolder, FileSystem* fileSystem)
{
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        streams.out << kQmkUsage;
        return streams.out.flush() ? kAllHandled : kNotAllHandled;
    }
    auto parsed = ParseQmkArguments(arguments);
    if (auto* usage = std::get_if<QmkUsageError>(&parsed)) {
        streams.err << "qmk: " << usage->text << "\n" << kQmkUsage;
        return kUsageError;
    }
    const QmkArguments& args = std::get<QmkArguments>(parsed);

    RealFileSystem realFileSystem;
    FileSystem& fs = fileSystem ? *fileSystem : realFileSystem;
    if (!NamedFolderExists(fs, args.programFolder, "--program-folder", streams.err) ||
        !NamedFolderExists(fs, args.data, "--data", streams.err))
        return kUsageError;
    TerminalUserInterface ui(
        streams.in, streams.err, streams.inIsTerminal && streams.errIsTerminal, args.existing, args.noBackup);
    MainWindowHooks hooks;
    MainModel model(fs, ui, hooks);
    ui.setInterruptFlag(&model.state.interruptRequested);
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
    if (args.standardInput) return StandardInput(model, streams);

    ApplyCommandLine(model, args);
    const Layout layout = ChooseLayout(fs, args);
    const Targets targets = FillPanel(model, args, layout, streams.err);
    if (ui.interrupted()) {
        streams.err << "qmk: interrupted; nothing was changed\n";
        return kNotAllHandled;
    }
    if (model.panel.empty() && targets.missing.empty()) {
        streams.err << "qmk: no web pages to " << (args.restore ? "restore" : "optimize") << "\n";
        return kNotAllHandled;
    }
    int status =
        args.restore ? Restore(model, args, targets, streams.out, streams.err) : Optimize(model, args, streams, ui);
    if (!streams.out.flush()) {
        streams.err << "qmk: cannot write the report to standard output\n";
        status = kNotAllHandled;
    }
    return targets.allFound ? status : kNotAllHandled;
}

} // namespace qm
