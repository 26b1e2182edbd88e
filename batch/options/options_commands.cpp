// Loading and saving the options' files on the user's behalf, with the questions, dialogs and messages around them.
#include "batch/options/options_commands.h"

#include "batch/model/file_dialogs.h"
#include "batch/model/file_filters.h"
#include "batch/model/main_model.h"
#include "batch/panel/panel_refresh.h"
#include "batch/view/source_view.h"
#include "settings/profile.h"
#include "settings/program_options.h"
#include "settings/settings_file.h"

namespace qm {
namespace {

std::string ProfilesFolder(const MainModel& model) { return model.state.programFolder + "Profiles/"; }

void ChooseFolderInto(MainModel& model, Opt option)
{
    const std::string folder = AskFolder(model, FolderChooserPanels {});
    if (folder != "-" && !folder.empty() && model.fs.isFolder(folder))
        model.options.setText(option, WithTrailingSeparator(model.fs.absolute(folder)));
    PathCheck(model);
    model.hooks.stateChanged();
}

} // namespace

bool ReportSettings(MainModel& model, const Status& status)
{
    if (!status) ShowMessage(model.ui, MessageKind::Error, std::string(kSettingsErrorMessage));
    return status.ok();
}

void LoadLastOptions(MainModel& model)
{
    TOptionSet& options = model.options;
    Expected<bool> read = ReadLastOptions(model.fs, options, model.state.programFolder);
    if (!ReportSettings(model, read.status())) return;
    if (!*read) {
        // A first start still fits the window to the screen (a small or scaled one).
        model.hooks.applyLayout();
        SaveLastOptions(model);
        return;
    }
    model.hooks.runClickBehaviour(Opt::cbProcessEmbeded);
    model.hooks.runClickBehaviour(Opt::cbMaxEmbCount);
    model.hooks.runClickBehaviour(Opt::cbMaxFCount);
    if (options.flag(Opt::radModifyOld)) model.hooks.runClickBehaviour(Opt::radModifyOld);
    model.hooks.applyLayout();
    model.panel.setSortKey(options.integer(Opt::column_sort));
    model.hooks.stateChanged();
}

void SaveLastOptions(MainModel& model)
{
    model.hooks.storeLayout();
    model.options.setInteger(Opt::column_sort, model.panel.sortKey());
    ReportSettings(model, SaveLastOptions(model.fs, model.options, model.state.programFolder));
}

bool LoadCurrentProfile(MainModel& model)
{
    TOptionSet& options = model.options;
    auto flagChanged = [&model, &options](Opt flag) {
        if (RowOf(flag).click.raisesProfileModified) options.ProfileModified = true;
        model.hooks.runClickBehaviour(flag);
    };
    const bool loaded = ReportSettings(model, LoadProfile(model.fs, options, model.state.programFolder, flagChanged));
    model.hooks.stateChanged();
    return loaded;
}

bool SaveCurrentProfile(MainModel& model)
{
    const bool saved = ReportSettings(model, SaveProfile(model.fs, model.options, model.state.programFolder));
    model.hooks.stateChanged();
    return saved;
}

void OpenProfile(MainModel& model)
{
    TOptionSet& options = model.options;
    if (options.ProfileModified) {
        const YesNoCancel answer = model.ui.askYesNoCancel(
            "Save changes to current profile file < " + options.text(Opt::edProfile) + " > before opening ?");
        if (answer == YesNoCancel::Cancel) return;
        if (answer == YesNoCancel::Yes) SaveCurrentProfile(model);
        options.ProfileModified = false;
    }
    FileDialogRequest request;
    request.title = "Open";
    request.filter = std::string(kProfilesFilter);
    request.startFolder = ProfilesFolder(model);
    const std::vector<std::string> chosen = AskOpenFiles(model, request);
    if (chosen.empty()) return;
    options.setText(Opt::edProfile, chosen.front());
    LoadCurrentProfile(model);
}

void SaveProfileAs(MainModel& model)
{
    FileDialogRequest request;
    request.title = "Save as";
    request.filter = std::string(kProfilesFilter);
    request.startFolder = ProfilesFolder(model);
    // Without ".pro" Open would not list the profile, and its schemes would lose their base name's meaning.
    request.defaultExtension = "pro";
    std::optional<std::string> name = AskSaveFile(model, request);
    if (!name) return;
    model.options.setText(Opt::edProfile, *name);
    SaveCurrentProfile(model);
}

void CloseOptionsWindow(MainModel& model)
{
    if (model.panel.highlighted()) UpdateViewCommands(model);
    SaveCurrentProfile(model);
    model.options.ProfileModified = false;
    SaveLastOptions(model);
    RefreshPanel(model);
    model.hooks.stateChanged();
}

void PathCheck(MainModel& model)
{
    TOptionSet& options = model.options;
    options.setText(Opt::edOptimizedPath, WithTrailingSeparator(options.text(Opt::edOptimizedPath)));
    if (!model.fs.isFolder(options.text(Opt::edOptimizedPath)))
        ShowMessage(model.ui, MessageKind::Warning,
            "Folder for optimized files does not exist!\rPlease, change program options.");
    if (!model.fs.isFile(options.text(Opt::edExtEditor)))
        ShowMessage(model.ui, MessageKind::Warning, "External editor file not found!\rPlease, change program options.");
}

void ChooseOutputFolder(MainModel& model) { ChooseFolderInto(model, Opt::edOptimizedPath); }

void ChooseBackupFolder(MainModel& model) { ChooseFolderInto(model, Opt::edBackUpPath); }

void ChooseExternalEditor(MainModel& model)
{
    FileDialogRequest request;
    request.title = "External HTML Editor";
    request.filter = std::string(kEditorFilter);
    const std::vector<std::string> chosen = AskOpenFiles(model, request);
    if (chosen.empty()) return;
    // Names on this platform are case-sensitive: the path is kept as chosen.
    model.options.setText(Opt::edExtEditor, chosen.front());
    model.hooks.stateChanged();
}

void ChooseLanguageFile(MainModel& model)
{
    FileDialogRequest request;
    request.title = "Interface language file";
    request.filter = std::string(kLanguageFilter);
    request.startFolder = model.state.programFolder + "languages/";
    const std::vector<std::string> chosen = AskOpenFiles(model, request);
    if (chosen.empty()) return;
    model.options.setText(Opt::edLan, chosen.front());
    model.hooks.stateChanged();
}

void SetEnglishLanguage(MainModel& model)
{
    model.options.setText(Opt::edLan, "");
    SaveLastOptions(model);
}

} // namespace qm
