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
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fList, 1);
    layout->addWidget(labFolder);
    layout->addLayout(panels);
    layout->addLayout(buttons);
    resize(420, 480);
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
}

std::string TfrmFolders::choose()
{
    exec();
    if (!valid_) return "-";
    if (QFileInfo(path_).isDir()) return FromQt(QDir::toNativeSeparators(path_));
    return {};
}

void TfrmFolders::selectFolder(const QString& path)
{
    const QModelIndex index = model->index(path);
    if (!index.isValid()) return;
    fList->scrollTo(index);
    fList->setCurrentIndex(index);
    takeSelection();
}

void TfrmFolders::takeSelection()
{
    const QModelIndexList selected = fList->selectionModel()->selectedRows();
    const QModelIndex index = selected.isEmpty() ? QModelIndex() : selected.constFirst();
    const QString path = index.isValid() ? model->filePath(index) : QString();
    if (!path.isEmpty() && QFileInfo(path).isDir()) {
        path_ = path;
        labFolder->setText(QDir::toNativeSeparators(path));
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
    // the flag says otherwise; the user starts afresh, near the last folder.
    valid_ = false;
    labFolder->clear();
    const QString start = lastChosen_.isEmpty() ? QDir::homePath() : lastChosen_;
    fList->clearSelection();
    // Scrolling to the folder opens the branches above it.
    if (const QModelIndex startIndex = model->index(start); startIndex.isValid()) fList->scrollTo(startIndex);
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

void TfrmFolders::done(int result)
{
    if (valid_) lastChosen_ = path_;
    panFiles->hide();
    panFolder->hide();
    QDialog::done(result);
}

} // namespace qm
