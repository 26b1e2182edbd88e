// Starting a run, its run window as state, resetting after it, its results and its interruption.
#include "batch/run/run_control.h"

#include "batch/model/file_operations.h"
#include "batch/model/main_model.h"
#include "batch/panel/panel_refresh.h"
#include "batch/run/last_run.h"
#include "batch/view/source_view.h"

namespace qm {
namespace {

constexpr const char* kRunTitle = "Quillmark [ optimization in a progress ... ]";

void FillPageOne(MainModel& model, std::size_t count, std::int64_t total)
{
    const TOptionSet& options = model.options;
    RunWindowState& window = model.run.window;
    if (options.flag(Opt::radModifyOld) && options.flag(Opt::cbSaveBefMod)) {
        window.labPathComment = "Before optimization files will be copied to:";
        window.labPathForOptimized = options.text(Opt::edBackUpPath);
    } else if (options.flag(Opt::radModifyOld)) {
        window.labPathComment = "Source files optimization.";
        window.labPathForOptimized = "It will be impossible to restore optimized files";
    } else {
        window.labPathComment = "Optimized copies of the files will be saved to: ";
        window.labPathForOptimized = options.text(Opt::edOptimizedPath);
    }
    window.fcount = std::to_string(count);
    window.filessize = std::to_string(total);
    window.filesDone = 0;
    window.filesTotal = count;
}

void CreateLastLevel(MainModel& model, Opt folderOption)
{
    const std::string folder = model.options.text(folderOption);
    // A folder that cannot be made fails each file of the run with its reason.
    if (!folder.empty() && !model.fs.isFolder(folder)) (void)model.fs.createFolder(folder);
}

void EndOfRunTitle(MainModel& model)
{
    model.state.noResults = false;
    model.state.applicationTitle = kApplicationTitle;
}

} // namespace

RunEnding RunOptimization(MainModel& model, const std::function<void(const FileOutcome&)>& onFileDone)
{
    RunWindowState& window = model.run.window;
    MainState& state = model.state;
    window.labStatus = kOptimizationInProgress;
    state.applicationTitle = kRunTitle;
    window.butStartEnabled = false;
    model.run.confirmation.startRun();
    CreateLastLevel(model, model.options.flag(Opt::radModifyOld) ? Opt::edBackUpPath : Opt::edOptimizedPath);
    SetSourceViewVisible(model, false);
    window.butCancelCaption = "Break";
    state.activity = ActivityMode::Opt;
    state.interruptRequested = false;
    state.interruptConfirmed = false;
    model.run.statistics.totalInitial = 0;
    model.run.statistics.totalOptimized = 0;
    model.run.statistics.ratioSum = 0;
    model.run.clock.clockRunning = true;
    model.run.clock.runStart = model.run.clock.now();
    window.time_status = DurationText({});
    model.hooks.stateChanged();

    RunEnding ending = RunEnding::Failed;
    try {
        ending = OptimizeCheckedFiles(model, onFileDone);
    } catch (const std::exception&) {
        // Nothing below throws on purpose; running out of memory still must not end the program.
        ShowMessage(model.ui, MessageKind::Error, "Error during optimization process");
        ResetAfterRun(model, false);
        window.visible = false;
    }
    window.elapsed = window.time_status;
    if (ending == RunEnding::Completed) ResetAfterRun(model, state.menuBackUpLastEnabled);
    RememberLastRun(model);
    ReportFileProblems(model);
    return ending;
}

void butOptimizeClick(MainModel& model)
{
    if (RefuseWhileBusy(model, MessageKind::Warning)) return;
    MainState& state = model.state;
    state.interruptRequested = false;
    state.interruptConfirmed = false;
    // Edits that could not be saved stay in the view rather than being reset away by the run.
    if (!OfferToSaveChanges(model, true)) return;
    model.run.window.page = 1;
    model.run.window.caption = "Optimization";

    std::size_t count = 0;
    std::int64_t total = 0;
    for (const PanelRow& row : model.panel.rows()) {
        if (!row.checked) continue;
        ++count;
        // A missing file adds nothing rather than -1 to the total size.
        const std::int64_t size = model.fs.sizeOf(row.fullPath());
        if (size > 0) total += size;
    }
    if (count == 0) {
        ShowInfoMessage(model, MessageKind::Information, "You should select files first");
        return;
    }
    FillPageOne(model, count, total);
    if (model.options.flag(Opt::cbShowOptWin)) {
        model.run.window.visible = true;
        model.hooks.stateChanged();
        return;
    }
    if (model.options.flag(Opt::cbShowConf) && !model.ui.askYesNo("\rStart optimization?")) {
        state.interruptRequested = true;
        return;
    }
    state.statusText = kOptimizationInProgress;
    model.hooks.stateChanged();
    const RunEnding ending = RunOptimization(model);
    state.statusText.clear();
    // After an interrupt CheckInterrupt has said so already, and after a failure it would be untrue.
    if (ending == RunEnding::Completed && !state.noResults && model.options.flag(Opt::cbShowEnd))
        ShowMessage(model.ui, MessageKind::Information, "Optimization finished");
    EndOfRunTitle(model);
    model.hooks.stateChanged();
}

void butStartClick(MainModel& model)
{
    const RunEnding ending = RunOptimization(model);
    if (ending == RunEnding::Completed) {
        if (!model.state.noResults) ShowRunResults(model);
        if (!model.options.flag(Opt::cbShowOptWin) && model.options.flag(Opt::cbShowEnd))
            ShowMessage(model.ui, MessageKind::Information, "Optimization finished");
    }
    EndOfRunTitle(model);
    model.hooks.stateChanged();
}

void butCancelClick(MainModel& model)
{
    if (model.run.window.butCancelCaption == "Cancel")
        model.run.window.visible = false;
    else
        model.state.interruptRequested = true;
    model.hooks.stateChanged();
}

void butCloseClick(MainModel& model)
{
    model.run.window.visible = false;
    model.hooks.stateChanged();
}

void RunWindowKeyUp(MainModel& model, int key)
{
    if (key == kEscapeKey && model.run.window.butCancelCaption == "Break") butCancelClick(model);
}

void MainWindowKeyUp(MainModel& model, int key)
{
    if (key != kEscapeKey) return;
    MainState& state = model.state;
    if ((state.activity == ActivityMode::Opt && model.run.window.butCancelCaption == "Break") ||
        state.activity == ActivityMode::Path)
        state.interruptRequested = true;
}

void Timer1Timer(MainModel& model)
{
    RunClock& clock = model.run.clock;
    if (!clock.clockRunning) return;
    model.run.window.time_status = DurationText(clock.now() - clock.runStart);
    model.hooks.stateChanged();
}

} // namespace qm
