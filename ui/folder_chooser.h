// The folder chooser: a tree of the file system's folders that confirms only a folder that exists.
#pragma once

#include <QDialog>
#include <string>

#include "batch/model/user_interface.h"

class QFileSystemModel;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeView;

namespace qm {

class TfrmFolders : public QDialog {
    Q_OBJECT
public:
    // Its page of the help, which F1 opens.
    static constexpr int kHelpContext = 50;

    explicit TfrmFolders(QWidget* parent = nullptr);

    // Fills the two restriction panels and shows them when asked (closing the
    // dialog hides them again), and the folder it opens at.
    void setPanels(const FolderChooserPanels& panels);
    // Shows the dialog modally: "-" without a valid selection, the folder's
    // path when it still exists, "" when it vanished in the meantime.
    std::string choose();

    bool validSelection() const { return valid_; }
    QString selectedPath() const { return path_; }
    // Makes the tree's selection the given folder, as a click would.
    void selectFolder(const QString& path);

    QFileSystemModel* model;
    QToolButton* butHome; // goes to the home folder
    QLineEdit* edPath; // a path typed or pasted; Enter goes there
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

signals:
    void helpRequested(int context);

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeSelection();
    void goToTypedPath();
    // Opens and shows a folder of the tree, making it the selection when asked; false when the path is no folder.
    bool goTo(const QString& path, bool select);

    bool valid_ = false;
    QString path_;
    QString startFolder_;
};

} // namespace qm
