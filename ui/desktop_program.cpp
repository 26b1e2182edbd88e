// The desktop program's binding: each control of the main window and the run window passes its event to the logic, and
// the windows show the model.
#include "ui/desktop_program.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <iostream>

#include "batch/model/file_panel.h"
#include "batch/model/window_layout.h"
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
#include "batch/startup/desktop_environment.h"
#include "batch/startup/startup.h"
#include "batch/view/source_view.h"
#include "ui/desktop_queries.h"
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

void QtWindowHooks::setSourceViewDifferences(const std::vector<DiffRun>& runs)
{
    QPlainTextEdit* view = program_.windows_.main.memoFileSrc;
    program_.settingSourceText_ = true;
    view->clear();
    QTextCursor cursor(view->document());
    QTextCharFormat kept;
    QTextCharFormat removed;
    removed.setBackground(QColor(0xff, 0xd0, 0xd0));
    removed.setForeground(QColor(0x90, 0x10, 0x10));
    removed.setFontStrikeOut(true);
    QTextCharFormat added;
    added.setBackground(QColor(0xc8, 0xf0, 0xc8));
    added.setForeground(QColor(0x10, 0x60, 0x10));
    // A line break cannot be coloured: a changed one is shown by a mark before it.
    const QString lineBreakMark = QStringLiteral("\u21B5");
    cursor.beginEditBlock();
    for (const DiffRun& run : runs) {
        const QTextCharFormat& format = run.kind == DiffKind::Removed ? removed
            : run.kind == DiffKind::Added                             ? added
                                                                      : kept;
        QString text = QString::fromUtf8(run.text.data(), qsizetype(run.text.size()));
        if (run.kind != DiffKind::Same) text.replace(QLatin1Char('\n'), lineBreakMark + QLatin1Char('\n'));
        cursor.insertText(text, format);
    }
    cursor.endEditBlock();
    view->moveCursor(QTextCursor::Start);
    program_.settingSourceText_ = false;
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

    WindowRect saved {options.integer(Opt::windowLeft), options.integer(Opt::windowTop),
        options.integer(Opt::windowWidth), options.integer(Opt::windowHeight)};
    if (saved.width <= 0 || saved.height <= 0) {
        // Nothing saved: the window where the desktop put it, at its designed size, fitted all the same.
        const QRect frame = main.frameGeometry();
        saved = {frame.x(), frame.y(), frame.width(), frame.height()};
    }
    {
        const QScreen* screen = QGuiApplication::screenAt(QPoint(saved.left + saved.width / 2, saved.top + 10));
        if (!screen) screen = main.screen() ? main.screen() : QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect();
        const WindowRect fitted = FitWindowToScreen(saved, {area.x(), area.y(), area.width(), area.height()});
        // The saved size is the frame's; the window's own size leaves the frame out.
        const QSize frame = main.frameGeometry().size() - main.geometry().size();
        main.resize(fitted.width - frame.width(), fitted.height - frame.height());
        main.move(fitted.left, fitted.top);
    }
    if (options.flag(Opt::windowMaximized)) main.showMaximized();

    // The splitter takes its height from the window's new size before the share is applied.
    if (QLayout* layout = main.layout()) layout->activate();
    fitColumns(main);
    const int height = options.integer(Opt::listHeight);
    const QList<int> sizes = main.splitter->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (total > 0) {
        const int panel = PanelHeightFor(height, total);
        main.splitter->setSizes({panel, total - panel});
    }
}

// Captions and dates show whole whatever the desktop's font, and at the
// window's size the last caption is not cut off: Path, whose cells elide, gives up room.
void QtWindowHooks::fitColumns(TfrmMain& main)
{
    QHeaderView* header = main.listFiles->horizontalHeader();
    const int margins = 2 * main.listFiles->style()->pixelMetric(QStyle::PM_HeaderMargin) + 8;
    const QFontMetrics captions = header->fontMetrics();
    std::vector<int> widths;
    std::vector<int> least;
    for (int column = 0; column < TfrmMain::kColumnCount; ++column) {
        widths.push_back(main.listFiles->columnWidth(column));
        const QString marked = ToQt(std::string(kSortBullet) + "  " + std::string(kSortItemCaptions[column]));
        least.push_back(std::max(captions.horizontalAdvance(marked),
                            captions.horizontalAdvance(ToQt(kDesignColumnCaptions[column]))) +
            margins);
    }
    least[2] = std::max(
        least[2], main.listFiles->fontMetrics().horizontalAdvance(QStringLiteral("88.88.8888 88:88:88")) + margins);
    const int visible = main.listFiles->width() - 2 * main.listFiles->frameWidth() -
        main.listFiles->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const std::vector<int> fitted = FitColumns(widths, least, visible, 1, 80);
    for (int column = 0; column < TfrmMain::kColumnCount; ++column)
        if (fitted[column] != widths[column]) main.listFiles->setColumnWidth(column, fitted[column]);
}

void QtWindowHooks::storeLayout()
{
    TfrmMain& main = program_.windows_.main;
    TOptionSet& options = program_.model_.options;
    for (int column = 0; column < TfrmMain::kColumnCount; ++column)
        options.setInteger(kColumnOptions[column], main.listFiles->columnWidth(column));
    const QList<int> sizes = main.splitter->sizes();
    if (sizes.value(0) > 0)
        options.setInteger(Opt::listHeight, ListHeightOf(sizes.value(0), sizes.value(0) + sizes.value(1)));
    const bool maximized = main.isMaximized();
    options.setFlag(Opt::windowMaximized, maximized);
    // A maximized window keeps the place it had before, for the next time it is restored.
    if (!maximized && !main.isMinimized() && main.isVisible()) {
        const QRect frame = main.frameGeometry();
        options.setInteger(Opt::windowLeft, frame.x());
        options.setInteger(Opt::windowTop, frame.y());
        options.setInteger(Opt::windowWidth, frame.width());
        options.setInteger(Opt::windowHeight, frame.height());
    }
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

void QtWindowHooks::setUnattended(bool on)
{
    program_.ui_.setTarget(on ? static_cast<UserInterface*>(&program_.unattended_) : &program_.windows_.ui);
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
    , unattended_(windows_.ui, std::cerr, model_.state)
{
    ui_.setTarget(&windows_.ui);
    model_.desktop.variable = DesktopEnvironment();
    model_.desktop.defaultApplication = DefaultApplicationFor;
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
    connect(&main, &TfrmMain::rowEntered, &context_, [this] { run(listFilesDblClick); });
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
    bind(main.butViewDiff, butViewDiffClick);
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

void DesktopProgram::quitWhenWorkStopped()
{
    // The user closed the window during a run or a scan and agreed to stop it: the close goes ahead now.
    if (QuitAfterWork(model_)) QTimer::singleShot(0, &windows_.main, &QWidget::close);
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
    SetText(main.labShownText, view.caption.empty() ? SourceViewCaption(view) : view.caption);
    main.labShownText->setToolTip(main.labShownText->text());
    main.butViewUnZipped->setEnabled(SideButtonUsable(view, view.butViewUnZippedEnabled));
    main.butViewZipped->setEnabled(SideButtonUsable(view, view.butViewZippedEnabled));
    main.butViewDiff->setEnabled(SideButtonUsable(view, view.butViewDiffEnabled));
    main.butSendToEdit->setEnabled(SideButtonUsable(view, view.butSendToEditEnabled));
    main.butSaveFile->setEnabled(SideButtonUsable(view, view.butSaveFileEnabled));
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
    SetText(report.labSkipped, window.skipped);
    report.labSkipped->setVisible(!window.skipped.empty());
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
