// The two passes over the command line and the table of its commands.
#include "batch/startup/command_line.h"
#include "base/ascii.h"

#include "batch/model/file_filters.h"
#include "batch/model/main_model.h"
#include "batch/options/options_commands.h"
#include "batch/panel/dropped_files.h"
#include "batch/panel/file_list.h"
#include "batch/panel/folder_scan.h"
#include "batch/panel/panel_commands.h"
#include "batch/run/run_control.h"

namespace qm {
namespace {

bool Always(MainModel&, const std::string&) { return true; }

bool FolderExists(MainModel& model, const std::string& value)
{
    return !value.empty() && model.fs.isFolder(model.fs.absolute(value));
}

std::string ProfileIn(const MainModel& model, const std::string& value)
{
    return model.state.programFolder + "Profiles/" + value;
}

const std::vector<CommandRow>& Table()
{
    static const std::vector<CommandRow> table = {
        {"cl", Always, [](MainModel& model, const std::string&) { ClearFilesPanel(model); }},
        {"ps",
            [](MainModel& model, const std::string& value) {
                return !value.empty() && model.fs.isFile(ProfileIn(model, value));
            },
            [](MainModel& model, const std::string& value) {
                model.options.setText(Opt::edProfile, ProfileIn(model, value));
                LoadCurrentProfile(model);
            }},
        {"f", Always,
            [](MainModel& model, const std::string& value) {
                if (MatchesFilter(value, kWebFilesFilter)) AddFileToPanel(model, model.fs.absolute(value), false);
            }},
        {"fl", Always,
            [](MainModel& model, const std::string& value) {
                if (MatchesFilter(value, kListFilesFilter)) LoadFileList(model, model.fs.absolute(value));
            }},
        {"fo", FolderExists,
            [](MainModel& model, const std::string& value) { ScanFolder(model, model.fs.absolute(value), 0); }},
        {"foe", FolderExists,
            [](MainModel& model, const std::string& value) {
                ScanFolder(model, model.fs.absolute(value), kEmbeddedScanDepth);
            }},
        {"m", Always, [](MainModel& model, const std::string&) { model.hooks.minimize(); }},
        {"r", Always, [](MainModel& model, const std::string&) { model.hooks.restore(); }},
        {"op", FolderExists,
            [](MainModel& model, const std::string& value) {
                model.options.setFlag(Opt::radSaveNewMod, true);
                model.options.setText(Opt::edOptimizedPath, WithTrailingSeparator(model.fs.absolute(value)));
                model.hooks.runClickBehaviour(Opt::radSaveNewMod);
            }},
        {"bup", FolderExists,
            [](MainModel& model, const std::string& value) {
                model.options.setFlag(Opt::radModifyOld, true);
                model.options.setText(Opt::edBackUpPath, WithTrailingSeparator(model.fs.absolute(value)));
                model.hooks.runClickBehaviour(Opt::radModifyOld);
            }},
        {"bu", Always,
            [](MainModel& model, const std::string& value) {
                model.options.setFlag(Opt::cbSaveBefMod, EqualsIgnoringCase(value, "y"));
            }},
        {"ow", Always,
            [](MainModel& model, const std::string& value) {
                model.state.scriptOverwrites = EqualsIgnoringCase(value, "y");
            }},
        {"q", Always, [](MainModel& model, const std::string&) { model.hooks.quit(); }},
        {"ca", [](MainModel& model, const std::string&) { return !model.panel.empty(); },
            [](MainModel& model, const std::string&) { SelectAllFiles(model); }},
        {"opt", [](MainModel& model, const std::string&) { return model.panel.CountCheckedRows() > 0; },
            [](MainModel& model, const std::string&) { butOptimizeClick(model); }},
        {"nw", Always,
            [](MainModel& model, const std::string&) {
                model.run.window.visible = false;
                model.hooks.hideRunWindowAndMinimize();
            }},
        {"nc", Always, [](MainModel& model, const std::string&) { butStartClick(model); }},
        {"nr", Always, [](MainModel& model, const std::string&) { butCloseClick(model); }},
    };
    return table;
}

} // namespace

CommandArgument SplitCommandArgument(std::string_view argument)
{
    CommandArgument split;
    const std::size_t equals = argument.find('=');
    if (equals == std::string_view::npos) {
        split.command = ToLowerAscii(argument.empty() ? argument : argument.substr(1));
        return split;
    }
    split.command = ToLowerAscii(equals == 0 ? std::string_view() : argument.substr(1, equals - 1));
    split.value = std::string(argument.substr(equals + 1));
    return split;
}

bool IsNoResultsSwitch(std::string_view argument)
{
    if (!argument.empty() && (argument.front() == '/' || argument.front() == '-')) argument.remove_prefix(1);
    return EqualsIgnoringCase(argument, "nores");
}

std::span<const CommandRow> CommandTable() { return Table(); }

bool RunsUnattended(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments) {
        const std::string command = SplitCommandArgument(argument).command;
        if (command == "q" || command == "nc") return true;
    }
    return false;
}

bool IsFileArgument(MainModel& model, const std::string& argument)
{
    return !argument.empty() && model.fs.isFile(model.fs.absolute(argument));
}

void ReadCommandLine(MainModel& model, const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments) {
        if (IsNoResultsSwitch(argument)) {
            model.state.noResults = true;
            break;
        }
    }
    // The overwrite rule holds for the whole script, wherever /ow stands in it.
    for (const std::string& argument : arguments) {
        const CommandArgument split = SplitCommandArgument(argument);
        if (split.command == "ow") model.state.scriptOverwrites = EqualsIgnoringCase(split.value, "y");
    }
    const bool unattended = RunsUnattended(arguments);
    if (unattended) model.hooks.setUnattended(true);
    for (const std::string& argument : arguments) {
        model.ui.processEvents();
        if (model.state.interruptRequested) {
            ShowMessage(model.ui, MessageKind::Warning,
                "Optimization process and programs keys treatment was interrupted by user");
            break;
        }
        if (IsNoResultsSwitch(argument)) continue;
        // A file manager or the desktop entry's %F hands over plain paths: they are dropped on the panel.
        if (IsFileArgument(model, argument)) {
            DropFiles(model, {argument}, true);
            continue;
        }
        const CommandArgument split = SplitCommandArgument(argument);
        bool done = false;
        for (const CommandRow& row : Table()) {
            if (row.command != split.command || !row.condition(model, split.value)) continue;
            row.action(model, split.value);
            done = true;
            break;
        }
        if (done) continue;
        if (!split.value.empty())
            ShowMessage(model.ui, MessageKind::Warning,
                "Unknown command '" + split.command + "' or object='" + split.value + "' was not found");
        else
            ShowMessage(model.ui, MessageKind::Warning, "Unknown command '" + split.command + "'");
    }
    if (unattended) model.hooks.setUnattended(false);
}

} // namespace qm
