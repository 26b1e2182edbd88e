// The run window: what a run is about to do, its clock and progress while it goes, its results afterwards.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTimer;

namespace qm {

class PathLabel;

// A view without logic: the run binds to its controls and signals.
class TfrmReport : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 20;
    enum Page { PageBefore, PageResults };

    explicit TfrmReport(QWidget* parent = nullptr);

    void showPage(Page page);
    // The progress bar and the line under it: files done out of files checked, the file in hand.
    void showProgress(int done, int total, const QString& fileInHand);
    Page currentPage() const;

    QStackedWidget* notebook;
    QWidget* page1;
    QWidget* page2;
    QTimer* Timer1;

    QLabel* labFilesChosen;
    QLabel* fcount;
    QLabel* labTotalFileSize;
    QLabel* filessize;
    QLabel* labPathComment;
    PathLabel* labPathForOptimized;
    QLabel* labStatusComment;
    QLabel* labStatus;
    QLabel* time_status;
    QProgressBar* progressFiles;
    PathLabel* labFileInHand;
    QPushButton* butStart;
    QPushButton* butCancel;
    QPushButton* butHelp;

    QLabel* labFileProcesses;
    QLabel* fdone;
    QLabel* labSkipped; // "skipped: n", shown only when the user kept files in the way
    QLabel* labBytesRemoved;
    QLabel* deleted;
    QLabel* labAverageRatio;
    QLabel* midk;
    QLabel* labmaxRatio;
    QLabel* mk;
    QLabel* labTimeElapsed;
    QLabel* elapsed;
    QLabel* labComm;
    QPushButton* butClose;

signals:
    // Esc released in the window; whether it breaks the run is the run's decision.
    void escapeReleased();
    void helpRequested(int context);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

} // namespace qm
