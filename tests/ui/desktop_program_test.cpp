// The desktop program driven as a user drives it: panel, runs, confirmation, interrupts, viewing and editing, options,
// tags, profiles, the command line.
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <memory>

#include "base/file_system.h"
#include "batch/model/window_layout.h"
#include "tests/ui/ui_test_support.h"
#include "ui/desktop_program.h"
#include "ui/folder_chooser.h"
#include "ui/path_label.h"
#include "ui/qt_text.h"
#include "ui/replace_dialog.h"
#include "ui/tag_editor.h"

using namespace qm;
using qm::test::Click;
using qm::test::DialogScript;
using qm::test::Press;
using qm::test::TypeFileName;

namespace {

// What the desktop shell was asked to open, instead of a browser.
class ShellRecorder : public QObject {
    Q_OBJECT
public:
    QStringList opened;
public slots:
    void open(const QUrl& url) { opened << url.toLocalFile(); }
};

// A program folder of its own for each test, the program started in it.
struct Session {
    QTemporaryDir dir;
    RealFileSystem fs;
    std::unique_ptr<DesktopProgram> program;

    explicit Session(const std::vector<std::string>& arguments = {}, const QByteArray& options = {})
    {
        // An external editor that exists, so start-up has nothing to warn about.
        write("Options.dat", "[settings]\r\nedExtEditor=/bin/sh\r\n" + options);
        // The data files, as every program folder has them; without one, start-up warns and takes the built-in list.
        for (const char* data : {"Align.dat", "Ssi.dat"})
            QFile::copy(QStringLiteral(QMK_PROGRAM_DIR "/") + QLatin1String(data), path(QLatin1String(data)));
        QDir(dir.path()).mkpath(QStringLiteral("Profiles"));
        startProgram(arguments);
    }
    void startProgram(const std::vector<std::string>& arguments = {})
    {
        program = std::make_unique<DesktopProgram>(fs, QStringLiteral(QMK_HELP_DIR));
        // The shell recorder of each test takes every page the program opens.
        program->windows().ui.canOpen = nullptr;
        main().show();
        program->start(folder(), arguments);
    }
    // The program quits and starts again over the same program folder.
    void restart()
    {
        main().close();
        program.reset();
        startProgram();
    }

    std::string folder() const { return FromQt(dir.path()) + "/"; }
    QString path(const QString& relative) const { return dir.filePath(relative); }
    void write(const QString& relative, const QByteArray& bytes) const
    {
        QDir(dir.path()).mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read(const QString& relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    MainModel& model() { return program->model(); }
    TfrmMain& main() { return program->windows().main; }
    TfrmReport& report() { return program->windows().report; }
    TfrmOptions& options() { return program->windows().options; }
    QAbstractItemModel* files() { return main().listFiles->model(); }
    QString cell(int row, int column) { return files()->index(row, column).data().toString(); }
    QStringList column(int column)
    {
        QStringList texts;
        for (int row = 0; row < files()->rowCount(); ++row) texts << cell(row, column);
        return texts;
    }
    void drop(const QStringList& paths, QPoint at)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : paths) urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&main(), &enter);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&main(), &dropped);
    }
    // A site of three pages dropped on the panel.
    void addSite()
    {
        write(QStringLiteral("site/a.htm"), "<p>  a  </p>\r\n\r\n<!-- note -->\r\n");
        write(QStringLiteral("site/b.htm"), "<p>bb</p>\r\n");
        write(QStringLiteral("site/c.htm"), "<p>   c   c   c   </p>\r\n\r\n\r\n");
        drop({path(QStringLiteral("site/c.htm")), path(QStringLiteral("site/a.htm")),
                 path(QStringLiteral("site/b.htm"))},
            main().panelRect().center());
    }
    void select(int row) { main().listFiles->selectRow(row); }
};

bool Checked(QAbstractItemModel* model, int row)
{
    return model->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

} // namespace

class DesktopProgramTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUp();
    void addFilesSortAndCheck();
    void addAFolder();
    void drops();
    void runWithTheRunWindow();
    void overwriteConfirmation();
    void interruptWithBreak();
    void interruptWithEscapeAndGoOn();
    void closingDuringARunAsksToInterrupt();
    void restoreMenu();
    void cancelLastRunAfterARestart();
    void viewEditAndSave();
    void editSwitchAndSaveThroughTheWindows();
    void quitWithAnUnsavedEdit();
    void differencesView();
    void keyboard();
    void sideButtonsStayDuringARun();
    void skippedFilesInTheResults();
    void noBrowser();
    void viewCommandsAndTheBrowser();
    void optionsEnablingRules();
    void tagEntries();
    void profiles();
    void refreshWhenTheWindowComesBack();
    void layoutIsKept();
    void commandLineInProcess();
    void commandLineOfTheRealProgram();
    void unattendedScriptWithTwoPagesOfOneName();
    void windowsThatFit();

private:
    ShellRecorder shell_;
};

void DesktopProgramTest::init()
{
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &shell_, "open");
    shell_.opened.clear();
}

void DesktopProgramTest::cleanup() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

void DesktopProgramTest::startUp()
{
    DialogScript dialogs;
    Session session;
    QCOMPARE(session.main().windowTitle(), QStringLiteral("Quillmark 3.0"));
    for (const char* created :
        {"optimized", "backup", "Profiles/Default.pro", "Profiles/Default.rep", "Profiles/Default.rem"})
        QVERIFY2(QFileInfo::exists(session.path(QString::fromLatin1(created))), created);
    // The storage mode's behaviour ran: "Optimized file" is enabled, the backup controls are not.
    QVERIFY(session.main().menuZipped->isEnabled());
    QVERIFY(!session.options().control(Opt::cbSaveBefMod)->isEnabled());
    QCOMPARE(session.main().listFiles->model(), static_cast<QAbstractItemModel*>(&session.program->files()));
    QCOMPARE(session.files()->headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("\u2022  Filename"));
    QVERIFY(session.main().sortItems[0]->isChecked());
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::addFilesSortAndCheck()
{
    DialogScript dialogs;
    Session session;
    session.write(QStringLiteral("site/big.htm"), QByteArray(300, 'x'));
    session.write(QStringLiteral("site/A.htm"), QByteArray(100, 'x'));
    session.write(QStringLiteral("site/mid.html"), QByteArray(200, 'x'));
    dialogs.expect(QStringLiteral("Select files(s)"), [&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        QVERIFY(files);
        files->setDirectory(session.path(QStringLiteral("site")));
        TypeFileName(QStringLiteral("\"mid.html\" \"big.htm\" \"A.htm\""))(dialog);
    });
    session.main().butFiles->click();
    QVERIFY(dialogs.done());
    QCOMPARE(session.column(0), (QStringList {"A.htm", "big.htm", "mid.html"}));
    QCOMPARE(session.cell(0, 1), session.path(QStringLiteral("site/")));
    QCOMPARE(session.cell(0, 3), QStringLiteral("100"));
    QCOMPARE(session.cell(0, 4), QStringLiteral("-"));
    QCOMPARE(session.main().barMainStatus->text(), QStringLiteral("Files: 3   Selected: 3"));

    // A click on the "Size" column sorts the largest file first and moves the mark.
    session.main().listFiles->horizontalHeader()->sectionClicked(3);
    QCOMPARE(session.column(0), (QStringList {"big.htm", "mid.html", "A.htm"}));
    QCOMPARE(session.files()->headerData(3, Qt::Horizontal).toString(), QString::fromUtf8("\u2022  Filesize"));
    QCOMPARE(session.files()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Filename"));
    QVERIFY(session.main().sortItems[3]->isChecked() && !session.main().sortItems[0]->isChecked());
    QVERIFY(session.main().findChild<QAction*>(QStringLiteral("mainsort4"))->isChecked());
    // The "Sort by" item of the main menu's copy does what the column does.
    session.main().findChild<QAction*>(QStringLiteral("mainsort1"))->trigger();
    QCOMPARE(session.column(0), (QStringList {"A.htm", "big.htm", "mid.html"}));

    // Check boxes: the user unchecks one, then the menu commands.
    QVERIFY(session.files()->setData(session.files()->index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    QCOMPARE(session.main().barMainStatus->text(), QStringLiteral("Files: 3   Selected: 2"));
    QVERIFY(!Checked(session.files(), 1));
    session.main().menuInvert->trigger();
    QCOMPARE(session.main().barMainStatus->text(), QStringLiteral("Files: 3   Selected: 1"));
    QVERIFY(Checked(session.files(), 1));
    session.main().mainMenuCopy(session.main().menuSelectAll)->trigger();
    QCOMPARE(session.main().barMainStatus->text(), QStringLiteral("Files: 3   Selected: 3"));
    session.main().menuDeselect->trigger();
    QCOMPARE(session.model().panel.CountCheckedRows(), 0u);

    // Del removes the highlighted row; unchecked rows go together.
    session.select(0);
    QCOMPARE(session.model().panel.highlighted(), std::optional<std::size_t>(0));
    session.main().listFiles->setFocus();
    session.main().Removefilefromthelist1->trigger();
    QCOMPARE(session.column(0), (QStringList {"big.htm", "mid.html"}));
    session.files()->setData(session.files()->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    session.main().menuDelUnchecked->trigger();
    QCOMPARE(session.column(0), QStringList {"big.htm"});
    session.main().menuLiseFilesClear->trigger();
    QCOMPARE(session.files()->rowCount(), 0);
    QCOMPARE(session.main().barMainStatus->text(), QStringLiteral("Files: 0   Selected: 0"));
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::addAFolder()
{
    DialogScript dialogs;
    Session session;
    session.write(QStringLiteral("site/index.htm"), "<p>x</p>");
    session.write(QStringLiteral("site/style.css"), "p { }");
    session.write(QStringLiteral("site/readme.txt"), "no page");
    session.write(QStringLiteral("site/sub/deep.htm"), "<p>deep</p>");
    dialogs.expect(QStringLiteral("Folder selection"), [&](QWidget* dialog) {
        auto* chooser = qobject_cast<TfrmFolders*>(dialog);
        QVERIFY(chooser);
        QVERIFY(chooser->panFiles->isVisible() && chooser->panFolder->isVisible());
        QCOMPARE(chooser->lab6->text(), QStringLiteral("100"));
        QCOMPARE(chooser->lab2->text(), QStringLiteral("are not processed"));
        chooser->selectFolder(session.path(QStringLiteral("site")));
        chooser->butOK->click();
    });
    session.main().menuPath->trigger();
    QVERIFY(dialogs.done());
    QCOMPARE(session.column(0), (QStringList {"index.htm", "style.css"}));
    QCOMPARE(session.model().state.activity, ActivityMode::None);
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::drops()
{
    DialogScript dialogs;
    Session session;
    session.write(QStringLiteral("site/a.htm"), "a");
    session.write(QStringLiteral("site/notes.txt"), "n");
    const QStringList files {
        session.path(QStringLiteral("site/a.htm")), session.path(QStringLiteral("site/notes.txt"))};
    dialogs.expect(QStringLiteral("You should drop files under files panel"), Press(QMessageBox::Ok));
    session.drop(files, session.main().butFiles->mapTo(&session.main(), QPoint(5, 5)));
    QCOMPARE(session.files()->rowCount(), 0);
    dialogs.expect(QStringLiteral("Wrong file format"), Press(QMessageBox::Ok));
    // On the panel's very edge.
    const QRect panel = session.main().panelRect();
    session.drop(files, QPoint(panel.left() + panel.width() / 2, panel.top() + panel.height()));
    QCOMPARE(session.column(0), QStringList {"a.htm"});
    dialogs.expect(QStringLiteral("is already in the files panel"), Press(QMessageBox::Ok));
    session.drop({files[0]}, panel.center());
    QCOMPARE(session.files()->rowCount(), 1);
    QVERIFY(dialogs.done());
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::runWithTheRunWindow()
{
    DialogScript dialogs;
    Session session;
    session.addSite();
    QCOMPARE(session.files()->rowCount(), 3);
    session.main().butOptimize->click();
    TfrmReport& report = session.report();
    QVERIFY(report.isVisible());
    QVERIFY(!report.isModal());
    QCOMPARE(report.windowTitle(), QStringLiteral("Optimization"));
    QCOMPARE(report.currentPage(), TfrmReport::PageBefore);
    QCOMPARE(report.fcount->text(), QStringLiteral("3"));
    QCOMPARE(report.labPathComment->text(), QStringLiteral("Optimized copies of the files will be saved to: "));
    QCOMPARE(report.labPathForOptimized->text(), session.path(QStringLiteral("optimized/")));
    QCOMPARE(report.labPathForOptimized->toolTip(), report.labPathForOptimized->text());
    QCOMPARE(report.progressFiles->value(), 0);
    QCOMPARE(report.progressFiles->maximum(), 3);

    // The panel's commands stay usable while the window is open: it does not block.
    session.main().menuSelectAll->trigger();
    report.butStart->click();
    QCOMPARE(report.currentPage(), TfrmReport::PageResults);
    QCOMPARE(report.windowTitle(), QStringLiteral("Optimization finished"));
    QCOMPARE(report.fdone->text(), QStringLiteral("3"));
    QVERIFY(report.deleted->text().toInt() > 0);
    QVERIFY(report.midk->text().endsWith(QStringLiteral(" %")));
    QCOMPARE(report.progressFiles->value(), 3);
    QCOMPARE(report.labFileInHand->text(), QString());
    QCOMPARE(report.butCancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(session.main().windowTitle(), QStringLiteral("Quillmark 3.0"));
    QVERIFY(session.main().menuBackUpLast->isEnabled());
    // The panel shows the new sizes and ratios.
    QCOMPARE(session.cell(0, 0), QStringLiteral("a.htm"));
    QVERIFY(session.cell(0, 5).endsWith(QStringLiteral(" %")));
    QVERIFY(QFileInfo::exists(session.path(QStringLiteral("optimized/c.htm"))));
    report.butClose->click();
    QVERIFY(!report.isVisible());
    QVERIFY(!session.model().run.window.visible);

    // The close box hides it the same way.
    session.main().butOptimize->click();
    QVERIFY(report.isVisible());
    report.close();
    QVERIFY(!session.model().run.window.visible);
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::overwriteConfirmation()
{
    DialogScript dialogs;
    Session session;
    session.addSite();
    session.write(QStringLiteral("optimized/a.htm"), "old a");
    session.write(QStringLiteral("optimized/b.htm"), "old b");
    session.write(QStringLiteral("optimized/c.htm"), "old c");
    dialogs.expect(QStringLiteral("Confirmation"), [&](QWidget* dialog) {
        auto* confirmation = qobject_cast<TfrmReplaceDlg*>(dialog);
        QVERIFY(confirmation);
        QCOMPARE(confirmation->labToFile->text(), session.path(QStringLiteral("optimized/a.htm")));
        QCOMPARE(confirmation->Label2->text(), QStringLiteral("With optimized copy of the file"));
        QVERIFY(!confirmation->butReplaceOld->isEnabled());
        Click("butSkip")(dialog);
    });
    dialogs.expect(QStringLiteral("Confirmation"), Click("butReplaceAll"));
    session.main().butOptimize->click();
    session.report().butStart->click();
    QVERIFY(dialogs.done());
    QCOMPARE(session.read(QStringLiteral("optimized/a.htm")), QByteArray("old a"));
    QVERIFY(session.read(QStringLiteral("optimized/c.htm")) != QByteArray("old c"));
    // The skipped file was reached all the same: it counts, and is named.
    QCOMPARE(session.report().fdone->text(), QStringLiteral("3"));
    QCOMPARE(session.report().labSkipped->text(), QStringLiteral("skipped: 1"));

    // The next run asks afresh; "New name" writes beside the file in the way.
    dialogs.expect(QStringLiteral("Confirmation"), Click("butNewName"), true);
    dialogs.expect(QStringLiteral("Saving"), [](QWidget* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        QVERIFY(input);
        input->setTextValue(QStringLiteral("a-new.htm"));
        input->accept();
    });
    dialogs.expect(QStringLiteral("Confirmation"), Click("butSkipAll"));
    session.main().butOptimize->click();
    session.report().butStart->click();
    QVERIFY(dialogs.done());
    QVERIFY(QFileInfo::exists(session.path(QStringLiteral("optimized/a-new.htm"))));
    QCOMPARE(session.read(QStringLiteral("optimized/a.htm")), QByteArray("old a"));
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::interruptWithBreak()
{
    DialogScript dialogs;
    Session session;
    session.addSite();
    session.write(QStringLiteral("optimized/a.htm"), "old a");
    // While the first file waits for the confirmation, the user presses Break.
    dialogs.expect(QStringLiteral("Confirmation"), [&](QWidget* dialog) {
        QCOMPARE(session.report().butCancel->text(), QStringLiteral("Break"));
        QCOMPARE(session.report().labFileInHand->text(), session.path(QStringLiteral("site/a.htm")));
        QCOMPARE(session.main().windowTitle(), QStringLiteral("Quillmark [ optimization in a progress ... ]"));
        QVERIFY(!session.main().memoFileSrc->isVisible());
        session.report().butCancel->click();
        Click("butReplace")(dialog);
    });
    dialogs.expect(QStringLiteral("Do you want to interrupt optimization process?"), Press(QMessageBox::Ok));
    session.main().butOptimize->click();
    session.report().butStart->click();
    QVERIFY(dialogs.done());
    QCOMPARE(session.report().currentPage(), TfrmReport::PageResults);
    QCOMPARE(session.report().fdone->text(), QStringLiteral("1"));
    QCOMPARE(session.report().elapsed->text(), QString());
    QVERIFY(!QFileInfo::exists(session.path(QStringLiteral("optimized/b.htm"))));
    QCOMPARE(session.model().state.activity, ActivityMode::None);
    QVERIFY(session.main().memoFileSrc->isVisible());
    QVERIFY(session.main().menuBackUpLast->isEnabled());
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::interruptWithEscapeAndGoOn()
{
    struct Case {
        const char* name;
        bool inMainWindow;
    };
    for (const Case& which : {Case {"Esc in the run window", false}, Case {"Esc in the main window", true}}) {
        DialogScript dialogs;
        Session session;
        session.addSite();
        session.write(QStringLiteral("optimized/a.htm"), "old a");
        dialogs.expect(QStringLiteral("Confirmation"), [&](QWidget* dialog) {
            // The window reports Esc wherever its focus is (tested with the views); here the confirmation has it.
            if (which.inMainWindow)
                emit session.main().escapeReleased();
            else
                QTest::keyRelease(&session.report(), Qt::Key_Escape);
            Click("butReplace")(dialog);
        });
        // Cancel lets the run go on.
        dialogs.expect(QStringLiteral("Do you want to interrupt optimization process?"), Press(QMessageBox::Cancel));
        session.main().butOptimize->click();
        session.report().butStart->click();
        QVERIFY2(dialogs.done(), which.name);
        QCOMPARE(session.report().fdone->text(), QStringLiteral("3"));
        QVERIFY2(dialogs.unexpected.isEmpty(), which.name);
    }
    // Esc does nothing while no run is under way.
    DialogScript dialogs;
    Session session;
    QTest::keyRelease(session.main().listFiles, Qt::Key_Escape);
    QVERIFY(!session.model().state.interruptRequested);
}

void DesktopProgramTest::closingDuringARunAsksToInterrupt()
{
    DialogScript dialogs;
    Session session;
    session.addSite();
    session.write(QStringLiteral("optimized/a.htm"), "old a");
    bool closed = true;
    dialogs.expect(QStringLiteral("Confirmation"), [&](QWidget* dialog) {
        closed = session.main().close();
        Click("butReplace")(dialog);
    });
    dialogs.expect(QStringLiteral("Do you want to interrupt optimization process?"), Press(QMessageBox::Ok));
    session.main().butOptimize->click();
    session.report().butStart->click();
    QFile::remove(session.path(QStringLiteral("Options.dat")));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(dialogs.done());
    QVERIFY2(!closed, "not while the run was writing");
    // The user agreed to stop the run to close the program: it closes as asked, saving the options.
    QTRY_VERIFY(!session.main().isVisible());
    QVERIFY(QFileInfo::exists(session.path(QStringLiteral("Options.dat"))));
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::restoreMenu()
{
    DialogScript dialogs;
    Session session;
    emit session.main().menuBackUp->aboutToShow();
    QVERIFY(!session.main().menuBackUpLast->isEnabled() && !session.main().menuBackUpChecked->isEnabled());
    session.addSite();
    emit session.main().menuBackUp->aboutToShow();
    QVERIFY(session.main().menuBackUpChecked->isEnabled());
    session.model().options.setFlag(Opt::cbShowOptWin, false);
    session.model().options.setFlag(Opt::cbShowConf, false);
    dialogs.expect(QStringLiteral("Optimization finished"), Press(QMessageBox::Ok));
    session.main().menuOptimize->trigger();
    QVERIFY(QFileInfo::exists(session.path(QStringLiteral("optimized/a.htm"))));
    QVERIFY(session.main().menuBackUpLast->isEnabled());
    // The Restore button undoes the last run.
    dialogs.expect(QStringLiteral("Restoration finished"), Press(QMessageBox::Ok));
    session.main().butBackUp->click();
    QVERIFY(!QFileInfo::exists(session.path(QStringLiteral("optimized/a.htm"))));
    QVERIFY(!session.main().menuBackUpLast->isEnabled());
    dialogs.expect(QStringLiteral("You should optimize files first"), Press(QMessageBox::Ok));
    session.main().butBackUp->click();
    QVERIFY(dialogs.done());

    // While a run lasts the menu is refused: it opens with nothing in it to start.
    session.write(QStringLiteral("optimized/a.htm"), "old a");
    dialogs.expect(
        QStringLiteral("Confirmation"),
        [&](QWidget* dialog) {
            emit session.main().menuBackUp->aboutToShow();
            QVERIFY(!session.main().menuBackUpLast->isEnabled());
            QVERIFY(!session.main().menuBackUpChecked->isEnabled());
            Click("butSkipAll")(dialog);
        },
        true);
    dialogs.expect(QStringLiteral("Please, wait for optimization process finishing"), Press(QMessageBox::Ok));
    dialogs.expect(QStringLiteral("Optimization finished"), Press(QMessageBox::Ok));
    session.main().menuOptimize->trigger();
    QVERIFY(dialogs.done());
    QVERIFY(dialogs.unexpected.isEmpty());
}

// The last run is remembered in the program folder: a restarted program still offers to undo it.
void DesktopProgramTest::cancelLastRunAfterARestart()
{
    DialogScript dialogs;
    Session session;
    session.addSite();
    const QByteArray initialA = session.read(QStringLiteral("site/a.htm"));
    const QByteArray initialC = session.read(QStringLiteral("site/c.htm"));
    TOptionSet& options = session.model().options;
    options.setFlag(Opt::radModifyOld, true);
    options.setFlag(Opt::cbSaveBefMod, true);
    options.setFlag(Opt::cbShowOptWin, false);
    options.setFlag(Opt::cbShowConf, false);
    dialogs.expect(QStringLiteral("Optimization finished"), Press(QMessageBox::Ok));
    session.main().menuOptimize->trigger();
    QVERIFY(dialogs.done());
    QVERIFY(session.read(QStringLiteral("site/a.htm")) != initialA);
    QVERIFY(QFileInfo::exists(session.path(QStringLiteral("LastRun.dat"))));

    session.restart();
    QCOMPARE(session.files()->rowCount(), 0);
    emit session.main().menuBackUp->aboutToShow();
    QVERIFY(session.main().menuBackUpLast->isEnabled());
    QVERIFY(!session.main().menuBackUpChecked->isEnabled());
    dialogs.expect(QStringLiteral("Restoration finished"), Press(QMessageBox::Ok));
    session.main().menuBackUpLast->trigger();
    QVERIFY(dialogs.done());
    QCOMPARE(session.read(QStringLiteral("site/a.htm")), initialA);
    QCOMPARE(session.read(QStringLiteral("site/c.htm")), initialC);
    QVERIFY(!session.main().menuBackUpLast->isEnabled());
    QVERIFY(!QFileInfo::exists(session.path(QStringLiteral("LastRun.dat"))));

    session.restart();
    QVERIFY(!session.main().menuBackUpLast->isEnabled());
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::viewEditAndSave()
{
    DialogScript dialogs;
    Session session;
    // A no-break space and a single-byte letter: nothing the user did not type may change.
    session.write(QStringLiteral("site/page.htm"), "<p>caf\xE9\xA0ok</p>\r\n<p>two</p>\r\n");
    session.drop({session.path(QStringLiteral("site/page.htm"))}, session.main().panelRect().center());
    session.model().options.setFlag(Opt::cbShowOptWin, false);
    session.model().options.setFlag(Opt::cbShowConf, false);
    session.model().options.setFlag(Opt::cbShowEnd, false);
    session.main().butOptimize->click();
    QVERIFY(QFileInfo::exists(session.path(QStringLiteral("optimized/page.htm"))));

    TfrmMain& main = session.main();
    QVERIFY(!main.butViewUnZipped->isEnabled());
    session.select(0);
    QVERIFY(main.butViewUnZipped->isEnabled() && main.butViewZipped->isEnabled());
    main.butViewUnZipped->click();
    QCOMPARE(main.memoFileSrc->toPlainText(), QString::fromUtf8("<p>caf\u00e9 ok</p>\n<p>two</p>"));
    QCOMPARE(main.memoFileSrc->toolTip(), session.path(QStringLiteral("site/page.htm")));
    QVERIFY(!main.memoFileSrc->isReadOnly());
    QVERIFY(main.butSendToEdit->isEnabled());
    QVERIFY(!main.butSaveFile->isEnabled());

    // The user types at the end of the text and saves.
    main.memoFileSrc->moveCursor(QTextCursor::End);
    QTest::keyClicks(main.memoFileSrc, QStringLiteral("<p>3</p>"));
    QVERIFY(main.butSaveFile->isEnabled());
    main.butSaveFile->click();
    QVERIFY(!main.butSaveFile->isEnabled());
    QCOMPARE(
        session.read(QStringLiteral("site/page.htm")), QByteArray("<p>caf\xE9\xA0ok</p>\r\n<p>two</p><p>3</p>\r\n"));

    // An edit, then the other text: the offer to save, answered No, drops the edit.
    QTest::keyClicks(main.memoFileSrc, QStringLiteral("dropped"));
    dialogs.expect(QStringLiteral("Save changes to *|* < ") + session.path(QStringLiteral("site/page.htm")) +
            QStringLiteral(" >  ?"),
        Press(QMessageBox::No));
    main.butViewZipped->click();
    QVERIFY(dialogs.done());
    QCOMPARE(main.memoFileSrc->toolTip(), session.path(QStringLiteral("optimized/page.htm")));
    QVERIFY(!main.memoFileSrc->toPlainText().contains(QStringLiteral("dropped")));
    QVERIFY(!session.read(QStringLiteral("site/page.htm")).contains("dropped"));

    // A double click shows the optimized text; clearing the panel empties the view.
    main.butViewUnZipped->click();
    emit main.listFiles->doubleClicked(session.files()->index(0, 0));
    QCOMPARE(main.memoFileSrc->toolTip(), session.path(QStringLiteral("optimized/page.htm")));
    main.menuLiseFilesClear->trigger();
    QCOMPARE(main.memoFileSrc->toPlainText(), QString());
    QCOMPARE(main.memoFileSrc->toolTip(), QStringLiteral("File source"));
    QVERIFY(main.memoFileSrc->isReadOnly());
    for (QToolButton* button : {main.butViewUnZipped, main.butViewZipped, main.butSendToEdit, main.butSaveFile})
        QVERIFY(!button->isEnabled());
    QVERIFY(dialogs.unexpected.isEmpty());
}

// Saving on the way to the other text refreshes and re-sorts the panel: the
// text shown next must be the edited file's, and nothing may fall over.
void DesktopProgramTest::editSwitchAndSaveThroughTheWindows()
{
    enum class Switch { SideButton, OtherRowThenDoubleClick, DoubleClick };
    for (Switch how : {Switch::SideButton, Switch::OtherRowThenDoubleClick, Switch::DoubleClick}) {
        DialogScript dialogs;
        Session session;
        session.write(QStringLiteral("site/big.htm"), "<p>the biggest page of the panel at first</p>\r\n");
        session.write(QStringLiteral("site/small.htm"), "<p>small</p>\r\n");
        session.write(QStringLiteral("optimized/small.htm"), "<p>small, optimized</p>\r\n");
        session.drop({session.path(QStringLiteral("site/big.htm")), session.path(QStringLiteral("site/small.htm"))},
            session.main().panelRect().center());
        TfrmMain& main = session.main();
        main.listFiles->horizontalHeader()->sectionClicked(3); // by size, larger files first
        QCOMPARE(session.column(0), (QStringList {"big.htm", "small.htm"}));
        session.select(1);
        main.butViewUnZipped->click();
        main.memoFileSrc->selectAll();
        QTest::keyClicks(main.memoFileSrc, QStringLiteral("now this page is by far the bigger one of the two pages"));
        dialogs.expect(QStringLiteral("Save changes to"), Press(QMessageBox::Yes));
        switch (how) {
        case Switch::SideButton:
            main.butViewZipped->click();
            break;
        case Switch::OtherRowThenDoubleClick:
            session.select(0);
            emit main.listFiles->doubleClicked(session.files()->index(0, 0));
            break;
        case Switch::DoubleClick:
            emit main.listFiles->doubleClicked(session.files()->index(1, 0));
            break;
        }
        QVERIFY(dialogs.done());
        QCOMPARE(session.read(QStringLiteral("site/small.htm")),
            QByteArray("now this page is by far the bigger one of the two pages\r\n"));
        QCOMPARE(session.column(0), (QStringList {"small.htm", "big.htm"}));
        if (how == Switch::OtherRowThenDoubleClick) {
            QCOMPARE(main.memoFileSrc->toolTip(), session.path(QStringLiteral("site/big.htm")));
        } else {
            QCOMPARE(main.memoFileSrc->toPlainText(), QStringLiteral("<p>small, optimized</p>"));
            QCOMPARE(main.labShownText->text(),
                QStringLiteral("Optimized text of ") + session.path(QStringLiteral("optimized/small.htm")));
        }
        // The program goes on and closes normally, saving its options.
        QFile::remove(session.path(QStringLiteral("Options.dat")));
        QVERIFY(main.close());
        QVERIFY(QFileInfo::exists(session.path(QStringLiteral("Options.dat"))));
        QVERIFY(dialogs.unexpected.isEmpty());
    }
}

void DesktopProgramTest::quitWithAnUnsavedEdit()
{
    DialogScript dialogs;
    Session session;
    session.write(QStringLiteral("site/page.htm"), "<p>page</p>\r\n");
    session.drop({session.path(QStringLiteral("site/page.htm"))}, session.main().panelRect().center());
    TfrmMain& main = session.main();
    session.select(0);
    main.butViewUnZipped->click();
    QTest::keyClicks(main.memoFileSrc, QStringLiteral("typed"));
    const QString question = QStringLiteral("Save changes to *|* < ") + session.path(QStringLiteral("site/page.htm")) +
        QStringLiteral(" >  ?");
    dialogs.expect(question, [](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->button(QMessageBox::Cancel)->click();
    });
    QVERIFY(!main.close());
    QVERIFY(main.isVisible());
    dialogs.expect(question, Press(QMessageBox::Yes));
    QVERIFY(main.close());
    QCOMPARE(session.read(QStringLiteral("site/page.htm")), QByteArray("typed<p>page</p>\r\n"));
    QVERIFY(dialogs.done());
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::differencesView()
{
    DialogScript dialogs;
    Session session;
    session.write(QStringLiteral("site/page.htm"), "<td width=\"50\">  cell  </td>\r\n");
    session.write(QStringLiteral("optimized/page.htm"), "<td width=50>cell</td>\r\n");
    session.drop({session.path(QStringLiteral("site/page.htm"))}, session.main().panelRect().center());
    TfrmMain& main = session.main();
    QVERIFY(!main.butViewDiff->isEnabled());
    session.select(0);
    QVERIFY(main.butViewDiff->isEnabled());
    main.butViewDiff->click();
    QCOMPARE(main.memoFileSrc->toPlainText(), QStringLiteral("<td width=\"50\">  cell  </td>"));
    QVERIFY(main.memoFileSrc->isReadOnly());
    QVERIFY(main.labShownText->text().startsWith(QStringLiteral("Differences of ")));
    QVERIFY(main.labShownText->text().endsWith(QStringLiteral("6 bytes removed and 0 added in 4 places")));
    // The removed quote is drawn struck out, the kept text as it is.
    QTextCursor cursor(main.memoFileSrc->document());
    cursor.setPosition(10);
    cursor.setPosition(11, QTextCursor::KeepAnchor);
    QCOMPARE(cursor.selectedText(), QStringLiteral("\""));
    QVERIFY(cursor.charFormat().fontStrikeOut());
    cursor.setPosition(1);
    QVERIFY(!cursor.charFormat().fontStrikeOut());
    QVERIFY(!main.butSaveFile->isEnabled());
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::keyboard()
{
    DialogScript dialogs;
    Session session;
    session.write(QStringLiteral("site/a.htm"), "<p>a</p>\r\n");
    session.write(QStringLiteral("site/b.htm"), "<p>b</p>\r\n");
    session.write(QStringLiteral("optimized/b.htm"), "<p>b, optimized</p>\r\n");
    session.drop({session.path(QStringLiteral("site/a.htm")), session.path(QStringLiteral("site/b.htm"))},
        session.main().panelRect().center());
    TfrmMain& main = session.main();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    main.listFiles->setFocus();
    // Enter shows the optimized text, the initial one where there is none.
    session.select(1);
    QTest::keyClick(main.listFiles, Qt::Key_Return);
    QCOMPARE(main.memoFileSrc->toPlainText(), QStringLiteral("<p>b, optimized</p>"));
    session.select(0);
    QTest::keyClick(main.listFiles, Qt::Key_Enter);
    QCOMPARE(main.memoFileSrc->toPlainText(), QStringLiteral("<p>a</p>"));
    // The side buttons' keys.
    session.select(1);
    // A button's key clicks it as the mouse would, a moment later.
    QTest::keyClick(main.listFiles, Qt::Key_1, Qt::ControlModifier);
    QTRY_COMPARE(main.memoFileSrc->toPlainText(), QStringLiteral("<p>b</p>"));
    QTest::keyClick(main.listFiles, Qt::Key_2, Qt::ControlModifier);
    QTRY_COMPARE(main.memoFileSrc->toPlainText(), QStringLiteral("<p>b, optimized</p>"));
    QTest::keyClick(main.listFiles, Qt::Key_3, Qt::ControlModifier);
    QTRY_VERIFY(main.labShownText->text().startsWith(QStringLiteral("Differences of ")));
    // View in the browser.
    QTest::keyClick(main.listFiles, Qt::Key_B, Qt::ControlModifier);
    QTRY_COMPARE(shell_.opened, QStringList {session.path(QStringLiteral("optimized/b.htm"))});
    // Save: the edit is written.
    QTest::keyClick(main.listFiles, Qt::Key_1, Qt::ControlModifier);
    QTRY_COMPARE(main.memoFileSrc->toPlainText(), QStringLiteral("<p>b</p>"));
    main.memoFileSrc->setFocus();
    main.memoFileSrc->moveCursor(QTextCursor::End);
    QTest::keyClicks(main.memoFileSrc, QStringLiteral("!"));
    QTest::keyClick(main.memoFileSrc, Qt::Key_S, Qt::ControlModifier);
    QTRY_COMPARE(session.read(QStringLiteral("site/b.htm")), QByteArray("<p>b</p>!\r\n"));
    QVERIFY(!main.butSaveFile->toolTip().isEmpty());
    QVERIFY(main.butSaveFile->toolTip().contains(QStringLiteral("Ctrl+S")));
    // Restore: nothing was run yet, so it says what to do first.
    dialogs.expect(QStringLiteral("You should optimize files first"), Press(QMessageBox::Ok));
    main.listFiles->setFocus();
    QTest::keyClick(main.listFiles, Qt::Key_R, Qt::ControlModifier);
    QTRY_VERIFY(dialogs.done());
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::sideButtonsStayDuringARun()
{
    DialogScript dialogs;
    Session session;
    session.addSite();
    session.write(QStringLiteral("optimized/a.htm"), "old a");
    TfrmMain& main = session.main();
    session.select(0);
    const QPoint before = main.butViewUnZipped->mapTo(&main, QPoint(0, 0));
    bool inPlace = false;
    bool disabled = false;
    dialogs.expect(QStringLiteral("Confirmation"), [&](QWidget* dialog) {
        inPlace = main.butViewUnZipped->isVisible() && main.butViewUnZipped->mapTo(&main, QPoint(0, 0)) == before;
        disabled = !main.butViewUnZipped->isEnabled() && !main.butViewZipped->isEnabled() &&
            !main.butViewDiff->isEnabled() && main.memoFileSrc->isHidden();
        Click("butReplace")(dialog);
    });
    main.butOptimize->click();
    session.report().butStart->click();
    QVERIFY(dialogs.done());
    QVERIFY(inPlace);
    QVERIFY(disabled);
    QVERIFY(main.memoFileSrc->isVisible());
    QVERIFY(dialogs.unexpected.isEmpty());
}

// Skip in the confirmation for a file is no failure of the results page: every
// file counts, and the skipped ones are named.
void DesktopProgramTest::skippedFilesInTheResults()
{
    DialogScript dialogs;
    Session session;
    session.addSite();
    for (const char* name : {"optimized/a.htm", "optimized/b.htm", "optimized/c.htm"})
        session.write(QString::fromLatin1(name), "old");
    dialogs.expect(QStringLiteral("Confirmation"), Click("butSkipAll"));
    session.main().butOptimize->click();
    TfrmReport& report = session.report();
    report.butStart->click();
    QVERIFY(dialogs.done());
    QVERIFY(report.isVisible());
    QCOMPARE(report.currentPage(), TfrmReport::PageResults);
    QCOMPARE(report.fdone->text(), QStringLiteral("3"));
    QVERIFY(report.labSkipped->isVisibleTo(&report));
    QCOMPARE(report.labSkipped->text(), QStringLiteral("skipped: 3"));
    QCOMPARE(report.deleted->text(), QStringLiteral("0"));
    QVERIFY(session.main().menuBackUpLast->isEnabled());
    QCOMPARE(session.read(QStringLiteral("optimized/a.htm")), QByteArray("old"));
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::noBrowser()
{
    DialogScript dialogs;
    Session session;
    session.addSite();
    session.program->windows().ui.canOpen = [](const QString&) { return false; };
    session.select(0);
    dialogs.expect(QStringLiteral("No program could open"), [](QWidget* dialog) {
        QVERIFY(qobject_cast<QMessageBox*>(dialog)->text().contains(QStringLiteral("x-www-browser")));
        Press(QMessageBox::Ok)(dialog);
    });
    session.main().butView->click();
    QVERIFY(dialogs.done());
    QVERIFY(shell_.opened.isEmpty());
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::viewCommandsAndTheBrowser()
{
    DialogScript dialogs;
    Session session;
    session.addSite();
    TfrmMain& main = session.main();
    dialogs.expect(QStringLiteral("You should select file to view first"), Press(QMessageBox::Ok));
    main.butView->click();
    QVERIFY(dialogs.done());

    session.select(1);
    emit main.menuView->aboutToShow();
    QVERIFY(main.menuUnzipped->isEnabled());
    QVERIFY(!main.menuZipped->isEnabled());
    QCOMPARE(main.menuUnzipped->toolTip(), session.path(QStringLiteral("site/b.htm")));
    QCOMPARE(main.menuZipped->toolTip(), session.path(QStringLiteral("optimized/b.htm")));
    main.butView->click();
    main.menuUnzipped->trigger();
    QCOMPARE(shell_.opened, QStringList(2, session.path(QStringLiteral("site/b.htm"))));

    // The external editor gets the file in its own folder.
    const QString editor = session.path(QStringLiteral("editor.sh"));
    session.write(QStringLiteral("editor.sh"), "#!/bin/sh\npwd > \"$0.log\"\necho \"$1\" >> \"$0.log\"\n");
    QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    session.model().options.setText(Opt::edExtEditor, FromQt(editor));
    main.menuSend->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(session.read(QStringLiteral("editor.sh.log")).count('\n') == 2, 10000);
    QCOMPARE(session.read(QStringLiteral("editor.sh.log")),
        (session.path(QStringLiteral("site")) + QLatin1Char('\n') + session.path(QStringLiteral("site/b.htm")) +
            QLatin1Char('\n'))
            .toUtf8());
    session.model().options.setText(Opt::edExtEditor, FromQt(session.path(QStringLiteral("no-editor"))));
    dialogs.expect(QStringLiteral("External editor running failed"), Press(QMessageBox::Ok));
    main.mainMenuCopy(main.menuSend)->trigger();
    QVERIFY(dialogs.done());
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::optionsEnablingRules()
{
    DialogScript dialogs;
    Session session;
    TfrmOptions& options = session.options();
    session.main().butOptions->click();
    QVERIFY(options.isVisible());
    auto* emptyLines = qobject_cast<QCheckBox*>(options.control(Opt::cbDelEmptyLine));
    QVERIFY(options.control(Opt::cbDelCRLF)->isEnabled());
    emptyLines->click();
    QVERIFY(!options.control(Opt::cbDelCRLF)->isEnabled());
    QVERIFY(options.butSave->isEnabled());

    qobject_cast<QRadioButton*>(options.control(Opt::radModifyOld))->click();
    QVERIFY(options.control(Opt::cbSaveBefMod)->isEnabled());
    QVERIFY(!options.control(Opt::edOptimizedPath)->isEnabled());
    QVERIFY(!session.main().menuZipped->isEnabled());
    qobject_cast<QRadioButton*>(options.control(Opt::radSaveNewMod))->click();
    QVERIFY(session.main().menuZipped->isEnabled());

    // Closing saves the profile and "Options.dat", whichever way the window closes.
    options.close();
    QVERIFY(!options.isVisible());
    QVERIFY(session.read(QStringLiteral("Profiles/Default.pro")).contains("cbDelEmptyLine=0"));
    QVERIFY(session.read(QStringLiteral("Options.dat")).contains("radModifyOld=0"));
    QVERIFY(!session.model().options.ProfileModified);
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::tagEntries()
{
    DialogScript dialogs;
    Session session;
    TfrmOptions& options = session.options();
    session.main().menuOptimizeOpt->trigger();
    options.SpeedButton3->click();
    const std::size_t before = session.model().options.listReplaceTags.size();

    dialogs.expect(QStringLiteral("New tags for replacement"), [](QWidget* dialog) {
        auto* editor = qobject_cast<TfrmTagReplaceDlg*>(dialog);
        QVERIFY(editor);
        editor->tag1->setText(QStringLiteral("bold"));
        editor->tag2->setText(QStringLiteral("b"));
        editor->butAdd->click();
    });
    options.butAddReplaceTag->click();
    QCOMPARE(session.model().options.listReplaceTags.size(), before + 1);
    QCOMPARE(options.listReplaceTags->topLevelItem(int(before))->text(0), QStringLiteral("bold"));

    // Editing it into a cycle is refused with the warning; the editor stays open until Cancel.
    options.listReplaceTags->setCurrentItem(options.listReplaceTags->topLevelItem(int(before)));
    dialogs.expect(
        QStringLiteral("Edit tags for replacement"),
        [](QWidget* dialog) {
            auto* editor = qobject_cast<TfrmTagReplaceDlg*>(dialog);
            QCOMPARE(editor->tag1->text(), QStringLiteral("bold"));
            editor->tag1->setText(QStringLiteral("b"));
            editor->tag2->setText(QStringLiteral("strong"));
            editor->butAdd->click();
            editor->butCancel->click();
        },
        true);
    dialogs.expect(QStringLiteral("recycling of replacement procedure"), Press(QMessageBox::Ok));
    options.butEditReplaceTag->click();
    QVERIFY(dialogs.done());
    QCOMPARE(session.model().options.listReplaceTags.back().FromTag, std::string("bold"));

    // Removing asks first.
    dialogs.expect(QStringLiteral("from BOLD to B"), Press(QMessageBox::Yes));
    options.butDeleteReplaceTag->click();
    QCOMPARE(session.model().options.listReplaceTags.size(), before);

    // A removal entry, saved with the profile when the window closes.
    dialogs.expect(QStringLiteral("New tags for removal"), [](QWidget* dialog) {
        auto* editor = qobject_cast<TfrmTagReplaceDlg*>(dialog);
        QVERIFY(!editor->tag2->isEnabled());
        editor->tag1->setText(QStringLiteral("blink"));
        editor->butAdd->click();
    });
    options.butAddDeleteTag->click();
    options.close();
    QVERIFY(session.read(QStringLiteral("Profiles/Default.rem")).endsWith("+ blink\r\n"));
    QVERIFY(dialogs.done());
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::profiles()
{
    DialogScript dialogs;
    Session session;
    TfrmOptions& options = session.options();
    session.main().butOptions->click();
    qobject_cast<QCheckBox*>(options.control(Opt::cbDelKav))->click();
    dialogs.expect(QStringLiteral("Save as"), TypeFileName(session.path(QStringLiteral("Profiles/custom.pro"))));
    options.butSaveAs->click();
    QVERIFY(dialogs.done());
    QCOMPARE(options.edProfile->text(), session.path(QStringLiteral("Profiles/custom.pro")));
    QVERIFY(session.read(QStringLiteral("Profiles/custom.pro")).contains("cbDelKav=0"));
    QVERIFY(QFileInfo::exists(session.path(QStringLiteral("Profiles/custom.rep"))));
    QVERIFY(QFileInfo::exists(session.path(QStringLiteral("Profiles/custom.rem"))));

    // Open goes back to the default profile, asking about the unsaved change first.
    qobject_cast<QCheckBox*>(options.control(Opt::cbDelComments))->click();
    dialogs.expect(QStringLiteral("before opening ?"), Press(QMessageBox::No));
    dialogs.expect(QStringLiteral("Open"), TypeFileName(session.path(QStringLiteral("Profiles/Default.pro"))));
    options.butOpen->click();
    QVERIFY(dialogs.done());
    QCOMPARE(options.edProfile->text(), session.path(QStringLiteral("Profiles/Default.pro")));
    QVERIFY(qobject_cast<QCheckBox*>(options.control(Opt::cbDelKav))->isChecked());
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::refreshWhenTheWindowComesBack()
{
    DialogScript dialogs;
    Session session;
    session.addSite();
    QCOMPARE(session.cell(1, 3), QStringLiteral("11"));
    // Changed behind the program's back: nothing re-reads the disk until the window is active again.
    session.write(QStringLiteral("site/b.htm"), QByteArray(50, 'b'));
    QFile::remove(session.path(QStringLiteral("site/c.htm")));
    QApplication::processEvents();
    QCOMPARE(session.cell(1, 3), QStringLiteral("11"));
    emit session.main().activated();
    QTRY_COMPARE(session.cell(1, 3), QStringLiteral("50"));
    QCOMPARE(session.files()->rowCount(), 2);
    QCOMPARE(session.main().barMainStatus->text(), QStringLiteral("Files: 2   Selected: 2"));
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::layoutIsKept()
{
    {
        DialogScript dialogs;
        Session session({}, "col0=222\r\nlistHeight=150\r\ncolumn_sort=3\r\n");
        QCOMPARE(session.main().listFiles->columnWidth(0), 222);
        const QList<int> sizes = session.main().splitter->sizes();
        QCOMPARE(sizes.value(0), PanelHeightFor(150, sizes.value(0) + sizes.value(1)));
        QVERIFY(session.main().sortItems[3]->isChecked());
        session.main().listFiles->setColumnWidth(2, 133);
        session.main().close();
        QVERIFY(session.read(QStringLiteral("Options.dat")).contains("col2=133"));
        QVERIFY(session.read(QStringLiteral("Options.dat")).contains("column_sort=3"));
        QVERIFY(dialogs.unexpected.isEmpty());
    }
}

void DesktopProgramTest::commandLineInProcess()
{
    QTemporaryDir out;
    QTemporaryDir site;
    QFile page(site.filePath(QStringLiteral("index.htm")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<p>   index   </p>\r\n\r\n");
    page.close();
    DialogScript dialogs;
    QApplication::setQuitOnLastWindowClosed(false);
    const std::vector<std::string> arguments {
        "/cl", "/fo=" + FromQt(site.path()), "/op=" + FromQt(out.path()), "/ca", "/opt", "/nc", "/nr", "/q"};
    Session session(arguments);
    QVERIFY(QFileInfo::exists(out.filePath(QStringLiteral("index.htm"))));
    QVERIFY(!session.report().isVisible());
    QCOMPARE(session.report().currentPage(), TfrmReport::PageResults);
    QTRY_VERIFY(!session.main().isVisible());
    QVERIFY(session.read(QStringLiteral("Options.dat")).contains(("edOptimizedPath=" + out.path() + "/").toUtf8()));
    QVERIFY(dialogs.unexpected.isEmpty());
    QApplication::setQuitOnLastWindowClosed(true);
}

// A script that quits runs with nobody at the screen: two pages of one name
// meet in the flat output folder, and no confirmation may wait for an answer.
void DesktopProgramTest::unattendedScriptWithTwoPagesOfOneName()
{
    QTemporaryDir site;
    QTemporaryDir out;
    QDir(site.path()).mkpath(QStringLiteral("a"));
    QDir(site.path()).mkpath(QStringLiteral("b"));
    for (const char* name : {"a/index.htm", "b/index.htm"}) {
        QFile page(site.filePath(QString::fromLatin1(name)));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<p>" + QByteArray(name) + "</p>\r\n");
    }
    DialogScript dialogs;
    QApplication::setQuitOnLastWindowClosed(false);
    const std::vector<std::string> arguments {
        "/cl", "/fo=" + FromQt(site.path()), "/op=" + FromQt(out.path()), "/ca", "/opt", "/nc", "/nr", "/q"};
    Session session(arguments, "cbProcessEmbeded=1\r\n");
    QVERIFY2(dialogs.seen.isEmpty(), qPrintable(dialogs.seen.join(QStringLiteral(" | "))));
    QFile optimized(out.filePath(QStringLiteral("index.htm")));
    QVERIFY(optimized.open(QIODevice::ReadOnly));
    QCOMPARE(optimized.readAll(), QByteArray("<p>a/index.htm</p>\r\n"));
    QCOMPARE(session.report().labSkipped->text(), QStringLiteral("skipped: 1"));
    QTRY_VERIFY(!session.main().isVisible());
}

void DesktopProgramTest::windowsThatFit()
{
    DialogScript dialogs;
    {
        // A place saved on a larger screen: the window comes back inside this one.
        Session session({}, "windowLeft=700\r\nwindowTop=500\r\nwindowWidth=3000\r\nwindowHeight=2000\r\n");
        TfrmMain& main = session.main();
        const QRect screen = main.screen()->availableGeometry();
        QVERIFY2(screen.contains(main.frameGeometry()),
            qPrintable(QStringLiteral("%1,%2 %3x%4")
                           .arg(main.frameGeometry().x())
                           .arg(main.frameGeometry().y())
                           .arg(main.frameGeometry().width())
                           .arg(main.frameGeometry().height())));
        // The last column takes the rest of the width; the date shows whole.
        QVERIFY(main.listFiles->horizontalHeader()->stretchLastSection());
        session.write(QStringLiteral("site/a.htm"), "<p>a</p>");
        session.drop({session.path(QStringLiteral("site/a.htm"))}, main.panelRect().center());
        const int dateWidth = main.listFiles->fontMetrics().horizontalAdvance(session.cell(0, 2));
        QVERIFY(main.listFiles->columnWidth(2) > dateWidth);
        // Moved and resized by the user: kept in "Options.dat".
        main.setGeometry(20, 30, 600, 400);
        QVERIFY(main.close());
        const QByteArray options = session.read(QStringLiteral("Options.dat"));
        QVERIFY(options.contains("windowLeft=" + QByteArray::number(main.frameGeometry().x()) + "\r\n"));
        QVERIFY(options.contains("windowWidth=" + QByteArray::number(main.frameGeometry().width()) + "\r\n"));
    }
    {
        // At the designed size every caption shows whole, the sorted one with its mark, and no column hangs out.
        Session session({}, "column_sort=5\r\n");
        QTableView* list = session.main().listFiles;
        QHeaderView* header = list->horizontalHeader();
        int total = 0;
        for (int column = 0; column < TfrmMain::kColumnCount; ++column) {
            const QString caption = list->model()->headerData(column, Qt::Horizontal).toString();
            QVERIFY2(
                header->sectionSize(column) > header->fontMetrics().horizontalAdvance(caption), qPrintable(caption));
            total += header->sectionSize(column);
        }
        QVERIFY2(total <= list->viewport()->width(),
            qPrintable(QStringLiteral("%1 of %2").arg(total).arg(list->viewport()->width())));
    }
    {
        // listHeight is the panel's height in the designed window: a taller window gives it the same share.
        Session session({}, "listHeight=300\r\nwindowLeft=0\r\nwindowTop=0\r\nwindowWidth=798\r\nwindowHeight=570\r\n");
        const QList<int> sizes = session.main().splitter->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        QVERIFY2(std::abs(sizes.value(0) - PanelHeightFor(300, total)) <= 2,
            qPrintable(QStringLiteral("%1 of %2").arg(sizes.value(0)).arg(total)));
        QVERIFY(sizes.value(1) > total / 4);
    }
    QVERIFY(dialogs.unexpected.isEmpty());
}

void DesktopProgramTest::commandLineOfTheRealProgram()
{
    // A portable copy of the program folder: the executable beside its data and the marker that keeps settings there.
    QTemporaryDir program;
    const QString built = QStringLiteral(QMK_PROGRAM_DIR);
    for (const char* name : {"quillmark", "Align.dat", "Ssi.dat", "quillmark-portable.txt"})
        QVERIFY2(QFile::copy(
                     built + QLatin1Char('/') + QString::fromLatin1(name), program.filePath(QString::fromLatin1(name))),
            name);
    QFile options(program.filePath(QStringLiteral("Options.dat")));
    QVERIFY(options.open(QIODevice::WriteOnly));
    options.write("[settings]\r\nedExtEditor=/bin/sh\r\n");
    options.close();
    QDir(program.path()).mkpath(QStringLiteral("Profiles"));
    QTemporaryDir site;
    QTemporaryDir out;
    QFile page(site.filePath(QStringLiteral("index.htm")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html>\r\n<!-- a comment -->\r\n<p>   index   </p>\r\n</html>\r\n");
    page.close();

    QProcess quillmark;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    quillmark.setProcessEnvironment(environment);
    quillmark.start(program.filePath(QStringLiteral("quillmark")),
        {QStringLiteral("/cl"), QStringLiteral("/fo=") + site.path(), QStringLiteral("/op=") + out.path(),
            QStringLiteral("/ca"), QStringLiteral("/opt"), QStringLiteral("/nc"), QStringLiteral("/nr"),
            QStringLiteral("/q")});
    QVERIFY(quillmark.waitForStarted());
    // Generous: the machine may be busy; the program ends by itself.
    QVERIFY2(quillmark.waitForFinished(90000), quillmark.readAllStandardError().constData());
    QCOMPARE(quillmark.exitStatus(), QProcess::NormalExit);
    QCOMPARE(quillmark.exitCode(), 0);
    QFile optimized(out.filePath(QStringLiteral("index.htm")));
    QVERIFY(optimized.open(QIODevice::ReadOnly));
    const QByteArray text = optimized.readAll();
    QVERIFY(!text.contains("a comment"));
    QVERIFY(text.size() < page.size());
    // The program folder next to the executable holds what start-up and closing wrote.
    QVERIFY(QFileInfo::exists(program.filePath(QStringLiteral("Profiles/Default.pro"))));
    QFile written(program.filePath(QStringLiteral("Options.dat")));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().contains(("edOptimizedPath=" + out.path() + "/").toUtf8()));
}

QTEST_MAIN(DesktopProgramTest)
#include "desktop_program_test.moc"
