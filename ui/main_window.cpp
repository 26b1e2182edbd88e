// The main window: tool bar, file panel, source view and status bar, as controls the program's logic binds to.
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/about_window.h"
#include "ui/icons.h"
#include "ui/path_label.h"

namespace qm {
namespace {

constexpr int kColumnWidths[TfrmMain::kColumnCount] = {180, 150, 120, 110, 110, 100};
constexpr const char* kColumnCaptions[TfrmMain::kColumnCount] = {
    "Filename", "Path", "Date", "Size  [bytes]", "Optimized  [bytes]", "Ratio"};
constexpr const char* kSortCaptions[TfrmMain::kColumnCount] = {
    "Filename", "Path", "Date", "Filesize", "Optimized filesize", "Optimization ratio"};

QToolButton* ToolButton(QWidget* parent, const char* name, const char* caption, const char* hint, const QIcon& icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromLatin1(caption));
    button->setToolTip(QString::fromLatin1(hint));
    button->setStatusTip(button->toolTip());
    button->setIcon(icon);
    button->setIconSize({32, 32});
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFixedSize(67, 60);
    return button;
}

// The key goes into the tooltip, the hint stays the status bar's text.
void GiveShortcut(QToolButton* button, const QKeySequence& key)
{
    button->setShortcut(key);
    button->setToolTip(
        button->statusTip() + QStringLiteral("  (") + key.toString(QKeySequence::NativeText) + QLatin1Char(')'));
}

QToolButton* SideButton(QWidget* parent, const char* name, const char* hint, const QIcon& icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(hint));
    button->setStatusTip(button->toolTip());
    button->setIcon(icon);
    // Five of them fit beside the source view at its designed height of 150 pixels.
    button->setIconSize({20, 20});
    button->setAutoRaise(true);
    button->setFixedSize(28, 28);
    button->setEnabled(false);
    return button;
}

QAction* Item(QObject* parent, const char* name, const char* caption)
{
    auto* action = new QAction(QString::fromLatin1(caption), parent);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QWidget* Spacer(QWidget* parent, int width)
{
    auto* spacer = new QWidget(parent);
    spacer->setFixedWidth(width);
    return spacer;
}

} // namespace

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("TfrmMain"));
    setWindowTitle(QString::fromLatin1(kApplicationTitle) + QLatin1Char(' ') + QString::fromLatin1(kVersionText));
    setAcceptDrops(true);

    buildToolBar();
    buildPanel();
    buildSourceView();
    buildMenus();
    buildPanelMenuCopy();

    splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(listFiles);
    splitter->addWidget(panFileSrc);
    splitter->setSizes({305, 150});
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    barMainHints = new QLabel(this);
    barMainHints->setObjectName(QStringLiteral("barMainHints"));
    barMainHints->setMinimumWidth(200);
    barMainStatus = new QLabel(this);
    barMainStatus->setObjectName(QStringLiteral("barMainStatus"));
    barMainStatus->setMinimumWidth(200);
    statusBar()->setObjectName(QStringLiteral("barMain"));
    statusBar()->addWidget(barMainHints, 1);
    statusBar()->addPermanentWidget(barMainStatus);

    resize(798, 570);
    // Esc is seen wherever the focus is in this window, before the control that has it.
    qApp->installEventFilter(this);
}

TfrmMain::~TfrmMain() { qApp->removeEventFilter(this); }

void TfrmMain::buildToolBar()
{
    panConsole = new QToolBar(this);
    panConsole->setObjectName(QStringLiteral("panConsole"));
    panConsole->setMovable(false);
    panConsole->setFloatable(false);
    panConsole->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, panConsole);

    butFiles = ToolButton(
        panConsole, "butFiles", "Files", "Add files to Files panel", ThemeIcon("document-open", QStyle::SP_FileIcon));
    butPath = ToolButton(panConsole, "butPath", "Folder", "Add files to Files panel from the folder",
        ThemeIcon("folder-open", QStyle::SP_DirOpenIcon));
    butOptimize = ToolButton(panConsole, "butOptimize", "Optimize!", "Optimize selected files",
        ThemeIcon("system-run", QStyle::SP_MediaPlay));
    butBackUp = ToolButton(
        panConsole, "butBackUp", "Restore", "Cancel optimization", ThemeIcon("edit-undo", QStyle::SP_ArrowBack));
    butView = ToolButton(panConsole, "butView", "View", "View file in the browser",
        ThemeIcon("document-preview", QStyle::SP_FileDialogContentsView));
    butOptions = ToolButton(panConsole, "butOptions", "Options", "Optimization and program options",
        ThemeIcon("preferences-system", QStyle::SP_FileDialogDetailedView));
    butHelp = ToolButton(
        panConsole, "butHelp", "Help", "Help information", ThemeIcon("help-contents", QStyle::SP_DialogHelpButton));
    butQuit = ToolButton(panConsole, "butQuit", "Quit", "Quit from the program",
        ThemeIcon("application-exit", QStyle::SP_DialogCloseButton));

    menuBackUp = new QMenu(this);
    menuBackUp->setObjectName(QStringLiteral("menuBackUp"));
    menuBackUpLast = Item(this, "menuBackUpLast", "Cancel last optimization");
    menuBackUpLast->setEnabled(false);
    menuBackUpChecked = Item(this, "menuBackUpChecked", "Restore checked files");
    menuBackUp->addAction(menuBackUpLast);
    menuBackUp->addAction(menuBackUpChecked);
    butBackUp->setMenu(menuBackUp);
    butBackUp->setPopupMode(QToolButton::MenuButtonPopup);

    menuView = new QMenu(this);
    menuView->setObjectName(QStringLiteral("menuView"));
    menuUnzipped = Item(this, "menuUnzipped", "Initial file");
    menuUnzipped->setEnabled(false);
    menuZipped = Item(this, "menuZipped", "Optimized file");
    menuZipped->setEnabled(false);
    menuView->addAction(menuUnzipped);
    menuView->addAction(menuZipped);
    butView->setMenu(menuView);
    butView->setPopupMode(QToolButton::MenuButtonPopup);

    // The Help button's items are the same actions as the " &Help" menu's. F1 is this window's:
    // every other window opens its own topic with it.
    menuContent = Item(this, "menuContent", "&Content");
    menuContent->setShortcut(QKeySequence(Qt::Key_F1));
    menuContent->setShortcutContext(Qt::WindowShortcut);
    addAction(menuContent);
    menuAbout = Item(this, "menuAbout", "&About");
    menuHelpButton = new QMenu(this);
    menuHelpButton->setObjectName(QStringLiteral("menuHelpButton"));
    menuHelpButton->addAction(menuContent);
    menuHelpButton->addAction(menuAbout);
    butHelp->setMenu(menuHelpButton);
    butHelp->setPopupMode(QToolButton::MenuButtonPopup);

    GiveShortcut(butBackUp, QKeySequence(Qt::CTRL | Qt::Key_R));
    GiveShortcut(butView, QKeySequence(Qt::CTRL | Qt::Key_B));

    panConsole->addWidget(butFiles);
    panConsole->addWidget(butPath);
    panConsole->addWidget(Spacer(panConsole, 12));
    panConsole->addWidget(butOptimize);
    panConsole->addWidget(butBackUp);
    panConsole->addWidget(Spacer(panConsole, 12));
    panConsole->addWidget(butView);
    panConsole->addWidget(Spacer(panConsole, 12));
    panConsole->addWidget(butOptions);
    // Stretches with the window so that Help and Quit stay at the right-hand end.
    spaceConsole = new QWidget(panConsole);
    spaceConsole->setObjectName(QStringLiteral("spaceConsole"));
    spaceConsole->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    panConsole->addWidget(spaceConsole);
    panConsole->addWidget(butHelp);
    panConsole->addWidget(butQuit);
}

void TfrmMain::buildPanel()
{
    listFiles = new QTableView(this);
    listFiles->setObjectName(QStringLiteral("listFiles"));
    listFiles->setToolTip(QStringLiteral("Files panel"));
    listFiles->setStatusTip(listFiles->toolTip());
    listFiles->setShowGrid(true);
    listFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    listFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    listFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listFiles->setWordWrap(false);
    listFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    listFiles->verticalHeader()->hide();
    listFiles->verticalHeader()->setDefaultSectionSize(listFiles->fontMetrics().height() + 6);
    listFiles->horizontalHeader()->setSectionsClickable(true);
    listFiles->horizontalHeader()->setHighlightSections(false);
    listFiles->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The last column takes the room the others leave, so no empty strip is left at the right.
    listFiles->horizontalHeader()->setStretchLastSection(true);

    filesModel = new QStandardItemModel(0, kColumnCount, this);
    filesModel->setObjectName(QStringLiteral("filesModel"));
    for (int column = 0; column < kColumnCount; ++column)
        filesModel->setHeaderData(column, Qt::Horizontal, QString::fromLatin1(kColumnCaptions[column]));
    listFiles->setModel(filesModel);
    for (int column = 0; column < kColumnCount; ++column) listFiles->setColumnWidth(column, kColumnWidths[column]);

    menuForListFiles = new QMenu(this);
    menuForListFiles->setObjectName(QStringLiteral("menuForListFiles"));
    menuSelectAll = Item(this, "menuSelectAll", "Select All");
    menuInvert = Item(this, "menuInvert", "Invert selection");
    menuDeselect = Item(this, "menuDeselect", "Remove selection");
    Removefilefromthelist1 = Item(this, "Removefilefromthelist1", "Remove file from the list");
    Removefilefromthelist1->setShortcut(QKeySequence(Qt::Key_Delete));
    Removefilefromthelist1->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    listFiles->addAction(Removefilefromthelist1);
    menuDelUnchecked = Item(this, "menuDelUnchecked", "Remove unchecked files");
    menuLiseFilesClear = Item(this, "menuLiseFilesClear", "Clear files panel");
    menuSaveListFiles = Item(this, "menuSaveListFiles", "Save list to the file");
    menuOpenListFiles = Item(this, "menuOpenListFiles", "Load list from the file");
    menuSend = Item(this, "menuSend", "Send to external HTML editor");
    menuSortType = new QMenu(QStringLiteral("Sort by"), this);
    menuSortType->setObjectName(QStringLiteral("menuSortType"));
    for (int i = 0; i < kColumnCount; ++i) {
        const QByteArray name = "sort" + QByteArray::number(i + 1);
        sortItems[i] = Item(this, name.constData(), kSortCaptions[i]);
        sortItems[i]->setCheckable(true);
        menuSortType->addAction(sortItems[i]);
    }
    sortItems[0]->setChecked(true);
    menuRefresh = Item(this, "menuRefresh", "Refresh");
    menuRefresh->setShortcut(QKeySequence(QKeySequence::Refresh));
    addAction(menuRefresh);

    menuForListFiles->addAction(menuSelectAll);
    menuForListFiles->addAction(menuInvert);
    menuForListFiles->addAction(menuDeselect);
    menuForListFiles->addSeparator();
    menuForListFiles->addAction(Removefilefromthelist1);
    menuForListFiles->addAction(menuDelUnchecked);
    menuForListFiles->addAction(menuLiseFilesClear);
    menuForListFiles->addSeparator();
    menuForListFiles->addAction(menuSaveListFiles);
    menuForListFiles->addAction(menuOpenListFiles);
    menuForListFiles->addSeparator();
    menuForListFiles->addAction(menuSend);
    menuForListFiles->addSeparator();
    menuForListFiles->addMenu(menuSortType);
    menuForListFiles->addSeparator();
    menuForListFiles->addAction(menuRefresh);

    connect(listFiles, &QTableView::customContextMenuRequested, this,
        [this](const QPoint& at) { menuForListFiles->popup(listFiles->viewport()->mapToGlobal(at)); });
}

void TfrmMain::buildSourceView()
{
    panFileSrc = new QWidget(this);
    panFileSrc->setObjectName(QStringLiteral("panFileSrc"));
    memoFileSrc = new QPlainTextEdit(panFileSrc);
    memoFileSrc->setObjectName(QStringLiteral("memoFileSrc"));
    memoFileSrc->setReadOnly(true);
    memoFileSrc->setToolTip(QStringLiteral("File source"));
    memoFileSrc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoFileSrc->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Hidden during a run, it keeps its room, so the side buttons do not move.
    QSizePolicy keepRoom = memoFileSrc->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    memoFileSrc->setSizePolicy(keepRoom);
    labShownText = new PathLabel(panFileSrc);
    labShownText->setObjectName(QStringLiteral("labShownText"));

    butViewUnZipped = SideButton(panFileSrc, "butViewUnZipped", "View the text of initial file", TextPageIcon());
    butViewZipped = SideButton(panFileSrc, "butViewZipped", "View the text of optimized file",
        ThemeIcon("text-html", QStyle::SP_FileDialogContentsView));
    butSendToEdit = SideButton(panFileSrc, "butSendToEdit", "Send file to external editor",
        ThemeIcon("document-edit", QStyle::SP_FileDialogDetailedView));
    butSaveFile = SideButton(
        panFileSrc, "butSaveFile", "Save changes to the file", ThemeIcon("document-save", QStyle::SP_DialogSaveButton));
    butViewDiff =
        SideButton(panFileSrc, "butViewDiff", "View the differences between the initial and the optimized file",
            ThemeIcon("document-compare", QStyle::SP_FileDialogListView));
    GiveShortcut(butViewUnZipped, QKeySequence(Qt::CTRL | Qt::Key_1));
    GiveShortcut(butViewZipped, QKeySequence(Qt::CTRL | Qt::Key_2));
    GiveShortcut(butViewDiff, QKeySequence(Qt::CTRL | Qt::Key_3));
    GiveShortcut(butSendToEdit, QKeySequence(Qt::CTRL | Qt::Key_E));
    GiveShortcut(butSaveFile, QKeySequence(QKeySequence::Save));

    auto* side = new QVBoxLayout;
    side->setSpacing(2);
    side->addWidget(butViewUnZipped);
    side->addWidget(butViewZipped);
    side->addWidget(butViewDiff);
    side->addWidget(butSendToEdit);
    side->addWidget(butSaveFile);
    side->addStretch(1);
    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    text->addWidget(labShownText);
    text->addWidget(memoFileSrc, 1);
    auto* layout = new QHBoxLayout(panFileSrc);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(side);
    layout->addLayout(text, 1);
}

void TfrmMain::buildMenus()
{
    menuActions = menuBar()->addMenu(QStringLiteral(" &Actions"));
    menuActions->setObjectName(QStringLiteral("menuActions"));
    menuFiles = Item(this, "menuFiles", "Add &files");
    menuPath = Item(this, "menuPath", "Add fol&der");
    menuOptimize = Item(this, "menuOptimize", "&Optimize!");
    menuActions->addAction(menuFiles);
    menuActions->addAction(menuPath);
    menuActions->addSeparator();
    menuActions->addAction(menuOptimize);

    menuPanel = menuBar()->addMenu(QStringLiteral(" &Files panel"));
    menuPanel->setObjectName(QStringLiteral("menuPanel"));

    menuOptions = menuBar()->addMenu(QStringLiteral(" &Options"));
    menuOptions->setObjectName(QStringLiteral("menuOptions"));
    menuOptimizeOpt = Item(this, "menuOptimizeOpt", "&Optimization options");
    menuOptions->addAction(menuOptimizeOpt);

    menuHelp = menuBar()->addMenu(QStringLiteral(" &Help"));
    menuHelp->setObjectName(QStringLiteral("menuHelp"));
    menuHelp->addAction(menuContent);
    menuHelp->addAction(menuAbout);
}

void TfrmMain::buildPanelMenuCopy()
{
    // Each copy is its own item ("main" + the pop-up item's name) that
    // triggers the pop-up item, so binding the pop-up binds both menus.
    // Shortcuts stay with the pop-up; check marks start clear.
    menuPanel->clear();
    auto copyItem = [this](QAction* item, QMenu* into, const QString& name) {
        auto* copy = new QAction(item->icon(), item->text(), this);
        copy->setObjectName(name);
        copy->setCheckable(item->isCheckable());
        connect(copy, &QAction::triggered, item, &QAction::trigger);
        into->addAction(copy);
    };
    for (QAction* item : menuForListFiles->actions()) {
        if (item->isSeparator()) {
            menuPanel->addSeparator();
        } else if (item->menu() == menuSortType) {
            QMenu* sortCopy = menuPanel->addMenu(item->text());
            sortCopy->setObjectName(QStringLiteral("mainmenuSortType"));
            sortCopy->menuAction()->setObjectName(QStringLiteral("mainmenuSortType"));
            for (int i = 0; i < kColumnCount; ++i)
                copyItem(sortItems[i], sortCopy, QStringLiteral("mainsort") + QString::number(i + 1));
        } else {
            copyItem(item, menuPanel, QStringLiteral("main") + item->objectName());
        }
    }
}

QAction* TfrmMain::mainMenuCopy(const QAction* popupItem) const
{
    if (!popupItem) return nullptr;
    return findChild<QAction*>(QStringLiteral("main") + popupItem->objectName());
}

QRect TfrmMain::panelRect() const { return QRect(listFiles->mapTo(this, QPoint(0, 0)), listFiles->size()); }

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << QDir::toNativeSeparators(url.toLocalFile());
    event->acceptProposedAction();
    emit filesDropped(paths, event->position().toPoint());
}

void TfrmMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) emit activated();
    QMainWindow::changeEvent(event);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    emit closing();
    event->accept();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    // Enter shows the row's text; the view would otherwise only move the current row.
    if (watched == listFiles && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            emit rowEntered();
            return true;
        }
    }
    if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto* target = qobject_cast<QWidget*>(watched);
        QWidget* focus = QApplication::focusWidget();
        // A key event goes first to the focus widget, then up its parents; take only the first delivery.
        const bool first = focus ? target == focus : target == this;
        if (key->key() == Qt::Key_Escape && !key->isAutoRepeat() && target && first && target->window() == this)
            emit escapeReleased();
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace qm
