// The main window's state without any window: options, panel, run, and the services the logic talks through.
#pragma once

#include <string>
#include <string_view>

#include "base/file_system.h"
#include "base/version.h"
#include "batch/model/desktop_facts.h"
#include "batch/model/file_panel.h"
#include "batch/model/run_state.h"
#include "batch/model/source_view_state.h"
#include "batch/model/user_interface.h"
#include "batch/model/window_hooks.h"
#include "engine/engine_data.h"
#include "options/option_set.h"

namespace qm {

class PageOptimizer;

enum class ActivityMode { None, Opt, Path };

inline constexpr const char* kApplicationTitle = "Quillmark";

struct MainState {
    std::string programFolder; // absolute, ending with a separator
    std::string windowsFolder; // the system's program folder, without a trailing separator
    std::string homeFolder; // the user's home, where file dialogs open when no folder was used yet
    ActivityMode activity = ActivityMode::None;
    bool interruptRequested = false;
    bool interruptConfirmed = false;
    bool noResults = false; // the command line's nores: the next run shows no results
    bool scriptOverwrites = false; // the command line's /ow=y: an unattended run replaces files in the way
    bool quitRequested = false; // the main window was closed while a run or a scan lasted
    bool panelShown = true; // false in qmk: nobody sees the panel's cells, and refreshing them costs stats per page
    std::string applicationTitle = kApplicationTitle;
    std::string caption; // the main window's caption
    std::string statusText; // the status bar's first panel
    bool menuBackUpLastEnabled = false; // "Cancel last optimization"
};

// The desktop program and qmk both drive the same model; each supplies its
// own file system, user interface and window hooks.
struct MainModel {
    MainModel(FileSystem& fileSystem, UserInterface& userInterface, MainWindowHooks& windowHooks)
        : fs(fileSystem)
        , ui(userInterface)
        , hooks(windowHooks)
    {
    }

    TOptionSet options;
    FileSystem& fs;
    UserInterface& ui;
    MainWindowHooks& hooks;
    MainState state;
    FilePanel panel;
    EngineData engineData;
    RunState run;
    SourceViewState sourceView;
    DesktopFacts desktop;
    // Runs the engine over each page; null runs it on the calling thread.
    PageOptimizer* optimizer = nullptr;
};

// The message routine for messages that appear only while cbShowInfo is on.
void ShowInfoMessage(MainModel& model, MessageKind kind, const std::string& text);

// "Please, wait ..." when a run or a folder scan is under way; true when the command must stop.
bool RefuseWhileBusy(MainModel& model, MessageKind kind);

} // namespace qm
