// The main window, the run window and the about window as views, and the program's windows wired together.
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include "tests/ui/ui_test_support.h"
#include "ui/folder_chooser.h"
#include "ui/help_viewer.h"
#include "ui/path_label.h"
#include "ui/program_windows.h"
#include "ui/replace_dialog.h"
#include "ui/tag_editor.h"

using namespace qm;

class WindowsTest : public QObject {
    Q_OBJECT

private slots:
    void mainToolBar();
    void helpAndQuitStayAtTheRightEnd();
    void mainMenus();
    void panelMenuCopy();
    void filePanel();
    void sourceView();
    void statusBar();
    void drops();
    void escapeInMainWindow();
    void reportWindow();
    void reportWindowKeys();
    void aboutWindow();
    void programWindowsWiring();
    void helpKeyOpensEachWindowsTopic();
    void helpFromAModalDialogIsUsable();
};

void WindowsTest::mainToolBar()
{
    TfrmMain main;
    QCOMPARE(main.windowTitle(), QStringLiteral("Quillmark 3.0"));
    const QList<std::tuple<const char*, const char*, const char*>> buttons {
        {"butFiles", "Files", "Add files to Files panel"},
        {"butPath", "Folder", "Add files to Files panel from the folder"},
        {"butOptimize", "Optimize!", "Optimize selected files"},
        {"butBackUp", "Restore", "Cancel optimization"},
        {"butView", "View", "View file in the browser"},
        {"butOptions", "Options", "Optimization and program options"},
        {"butHelp", "Help", "Help information"},
        {"butQuit", "Quit", "Quit from the program"},
    };
    main.show();
    int lastX = -1;
    for (const auto& [name, caption, hint] : buttons) {
        auto* button = main.findChild<QToolButton*>(QString::fromLatin1(name));
        QVERIFY2(button, name);
        QCOMPARE(button->text(), QString::fromLatin1(caption));
        QVERIFY2(button->toolTip().startsWith(QString::fromLatin1(hint)), name);
        QCOMPARE(button->statusTip(), QString::fromLatin1(hint));
        QVERIFY2(!button->icon().isNull(), name);
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        const int x = button->mapTo(&main, QPoint()).x();
        QVERIFY2(x > lastX, name);
        lastX = x;
    }
    QCOMPARE(main.butBackUp->menu(), main.menuBackUp);
    QCOMPARE(main.menuBackUpLast->text(), QStringLiteral("Cancel last optimization"));
    QVERIFY(!main.menuBackUpLast->isEnabled());
    QCOMPARE(main.menuBackUpChecked->text(), QStringLiteral("Restore checked files"));
    QCOMPARE(main.butView->menu(), main.menuView);
    QCOMPARE(main.menuUnzipped->text(), QStringLiteral("Initial file"));
    QCOMPARE(main.menuZipped->text(), QStringLiteral("Optimized file"));
    QVERIFY(!main.menuUnzipped->isEnabled() && !main.menuZipped->isEnabled());
    QCOMPARE(main.butHelp->menu()->actions(), (QList<QAction*> {main.menuContent, main.menuAbout}));
    QCOMPARE(main.menuContent->shortcut(), QKeySequence(Qt::Key_F1));
}

void WindowsTest::helpAndQuitStayAtTheRightEnd()
{
    TfrmMain main;
    main.show();
    for (int width : {800, 1200}) {
        main.resize(width, 600);
        QApplication::processEvents();
        const int quitRight = main.butQuit->mapTo(&main, QPoint(main.butQuit->width(), 0)).x();
        QVERIFY2(main.width() - quitRight < 30, qPrintable(QString::number(width)));
        QVERIFY(main.butHelp->mapTo(&main, QPoint()).x() < main.butQuit->mapTo(&main, QPoint()).x());
    }
}

void WindowsTest::mainMenus()
{
    TfrmMain main;
    QStringList titles;
    for (QAction* menu : main.menuBar()->actions()) titles << menu->text();
    QCOMPARE(titles, (QStringList {" &Actions", " &Files panel", " &Options", " &Help"}));
    QStringList actions;
    for (QAction* item : main.menuActions->actions()) actions << (item->isSeparator() ? "-" : item->text());
    QCOMPARE(actions, (QStringList {"Add &files", "Add fol&der", "-", "&Optimize!"}));
    QCOMPARE(main.menuOptions->actions(), QList<QAction*> {main.menuOptimizeOpt});
    QCOMPARE(main.menuOptimizeOpt->text(), QStringLiteral("&Optimization options"));
    QCOMPARE(main.menuHelp->actions(), (QList<QAction*> {main.menuContent, main.menuAbout}));
    QCOMPARE(main.menuAbout->text(), QStringLiteral("&About"));
}

void WindowsTest::panelMenuCopy()
{
    TfrmMain main;
    QStringList popup;
    for (QAction* item : main.menuForListFiles->actions())
        popup << (item->isSeparator() ? QStringLiteral("-") : item->objectName() + QLatin1Char('=') + item->text());
    const QStringList expected {"menuSelectAll=Select All", "menuInvert=Invert selection",
        "menuDeselect=Remove selection", "-", "Removefilefromthelist1=Remove file from the list",
        "menuDelUnchecked=Remove unchecked files", "menuLiseFilesClear=Clear files panel", "-",
        "menuSaveListFiles=Save list to the file", "menuOpenListFiles=Load list from the file", "-",
        "menuSend=Send to external HTML editor", "-", "=Sort by", "-", "menuRefresh=Refresh"};
    QCOMPARE(popup, expected);
    QCOMPARE(main.Removefilefromthelist1->shortcut(), QKeySequence(Qt::Key_Delete));

    QStringList copy;
    for (QAction* item : main.menuPanel->actions())
        copy << (item->isSeparator() ? QStringLiteral("-") : item->objectName() + QLatin1Char('=') + item->text());
    QStringList expectedCopy;
    for (const QString& line : expected)
        expectedCopy << (line == QStringLiteral("-") ? line
                : line.startsWith(QLatin1Char('='))  ? QStringLiteral("mainmenuSortType=Sort by")
                                                     : QStringLiteral("main") + line);
    QCOMPARE(copy, expectedCopy);

    // A copy does what its pop-up item does, without the shortcut.
    QAction* copyOfRemove = main.mainMenuCopy(main.Removefilefromthelist1);
    QVERIFY(copyOfRemove);
    QVERIFY(copyOfRemove->shortcut().isEmpty());
    QSignalSpy removed(main.Removefilefromthelist1, &QAction::triggered);
    copyOfRemove->trigger();
    QCOMPARE(removed.size(), 1);

    const QStringList sortCaptions {"Filename", "Path", "Date", "Filesize", "Optimized filesize", "Optimization ratio"};
    for (int i = 0; i < 6; ++i) {
        QAction* item = main.sortItems[i];
        QCOMPARE(item->objectName(), QStringLiteral("sort") + QString::number(i + 1));
        QCOMPARE(item->text(), sortCaptions[i]);
        QCOMPARE(item->isChecked(), i == 0);
        QAction* copyOfSort = main.findChild<QAction*>(QStringLiteral("mainsort") + QString::number(i + 1));
        QVERIFY(copyOfSort);
        QCOMPARE(copyOfSort->text(), sortCaptions[i]);
        QVERIFY(!copyOfSort->isChecked());
        QSignalSpy sorted(item, &QAction::triggered);
        copyOfSort->trigger();
        QCOMPARE(sorted.size(), 1);
    }
}

void WindowsTest::filePanel()
{
    TfrmMain main;
    QTableView* list = main.listFiles;
    QCOMPARE(list->toolTip(), QStringLiteral("Files panel"));
    QVERIFY(list->showGrid());
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(list->horizontalHeader()->sectionsClickable());
    QCOMPARE(list->model()->columnCount(), 6);
    const QStringList captions {"Filename", "Path", "Date", "Size  [bytes]", "Optimized  [bytes]", "Ratio"};
    const int widths[] = {180, 150, 120, 110, 110, 100};
    for (int column = 0; column < 6; ++column) {
        QCOMPARE(list->model()->headerData(column, Qt::Horizontal).toString(), captions[column]);
        QCOMPARE(list->columnWidth(column), widths[column]);
    }
    // Rows carry a check box.
    auto* row = new QStandardItem(QStringLiteral("index.html"));
    row->setCheckable(true);
    row->setCheckState(Qt::Checked);
    main.filesModel->appendRow(row);
    QCOMPARE(list->model()->data(list->model()->index(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(main.splitter->widget(0), static_cast<QWidget*>(list));
    QCOMPARE(main.splitter->widget(1), main.panFileSrc);
}

void WindowsTest::sourceView()
{
    TfrmMain main;
    QVERIFY(main.memoFileSrc->isReadOnly());
    QCOMPARE(main.memoFileSrc->toolTip(), QStringLiteral("File source"));
    const QList<std::pair<QToolButton*, const char*>> buttons {{main.butViewUnZipped, "View the text of initial file"},
        {main.butViewZipped, "View the text of optimized file"},
        {main.butViewDiff, "View the differences between the initial and the optimized file"},
        {main.butSendToEdit, "Send file to external editor"}, {main.butSaveFile, "Save changes to the file"}};
    for (const auto& [button, hint] : buttons) {
        // The hint is the status bar's text; the tooltip names the button's key after it.
        QCOMPARE(button->statusTip(), QString::fromLatin1(hint));
        QVERIFY2(button->toolTip().startsWith(QString::fromLatin1(hint)), hint);
        QVERIFY2(!button->shortcut().isEmpty(), hint);
        QVERIFY(!button->isEnabled());
        QVERIFY(!button->icon().isNull());
    }
}

void WindowsTest::statusBar()
{
    TfrmMain main;
    QCOMPARE(main.statusBar()->objectName(), QStringLiteral("barMain"));
    QVERIFY(main.statusBar()->isAncestorOf(main.barMainHints));
    QVERIFY(main.statusBar()->isAncestorOf(main.barMainStatus));
}

void WindowsTest::drops()
{
    TfrmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QVERIFY(main.acceptDrops());
    QSignalSpy dropped(&main, &TfrmMain::filesDropped);
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile(QStringLiteral("/site/a.html")), QUrl::fromLocalFile(QStringLiteral("/site/b.lst"))});
    const QPoint inside = main.panelRect().center();
    QVERIFY(main.panelRect().contains(inside));
    QDragEnterEvent enter(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&main, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(inside), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&main, &drop);
    QCOMPARE(dropped.size(), 1);
    QCOMPARE(dropped.at(0).at(0).toStringList(), (QStringList {"/site/a.html", "/site/b.lst"}));
    QCOMPARE(dropped.at(0).at(1).toPoint(), inside);
    QVERIFY(!main.panelRect().contains(main.butFiles->mapTo(&main, QPoint(2, 2))));
}

void WindowsTest::escapeInMainWindow()
{
    TfrmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QSignalSpy escape(&main, &TfrmMain::escapeReleased);
    main.listFiles->setFocus();
    QTest::keyRelease(main.listFiles, Qt::Key_Escape);
    QCOMPARE(escape.size(), 1);
    main.memoFileSrc->setFocus();
    QTest::keyRelease(main.memoFileSrc, Qt::Key_Escape);
    QCOMPARE(escape.size(), 2);
    QTest::keyRelease(main.memoFileSrc, Qt::Key_A);
    QCOMPARE(escape.size(), 2);
}

void WindowsTest::reportWindow()
{
    TfrmReport report;
    QCOMPARE(report.windowTitle(), QStringLiteral("Optimization"));
    QVERIFY(!report.isModal());
    QCOMPARE(report.Timer1->interval(), 100);
    QCOMPARE(report.currentPage(), TfrmReport::PageBefore);
    const QList<std::pair<const char*, const char*>> page1 {{"labFilesChosen", "Files selected:"}, {"fcount", "0"},
        {"labTotalFileSize", "Total size: ( bytes )"}, {"filessize", "0"},
        {"labPathComment", "Optimized files will be saved in:"}, {"labPathForOptimized", "Folder"},
        {"labStatusComment", "Status:"}, {"labStatus", "ready for optimization"}, {"time_status", ""}};
    for (const auto& [name, caption] : page1) {
        auto* label = report.page1->findChild<QLabel*>(QString::fromLatin1(name));
        QVERIFY2(label, name);
        QCOMPARE(label->text(), QString::fromLatin1(caption));
    }
    for (const char* bold : {"fcount", "filessize", "labPathForOptimized", "labStatus", "time_status"})
        QVERIFY2(report.findChild<QLabel*>(QString::fromLatin1(bold))->font().bold(), bold);
    QCOMPARE(report.labPathForOptimized->toolTip(), QStringLiteral("Folder"));
    const QList<std::pair<const char*, const char*>> page2 {{"labFileProcesses", "Files processed:"}, {"fdone", "0"},
        {"labBytesRemoved", "Bytes removed:"}, {"deleted", "0"}, {"labAverageRatio", "Average optimization ratio:"},
        {"midk", "0"}, {"labmaxRatio", "Max optimization ratio:"}, {"mk", "0"}, {"labTimeElapsed", "Time elapsed"},
        {"elapsed", "0"},
        {"labComm", "Some visible changes can be caused by changing\nplacement of *.css files, etc."}};
    for (const auto& [name, caption] : page2) {
        auto* label = report.page2->findChild<QLabel*>(QString::fromLatin1(name));
        QVERIFY2(label, name);
        QCOMPARE(label->text(), QString::fromLatin1(caption));
    }
    QCOMPARE(report.butStart->text(), QStringLiteral("Start"));
    QCOMPARE(report.butCancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(report.butHelp->text(), QStringLiteral("Help"));
    QCOMPARE(report.butClose->text(), QStringLiteral("Close"));
    QVERIFY(report.page1->isAncestorOf(report.butStart));
    QVERIFY(report.page2->isAncestorOf(report.butClose));

    report.showProgress(3, 10, QStringLiteral("/site/news/today.php"));
    QCOMPARE(report.progressFiles->value(), 3);
    QCOMPARE(report.progressFiles->maximum(), 10);
    QCOMPARE(report.labFileInHand->text(), QStringLiteral("/site/news/today.php"));
    report.showProgress(0, 0, {});
    QVERIFY(report.progressFiles->maximum() > 0);

    report.showPage(TfrmReport::PageResults);
    QCOMPARE(report.currentPage(), TfrmReport::PageResults);
    QSignalSpy help(&report, &TfrmReport::helpRequested);
    report.butHelp->click();
    QCOMPARE(help.at(0).at(0).toInt(), 20);
}

void WindowsTest::reportWindowKeys()
{
    TfrmReport report;
    report.show();
    QVERIFY(QTest::qWaitForWindowActive(&report));
    QSignalSpy escape(&report, &TfrmReport::escapeReleased);
    report.butStart->setFocus();
    QTest::keyClick(report.butStart, Qt::Key_Escape);
    // Esc does not close the window; its release is reported.
    QVERIFY(report.isVisible());
    QCOMPARE(escape.size(), 1);
}

void WindowsTest::aboutWindow()
{
    TfrmAbout about;
    QCOMPARE(about.labName->text(), QStringLiteral("Quillmark"));
    QVERIFY(about.labVersion->text().contains(QStringLiteral("3.0")));
    QSignalSpy help(&about, &TfrmAbout::helpRequested);
    about.butHelp->click();
    QCOMPARE(help.at(0).at(0).toInt(), 70);
}

void WindowsTest::programWindowsWiring()
{
    TOptionSet options;
    test::RecordingCommands commands;
    ProgramWindows windows(options, commands, QStringLiteral(QMK_HELP_DIR));
    windows.main.show();

    // Start-up ran the storage mode's behaviour.
    QVERIFY(windows.options.control(Opt::edOptimizedPath)->isEnabled());
    QVERIFY(!windows.options.control(Opt::cbSaveBefMod)->isEnabled());

    windows.main.butOptions->click();
    QVERIFY(windows.options.isVisible());
    windows.options.close();
    QCOMPARE(commands.calls, QStringList {"closeWindow"});
    windows.main.menuOptimizeOpt->trigger();
    QVERIFY(windows.options.isVisible());

    // The storage mode is announced for the "Optimized file" item, which the program's binding enables.
    QSignalSpy modifyOld(&windows.options, &TfrmOptions::modifyOldChanged);
    qobject_cast<QAbstractButton*>(windows.options.control(Opt::radModifyOld))->click();
    qobject_cast<QAbstractButton*>(windows.options.control(Opt::radSaveNewMod))->click();
    QCOMPARE(modifyOld.size(), 2);
    QCOMPARE(modifyOld.at(0).at(0).toBool(), true);
    QCOMPARE(modifyOld.at(1).at(0).toBool(), false);

    windows.options.butHelp->click();
    QVERIFY(windows.help.isVisible());
    QCOMPARE(windows.help.currentFile(), QStringLiteral("options-window.html"));
    windows.main.menuContent->trigger();
    QCOMPARE(windows.help.currentFile(), QStringLiteral("index.html"));
    windows.report.butHelp->click();
    QCOMPARE(windows.help.currentFile(), QStringLiteral("run-window.html"));
    windows.options.tagEditor()->butHelp->click();
    QCOMPARE(windows.help.currentFile(), QStringLiteral("tag-editor.html"));
    windows.ui.replaceDialog().butHelp->click();
    QCOMPARE(windows.help.currentFile(), QStringLiteral("overwrite-confirmation.html"));

    windows.main.menuAbout->trigger();
    QVERIFY(windows.about.isVisible());
    windows.about.butHelp->click();
    QCOMPARE(windows.help.currentFile(), QStringLiteral("about.html"));

    // Quit ends the program even with other windows open: every window belongs to the main window.
    for (QWidget* window : std::initializer_list<QWidget*> {&windows.help, &windows.options, &windows.about,
             &windows.report, &windows.ui.replaceDialog(), &windows.ui.folderChooser()}) {
        QVERIFY(window->isWindow());
        QCOMPARE(window->parentWidget(), static_cast<QWidget*>(&windows.main));
    }
    windows.main.butQuit->click();
    QVERIFY(!windows.main.isVisible());
}

namespace {

// F1 in the window, once it is the active one, as a user presses it.
void PressF1In(QWidget* window)
{
    window->activateWindow();
    // The window itself, not only a window that shares activation with it.
    QVERIFY(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }));
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
    QTest::keyClick(target, Qt::Key_F1);
}

} // namespace

void WindowsTest::helpKeyOpensEachWindowsTopic()
{
    TOptionSet options;
    test::RecordingCommands commands;
    ProgramWindows windows(options, commands, QStringLiteral(QMK_HELP_DIR));
    windows.main.show();
    struct Row {
        const char* name;
        QWidget* window;
        const char* topic;
    };
    const Row rows[] = {
        {"main window", &windows.main, "index.html"},
        {"run window", &windows.report, "run-window.html"},
        {"options window", &windows.options, "options-window.html"},
        {"tag editor", windows.options.tagEditor(), "tag-editor.html"},
        {"about window", &windows.about, "about.html"},
    };
    for (const Row& row : rows) {
        row.window->show();
        PressF1In(row.window);
        QVERIFY2(windows.help.isVisible(), row.name);
        QCOMPARE(windows.help.currentFile(), QString::fromLatin1(row.topic));
        windows.help.hide();
        if (row.window != &windows.main) row.window->hide();
    }
    // The two modal dialogs, while they wait for their answer.
    QString confirmationTopic;
    test::WhenModalShown([&](QWidget* dialog) {
        PressF1In(dialog);
        confirmationTopic = windows.help.currentFile();
        windows.ui.replaceDialog().butSkip->click();
    });
    windows.ui.askOverwrite(OverwritePrompt {});
    QCOMPARE(confirmationTopic, QStringLiteral("overwrite-confirmation.html"));
    QString chooserTopic;
    test::WhenModalShown([&](QWidget* dialog) {
        PressF1In(dialog);
        chooserTopic = windows.help.currentFile();
        windows.ui.folderChooser().butCancel->click();
    });
    windows.ui.chooseFolder({});
    QCOMPARE(chooserTopic, QStringLiteral("folder-selection.html"));
}

// A modal dialog blocks every other window: help opened from it must not be
// one of them, or it could be neither scrolled nor followed while the dialog waits.
void WindowsTest::helpFromAModalDialogIsUsable()
{
    TOptionSet options;
    test::RecordingCommands commands;
    ProgramWindows windows(options, commands, QStringLiteral(QMK_HELP_DIR));
    windows.main.show();
    bool usable = false;
    int scrolled = 0;
    test::WhenModalShown([&](QWidget* dialog) {
        windows.ui.replaceDialog().butHelp->click();
        QVERIFY(windows.help.isVisible());
        QWindow* modal = dialog->windowHandle();
        QWindow* help = windows.help.windowHandle();
        usable =
            help && (modal->isAncestorOf(help, QWindow::IncludeTransients) || help == QGuiApplication::modalWindow());
        // A key that scrolls goes through the window system, as the user's would: a blocked window drops it.
        windows.help.resize(300, 120);
        windows.help.browser->setFocus();
        QTest::keyClick(windows.help.windowHandle(), Qt::Key_PageDown);
        scrolled = windows.help.browser->verticalScrollBar()->value();
        windows.ui.replaceDialog().butSkip->click();
    });
    windows.ui.askOverwrite(OverwritePrompt {});
    QVERIFY(usable);
    QVERIFY(scrolled > 0);
    // The dialog has gone; the help stays open, as a window of the program again.
    QVERIFY(windows.help.isVisible());
    QCOMPARE(windows.help.parentWidget(), static_cast<QWidget*>(&windows.main));
}

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
