// The run window: what a run is about to do, its clock and progress while it goes, its results afterwards.
#include "ui/report_window.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/help_key.h"
#include "ui/path_label.h"

namespace qm {
namespace {

QLabel* Named(QLabel* label, const char* name)
{
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel* Caption(QWidget* parent, const char* name, const char* text)
{
    return Named(new QLabel(QString::fromLatin1(text), parent), name);
}

QLabel* Figure(QWidget* parent, const char* name, const char* text)
{
    QLabel* label = Caption(parent, name, text);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QPushButton* Button(QWidget* parent, const char* name, const char* text)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfrmReport::TfrmReport(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmReport"));
    setWindowTitle(QStringLiteral("Optimization"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);

    notebook = new QStackedWidget(this);
    notebook->setObjectName(QStringLiteral("notebook"));

    // Page "1": before and during a run.
    page1 = new QWidget(notebook);
    page1->setObjectName(QStringLiteral("1"));
    labFilesChosen = Caption(page1, "labFilesChosen", "Files selected:");
    fcount = Figure(page1, "fcount", "0");
    labTotalFileSize = Caption(page1, "labTotalFileSize", "Total size: ( bytes )");
    filessize = Figure(page1, "filessize", "0");
    labPathComment = Caption(page1, "labPathComment", "Optimized files will be saved in:");
    labPathForOptimized = new PathLabel(page1);
    labPathForOptimized->setObjectName(QStringLiteral("labPathForOptimized"));
    labPathForOptimized->setText(QStringLiteral("Folder"));
    labPathForOptimized->setToolTip(labPathForOptimized->text());
    QFont bold = labPathForOptimized->font();
    bold.setBold(true);
    labPathForOptimized->setFont(bold);
    labStatusComment = Caption(page1, "labStatusComment", "Status:");
    labStatus = Caption(page1, "labStatus", "ready for optimization");
    labStatus->setFont(bold);
    time_status = Figure(page1, "time_status", "");
    progressFiles = new QProgressBar(page1);
    progressFiles->setObjectName(QStringLiteral("progressFiles"));
    progressFiles->setFormat(QStringLiteral("%v / %m"));
    labFileInHand = new PathLabel(page1);
    labFileInHand->setObjectName(QStringLiteral("labFileInHand"));
    butStart = Button(page1, "butStart", "Start");
    butStart->setDefault(true);
    butCancel = Button(page1, "butCancel", "Cancel");
    butHelp = Button(page1, "butHelp", "Help");
    connect(butHelp, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });
    AddHelpKey(this, [this] { emit helpRequested(kHelpContext); });

    auto* figures1 = new QGridLayout;
    figures1->addWidget(labFilesChosen, 0, 0);
    figures1->addWidget(fcount, 0, 1);
    figures1->addWidget(labTotalFileSize, 1, 0);
    figures1->addWidget(filessize, 1, 1);
    figures1->setColumnStretch(0, 1);
    auto* status = new QHBoxLayout;
    status->addWidget(labStatusComment);
    status->addWidget(labStatus, 1);
    status->addWidget(time_status);
    auto* buttons1 = new QHBoxLayout;
    buttons1->addWidget(butStart);
    buttons1->addWidget(butCancel);
    buttons1->addWidget(butHelp);
    auto* layout1 = new QVBoxLayout(page1);
    layout1->addLayout(figures1);
    layout1->addSpacing(6);
    layout1->addWidget(labPathComment);
    layout1->addWidget(labPathForOptimized);
    layout1->addSpacing(6);
    layout1->addLayout(status);
    layout1->addWidget(progressFiles);
    layout1->addWidget(labFileInHand);
    layout1->addStretch(1);
    layout1->addLayout(buttons1);

    // Page "2": results.
    page2 = new QWidget(notebook);
    page2->setObjectName(QStringLiteral("2"));
    labFileProcesses = Caption(page2, "labFileProcesses", "Files processed:");
    fdone = Figure(page2, "fdone", "0");
    labSkipped = Caption(page2, "labSkipped", "");
    labSkipped->setIndent(12);
    labSkipped->hide();
    labBytesRemoved = Caption(page2, "labBytesRemoved", "Bytes removed:");
    deleted = Figure(page2, "deleted", "0");
    labAverageRatio = Caption(page2, "labAverageRatio", "Average optimization ratio:");
    midk = Figure(page2, "midk", "0");
    labmaxRatio = Caption(page2, "labmaxRatio", "Max optimization ratio:");
    mk = Figure(page2, "mk", "0");
    labTimeElapsed = Caption(page2, "labTimeElapsed", "Time elapsed");
    elapsed = Figure(page2, "elapsed", "0");
    labComm =
        Caption(page2, "labComm", "Some visible changes can be caused by changing\nplacement of *.css files, etc.");
    labComm->setAlignment(Qt::AlignCenter);
    butClose = Button(page2, "butClose", "Close");
    butClose->setDefault(true);

    auto* figures2 = new QGridLayout;
    const std::pair<QLabel*, QLabel*> rows[] = {{labFileProcesses, fdone}, {labBytesRemoved, deleted},
        {labAverageRatio, midk}, {labmaxRatio, mk}, {labTimeElapsed, elapsed}};
    int at = 0;
    for (const auto& [caption, figure] : rows) {
        figures2->addWidget(caption, at, 0);
        figures2->addWidget(figure, at, 1);
        ++at;
        if (figure == fdone) figures2->addWidget(labSkipped, at++, 0, 1, 2);
    }
    figures2->setColumnStretch(0, 1);
    auto* buttons2 = new QHBoxLayout;
    buttons2->addStretch(1);
    buttons2->addWidget(butClose);
    buttons2->addStretch(1);
    auto* layout2 = new QVBoxLayout(page2);
    layout2->addLayout(figures2);
    layout2->addSpacing(10);
    layout2->addWidget(labComm);
    layout2->addStretch(1);
    layout2->addLayout(buttons2);

    showProgress(0, 0, {});
    notebook->addWidget(page1);
    notebook->addWidget(page2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(notebook);
    setFixedSize(340, 300);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmReport::showPage(Page page) { notebook->setCurrentIndex(page); }

void TfrmReport::showProgress(int done, int total, const QString& fileInHand)
{
    // A bar over zero files would turn into a busy indicator; it stays empty instead.
    progressFiles->setRange(0, std::max(total, 1));
    progressFiles->setValue(std::clamp(done, 0, std::max(total, 1)));
    progressFiles->setTextVisible(total > 0);
    labFileInHand->setText(fileInHand);
    labFileInHand->setToolTip(fileInHand);
}

TfrmReport::Page TfrmReport::currentPage() const { return static_cast<Page>(notebook->currentIndex()); }

void TfrmReport::keyPressEvent(QKeyEvent* event)
{
    // Esc must not close the window: on release it may break a run instead.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmReport::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
        emit escapeReleased();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

} // namespace qm
