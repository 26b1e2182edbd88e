// The end of a run as the user sees it: back to idle, the results page, the files that were not optimized.
#include "batch/run/run_ending.h"

#include "batch/model/main_model.h"
#include "batch/panel/panel_refresh.h"
#include "batch/view/source_view.h"

namespace qm {

void ResetAfterRun(MainModel& model, bool enableCancelLast)
{
    RunWindowState& window = model.run.window;
    model.run.clock.clockRunning = false;
    SetSourceViewVisible(model, true);
    window.labStatus = kReadyForOptimization;
    window.butStartCaption = "Start";
    window.butStartEnabled = true;
    window.butCancelCaption = "Cancel";
    window.time_status.clear();
    window.fileInHand.clear();
    model.state.menuBackUpLastEnabled = enableCancelLast;
    if (model.state.activity == ActivityMode::Opt) model.state.activity = ActivityMode::None;
    RefreshPanel(model);
    model.hooks.stateChanged();
}

RunFigures FiguresOf(const RunState& run)
{
    RunFigures figures;
    for (const FileOutcome& outcome : run.outcomes) {
        if (outcome.status == FileStatus::Written) {
            ++figures.written;
        } else if (outcome.status == FileStatus::Skipped && outcome.answeredByUser) {
            ++figures.skipped;
        } else {
            continue;
        }
        ++figures.processed;
    }
    return figures;
}

void ShowRunResults(MainModel& model)
{
    RunWindowState& window = model.run.window;
    const RunStatistics& statistics = model.run.statistics;
    const RunFigures figures = FiguresOf(model.run);
    window.labStatus = kReadyForOptimization;
    window.caption = "Optimization finished";
    window.fcount = "0";
    window.filessize = "0";
    window.page = 2;
    window.fdone = std::to_string(figures.processed);
    window.skipped = figures.skipped > 0 ? "skipped: " + std::to_string(figures.skipped) : std::string();
    window.deleted = std::to_string(statistics.totalInitial - statistics.totalOptimized);
    // The statistics hold the written files only; a file the user kept has no ratio of this run.
    window.midk = figures.written == 0
        ? std::string("-")
        : std::to_string(statistics.ratioSum / static_cast<std::int64_t>(figures.written)) + " %";
    window.mk = std::to_string(statistics.maxRatio) + " %";
    window.time_status.clear();
    window.butCancelCaption = "Cancel";
    if (model.state.activity == ActivityMode::Opt) model.state.activity = ActivityMode::None;
    model.hooks.stateChanged();
}

void ReportFileProblems(MainModel& model)
{
    if (!model.run.reportFileProblems) return;
    constexpr std::size_t kListed = 20;
    std::string lines;
    std::size_t problems = 0;
    bool anyFailed = false;
    for (const FileOutcome& outcome : model.run.outcomes) {
        if (outcome.status == FileStatus::Written || outcome.answeredByUser) continue;
        anyFailed = anyFailed || outcome.status == FileStatus::Failed;
        if (++problems <= kListed) lines += "\r" + outcome.source + ": " + outcome.reason;
    }
    if (problems == 0) return;
    if (problems > kListed) lines += "\r... and " + std::to_string(problems - kListed) + " more files";
    const std::string text =
        std::to_string(problems) + (problems == 1 ? " file was" : " files were") + " not optimized:" + lines;
    if (anyFailed)
        ShowMessage(model.ui, MessageKind::Error, text);
    else
        ShowInfoMessage(model, MessageKind::Warning, text);
}

} // namespace qm
