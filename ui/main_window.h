// The main window: tool bar, file panel, source view and status bar, as controls the program's logic binds to.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QStandardItemModel;
class QTableView;
class QToolBar;
class QToolButton;

namespace qm {

// A view without logic: it builds the controls, menus and their copies, and
// reports drops, Esc and activation; what the commands do is bound from outside.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 6;

    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The file panel's rectangle in the window's client coordinates, where drops are welcome.
    QRect panelRect() const;
    // The copy in " &Files panel" of an item of the file panel's pop-up menu, or null.
    QAction* mainMenuCopy(const QAction* popupItem) const;

    QToolBar* panConsole;
    QToolButton* butFiles;
    QToolButton* butPath;
    QToolButton* butOptimize;
    QToolButton* butBackUp;
    QToolButton* butView;
    QToolButton* butOptions;
    QWidget* spaceConsole;
    QToolButton* butHelp;
    QToolButton* butQuit;

    QMenu* menuBackUp;
    QAction* menuBackUpLast;
    QAction* menuBackUpChecked;
    QMenu* menuView;
    QAction* menuUnzipped;
    QAction* menuZipped;
    QMenu* menuHelpButton;

    QMenu* menuActions;
    QAction* menuFiles;
    QAction* menuPath;
    QAction* menuOptimize;
    QMenu* menuPanel;
    QMenu* menuOptions;
    QAction* menuOptimizeOpt;
    QMenu* menuHelp;
    QAction* menuContent;
    QAction* menuAbout;

    QTableView* listFiles;
    // Column captions only, until the file panel's model takes its place.
    QStandardItemModel* filesModel;
    QMenu* menuForListFiles;
    QAction* menuSelectAll;
    QAction* menuInvert;
    QAction* menuDeselect;
    QAction* Removefilefromthelist1;
    QAction* menuDelUnchecked;
    QAction* menuLiseFilesClear;
    QAction* menuSaveListFiles;
    QAction* menuOpenListFiles;
    QAction* menuSend;
    QMenu* menuSortType;
    std::array<QAction*, kColumnCount> sortItems; // sort1 to sort6
    QAction* menuRefresh;

    QSplitter* splitter;
    QWidget* panFileSrc;
    QPlainTextEdit* memoFileSrc;
    QLabel* labShownText; // which file and which of its texts the view shows
    QToolButton* butViewUnZipped;
    QToolButton* butViewZipped;
    QToolButton* butViewDiff; // the differences between the initial and the optimized text
    QToolButton* butSendToEdit;
    QToolButton* butSaveFile;

    QLabel* barMainHints; // first panel: hints and the run's progress text
    QLabel* barMainStatus; // second panel: the panel status

signals:
    // Files dropped anywhere on the window, with the drop point in client coordinates.
    void filesDropped(const QStringList& paths, const QPoint& position);
    void escapeReleased();
    // Enter on a row of the file panel.
    void rowEntered();
    // The window became the active one: a cheap moment to refresh the panel.
    void activated();
    void closing();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolBar();
    void buildMenus();
    void buildPanel();
    void buildSourceView();
    void buildPanelMenuCopy();
};

} // namespace qm
