// The source view's logic: which copy of the highlighted row is shown, edited, saved, opened or sent to the editor.
#include "batch/view/source_view.h"

#include <cstdint>

#include "batch/model/main_model.h"
#include "batch/panel/panel_refresh.h"
#include "batch/model/placement.h"

namespace qm {
namespace {

constexpr std::string_view kNotFound = "File < %s > not found!";

std::string Filled(std::string_view pattern, const std::string& value)
{
    std::string text(pattern);
    text.replace(text.find("%s"), 2, value);
    return text;
}

// The length of the UTF-8 sequence starting at `at`, or 0 when it is not one.
std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > bytes.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are no UTF-8.
    static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

bool IsUtf8(std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = Utf8SequenceAt(bytes, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

std::string Latin1ToUtf8(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

std::optional<std::string> Utf8ToLatin1(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            bytes += text[at];
        } else if ((lead & 0xFE) == 0xC2 && at + 1 < text.size()) {
            bytes += static_cast<char>(((lead & 0x03) << 6) | (static_cast<unsigned char>(text[++at]) & 0x3F));
        } else {
            return std::nullopt;
        }
    }
    return bytes;
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

// Writes the view's text over the shown file; the failure's reason, or nothing.
std::optional<std::string> WriteShownFile(MainModel& model)
{
    SourceViewState& view = model.sourceView;
    std::string reason;
    std::optional<std::string> bytes = SourceBytesOf(model.hooks.sourceViewText(), view.format, &reason);
    if (!bytes) return reason;
    // Renaming over a read-only file would succeed; the user's protection must not be undone silently.
    if (model.fs.isReadOnly(view.shownFile)) return "The file " + view.shownFile + " is read-only";
    if (FsResult error = model.fs.writeAtomically(view.shownFile, *bytes)) return error->reason;
    return std::nullopt;
}

bool SaveShownFile(MainModel& model)
{
    if (std::optional<std::string> reason = WriteShownFile(model)) {
        ShowMessage(model.ui, MessageKind::Error, "Error during saving file\r" + *reason);
        return false;
    }
    model.sourceView.butSaveFileEnabled = false;
    // The panel shows the file's new size at once rather than at the next refresh.
    RefreshPanel(model);
    return true;
}

void ShowText(MainModel& model, bool optimized)
{
    const PanelRow* row = HighlightedRow(model);
    if (!row) return;
    if (!OfferToSaveChanges(model, false)) return;
    const std::string path = optimized ? OptimizedCopyOf(model, *row) : InitialCopyOf(model, *row);
    if (!model.fs.isFile(path)) {
        ShowMessage(model.ui, MessageKind::Error, Filled(kNotFound, path));
        return;
    }
    ReadResult read = model.fs.readBytes(path);
    if (!read.bytes) {
        ShowMessage(model.ui, MessageKind::Error,
            std::string(optimized ? "Error during opening optimized file" : "Error during opening initial file") +
                "\r" + read.error.reason);
        return;
    }
    SourceViewState& view = model.sourceView;
    SourceText text = SourceTextOf(*read.bytes, model.options.flag(Opt::cbKeepLineEnds));
    view.hint = path;
    view.shownFile = path;
    view.format = text.format;
    model.hooks.setSourceViewText(text.text);
    view.editable = true;
    view.butSendToEditEnabled = true;
    view.butSaveFileEnabled = false;
    model.hooks.stateChanged();
}

} // namespace

SourceText SourceTextOf(std::string_view bytes, bool keepLineEnds)
{
    SourceText result;
    result.format.utf8 = IsUtf8(bytes);
    result.format.lineEnd = keepLineEnds ? DetectLineEnd(bytes, PlatformLineEnd()) : LineEnd::CrLf;
    const std::string text = result.format.utf8 ? std::string(bytes) : Latin1ToUtf8(bytes);
    result.format.finalLineEnd = !text.empty() && (text.back() == '\n' || text.back() == '\r');
    // Every line end becomes "\n"; the final one is remembered instead of shown as an empty last line.
    std::string& shown = result.text;
    shown.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\r') {
            if (at + 1 < text.size() && text[at + 1] == '\n') ++at;
            shown += '\n';
        } else {
            shown += text[at];
        }
    }
    if (result.format.finalLineEnd) shown.pop_back();
    return result;
}

std::optional<std::string> SourceBytesOf(std::string_view text, const SourceTextFormat& format, std::string* reason)
{
    const std::string_view lineEnd = LineEndText(format.lineEnd);
    std::string joined;
    joined.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n')
            joined += lineEnd;
        else
            joined += c;
    }
    if (format.finalLineEnd) joined += lineEnd;
    if (format.utf8) return joined;
    std::optional<std::string> bytes = Utf8ToLatin1(joined);
    if (!bytes && reason)
        *reason = "The text holds characters that this file's single-byte encoding cannot store; "
                  "the file was left as it was";
    return bytes;
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

void memoFileSrcChange(MainModel& model)
{
    SourceViewState& view = model.sourceView;
    if (view.shownFile.empty() || view.butSaveFileEnabled) return;
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
    if (editor.empty() || !model.ui.launchProgram("\"" + editor + "\"", "\"" + file + "\"", "\"" + folder + "\""))
        ShowMessage(model.ui, MessageKind::Error, "External editor running failed");
}

void OpenDocument(MainModel& model, const std::string& path) { model.ui.openDocument(path); }

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
