// The desktop program: the windows bound to the logic's model, its commands and its state.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <string>
#include <vector>

#include "batch/model/forwarding_user_interface.h"
#include "batch/model/main_model.h"
#include "batch/startup/main_window_events.h"
#include "batch/startup/unattended_user_interface.h"
#include "ui/file_panel_model.h"
#include "ui/options_window_binding.h"
#include "ui/program_windows.h"

namespace qm {

class DesktopProgram;
class TfrmMain;

// What the logic asks of the windows: the source view's text, the options
// window's click behaviours, the panel's layout, redraws and window commands.
class QtWindowHooks final : public MainWindowHooks {
public:
    explicit QtWindowHooks(DesktopProgram& program)
        : program_(program)
    {
    }

    void setSourceViewText(const std::string& text) override;
    std::string sourceViewText() override;
    void setSourceViewDifferences(const std::vector<DiffRun>& runs) override;
    void runClickBehaviour(Opt option) override;
    void applyLayout() override;
    void storeLayout() override;
    void stateChanged() override;
    void minimize() override;
    void restore() override;
    void hideRunWindowAndMinimize() override;
    void quit() override;
    void setUnattended(bool on) override;
    int screenWidth() override;

private:
    static void fitColumns(TfrmMain& main);

    DesktopProgram& program_;
};

// Owns the model and the windows and binds every control of the main
// window and the run window to the logic. The windows only show the model's
// state (showState) and pass the user's actions on.
class DesktopProgram : public QObject {
    Q_OBJECT
public:
    // `helpFolder` holds the help pages (normally the program folder's "help").
    DesktopProgram(FileSystem& fileSystem, const QString& helpFolder);
    ~DesktopProgram() override;

    // The main window shown for the first time: the program folder, the
    // settings sequence, the command line (which may run and quit), the checks.
    void start(const std::string& programFolder, const std::vector<std::string>& arguments);

    // Draws every window from the model: titles, panel, status bar, source view, run window, menus.
    void showState();

    // Runs a command of the logic on the user's behalf: a refresh asked for
    // meanwhile waits until it returns, and no failure escapes into the event loop.
    template<typename Command> void run(Command command);

    MainModel& model() { return model_; }
    ProgramWindows& windows() { return windows_; }
    FilePanelItemModel& files() { return files_; }
    ForwardingUserInterface& userInterface() { return ui_; }

private:
    friend class QtWindowHooks;

    void bindMainWindow();
    void bindPanel();
    void bindSourceView();
    void bindRunWindow();
    void showPanel();
    void showSourceView();
    void showRunWindow();
    void invalidatePanel();
    void refreshWhenIdle();
    void quitWhenWorkStopped();
    bool eventFilter(QObject* watched, QEvent* event) override;

    ForwardingUserInterface ui_;
    QtWindowHooks hooks_;
    MainModel model_;
    OptionsWindowBinding commands_;
    // Before the windows, so the list goes before the model it shows.
    FilePanelItemModel files_;
    ProgramWindows windows_;
    // Stands in for the user while a command line runs unattended; its messages go to standard error.
    UnattendedUserInterface unattended_;
    IdleRefresh refresh_;
    int commandDepth_ = 0;
    bool syncingSelection_ = false;
    bool settingSourceText_ = false;
    std::array<QAction*, TfrmMain::kColumnCount> sortCopies_ {}; // "mainsort1" to "mainsort6"
    // The receiver of every connection to the windows. Declared last, it is
    // destroyed first, so no signal of a window being destroyed reaches the
    // members that are already gone.
    QObject context_;
};

template<typename Command> void DesktopProgram::run(Command command)
{
    refresh_.commandStarted();
    ++commandDepth_;
    try {
        command(model_);
    } catch (const std::exception&) {
        // The logic catches its own failures; this is the last guard, for running out of memory.
        ShowMessage(model_.ui, MessageKind::Error, "Error");
    }
    --commandDepth_;
    refresh_.commandEnded();
    showState();
    refreshWhenIdle();
    if (commandDepth_ == 0) quitWhenWorkStopped();
}

} // namespace qm
