// The windows the desktop program creates at start, connected to each other where no program logic is involved.
#pragma once

#include <QString>

#include "options/option_set.h"
#include "ui/about_window.h"
#include "ui/help_viewer.h"
#include "ui/main_window.h"
#include "ui/options_window.h"
#include "ui/qt_user_interface.h"
#include "ui/report_window.h"

namespace qm {

// Every Help button, F1 and the two "&About" items, the Options button and
// menu item and Quit are wired here; the commands that need the logic are
// bound by DesktopProgram.
class ProgramWindows {
public:
    ProgramWindows(TOptionSet& options, OptionsWindowCommands& commands, const QString& helpFolder);

    // Opening the options window when it is open brings it to the front.
    void showOptionsWindow();

    TfrmMain main;
    QtUserInterface ui;
    HelpViewer help;
    TfrmAbout about;
    TfrmReport report;
    TfrmOptions options;
};

} // namespace qm
