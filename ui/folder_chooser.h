// The folder chooser: a tree of the file system's folders that confirms only a folder that exists.
#pragma once

#include <QDialog>
#include <string>

#include "batch/model/user_interface.h"

class QFileSystemModel;
class QFrame;
class QLabel;
class QPushButton;
class QTreeView;

namespace qm {

class TfrmFolders : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFolders(QWidget* parent = nullptr);

    // Fills the two restriction panels and shows them when asked; closing the
    // dialog hides them again.
    void setPanels(const FolderChooserPanels& panels);
    // Shows the dialog modally: "-" without a valid selection, the folder's
    // path when it still exists, "" when it vanished in the meantime.
    std::string choose();

    bool validSelection() const { return valid_; }
    QString selectedPath() const { return path_; }
    // Makes the tree's selection the given folder, as a click would.
    void selectFolder(const QString& path);

    QFileSystemModel* model;
    QTreeView* fList;
    QLabel* labFolder;
    QFrame* panFiles;
    QLabel* imgFiles;
    QLabel* lab4;
    QLabel* lab5;
    QLabel* lab6;
    QFrame* panFolder;
    QLabel* imgFolder;
    QLabel* lab1;
    QLabel* lab2;
    QLabel* lab3;
    QPushButton* butOK;
    QPushButton* butCancel;

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void takeSelection();

    bool valid_ = false;
    QString path_;
    QString lastChosen_;
};

} // namespace qm
