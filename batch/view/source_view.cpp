// The source view's logic: which copy of the highlighted row is shown, edited, saved, opened or sent to the editor.
#include "batch/view/source_view.h"

#include "batch/model/external_editor.h"
#include "batch/model/main_model.h"
#include "batch/model/placement.h"
#include "batch/model/text_diff.h"
#include "batch/panel/panel_refresh.h"
#include "batch/view/source_text.h"

namespace qm {
namespace {

constexpr std::string_view kNotFound = "File < %s > not found!";

std::string Filled(std::string_view pattern, const std::string& value)
{
    std::string text(pattern);
    text.replace(text.find("%s"), 2, value);
    return text;
}

const PanelRow* HighlightedRow(const MainModel& model)
{
    const std::optional<std::size_t> row = model.panel.highlighted();
    return row ? &model.panel.row(*row) : nullptr;
}

std::string InitialCopyOf(MainModel& model, const PanelRow& row)
{
    return InitialCopyPath(model.options, model.fs, row.fullPath(), row.placement, true);
}

std::string OptimizedCopyOf(MainModel& model, const PanelRow& row)
{
    return OptimizedCopyPath(model.options, model.fs, row.fullPath(), row.placement, true);
}

// Writes the view's text over the shown file.
Status WriteShownFile(MainModel& model)
{
    SourceViewState& view = model.sourceView;
    Expected<std::string> bytes = SourceBytesOf(model.hooks.sourceViewText(), view.format);
    if (!bytes) return bytes.status();
    // Renaming over a read-only file would succeed; the user's protection must not be undone silently.
    if (model.fs.isReadOnly(view.shownFile)) return Status::Fail("The file " + view.shownFile + " is read-only");
    return model.fs.writeAtomically(view.shownFile, *bytes);
}

bool SaveShownFile(MainModel& model)
{
    if (Status written = WriteShownFile(model); !written) {
        ShowMessage(model.ui, MessageKind::Error, "Error during saving file\r" + written.reason());
        return false;
    }
    model.sourceView.butSaveFileEnabled = false;
    // The panel shows the file's new size at once rather than at the next refresh.
    RefreshPanel(model);
    return true;
}

void ShowText(MainModel& model, bool optimized)
{
    if (!HighlightedRow(model)) return;
    if (!OfferToSaveChanges(model, false)) return;
    // Saving refreshes and re-sorts the panel: the rows may have moved, the highlight follows its file.
    const PanelRow* row = HighlightedRow(model);
    if (!row) return;
    const std::string path = optimized ? OptimizedCopyOf(model, *row) : InitialCopyOf(model, *row);
    if (!model.fs.isFile(path)) {
        ShowMessage(model.ui, MessageKind::Error, Filled(kNotFound, path));
        return;
    }
    Expected<std::string> bytes = model.fs.readBytes(path);
    if (!bytes) {
        ShowMessage(model.ui, MessageKind::Error,
            std::string(optimized ? "Error during opening optimized file" : "Error during opening initial file") +
                "\r" + bytes.reason());
        return;
    }
    SourceViewState& view = model.sourceView;
    SourceText text = SourceTextOf(*bytes, model.options.flag(Opt::cbKeepLineEnds));
    view.hint = path;
    view.shownFile = path;
    view.shown = optimized ? ShownText::Optimized : ShownText::Initial;
    view.caption = SourceViewCaption(view);
    view.format = text.format;
    model.hooks.setSourceViewText(text.text);
    view.editable = true;
    view.butSendToEditEnabled = true;
    view.butSaveFileEnabled = false;
    model.hooks.stateChanged();
}

// A copy's text as the view shows it, or the message that says why there is none.
std::optional<std::string> ViewTextOf(MainModel& model, const std::string& path, bool optimized)
{
    if (!model.fs.isFile(path)) {
        ShowMessage(model.ui, MessageKind::Error, Filled(kNotFound, path));
        return std::nullopt;
    }
    Expected<std::string> bytes = model.fs.readBytes(path);
    if (!bytes) {
        ShowMessage(model.ui, MessageKind::Error,
            std::string(optimized ? "Error during opening optimized file" : "Error during opening initial file") +
                "\r" + bytes.reason());
        return std::nullopt;
    }
    return SourceTextOf(*bytes, false).text;
}

} // namespace

bool OfferToSaveChangesBeforeQuit(MainModel& model)
{
    const SourceViewState& view = model.sourceView;
    if (!view.butSaveFileEnabled || view.shownFile.empty()) return true;
    switch (model.ui.askYesNoCancel("Save changes to *|* < " + view.hint + " >  ?")) {
    case YesNoCancel::Yes:
        return SaveShownFile(model);
    case YesNoCancel::No:
        return true;
    case YesNoCancel::Cancel:
        return false;
    }
    return false;
}

bool OfferToSaveChanges(MainModel& model, bool resetAfterwards)
{
    SourceViewState& view = model.sourceView;
    if (view.butSaveFileEnabled && !view.shownFile.empty() &&
        model.ui.askYesNo("Save changes to *|* < " + view.hint + " >  ?") && !SaveShownFile(model))
        return false;
    if (resetAfterwards) ResetSourceView(model);
    return true;
}

void UpdateViewCommands(MainModel& model)
{
    SourceViewState& view = model.sourceView;
    if (const PanelRow* row = HighlightedRow(model)) {
        view.menuUnzippedHint = InitialCopyOf(model, *row);
        view.menuUnzippedEnabled = model.fs.isFile(view.menuUnzippedHint);
        view.menuZippedHint = OptimizedCopyOf(model, *row);
        view.menuZippedEnabled = model.fs.isFile(view.menuZippedHint);
    } else {
        view.menuUnzippedHint.clear();
        view.menuZippedHint.clear();
        view.menuUnzippedEnabled = false;
        view.menuZippedEnabled = false;
    }
    view.butViewUnZippedEnabled = view.menuUnzippedEnabled;
    view.butViewZippedEnabled = view.menuZippedEnabled;
    view.butViewDiffEnabled = view.menuUnzippedEnabled && view.menuZippedEnabled;
    model.hooks.stateChanged();
}

void HighlightRow(MainModel& model, std::optional<std::size_t> row)
{
    if (model.panel.highlighted() == row) return;
    model.panel.setHighlighted(row);
    UpdateViewCommands(model);
}

void listFilesClick(MainModel& model)
{
    if (!model.panel.highlighted()) ResetSourceView(model);
}

void listFilesDblClick(MainModel& model)
{
    if (!model.panel.highlighted()) {
        ShowInfoMessage(model, MessageKind::Information, "You should select file to view first");
        return;
    }
    ShowText(model, model.sourceView.butViewZippedEnabled);
}

void butViewUnZippedClick(MainModel& model) { ShowText(model, false); }

void butViewZippedClick(MainModel& model) { ShowText(model, true); }

void butViewDiffClick(MainModel& model)
{
    if (!HighlightedRow(model)) return;
    if (!OfferToSaveChanges(model, false)) return;
    const PanelRow* row = HighlightedRow(model);
    if (!row) return;
    const std::string initialPath = InitialCopyOf(model, *row);
    const std::string optimizedPath = OptimizedCopyOf(model, *row);
    const std::optional<std::string> initial = ViewTextOf(model, initialPath, false);
    if (!initial) return;
    const std::optional<std::string> optimized = ViewTextOf(model, optimizedPath, true);
    if (!optimized) return;
    const std::vector<DiffRun> runs = TextDifferences(*initial, *optimized);
    const DiffSummary summary = SummaryOf(runs);
    SourceViewState& view = model.sourceView;
    view.hint = optimizedPath;
    view.shownFile = optimizedPath;
    view.shown = ShownText::Differences;
    view.caption = SourceViewCaption(view) + ": " + std::to_string(summary.removedBytes) + " bytes removed and " +
        std::to_string(summary.addedBytes) + " added in " + std::to_string(summary.places) +
        (summary.places == 1 ? " place" : " places");
    model.hooks.setSourceViewDifferences(runs);
    // The differences are no text of any file: nothing to edit or to save.
    view.editable = false;
    view.butSendToEditEnabled = true;
    view.butSaveFileEnabled = false;
    model.hooks.stateChanged();
}

void memoFileSrcChange(MainModel& model)
{
    SourceViewState& view = model.sourceView;
    if (view.shownFile.empty() || !view.editable || view.butSaveFileEnabled) return;
    view.butSaveFileEnabled = true;
    model.hooks.stateChanged();
}

void butSaveFileClick(MainModel& model)
{
    if (model.sourceView.shownFile.empty()) return;
    SaveShownFile(model);
    model.hooks.stateChanged();
}

void butSendToEditClick(MainModel& model)
{
    if (!model.sourceView.shownFile.empty()) SendToEditor(model, model.sourceView.shownFile);
}

void butViewClick(MainModel& model)
{
    const PanelRow* row = HighlightedRow(model);
    if (!row) {
        ShowInfoMessage(model, MessageKind::Information, "You should select file to view first");
        return;
    }
    const std::string optimized = OptimizedCopyOf(model, *row);
    OpenDocument(model, model.fs.isFile(optimized) ? optimized : InitialCopyOf(model, *row));
}

void menuUnzippedClick(MainModel& model)
{
    if (const PanelRow* row = HighlightedRow(model)) OpenDocument(model, InitialCopyOf(model, *row));
}

void menuZippedClick(MainModel& model)
{
    if (const PanelRow* row = HighlightedRow(model)) OpenDocument(model, OptimizedCopyOf(model, *row));
}

void menuSendClick(MainModel& model)
{
    if (const PanelRow* row = HighlightedRow(model)) SendToEditor(model, row->fullPath());
}

void SendToEditor(MainModel& model, const std::string& file)
{
    const std::string editor = model.options.text(Opt::edExtEditor);
    const std::string folder = WithoutTrailingSeparator(FolderPart(file));
    const EditorLaunch launch = EditorLaunchFor(editor, file);
    if (editor.empty() || !model.ui.launchProgram(launch.program, launch.parameters, "\"" + folder + "\""))
        ShowMessage(model.ui, MessageKind::Error,
            "External editor running failed\r" +
                (editor.empty() ? std::string("No external HTML editor is set: choose one in Options, page Misc.")
                                : "The program could not be started: " + launch.program +
                            ". Choose another external HTML editor in Options, page Misc."));
}

void OpenDocument(MainModel& model, const std::string& path)
{
    if (!model.ui.openDocument(path))
        ShowMessage(model.ui, MessageKind::Error,
            "No program could open < " + path + " >\rTried the desktop's program for the file's type (xdg-open), " +
                "then x-www-browser, sensible-browser and $BROWSER. Please, install a web browser.");
}

void SetSourceViewVisible(MainModel& model, bool visible)
{
    model.sourceView.visible = visible;
    model.hooks.stateChanged();
}

void StorageModeChanged(MainModel& model)
{
    model.sourceView.menuZippedEnabled = !model.options.flag(Opt::radModifyOld);
    model.hooks.stateChanged();
}

} // namespace qm
