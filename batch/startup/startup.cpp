// The start-up settings sequence, the program folder and the shut-down.
#include "batch/startup/startup.h"

#include "batch/model/main_model.h"
#include "batch/options/options_commands.h"
#include "batch/panel/file_list.h"
#include "batch/panel/panel_refresh.h"
#include "batch/run/last_run.h"
#include "batch/startup/command_line.h"
#include "batch/startup/default_editor.h"
#include "settings/data_lists.h"
#include "settings/profile.h"
#include "settings/program_options.h"

namespace qm {
namespace {

constexpr std::string_view kStartUpError = "Error during program starting";
constexpr std::string_view kQuitError = "Quit procedure error, sorry";
constexpr int kMinimumScreenWidth = 800;

void SettingsSequence(MainModel& model, const std::vector<std::string>& arguments)
{
    TOptionSet& options = model.options;
    const std::string& folder = model.state.programFolder;
    model.state.activity = ActivityMode::None;
    const ProgramFolderDefaults defaults {folder};
    options.setText(Opt::edOptimizedPath, defaults.optimizedPath());
    options.setText(Opt::edBackUpPath, defaults.backUpPath());
    model.hooks.runClickBehaviour(Opt::radSaveNewMod);
    LoadedEngineData data = LoadEngineData(model.fs, folder);
    model.engineData = std::move(data.data);
    for (const std::string& warning : data.warnings) ShowMessage(model.ui, MessageKind::Warning, warning);
    options.setText(Opt::edExtEditor, DefaultExternalEditor(model.fs, model.desktop, model.state.windowsFolder));
    model.run.processed.clear();
    for (const std::string& path : {defaults.optimizedPath(), defaults.backUpPath(), folder + "Profiles/"})
        if (!model.fs.isFolder(path)) (void)model.fs.createFolder(path); // missing ones are reported where used
    // Each default entry takes its default state: those that change how a page shows start inactive.
    const std::vector<TTagReplacement> replacements = DefaultReplaceTags();
    for (std::size_t i = 0; i < options.listReplaceTags.size() && i < replacements.size(); ++i)
        options.listReplaceTags[i].Active = replacements[i].Active;
    const std::vector<TTagRemoval> removals = DefaultDeleteTags();
    for (std::size_t i = 0; i < options.listDeleteTags.size() && i < removals.size(); ++i)
        options.listDeleteTags[i].Active = removals[i].Active;
    LoadLastOptions(model);
    LoadCurrentProfile(model);
    RecallLastRun(model);
    model.panel.ShowSortMarks();
    if (options.flag(Opt::cbSaveNopen)) LoadFileList(model, folder + "Default.lst");
    ReadCommandLine(model, arguments);
    RefreshPanel(model);
    PathCheck(model);
}

} // namespace

void MainWindowShown(MainModel& model, const std::string& programFolder, const std::string& systemProgramFolder,
    const std::vector<std::string>& arguments)
{
    model.state.windowsFolder = WithoutTrailingSeparator(systemProgramFolder);
    // Names on this platform are case-sensitive: the folder is kept as it is spelt.
    model.state.programFolder = WithTrailingSeparator(programFolder);
    model.state.caption = std::string(kApplicationTitle) + " " + kVersionText;
    if (model.state.homeFolder.empty())
        if (std::optional<std::string> home = model.desktop.variable("HOME")) model.state.homeFolder = *home;
    try {
        SettingsSequence(model, arguments);
    } catch (const std::exception&) {
        ShowMessage(model.ui, MessageKind::Error, std::string(kStartUpError));
    }
    const int width = model.hooks.screenWidth();
    if (width > 0 && width < kMinimumScreenWidth) {
        ShowMessage(model.ui, MessageKind::Error, std::string(kScreenTooNarrow));
        model.hooks.quit();
    }
    model.hooks.stateChanged();
}

void MainWindowClosing(MainModel& model)
{
    try {
        model.engineData = {};
        SaveLastOptions(model);
        model.panel.setHighlighted(std::nullopt);
        if (model.options.flag(Opt::cbSaveNopen)) {
            if (Status saved = SaveFileList(model, model.state.programFolder + "Default.lst"); !saved)
                ShowMessage(model.ui, MessageKind::Error, "Error during files list saving\r" + saved.reason());
        }
    } catch (const std::exception&) {
        ShowMessage(model.ui, MessageKind::Error, std::string(kQuitError));
    }
}

} // namespace qm
