// The help viewer: the program's own HTML help pages in a browser window, opened on a window's topic.
#include "ui/help_viewer.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/icons.h"

namespace qm {
namespace {

struct Topic {
    int context;
    const char* file;
};

const Topic kTopics[] = {
    {HelpViewer::kContents, "index.html"},
    {20, "run-window.html"},
    {30, "overwrite-confirmation.html"},
    {40, "tag-editor.html"},
    {50, "folder-selection.html"},
    {70, "about.html"},
    {80, "options-window.html"},
};

QToolButton* NavigationButton(QWidget* parent, const char* name, const char* caption, const QIcon& icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromLatin1(caption));
    button->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

} // namespace

HelpViewer::HelpViewer(QString helpFolder, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , helpFolder_(std::move(helpFolder))
    , home_(parent)
{
    setObjectName(QStringLiteral("HtmlHelp"));
    setWindowTitle(QStringLiteral("Quillmark Help"));

    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("browser"));
    browser->setOpenExternalLinks(true);
    browser->setSearchPaths({helpFolder_});
    butContents = NavigationButton(this, "butContents", "Contents", ThemeIcon("go-home", QStyle::SP_DirHomeIcon));
    butBack = NavigationButton(this, "butBack", "Back", ThemeIcon("go-previous", QStyle::SP_ArrowBack));
    butForward = NavigationButton(this, "butForward", "Forward", ThemeIcon("go-next", QStyle::SP_ArrowForward));
    butBack->setEnabled(false);
    butForward->setEnabled(false);
    connect(butContents, &QToolButton::clicked, this, [this] { showContents(); });
    connect(butBack, &QToolButton::clicked, browser, &QTextBrowser::backward);
    connect(butForward, &QToolButton::clicked, browser, &QTextBrowser::forward);
    connect(browser, &QTextBrowser::backwardAvailable, butBack, &QToolButton::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, butForward, &QToolButton::setEnabled);
    connect(browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser->documentTitle();
        setWindowTitle(
            title.isEmpty() ? QStringLiteral("Quillmark Help") : QStringLiteral("Quillmark Help - ") + title);
    });

    auto* bar = new QHBoxLayout;
    bar->addWidget(butContents);
    bar->addWidget(butBack);
    bar->addWidget(butForward);
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(browser, 1);
    resize(640, 560);
}

QString HelpViewer::topicFile(int context)
{
    for (const Topic& topic : kTopics)
        if (topic.context == context) return QString::fromLatin1(topic.file);
    return {};
}

bool HelpViewer::showContents() { return showContext(kContents); }

bool HelpViewer::showContext(int context)
{
    const QString file = topicFile(context);
    return !file.isEmpty() && showFile(file);
}

bool HelpViewer::showFile(const QString& file)
{
    const QString path = QDir(helpFolder_).filePath(file);
    if (!QFileInfo(path).isFile()) return false;
    browser->setSource(QUrl::fromLocalFile(path));
    stayAbove(QApplication::activeModalWidget());
    show();
    raise();
    activateWindow();
    return true;
}

void HelpViewer::stayAbove(QWidget* modal)
{
    QWidget* owner = modal ? modal : home_.data();
    if (modal == this || owner == parentWidget()) return;
    const QRect place = geometry();
    const bool wasVisible = isVisible();
    // A modal dialog blocks every window but its own children: as one of
    // them the help can be scrolled and its links followed while the dialog waits.
    setParent(owner, windowFlags());
    if (modal) modal->installEventFilter(this);
    setGeometry(place);
    if (wasVisible) show();
}

bool HelpViewer::eventFilter(QObject* watched, QEvent* event)
{
    // The dialog is closing (and may be destroyed next, with its children):
    // the help goes back to its own window and stays open there.
    if (event->type() == QEvent::Hide && watched == parentWidget() && watched != home_.data()) {
        watched->removeEventFilter(this);
        stayAbove(nullptr);
    }
    return QWidget::eventFilter(watched, event);
}

QString HelpViewer::currentFile() const
{
    const QUrl source = browser->source();
    return source.isEmpty() ? QString() : QFileInfo(source.toLocalFile()).fileName();
}

} // namespace qm
