// The start-up settings sequence, the program folder and the shut-down.
#include "batch/startup/startup.h"

#include <algorithm>
#include <cstdlib>

#include "batch/model/main_model.h"
#include "batch/options/options_commands.h"
#include "batch/panel/file_list.h"
#include "batch/panel/panel_refresh.h"
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

Status CopyTree(FileSystem& fs, const std::string& from, const std::string& to)
{
    if (Status created = fs.createFolder(to); !created) return created;
    Expected<std::vector<FolderEntry>> entries = fs.listFolder(from);
    if (!entries) return Status::Ok();
    for (const FolderEntry& entry : *entries) {
        const std::string source = WithTrailingSeparator(from) + entry.name;
        const std::string target = WithTrailingSeparator(to) + entry.name;
        if (entry.isFolder) {
            if (Status copied = CopyTree(fs, source, target); !copied) return copied;
        } else if (entry.isFile && !fs.exists(target)) {
            if (Status copied = fs.copyFile(source, target); !copied) return copied;
        }
    }
    return Status::Ok();
}

void SettingsSequence(MainModel& model, const std::vector<std::string>& arguments)
{
    TOptionSet& options = model.options;
    const std::string& folder = model.state.programFolder;
    model.state.activity = ActivityMode::None;
    const ProgramFolderDefaults defaults {folder};
    options.setText(Opt::edOptimizedPath, defaults.optimizedPath());
    options.setText(Opt::edBackUpPath, defaults.backUpPath());
    model.hooks.runClickBehaviour(Opt::radSaveNewMod);
    model.engineData = LoadEngineData(model.fs, folder);
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
    model.panel.ShowSortMarks();
    if (options.flag(Opt::cbSaveNopen)) LoadFileList(model, folder + "Default.lst");
    ReadCommandLine(model, arguments);
    RefreshPanel(model);
    PathCheck(model);
}

} // namespace

EnvironmentLookup ProcessEnvironment()
{
    return [](std::string_view name) -> std::optional<std::string> {
        static constexpr std::string_view kRead[] = {
            "XDG_DATA_HOME", "HOME", "VISUAL", "EDITOR", "PATH", "XDG_DATA_DIRS"};
        if (std::find(std::begin(kRead), std::end(kRead), name) == std::end(kRead)) return std::nullopt;
        const char* value = std::getenv(std::string(name).c_str());
        if (!value || !*value) return std::nullopt;
        return std::string(value);
    };
}

ProgramFolderChoice ChooseProgramFolder(FileSystem& fs, const std::string& executableFolder,
    const EnvironmentLookup& environment, const std::function<bool(const std::string&)>& isWritable)
{
    const std::string executable = WithTrailingSeparator(executableFolder);
    if (isWritable(executable)) return {executable, {}};
    std::string data;
    if (std::optional<std::string> xdg = environment("XDG_DATA_HOME"); xdg && (*xdg)[0] == '/')
        data = WithTrailingSeparator(*xdg);
    else if (std::optional<std::string> home = environment("HOME"))
        data = WithTrailingSeparator(*home) + ".local/share/";
    else
        return {executable, {}};
    const std::string shared = fs.absolute(executable + "../share/quillmark") + "/";
    return {data + "quillmark/", fs.isFolder(shared) ? shared : executable};
}

Status FillProgramFolder(FileSystem& fs, const ProgramFolderChoice& choice)
{
    const std::string& folder = choice.programFolder;
    // Parent folders too: ~/.local/share may not exist on a fresh account.
    if (Status created = CreateFolders(fs, folder); !created) return created;
    if (choice.installedDefaults.empty()) return Status::Ok();
    for (const char* name : {"Align.dat", "Ssi.dat"}) {
        const std::string source = choice.installedDefaults + name;
        if (fs.isFile(source) && !fs.exists(folder + name))
            if (Status copied = fs.copyFile(source, folder + name); !copied) return copied;
    }
    if (fs.isFolder(choice.installedDefaults + "help"))
        return CopyTree(fs, choice.installedDefaults + "help", folder + "help");
    return Status::Ok();
}

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
