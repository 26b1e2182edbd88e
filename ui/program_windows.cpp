// The windows the desktop program creates at start, connected to each other where no program logic is involved.
#include "ui/program_windows.h"

#include <QAction>
#include <QToolButton>

#include "ui/tag_editor.h"

namespace qm {

ProgramWindows::ProgramWindows(TOptionSet& optionSet, OptionsWindowCommands& commands, const QString& helpFolder)
    : ui(&main)
    // A window of its own, but one that does not keep the program running once the main window has closed.
    , help(helpFolder, &main)
    , about(&main)
    , report(&main)
    , options(optionSet, ui, commands, &main)
{
    auto showHelp = [this](int context) { help.showContext(context); };
    QObject::connect(&ui, &QtUserInterface::helpRequested, &help, showHelp);
    QObject::connect(&about, &TfrmAbout::helpRequested, &help, showHelp);
    QObject::connect(&report, &TfrmReport::helpRequested, &help, showHelp);
    QObject::connect(&options, &TfrmOptions::helpRequested, &help, showHelp);
    QObject::connect(options.tagEditor(), &TfrmTagReplaceDlg::helpRequested, &help, showHelp);
    QObject::connect(main.menuContent, &QAction::triggered, &help, [this] { help.showContents(); });
    QObject::connect(main.butHelp, &QToolButton::clicked, &help, [this] { help.showContents(); });
    QObject::connect(main.menuAbout, &QAction::triggered, &about, [this] {
        about.show();
        about.raise();
        about.activateWindow();
    });

    QObject::connect(main.butOptions, &QToolButton::clicked, &options, [this] { showOptionsWindow(); });
    QObject::connect(main.menuOptimizeOpt, &QAction::triggered, &options, [this] { showOptionsWindow(); });
    QObject::connect(main.butQuit, &QToolButton::clicked, &main, &QWidget::close);

    // The controls that depend on the storage mode take their state at start.
    options.applyClickBehaviour(Opt::radSaveNewMod);
}

void ProgramWindows::showOptionsWindow()
{
    // The window shows the option set as it is now: loaders and the command line may have changed it.
    if (!options.isVisible()) options.showOptions();
    options.show();
    options.raise();
    options.activateWindow();
}

} // namespace qm
