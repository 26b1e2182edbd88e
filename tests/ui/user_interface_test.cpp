// The Qt side of the user interface: message boxes, questions, the overwrite confirmation, the folder chooser, file
// dialogs, shell calls.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFrame>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "tests/ui/ui_test_support.h"
#include "ui/desktop_queries.h"
#include "ui/file_dialog_filter.h"
#include "ui/folder_chooser.h"
#include "ui/path_label.h"
#include "ui/qt_text.h"
#include "ui/qt_user_interface.h"
#include "ui/replace_dialog.h"

using namespace qm;
using qm::test::WhenModalShown;

Q_DECLARE_METATYPE(qm::OverwriteAnswer)

namespace {

OverwritePrompt CopyPrompt()
{
    return {OverwriteQuestion::Copy, "/out/index.html", "30 bytes   06.12.2026 17:22:02", "/site/index.html",
        "100 bytes   06.12.2026 17:20:00  ?", "With optimized copy of the file", false};
}

// Answers the message box on screen with the given button, after checking what it shows.
void AnswerBox(QMessageBox::StandardButton button, QMessageBox::Icon icon, const QString& text,
    QMessageBox::StandardButtons buttons)
{
    WhenModalShown([=](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Quillmark"));
        QCOMPARE(box->icon(), icon);
        QCOMPARE(box->text(), text);
        QCOMPARE(box->standardButtons(), buttons);
        box->button(button)->click();
    });
}

} // namespace

class UserInterfaceTest : public QObject {
    Q_OBJECT

private slots:
    void messages_data();
    void messages();
    void yesNo_data();
    void yesNo();
    void yesNoCancel_data();
    void yesNoCancel();
    void okCancel();
    void restoreWarning();
    void inputBox();

    void overwriteDialogLayout();
    void overwriteAnswers_data();
    void overwriteAnswers();
    void overwriteClosedOtherwiseSkips_data();
    void overwriteClosedOtherwiseSkips();
    void overwriteViewAndEditButtons();

    void folderChooserRefusesOkWithoutValidSelection();
    void folderChooserCancelAndEsc();
    void folderChooserCloseBoxKeepsSelection();
    void folderChooserFolderVanished();
    void folderChooserPanels();
    void folderChooserStartHomeAndTypedPath();
    void desktopCanOpen_data();
    void desktopCanOpen();

    void nameFilters_data();
    void nameFilters();
    void openAndSaveDialogs();
    void launchProgramSplitsParameters();
    void messageText();
};

void UserInterfaceTest::messages_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("icon");
    QTest::newRow("warning") << int(MessageKind::Warning) << int(QMessageBox::Warning);
    QTest::newRow("error") << int(MessageKind::Error) << int(QMessageBox::Critical);
    QTest::newRow("information") << int(MessageKind::Information) << int(QMessageBox::Information);
}

void UserInterfaceTest::messages()
{
    QFETCH(int, kind);
    QFETCH(int, icon);
    QtUserInterface ui;
    // The carriage return the message routine puts in front is not shown as an empty line.
    AnswerBox(QMessageBox::Ok, QMessageBox::Icon(icon),
        QStringLiteral("Folder for optimized files does not exist!\nPlease, change program options."), QMessageBox::Ok);
    ShowMessage(ui, MessageKind(kind), "Folder for optimized files does not exist!\rPlease, change program options.");

    AnswerBox(QMessageBox::Ok, QMessageBox::NoIcon, QStringLiteral("/site/index.html"), QMessageBox::Ok);
    ui.showPlainMessage("/site/index.html");
}

void UserInterfaceTest::yesNo_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("answer");
    QTest::newRow("Yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("No") << int(QMessageBox::No) << false;
}

void UserInterfaceTest::yesNo()
{
    QFETCH(int, button);
    QFETCH(bool, answer);
    QtUserInterface ui;
    AnswerBox(QMessageBox::StandardButton(button), QMessageBox::Question, QStringLiteral("Start optimization?"),
        QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(ui.askYesNo("\rStart optimization?"), answer);
}

void UserInterfaceTest::yesNoCancel_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes") << int(QMessageBox::Yes) << int(YesNoCancel::Yes);
    QTest::newRow("No") << int(QMessageBox::No) << int(YesNoCancel::No);
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << int(YesNoCancel::Cancel);
}

void UserInterfaceTest::yesNoCancel()
{
    QFETCH(int, button);
    QFETCH(int, answer);
    QtUserInterface ui;
    AnswerBox(QMessageBox::StandardButton(button), QMessageBox::Question, QStringLiteral("Save changes?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(int(ui.askYesNoCancel("Save changes?")), answer);

    // Esc answers Cancel.
    WhenModalShown([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    QCOMPARE(ui.askYesNoCancel("Save changes?"), YesNoCancel::Cancel);
}

void UserInterfaceTest::okCancel()
{
    QtUserInterface ui;
    AnswerBox(QMessageBox::Ok, QMessageBox::Question, QStringLiteral("Do you want to interrupt optimization process?"),
        QMessageBox::Ok | QMessageBox::Cancel);
    QVERIFY(ui.askOkCancel("\rDo you want to interrupt optimization process?"));
    AnswerBox(QMessageBox::Cancel, QMessageBox::Question, QStringLiteral("x"), QMessageBox::Ok | QMessageBox::Cancel);
    QVERIFY(!ui.askOkCancel("x"));
}

void UserInterfaceTest::restoreWarning()
{
    QtUserInterface ui;
    AnswerBox(QMessageBox::YesToAll, QMessageBox::Warning, QStringLiteral("no copy"),
        QMessageBox::Yes | QMessageBox::YesToAll);
    QCOMPARE(ui.warnRestore("no copy"), RestoreWarningAnswer::YesToAll);
    AnswerBox(
        QMessageBox::Yes, QMessageBox::Warning, QStringLiteral("no copy"), QMessageBox::Yes | QMessageBox::YesToAll);
    QCOMPARE(ui.warnRestore("no copy"), RestoreWarningAnswer::Yes);
}

void UserInterfaceTest::inputBox()
{
    QtUserInterface ui;
    WhenModalShown([](QWidget* dialog) {
        auto* box = qobject_cast<QInputDialog*>(dialog);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Saving"));
        QCOMPARE(box->labelText(), QStringLiteral("Enter name for new file"));
        QCOMPARE(box->textValue(), QStringLiteral("index.html"));
        box->setTextValue(QStringLiteral("index2.html"));
        box->accept();
    });
    QCOMPARE(ui.askText("Saving", "Enter name for new file", "index.html"), std::optional<std::string>("index2.html"));

    WhenModalShown([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    QCOMPARE(ui.askText("Renaming", "Enter new filename", "index.html"), std::nullopt);
}

void UserInterfaceTest::overwriteDialogLayout()
{
    TfrmReplaceDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Confirmation"));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(dialog.Label1->text(), QStringLiteral("Overwrite :"));

    const QList<std::tuple<const char*, const char*, const char*>> buttons {
        {"butReplace", "Overwrite", "Overwrite upper file with lower"},
        {"butReplaceAll", "Overwrite All", "Select \"Overwrite\" automatically"},
        {"butSkip", "Skip", "Skip foverwriting"},
        {"butReplaceOld", "Ovewrite All Older", "Overwrite older files"},
        {"butSkipAll", "Skip All", "Select \"Skip\" automatically"},
        {"butNewName", "New name", "Save under new name"},
        {"butRename", "Rename", "Rename upper file"},
        {"butView1", "", "View in browser"},
        {"butView2", "", "View in browser"},
        {"butEdit1", "", "Send to external editor"},
        {"butEdit2", "", "Send to external editor"},
        {"butHelp", "Help", ""},
    };
    for (const auto& [name, caption, hint] : buttons) {
        auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
        QVERIFY2(button, name);
        QCOMPARE(button->text(), QString::fromLatin1(caption));
        QCOMPARE(button->toolTip(), QString::fromLatin1(hint));
    }
    QVERIFY(dialog.butReplace->isDefault());
    for (const char* name : {"Label1", "Label2", "labToFile", "labToFileInfo", "labFromFile", "labFromFileInfo"})
        QVERIFY2(dialog.findChild<QLabel*>(QString::fromLatin1(name)), name);

    dialog.setPrompt(CopyPrompt());
    QCOMPARE(dialog.labToFile->text(), QStringLiteral("/out/index.html"));
    QCOMPARE(dialog.labToFile->toolTip(), QStringLiteral("/out/index.html"));
    QCOMPARE(dialog.labToFileInfo->text(), QStringLiteral("30 bytes   06.12.2026 17:22:02"));
    QCOMPARE(dialog.labFromFile->text(), QStringLiteral("/site/index.html"));
    QCOMPARE(dialog.labFromFile->toolTip(), QStringLiteral("/site/index.html"));
    QCOMPARE(dialog.labFromFileInfo->text(), QStringLiteral("100 bytes   06.12.2026 17:20:00  ?"));
    QCOMPARE(dialog.Label2->text(), QStringLiteral("With optimized copy of the file"));
    QVERIFY(!dialog.butReplaceOld->isEnabled());

    OverwritePrompt backup = CopyPrompt();
    backup.question = OverwriteQuestion::Backup;
    backup.secondLabel = "With file";
    backup.overwriteOlderEnabled = true;
    dialog.setPrompt(backup);
    QCOMPARE(dialog.Label2->text(), QStringLiteral("With file"));
    QVERIFY(dialog.butReplaceOld->isEnabled());
}

void UserInterfaceTest::overwriteAnswers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("answer");
    QTest::newRow("Overwrite") << "butReplace" << int(OverwriteAnswer::Overwrite);
    QTest::newRow("Overwrite All") << "butReplaceAll" << int(OverwriteAnswer::OverwriteAll);
    QTest::newRow("Skip") << "butSkip" << int(OverwriteAnswer::Skip);
    QTest::newRow("Ovewrite All Older") << "butReplaceOld" << int(OverwriteAnswer::OverwriteAllOlder);
    QTest::newRow("Skip All") << "butSkipAll" << int(OverwriteAnswer::SkipAll);
    QTest::newRow("New name") << "butNewName" << int(OverwriteAnswer::NewName);
    QTest::newRow("Rename") << "butRename" << int(OverwriteAnswer::Rename);
}

void UserInterfaceTest::overwriteAnswers()
{
    QFETCH(QString, button);
    QFETCH(int, answer);
    QtUserInterface ui;
    OverwritePrompt prompt = CopyPrompt();
    prompt.overwriteOlderEnabled = true;
    WhenModalShown([button](QWidget* dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("TfrmReplaceDlg"));
        dialog->findChild<QPushButton*>(button)->click();
    });
    QCOMPARE(int(ui.askOverwrite(prompt)), answer);
    QVERIFY(!ui.replaceDialog().isVisible());
}

void UserInterfaceTest::overwriteClosedOtherwiseSkips_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Esc") << "Esc";
    QTest::newRow("window manager") << "close";
    QTest::newRow("end of the run") << "reset";
}

void UserInterfaceTest::overwriteClosedOtherwiseSkips()
{
    QFETCH(QString, how);
    QtUserInterface ui;
    WhenModalShown([&ui, how](QWidget* dialog) {
        if (how == QStringLiteral("Esc"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else if (how == QStringLiteral("close"))
            dialog->close();
        else
            ui.closeOverwriteConfirmation();
    });
    QCOMPARE(ui.askOverwrite(CopyPrompt()), OverwriteAnswer::Skip);
}

void UserInterfaceTest::overwriteViewAndEditButtons()
{
    QtUserInterface ui;
    std::vector<std::string> edited;
    ui.setEditorHandler([&edited](const std::string& path) { edited.push_back(path); });
    QSignalSpy view(&ui.replaceDialog(), &TfrmReplaceDlg::viewRequested);
    QSignalSpy help(&ui, &QtUserInterface::helpRequested);
    WhenModalShown([&ui](QWidget*) {
        TfrmReplaceDlg& dialog = ui.replaceDialog();
        dialog.butEdit1->click();
        dialog.butEdit2->click();
        dialog.butHelp->click();
        // None of them closes the dialog.
        QVERIFY(dialog.isVisible());
        dialog.butSkip->click();
    });
    QCOMPARE(ui.askOverwrite(CopyPrompt()), OverwriteAnswer::Skip);
    QCOMPARE(edited, (std::vector<std::string> {"/out/index.html", "/site/index.html"}));
    QCOMPARE(help.size(), 1);
    QCOMPARE(help.at(0).at(0).toInt(), 30);
    // The view buttons hand the upper and lower file to the shell.
    QSignalSpy* views = &view;
    disconnect(&ui.replaceDialog(), &TfrmReplaceDlg::viewRequested, &ui, nullptr);
    ui.replaceDialog().setPrompt(CopyPrompt());
    ui.replaceDialog().butView1->click();
    ui.replaceDialog().butView2->click();
    QCOMPARE(views->size(), 2);
    QCOMPARE(views->at(0).at(0).toString(), QStringLiteral("/out/index.html"));
    QCOMPARE(views->at(1).at(0).toString(), QStringLiteral("/site/index.html"));
}

void UserInterfaceTest::folderChooserRefusesOkWithoutValidSelection()
{
    QTemporaryDir temp;
    QtUserInterface ui;
    TfrmFolders& chooser = ui.folderChooser();
    QCOMPARE(chooser.windowTitle(), QStringLiteral("Folder selection"));
    bool stayedOpen = false;
    WhenModalShown([&](QWidget* dialog) {
        QCOMPARE(dialog, static_cast<QWidget*>(&chooser));
        QVERIFY(!chooser.validSelection());
        QVERIFY(chooser.labFolder->text().isEmpty());
        chooser.butOK->click();
        stayedOpen = chooser.isVisible();
        chooser.selectFolder(temp.path());
        QVERIFY(chooser.validSelection());
        QCOMPARE(chooser.labFolder->text(), QDir::toNativeSeparators(temp.path()));
        chooser.butOK->click();
    });
    const std::string chosen = ui.chooseFolder({});
    QVERIFY(stayedOpen);
    QCOMPARE(ToQt(chosen), QDir::toNativeSeparators(temp.path()));

    // The next opening starts without a valid selection again.
    WhenModalShown([&](QWidget*) {
        QVERIFY(!chooser.validSelection());
        chooser.butOK->click();
        QVERIFY(chooser.isVisible());
        chooser.butCancel->click();
    });
    QCOMPARE(ui.chooseFolder({}), std::string("-"));
}

void UserInterfaceTest::folderChooserCancelAndEsc()
{
    QTemporaryDir temp;
    QtUserInterface ui;
    TfrmFolders& chooser = ui.folderChooser();
    WhenModalShown([&](QWidget*) {
        chooser.selectFolder(temp.path());
        chooser.butCancel->click();
    });
    QCOMPARE(ui.chooseFolder({}), std::string("-"));
    WhenModalShown([&](QWidget* dialog) {
        chooser.selectFolder(temp.path());
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QCOMPARE(ui.chooseFolder({}), std::string("-"));
}

void UserInterfaceTest::folderChooserCloseBoxKeepsSelection()
{
    QTemporaryDir temp;
    QtUserInterface ui;
    TfrmFolders& chooser = ui.folderChooser();
    WhenModalShown([&](QWidget* dialog) {
        chooser.selectFolder(temp.path());
        dialog->close();
    });
    QCOMPARE(ToQt(ui.chooseFolder({})), QDir::toNativeSeparators(temp.path()));
}

void UserInterfaceTest::folderChooserFolderVanished()
{
    auto temp = std::make_unique<QTemporaryDir>();
    const QString path = temp->path() + QStringLiteral("/gone");
    QVERIFY(QDir().mkpath(path));
    QtUserInterface ui;
    TfrmFolders& chooser = ui.folderChooser();
    WhenModalShown([&](QWidget*) {
        chooser.selectFolder(path);
        QVERIFY(chooser.validSelection());
        QVERIFY(QDir(path).removeRecursively());
        chooser.butOK->click();
    });
    QCOMPARE(ui.chooseFolder({}), std::string());
}

void UserInterfaceTest::folderChooserPanels()
{
    QtUserInterface ui;
    TfrmFolders& chooser = ui.folderChooser();
    QVERIFY(chooser.panFiles->isHidden());
    QVERIFY(chooser.panFolder->isHidden());
    const FolderChooserPanels panels {
        true, {"Maximum", "files count is", "100"}, 1, {"Maximum level of", "embeded folders is", "10"}, {}};
    bool shown = false;
    WhenModalShown([&](QWidget*) {
        shown = chooser.panFiles->isVisible() && chooser.panFolder->isVisible();
        QCOMPARE(chooser.lab4->text(), QStringLiteral("Maximum"));
        QCOMPARE(chooser.lab5->text(), QStringLiteral("files count is"));
        QCOMPARE(chooser.lab6->text(), QStringLiteral("100"));
        QVERIFY(chooser.lab6->font().bold());
        QCOMPARE(chooser.lab1->text(), QStringLiteral("Maximum level of"));
        QCOMPARE(chooser.lab3->text(), QStringLiteral("10"));
        QVERIFY(chooser.lab3->font().bold());
        QCOMPARE(chooser.imgFiles->toolTip(), QStringLiteral("Files restriction"));
        QCOMPARE(chooser.imgFolder->toolTip(), QStringLiteral("Folders restriction"));
        chooser.butCancel->click();
    });
    ui.chooseFolder(panels);
    QVERIFY(shown);
    // Closing hides both panels again.
    QVERIFY(chooser.panFiles->isHidden());
    QVERIFY(chooser.panFolder->isHidden());
}

// The chooser opens at its start folder, expanded; Home and a typed path
// (with ~ for the home folder) go to a folder and choose it.
void UserInterfaceTest::folderChooserStartHomeAndTypedPath()
{
    QTemporaryDir temp;
    QVERIFY(QDir(temp.path()).mkpath(QStringLiteral("start/inner")));
    QVERIFY(QDir(temp.path()).mkpath(QStringLiteral("typed")));
    const QString start = temp.filePath(QStringLiteral("start"));
    QtUserInterface ui;
    TfrmFolders& chooser = ui.folderChooser();
    FolderChooserPanels panels;
    panels.startFolder = FromQt(start);
    WhenModalShown([&](QWidget*) {
        QCOMPARE(chooser.model->filePath(chooser.fList->currentIndex()), start);
        QVERIFY(chooser.fList->isExpanded(chooser.fList->currentIndex()));
        QVERIFY2(!chooser.validSelection(), "shown, not yet chosen");
        QCOMPARE(chooser.edPath->text(), QDir::toNativeSeparators(start));
        // A path that is no folder is said to be none.
        chooser.edPath->setFocus();
        chooser.edPath->setText(temp.filePath(QStringLiteral("nothing")));
        QTest::keyClick(chooser.edPath, Qt::Key_Return);
        QVERIFY(chooser.isVisible());
        QVERIFY(!chooser.validSelection());
        QVERIFY(chooser.labFolder->text().startsWith(QStringLiteral("No such folder")));
        // Home.
        chooser.butHome->click();
        QVERIFY(chooser.validSelection());
        QCOMPARE(chooser.selectedPath(), QDir::homePath());
        // A typed path goes there; Enter in the line does not close the chooser yet.
        chooser.edPath->setFocus();
        chooser.edPath->setText(temp.filePath(QStringLiteral("typed")));
        QTest::keyClick(chooser.edPath, Qt::Key_Return);
        QVERIFY(chooser.isVisible());
        QVERIFY(chooser.validSelection());
        QCOMPARE(chooser.selectedPath(), temp.filePath(QStringLiteral("typed")));
        chooser.butOK->click();
    });
    QCOMPARE(ToQt(ui.chooseFolder(panels)), QDir::toNativeSeparators(temp.filePath(QStringLiteral("typed"))));

    // ~ stands for the home folder.
    WhenModalShown([&](QWidget*) {
        chooser.edPath->setFocus();
        chooser.edPath->setText(QStringLiteral("~"));
        QTest::keyClick(chooser.edPath, Qt::Key_Return);
        QCOMPARE(chooser.selectedPath(), QDir::homePath());
        chooser.butCancel->click();
    });
    QCOMPARE(ui.chooseFolder(panels), std::string("-"));
}

// xdg-open starts even when it then finds no program for the page; the
// desktop must be asked beforehand. Fake programs along $PATH play the desktop.
void UserInterfaceTest::desktopCanOpen_data()
{
    QTest::addColumn<QStringList>("programs"); // "name=output" for xdg-mime's answer
    QTest::addColumn<bool>("canOpen");
    QTest::newRow("no xdg-open: Qt's own launcher decides") << QStringList {} << true;
    QTest::newRow("xdg-open with a program for pages") << QStringList {"xdg-open", "xdg-mime=firefox.desktop"} << true;
    QTest::newRow("xdg-open without one, no browser") << QStringList {"xdg-open", "xdg-mime="} << false;
    QTest::newRow("xdg-open without one, but x-www-browser")
        << QStringList {"xdg-open", "xdg-mime=", "x-www-browser"} << true;
}

void UserInterfaceTest::desktopCanOpen()
{
    QFETCH(QStringList, programs);
    QFETCH(bool, canOpen);
    QTemporaryDir bin;
    for (const QString& program : programs) {
        const QString name = program.section(QLatin1Char('='), 0, 0);
        QFile script(bin.filePath(name));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n");
        if (program.contains(QLatin1Char('=')))
            script.write("echo '" + program.section(QLatin1Char('='), 1).toUtf8() + "'\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    const QByteArray path = qgetenv("PATH");
    const QByteArray browser = qgetenv("BROWSER");
    qputenv("PATH", bin.path().toLocal8Bit());
    qunsetenv("BROWSER");
    const bool answer = DesktopCanOpen(bin.filePath(QStringLiteral("page.html")));
    qputenv("PATH", path);
    if (!browser.isEmpty()) qputenv("BROWSER", browser);
    QCOMPARE(answer, canOpen);
}

void UserInterfaceTest::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("list files") << "Files list [ *.lst ]|*.lst"
                                << QStringList {"Files list [ *.lst ] (*.[lL][sS][tT])"};
    QTest::newRow("two kinds") << "HTML files|*.htm;*.html|CSS files|*.css"
                               << QStringList {
                                      "HTML files (*.[hH][tT][mM] *.[hH][tT][mM][lL])", "CSS files (*.[cC][sS][sS])"};
    QTest::newRow("digits stay") << "PHP files|*.php3" << QStringList {"PHP files (*.[pP][hH][pP]3)"};
    QTest::newRow("any file") << "Executables [ * ]|*" << QStringList {"Executables [ * ] (*)"};
    QTest::newRow("description without patterns") << "Everything" << QStringList {"Everything (*)"};
    QTest::newRow("empty") << "" << QStringList {};
}

void UserInterfaceTest::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(QtNameFilters(FromQt(filter)), expected);
}

void UserInterfaceTest::openAndSaveDialogs()
{
    QTemporaryDir temp;
    QFile page(temp.filePath(QStringLiteral("INDEX.HTM")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    QtUserInterface ui;
    WhenModalShown([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        QVERIFY(files);
        QCOMPARE(files->windowTitle(), QStringLiteral("Select files(s)"));
        QCOMPARE(files->fileMode(), QFileDialog::ExistingFiles);
        QCOMPARE(files->nameFilters().size(), 2);
        QCOMPARE(files->directory().absolutePath(), temp.path());
        // Typed into the name field, as a user would; selectFile() leaves a focused field alone.
        files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(page.fileName());
        static_cast<QDialog*>(files)->accept();
    });
    const auto chosen = ui.openFiles(
        {"Select files(s)", "All formats|*.htm;*.html|HTML files|*.htm;*.html", FromQt(temp.path()), {}, true});
    QCOMPARE(chosen.size(), std::size_t(1));
    QCOMPARE(ToQt(chosen[0]), page.fileName());

    // A name typed without its extension receives the dialog's default one.
    WhenModalShown([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        QCOMPARE(files->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(files->directory().absolutePath(), temp.path());
        QCOMPARE(files->defaultSuffix(), QStringLiteral("lst"));
        QVERIFY(!files->testOption(QFileDialog::DontUseNativeDialog));
        files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("panel"));
        static_cast<QDialog*>(files)->accept();
    });
    const auto saved = ui.saveFile({"", "Files list [ *.lst ]|*.lst", FromQt(temp.path()), "lst", false});
    QVERIFY(saved);
    QCOMPARE(ToQt(*saved), temp.filePath(QStringLiteral("panel.lst")));

    WhenModalShown([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    QVERIFY(ui.openFiles({"", "Files list [ *.lst ]|*.lst", {}, {}, false}).empty());
}

void UserInterfaceTest::launchProgramSplitsParameters()
{
    QTemporaryDir temp;
    QtUserInterface ui;
    QVERIFY(ui.launchProgram("\"/bin/sh\"", "-c \"echo started > 'out put.txt'\"", "\"" + FromQt(temp.path()) + "\""));
    QTRY_VERIFY(QFile::exists(temp.filePath(QStringLiteral("out put.txt"))));
    QVERIFY(!ui.launchProgram("/no/such/editor", "x", FromQt(temp.path())));
}

void UserInterfaceTest::messageText()
{
    QCOMPARE(MessageForDisplay("\rA\r\nB\rC"), QStringLiteral("\nA\nB\nC"));
    QCOMPARE(ShownCaption(QStringLiteral("&&nbsp; && &Open")), QStringLiteral("&nbsp; & Open"));
    QCOMPARE(LabelCaption("Comments && Scripts"), QStringLiteral("Comments & Scripts"));
}

QTEST_MAIN(UserInterfaceTest)
#include "user_interface_test.moc"
