// The folder chooser: a tree of the file system's folders that confirms only a folder that exists.
#include "ui/folder_chooser.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "ui/help_key.h"
#include "ui/icons.h"
#include "ui/qt_text.h"

namespace qm {
namespace {

QFrame* RestrictionPanel(QWidget* parent, const char* name, QLabel*& image, const char* hint,
    std::array<QLabel*, 3> lines, std::array<const char*, 3> names)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::StyledPanel);
    image = new QLabel(panel);
    image->setToolTip(QString::fromLatin1(hint));
    auto* text = new QVBoxLayout;
    text->setSpacing(0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i]->setParent(panel);
        lines[i]->setObjectName(QString::fromLatin1(names[i]));
        text->addWidget(lines[i]);
    }
    QFont bold = lines[2]->font();
    bold.setBold(true);
    lines[2]->setFont(bold);
    auto* layout = new QHBoxLayout(panel);
    layout->addWidget(image, 0, Qt::AlignTop);
    layout->addLayout(text, 1);
    panel->hide();
    return panel;
}

QIcon FolderIcon(int number)
{
    switch (number) {
    case 1:
        return ThemeIcon("folder", QStyle::SP_DirIcon);
    case 2:
        return ThemeIcon("folder-locked", QStyle::SP_DirClosedIcon);
    default:
        return ThemeIcon("folder-open", QStyle::SP_DirOpenIcon);
    }
}

} // namespace

TfrmFolders::TfrmFolders(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmFolders"));
    setWindowTitle(QStringLiteral("Folder selection"));
    setModal(true);

    model = new QFileSystemModel(this);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model->setRootPath(QDir::rootPath());

    fList = new QTreeView(this);
    fList->setObjectName(QStringLiteral("fList"));
    fList->setModel(model);
    for (int column = 1; column < model->columnCount(); ++column) fList->hideColumn(column);
    fList->setHeaderHidden(true);
    fList->setIndentation(22);
    fList->setRootIndex(model->index(QDir::rootPath()));
    fList->setSelectionMode(QAbstractItemView::SingleSelection);
    fList->setSortingEnabled(true);
    fList->sortByColumn(0, Qt::AscendingOrder);
    // The selection, not the current item: a tree that gets the focus makes
    // its first item current without the user choosing anything.
    connect(fList->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { takeSelection(); });
    connect(fList, &QTreeView::clicked, this, [this] { takeSelection(); });

    butHome = new QToolButton(this);
    butHome->setObjectName(QStringLiteral("butHome"));
    butHome->setText(QStringLiteral("Home"));
    butHome->setToolTip(QStringLiteral("Your home folder"));
    butHome->setIcon(ThemeIcon("user-home", QStyle::SP_DirHomeIcon));
    butHome->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(butHome, &QToolButton::clicked, this, [this] { goTo(QDir::homePath(), true); });
    edPath = new QLineEdit(this);
    edPath->setObjectName(QStringLiteral("edPath"));
    edPath->setPlaceholderText(QStringLiteral("Type a folder's path and press Enter"));
    edPath->setClearButtonEnabled(true);
    // Enter in the line goes to the folder, without pressing OK: the filter takes it first.
    edPath->installEventFilter(this);

    labFolder = new QLabel(this);
    labFolder->setObjectName(QStringLiteral("labFolder"));
    labFolder->setTextFormat(Qt::PlainText);
    labFolder->setWordWrap(true);

    lab4 = new QLabel;
    lab5 = new QLabel;
    lab6 = new QLabel;
    panFiles =
        RestrictionPanel(this, "panFiles", imgFiles, "Files restriction", {lab4, lab5, lab6}, {"lab4", "lab5", "lab6"});
    imgFiles->setPixmap(ThemeIcon("text-html", QStyle::SP_FileIcon).pixmap(32, 32));
    lab1 = new QLabel;
    lab2 = new QLabel;
    lab3 = new QLabel;
    panFolder = RestrictionPanel(
        this, "panFolder", imgFolder, "Folders restriction", {lab1, lab2, lab3}, {"lab1", "lab2", "lab3"});

    butOK = new QPushButton(QStringLiteral("OK"), this);
    butOK->setObjectName(QStringLiteral("butOK"));
    butOK->setDefault(true);
    butCancel = new QPushButton(QStringLiteral("Cancel"), this);
    butCancel->setObjectName(QStringLiteral("butCancel"));
    butCancel->setAutoDefault(false);
    connect(butOK, &QPushButton::clicked, this, [this] {
        if (valid_) accept();
    });
    connect(butCancel, &QPushButton::clicked, this, [this] {
        valid_ = false;
        reject();
    });

    auto* panels = new QHBoxLayout;
    panels->addWidget(panFiles);
    panels->addWidget(panFolder);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(butOK);
    buttons->addWidget(butCancel);
    auto* where = new QHBoxLayout;
    where->addWidget(butHome);
    where->addWidget(edPath, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(where);
    layout->addWidget(fList, 1);
    layout->addWidget(labFolder);
    layout->addLayout(panels);
    layout->addLayout(buttons);
    resize(420, 480);
    AddHelpKey(this, [this] { emit helpRequested(kHelpContext); });
}

void TfrmFolders::setPanels(const FolderChooserPanels& panels)
{
    lab4->setText(ToQt(panels.filesLines[0]));
    lab5->setText(ToQt(panels.filesLines[1]));
    lab6->setText(ToQt(panels.filesLines[2]));
    lab1->setText(ToQt(panels.foldersLines[0]));
    lab2->setText(ToQt(panels.foldersLines[1]));
    lab3->setText(ToQt(panels.foldersLines[2]));
    imgFolder->setPixmap(FolderIcon(panels.folderIcon).pixmap(32, 32));
    panFiles->setVisible(panels.visible);
    panFolder->setVisible(panels.visible);
    startFolder_ = ToQt(panels.startFolder);
}

std::string TfrmFolders::choose()
{
    exec();
    if (!valid_) return "-";
    if (QFileInfo(path_).isDir()) return FromQt(QDir::toNativeSeparators(path_));
    return {};
}

void TfrmFolders::selectFolder(const QString& path) { goTo(path, true); }

bool TfrmFolders::goTo(const QString& path, bool select)
{
    if (path.isEmpty() || !QFileInfo(path).isDir()) return false;
    const QModelIndex index = model->index(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (!index.isValid()) return false;
    if (select)
        fList->setCurrentIndex(index);
    else
        fList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    fList->expand(index);
    fList->scrollTo(index, QAbstractItemView::PositionAtCenter);
    if (select) takeSelection();
    return true;
}

void TfrmFolders::takeSelection()
{
    const QModelIndexList selected = fList->selectionModel()->selectedRows();
    const QModelIndex index = selected.isEmpty() ? QModelIndex() : selected.constFirst();
    const QString path = index.isValid() ? model->filePath(index) : QString();
    if (!path.isEmpty() && QFileInfo(path).isDir()) {
        path_ = path;
        labFolder->setText(QDir::toNativeSeparators(path));
        if (!edPath->hasFocus()) edPath->setText(QDir::toNativeSeparators(path));
        valid_ = true;
    } else {
        path_.clear();
        labFolder->clear();
        valid_ = false;
    }
}

void TfrmFolders::showEvent(QShowEvent* event)
{
    // A selection left from the last opening would look confirmable while
    // the flag says otherwise; the chooser opens afresh at the start folder,
    // expanded and current, for the user to choose it or a folder near it.
    valid_ = false;
    labFolder->clear();
    fList->clearSelection();
    const QString start = startFolder_.isEmpty() ? QDir::homePath() : startFolder_;
    goTo(start, false);
    edPath->setText(QDir::toNativeSeparators(QDir::cleanPath(start)));
    fList->setFocus();
    QDialog::showEvent(event);
}

void TfrmFolders::keyPressEvent(QKeyEvent* event)
{
    // Esc answers like the Cancel button; only the close box keeps the selection.
    if (event->key() == Qt::Key_Escape) {
        butCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmFolders::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edPath && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            goToTypedPath();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmFolders::goToTypedPath()
{
    // ~ is the home folder, as in a shell; the next Enter, in the tree, confirms the folder.
    const QString typed = QDir::fromNativeSeparators(edPath->text().trimmed());
    const QString path = typed.startsWith(QLatin1Char('~')) ? QDir::homePath() + typed.mid(1) : typed;
    if (goTo(QDir::cleanPath(path), true)) {
        fList->setFocus();
    } else {
        labFolder->setText(QStringLiteral("No such folder: ") + edPath->text());
        valid_ = false;
    }
}

void TfrmFolders::done(int result)
{
    panFiles->hide();
    panFolder->hide();
    QDialog::done(result);
}

} // namespace qm
