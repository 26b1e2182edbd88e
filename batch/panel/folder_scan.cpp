// The folder scan with its depth, count cap and interruption, and the Add folder command around it.
#include "batch/panel/folder_scan.h"

#include <algorithm>

#include "batch/model/file_dialogs.h"
#include "batch/model/file_filters.h"
#include "batch/model/main_model.h"
#include "batch/panel/panel_refresh.h"

namespace qm {
namespace {

// True when the scan is to stop before listing this folder.
bool ScanInterrupted(MainModel& model)
{
    MainState& state = model.state;
    model.ui.processEvents();
    if (state.interruptRequested && !state.interruptConfirmed)
        state.interruptConfirmed = model.ui.askOkCancel("\rDo you want to interrupt files adding?");
    if (!state.interruptRequested) return false;
    if (state.interruptConfirmed) {
        if (state.activity == ActivityMode::Path) state.activity = ActivityMode::None;
        return true;
    }
    state.interruptRequested = false;
    state.interruptConfirmed = false;
    state.quitRequested = false; // a close that asked for the interruption is withdrawn with it
    return false;
}

bool IsExcluded(const ScanScope* scope, const std::string& folder)
{
    if (!scope) return false;
    const std::string withSeparator = WithTrailingSeparator(folder);
    return std::any_of(scope->excludedFolders.begin(), scope->excludedFolders.end(),
        [&](const std::string& excluded) { return WithTrailingSeparator(excluded) == withSeparator; });
}

std::string PathBelowRoot(const ScanScope* scope, const std::string& folder)
{
    if (!scope || scope->root.empty()) return {};
    const std::string withSeparator = WithTrailingSeparator(folder);
    if (withSeparator.compare(0, scope->root.size(), scope->root) != 0) return {};
    return withSeparator.substr(scope->root.size());
}

bool IsPage(const ScanScope* scope, const std::string& name)
{
    return scope && scope->rules ? IsPageName(*scope->rules, name) : MatchesFilter(name, kWebFilesFilter);
}

// True when the site rules pass over the entry; -v hears why.
bool PassedOver(const ScanScope* scope, const std::string& below, const FolderEntry& entry, const std::string& path)
{
    if (!scope || !scope->rules) return false;
    std::optional<std::string> why = PassOverReason(*scope->rules, entry.name, below + entry.name, entry.isFolder);
    if (why && scope->passedOver) scope->passedOver(path, *why);
    return why.has_value();
}

} // namespace

void ScanFolder(MainModel& model, const std::string& folder, int depth, ScanScope* scope)
{
    if (ScanInterrupted(model)) return;
    const std::string base = WithoutTrailingSeparator(folder);
    Expected<std::vector<FolderEntry>> entries = model.fs.listFolder(base);
    if (!entries) {
        if (scope) scope->unlisted.push_back(entries.reason());
        return;
    }
    const std::string below = PathBelowRoot(scope, base);
    const std::string placement = scope ? scope->placementPrefix + below : below;
    const TOptionSet& options = model.options;
    for (const FolderEntry& entry : *entries) {
        const std::string path = (base == "/" ? base : base + "/") + entry.name;
        const bool descend =
            entry.isFolder && options.flag(Opt::cbProcessEmbeded) && !entry.isLink && !IsExcluded(scope, path);
        if (!entry.isFile && !descend) continue;
        if (PassedOver(scope, below, entry, path)) continue;
        if (entry.isFile && !IsPage(scope, entry.name)) {
            if (scope && scope->otherFiles) scope->otherFiles->emplace_back(path, placement);
        } else if (entry.isFile) {
            std::optional<std::size_t> limit =
                options.flag(Opt::cbMaxFCount) ? LimitOf(model, Opt::edMaxFCount) : std::nullopt;
            if (!limit || model.panel.size() < *limit) {
                AddOutcome outcome = AddFileToPanel(model, path, false, placement);
                if (scope) scope->full.note(outcome);
            }
        }
        if (!descend) continue;
        std::optional<std::size_t> maxLevel =
            options.flag(Opt::cbMaxEmbCount) ? LimitOf(model, Opt::edMaxEmbCount) : std::nullopt;
        if (!maxLevel || static_cast<std::size_t>(depth) < *maxLevel) ScanFolder(model, path, depth + 1, scope);
    }
}

FolderChooserPanels RestrictionPanels(const TOptionSet& options)
{
    FolderChooserPanels panels;
    panels.visible = true;
    if (options.flag(Opt::cbMaxFCount))
        panels.filesLines = {"Maximum", "files count is", options.text(Opt::edMaxFCount)};
    else
        panels.filesLines = {"No files", "count restriction", ""};
    if (options.flag(Opt::cbProcessEmbeded) && options.flag(Opt::cbMaxEmbCount)) {
        panels.folderIcon = 1;
        panels.foldersLines = {"Maximum level of", "embeded folders is", options.text(Opt::edMaxEmbCount)};
    } else if (options.flag(Opt::cbProcessEmbeded)) {
        panels.folderIcon = 3;
        panels.foldersLines = {"All embeded folders", "will be processed", ""};
    } else {
        panels.folderIcon = 2;
        panels.foldersLines = {"Embeded folders", "are not processed", ""};
    }
    return panels;
}

void butPathClick(MainModel& model)
{
    if (RefuseWhileBusy(model, MessageKind::Information)) return;
    const std::string folder = AskFolder(model, RestrictionPanels(model.options));
    // An empty answer means the chosen folder vanished while the chooser closed: nothing to scan.
    if (folder != "-" && !folder.empty()) {
        MainState& state = model.state;
        state.activity = ActivityMode::Path;
        state.interruptRequested = false;
        state.interruptConfirmed = false;
        ScanScope scope;
        ScanFolder(model, model.fs.absolute(folder), 0, &scope);
        scope.full.show(model);
        state.activity = ActivityMode::None;
        RefreshPanel(model);
        state.interruptRequested = false;
        state.interruptConfirmed = false;
    }
    ResetSourceView(model);
    model.hooks.stateChanged();
}

} // namespace qm
