// The tag lists' commands with their questions, dialogs and messages.
#include "batch/options/scheme_commands.h"

#include "batch/model/file_dialogs.h"
#include "batch/model/file_filters.h"
#include "batch/model/main_model.h"
#include "batch/options/options_commands.h"
#include "settings/profile.h"
#include "settings/tag_scheme.h"

namespace qm {
namespace {

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool& SchemeMark(TOptionSet& options, TagListKind list)
{
    return list == TagListKind::Replacement ? options.ReplaceSchemeModified : options.RemoveSchemeModified;
}

std::string Extension(TagListKind list) { return list == TagListKind::Replacement ? ".rep" : ".rem"; }

std::string Filter(TagListKind list)
{
    return std::string(list == TagListKind::Replacement ? kReplaceSchemesFilter : kRemoveSchemesFilter);
}

Status WriteList(FileSystem& fs, const TOptionSet& options, TagListKind list, const std::string& path)
{
    return list == TagListKind::Replacement ? WriteReplaceScheme(fs, path, options.listReplaceTags)
                                            : WriteRemoveScheme(fs, path, options.listDeleteTags);
}

} // namespace

void RemoveTagEntry(MainModel& model, TagListKind list, std::optional<std::size_t> focused)
{
    TOptionSet& options = model.options;
    if (list == TagListKind::Replacement) {
        if (!focused || *focused >= options.listReplaceTags.size()) return;
        const TTagReplacement& entry = options.listReplaceTags[*focused];
        if (!model.ui.askYesNo("Do you want to remove tags scheme:\rfrom " + Upper(entry.FromTag) + " to " +
                Upper(entry.ToTag) + "\rfrom tags replacement list?"))
            return;
        options.listReplaceTags.erase(options.listReplaceTags.begin() + static_cast<std::ptrdiff_t>(*focused));
    } else {
        if (!focused || *focused >= options.listDeleteTags.size()) return;
        const TTagRemoval& entry = options.listDeleteTags[*focused];
        if (!model.ui.askYesNo("\rDo you want to remove tag " + Upper(entry.Tag) + " from tags removal list?")) return;
        options.listDeleteTags.erase(options.listDeleteTags.begin() + static_cast<std::ptrdiff_t>(*focused));
    }
    SchemeMark(options, list) = true;
    options.ProfileModified = true;
    model.hooks.stateChanged();
}

void LoadSchemeFromFile(MainModel& model, TagListKind list)
{
    TOptionSet& options = model.options;
    const std::string base = SchemeBase(options.text(Opt::edProfile));
    if (SchemeMark(options, list)) {
        const std::string question = list == TagListKind::Replacement
            ? "Save changes to current replacement scheme file < " + base + ".rep > before opening ?"
            : "Save changes to current removal scheme file < " + base + ".rem > before opening ?";
        const YesNoCancel answer = model.ui.askYesNoCancel(question);
        if (answer == YesNoCancel::Cancel) return;
        if (answer == YesNoCancel::Yes) SaveSchemeChanges(model, list);
        SchemeMark(options, list) = false;
    }
    FileDialogRequest request;
    request.title = "Open";
    request.filter = Filter(list);
    const std::vector<std::string> chosen = AskOpenFiles(model, request);
    if (chosen.empty()) return;
    const std::string& path = chosen.front();
    const Status read = list == TagListKind::Replacement ? ReadReplaceScheme(model.fs, path, options.listReplaceTags)
                                                         : ReadRemoveScheme(model.fs, path, options.listDeleteTags);
    if (ReportSettings(model, read)) {
        // The loaded scheme is the current list now, but not yet the profile's own file.
        SchemeMark(options, list) = true;
        options.ProfileModified = true;
    }
    model.hooks.stateChanged();
}

void SaveSchemeChanges(MainModel& model, TagListKind list)
{
    TOptionSet& options = model.options;
    if (ReportSettings(
            model, WriteList(model.fs, options, list, SchemeBase(options.text(Opt::edProfile)) + Extension(list))))
        SchemeMark(options, list) = false;
    model.hooks.stateChanged();
}

void SaveSchemeAs(MainModel& model, TagListKind list)
{
    FileDialogRequest request;
    request.title = "Save as";
    request.filter = Filter(list);
    request.defaultExtension = Extension(list).substr(1);
    std::optional<std::string> name = AskSaveFile(model, request);
    if (!name) return;
    ReportSettings(model, WriteList(model.fs, model.options, list, *name));
}

} // namespace qm
