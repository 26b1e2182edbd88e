// The desktop program's binding: each control of the main window and the run window passes its event to the logic, and
// the windows show the model.
#include "ui/desktop_program.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include "batch/options/options_commands.h"
#include "batch/options/scheme_commands.h"
#include "batch/panel/dropped_files.h"
#include "batch/panel/file_list.h"
#include "batch/panel/folder_scan.h"
#include "batch/panel/panel_commands.h"
#include "batch/panel/panel_refresh.h"
#include "batch/run/restore.h"
#include "batch/run/run_control.h"
#include "batch/startup/command_line.h"
#include "batch/startup/startup.h"
#include "batch/view/source_view.h"
#include "ui/path_label.h"
#include "ui/qt_text.h"

namespace qm {
namespace {

constexpr Opt kColumnOptions[] = {Opt::col0, Opt::col1, Opt::col2, Opt::col3, Opt::col4, Opt::col5};

void SetText(QLabel* label, const std::string& text)
{
    const QString shown = ToQt(text);
    if (label->text() != shown) label->setText(shown);
}

void SetHint(QAction* item, const std::string& hint)
{
    item->setToolTip(ToQt(hint));
    item->setStatusTip(ToQt(hint));
}

} // namespace

// ---- What the logic asks of the windows ----

void QtWindowHooks::setSourceViewText(const std::string& text)
{
    // The text is the program's, not an edit of the user's: no change notification.
    program_.settingSourceText_ = true;
    program_.windows_.main.memoFileSrc->setPlainText(QString::fromUtf8(text.data(), qsizetype(text.size())));
    program_.settingSourceText_ = false;
}

std::string QtWindowHooks::sourceViewText()
{
    // toPlainText would turn no-break spaces into spaces; the raw text keeps
    // every character and separates lines by the paragraph separator.
    QString text = program_.windows_.main.memoFileSrc->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text.toUtf8().toStdString();
}

void QtWindowHooks::runClickBehaviour(Opt option) { program_.windows_.options.applyClickBehaviour(option); }

void QtWindowHooks::applyLayout()
{
    TfrmMain& main = program_.windows_.main;
    const TOptionSet& options = program_.model_.options;
    for (int column = 0; column < TfrmMain::kColumnCount; ++column) {
        const int width = options.integer(kColumnOptions[column]);
        if (width > 0) main.listFiles->setColumnWidth(column, width);
    }
    const int height = options.integer(Opt::listHeight);
    if (height > 0) {
        QList<int> sizes = main.splitter->sizes();
        const int total = std::max(sizes.value(0) + sizes.value(1), height + 100);
        main.splitter->setSizes({height, total - height});
    }
}

void QtWindowHooks::storeLayout()
{
    TfrmMain& main = program_.windows_.main;
    TOptionSet& options = program_.model_.options;
    for (int column = 0; column < TfrmMain::kColumnCount; ++column)
        options.setInteger(kColumnOptions[column], main.listFiles->columnWidth(column));
    const int height = main.splitter->sizes().value(0);
    if (height > 0) options.setInteger(Opt::listHeight, height);
}

void QtWindowHooks::stateChanged() { program_.showState(); }

void QtWindowHooks::minimize() { program_.windows_.main.showMinimized(); }

void QtWindowHooks::restore() { program_.windows_.main.showNormal(); }

void QtWindowHooks::hideRunWindowAndMinimize()
{
    TfrmReport& report = program_.windows_.report;
    report.showNormal();
    report.repaint();
    report.hide();
    program_.windows_.main.showMinimized();
}

void QtWindowHooks::quit()
{
    // The remaining arguments are carried out first; the close comes from the event loop.
    QTimer::singleShot(0, &program_.windows_.main, &QWidget::close);
}

int QtWindowHooks::screenWidth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

// ---- The program ----

DesktopProgram::DesktopProgram(FileSystem& fileSystem, const QString& helpFolder)
    : hooks_(*this)
    , model_(fileSystem, ui_, hooks_)
    , commands_([this](const OptionsWindowBinding::Command& command) { run(command); })
    , files_(model_)
    , windows_(model_.options, commands_, helpFolder)
{
    ui_.setTarget(&windows_.ui);
    windows_.main.listFiles->setModel(&files_);
    for (int column = 0; column < TfrmMain::kColumnCount; ++column)
        windows_.main.listFiles->setColumnWidth(column, model_.options.integer(kColumnOptions[column]));
    bindMainWindow();
    bindPanel();
    bindSourceView();
    bindRunWindow();
    showState();
}

DesktopProgram::~DesktopProgram()
{
    // The windows go down after this object's own part: nothing of theirs may call back into it
    // (context_, the receiver of every connection, is already gone).
    windows_.ui.setEditorHandler({});
    windows_.main.removeEventFilter(this);
    windows_.main.listFiles->viewport()->removeEventFilter(this);
}

void DesktopProgram::start(const std::string& programFolder, const std::vector<std::string>& arguments)
{
    run([&](MainModel& m) { MainWindowShown(m, programFolder, std::string(kSystemProgramFolder), arguments); });
    windows_.options.showOptions();
}

void DesktopProgram::bindMainWindow()
{
    TfrmMain& main = windows_.main;
    auto bind = [this](auto* sender, auto signal, void (*command)(MainModel&)) {
        connect(sender, signal, &context_, [this, command] { run(command); });
    };
    bind(main.butFiles, &QToolButton::clicked, butFilesClick);
    bind(main.menuFiles, &QAction::triggered, butFilesClick);
    bind(main.butPath, &QToolButton::clicked, butPathClick);
    bind(main.menuPath, &QAction::triggered, butPathClick);
    bind(main.butOptimize, &QToolButton::clicked, butOptimizeClick);
    bind(main.menuOptimize, &QAction::triggered, butOptimizeClick);

    bind(main.butBackUp, &QToolButton::clicked, butBackUpClick);
    bind(main.menuBackUpLast, &QAction::triggered, menuBackUpLastClick);
    bind(main.menuBackUpChecked, &QAction::triggered, menuBackUpCheckedClick);
    connect(main.menuBackUp, &QMenu::aboutToShow, &context_, [this] {
        std::optional<RestoreMenuState> menu;
        run([&menu](MainModel& m) { menu = menuBackUpPopup(m); });
        // A refused menu still opens; nothing in it can start a restoration.
        windows_.main.menuBackUpLast->setEnabled(menu && menu->cancelLastEnabled);
        windows_.main.menuBackUpChecked->setEnabled(menu && menu->restoreCheckedEnabled);
    });

    bind(main.butView, &QToolButton::clicked, butViewClick);
    connect(main.menuView, &QMenu::aboutToShow, &context_, [this] { run(UpdateViewCommands); });
    bind(main.menuUnzipped, &QAction::triggered, menuUnzippedClick);
    bind(main.menuZipped, &QAction::triggered, menuZippedClick);
    connect(&windows_.options, &TfrmOptions::modifyOldChanged, &context_, [this] { StorageModeChanged(model_); });

    connect(&main, &TfrmMain::filesDropped, &context_, [this](const QStringList& paths, const QPoint& at) {
        std::vector<std::string> names;
        for (const QString& path : paths) names.push_back(FromQt(path));
        const QRect panel = windows_.main.panelRect();
        const bool inside = DropPointOnPanel(at.x(), at.y(), {panel.x(), panel.y(), panel.width(), panel.height()});
        run([&](MainModel& m) { DropFiles(m, names, inside); });
    });
    connect(&main, &TfrmMain::escapeReleased, &context_, [this] { MainWindowKeyUp(model_, kEscapeKey); });
    connect(&main, &TfrmMain::activated, &context_, [this] { invalidatePanel(); });
    connect(&main, &TfrmMain::closing, &context_, [this] { run(MainWindowClosing); });
    // A close is vetoed while a run or a scan lasts, before the window reports it as closing.
    main.installEventFilter(this);

    windows_.ui.setEditorHandler([this](const std::string& path) { SendToEditor(model_, path); });
}

void DesktopProgram::bindPanel()
{
    TfrmMain& main = windows_.main;
    auto bind = [this](QAction* item, void (*command)(MainModel&)) {
        connect(item, &QAction::triggered, &context_, [this, command] { run(command); });
    };
    bind(main.menuSelectAll, SelectAllFiles);
    bind(main.menuInvert, InvertSelection);
    bind(main.menuDeselect, DeselectFiles);
    bind(main.Removefilefromthelist1, RemoveHighlightedFile);
    bind(main.menuDelUnchecked, RemoveUncheckedFiles);
    bind(main.menuLiseFilesClear, ClearFilesPanel);
    bind(main.menuSaveListFiles, menuSaveListFilesClick);
    bind(main.menuOpenListFiles, menuOpenListFilesClick);
    bind(main.menuSend, menuSendClick);
    bind(main.menuRefresh, RefreshPanel);
    for (int column = 0; column < TfrmMain::kColumnCount; ++column)
        sortCopies_[column] = main.findChild<QAction*>(QStringLiteral("mainsort") + QString::number(column + 1));
    for (int column = 0; column < TfrmMain::kColumnCount; ++column)
        connect(main.sortItems[column], &QAction::triggered, &context_,
            [this, column] { run([column](MainModel& m) { SortByColumn(m, column); }); });
    connect(main.listFiles->horizontalHeader(), &QHeaderView::sectionClicked, &context_,
        [this](int column) { run([column](MainModel& m) { SortByColumn(m, column); }); });

    files_.onChecked = [this] {
        model_.panel.ShowPanelStatus();
        showState();
    };
    connect(main.listFiles->selectionModel(), &QItemSelectionModel::selectionChanged, &context_, [this] {
        if (syncingSelection_) return;
        const QModelIndexList rows = windows_.main.listFiles->selectionModel()->selectedRows();
        std::optional<std::size_t> row;
        if (!rows.isEmpty()) row = std::size_t(rows.constFirst().row());
        run([row](MainModel& m) { HighlightRow(m, row); });
    });
    connect(main.listFiles, &QTableView::doubleClicked, &context_, [this] { run(listFilesDblClick); });
    // A click that leaves no row highlighted is seen on the list's drawing area.
    main.listFiles->viewport()->installEventFilter(this);
}

void DesktopProgram::bindSourceView()
{
    TfrmMain& main = windows_.main;
    auto bind = [this](QToolButton* button, void (*command)(MainModel&)) {
        connect(button, &QToolButton::clicked, &context_, [this, command] { run(command); });
    };
    bind(main.butViewUnZipped, butViewUnZippedClick);
    bind(main.butViewZipped, butViewZippedClick);
    bind(main.butSendToEdit, butSendToEditClick);
    bind(main.butSaveFile, butSaveFileClick);
    connect(main.memoFileSrc, &QPlainTextEdit::textChanged, &context_, [this] {
        // Typing is not a command: only the mark changes, and the windows redraw when it does.
        if (!settingSourceText_) memoFileSrcChange(model_);
    });
}

void DesktopProgram::bindRunWindow()
{
    TfrmReport& report = windows_.report;
    auto bind = [this](QPushButton* button, void (*command)(MainModel&)) {
        connect(button, &QPushButton::clicked, &context_, [this, command] { run(command); });
    };
    bind(report.butStart, butStartClick);
    bind(report.butCancel, butCancelClick);
    bind(report.butClose, butCloseClick);
    connect(&report, &TfrmReport::escapeReleased, &context_, [this] { RunWindowKeyUp(model_, kEscapeKey); });
    // The close box hides the window whatever it shows; a run goes on behind it.
    connect(&report, &QDialog::finished, &context_, [this] {
        if (model_.run.window.visible) run(butCloseClick);
    });
    connect(report.Timer1, &QTimer::timeout, &context_, [this] { Timer1Timer(model_); });
    report.Timer1->start();
}

bool DesktopProgram::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &windows_.main && event->type() == QEvent::Close && !MainWindowCloseQuery(model_)) {
        event->ignore();
        return true;
    }
    if (watched == windows_.main.listFiles->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // After the view has handled the click, so the highlight is the one it leaves.
        QTimer::singleShot(0, &context_, [this] { run(listFilesClick); });
    }
    return QObject::eventFilter(watched, event);
}

void DesktopProgram::invalidatePanel()
{
    refresh_.invalidate();
    refreshWhenIdle();
}

void DesktopProgram::refreshWhenIdle()
{
    if (!refresh_.pending()) return;
    QTimer::singleShot(0, &context_, [this] { refresh_.runIfIdle(model_); });
}

// ---- Drawing the model ----

void DesktopProgram::showState()
{
    TfrmMain& main = windows_.main;
    const MainState& state = model_.state;
    // The title names a run while it lasts, as the taskbar shows it.
    if (state.applicationTitle != kApplicationTitle)
        main.setWindowTitle(ToQt(state.applicationTitle));
    else if (!state.caption.empty())
        main.setWindowTitle(ToQt(state.caption));
    SetText(main.barMainHints, state.statusText);
    SetText(main.barMainStatus, model_.panel.panelStatus());
    main.menuBackUpLast->setEnabled(state.menuBackUpLastEnabled);
    showPanel();
    showSourceView();
    showRunWindow();
}

void DesktopProgram::showPanel()
{
    TfrmMain& main = windows_.main;
    const SortMarks& marks = model_.panel.sortMarks();
    for (int column = 0; column < TfrmMain::kColumnCount; ++column) {
        main.sortItems[column]->setChecked(marks.itemChecked[column]);
        if (QAction* copy = sortCopies_[column]) copy->setChecked(marks.itemChecked[column]);
    }
    syncingSelection_ = true;
    files_.sync();
    QItemSelectionModel* selection = main.listFiles->selectionModel();
    const std::optional<std::size_t> highlighted = model_.panel.highlighted();
    const QModelIndexList selected = selection->selectedRows();
    const bool same = highlighted ? selected.size() == 1 && std::size_t(selected.constFirst().row()) == *highlighted
                                  : selected.isEmpty();
    if (!same) {
        if (highlighted) {
            const QModelIndex at = files_.index(int(*highlighted), 0);
            selection->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            main.listFiles->scrollTo(at);
        } else {
            selection->clearSelection();
        }
    }
    syncingSelection_ = false;
}

void DesktopProgram::showSourceView()
{
    TfrmMain& main = windows_.main;
    const SourceViewState& view = model_.sourceView;
    main.memoFileSrc->setVisible(view.visible);
    if (main.memoFileSrc->isReadOnly() == view.editable) main.memoFileSrc->setReadOnly(!view.editable);
    main.memoFileSrc->setToolTip(ToQt(view.hint));
    main.butViewUnZipped->setEnabled(view.butViewUnZippedEnabled);
    main.butViewZipped->setEnabled(view.butViewZippedEnabled);
    main.butSendToEdit->setEnabled(view.butSendToEditEnabled);
    main.butSaveFile->setEnabled(view.butSaveFileEnabled);
    main.menuUnzipped->setEnabled(view.menuUnzippedEnabled);
    main.menuZipped->setEnabled(view.menuZippedEnabled);
    SetHint(main.menuUnzipped, view.menuUnzippedHint);
    SetHint(main.menuZipped, view.menuZippedHint);
}

void DesktopProgram::showRunWindow()
{
    TfrmReport& report = windows_.report;
    const RunWindowState& window = model_.run.window;
    report.setWindowTitle(ToQt(window.caption));
    report.showPage(window.page == 2 ? TfrmReport::PageResults : TfrmReport::PageBefore);
    SetText(report.fcount, window.fcount);
    SetText(report.filessize, window.filessize);
    SetText(report.labPathComment, window.labPathComment);
    SetText(report.labPathForOptimized, window.labPathForOptimized);
    report.labPathForOptimized->setToolTip(ToQt(window.labPathForOptimized));
    SetText(report.labStatus, window.labStatus);
    SetText(report.time_status, window.time_status);
    report.butStart->setText(ToQt(window.butStartCaption));
    report.butStart->setEnabled(window.butStartEnabled);
    report.butCancel->setText(ToQt(window.butCancelCaption));
    report.butCancel->setEnabled(window.butCancelEnabled);
    report.showProgress(int(window.filesDone), int(window.filesTotal), ToQt(window.fileInHand));
    SetText(report.fdone, window.fdone);
    SetText(report.deleted, window.deleted);
    SetText(report.midk, window.midk);
    SetText(report.mk, window.mk);
    SetText(report.elapsed, window.elapsed);
    if (window.visible && !report.isVisible()) {
        report.show();
        report.raise();
        report.activateWindow();
    } else if (!window.visible && report.isVisible()) {
        report.hide();
    }
}

} // namespace qm
