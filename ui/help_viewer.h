// The help viewer: the program's own HTML help pages in a browser window, opened on a window's topic.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace qm {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // Topic numbers of the windows; 0 asks for the contents page.
    static constexpr int kContents = 0;

    // `helpFolder` holds the pages, normally the program folder's "help".
    explicit HelpViewer(QString helpFolder, QWidget* parent = nullptr);

    // The page of a topic number, relative to the help folder; empty for an unknown number.
    static QString topicFile(int context);

    // Both show the page and bring the viewer to the front; a page that is
    // missing leaves everything as it was and gives false.
    bool showContents();
    bool showContext(int context);

    QString helpFolder() const { return helpFolder_; }
    // The page on screen, or empty before the first one.
    QString currentFile() const;

    QTextBrowser* browser;
    QToolButton* butContents;
    QToolButton* butBack;
    QToolButton* butForward;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool showFile(const QString& file);
    // Shown from a modal dialog, the help becomes that dialog's window until it closes; null: back home.
    void stayAbove(QWidget* modal);

    QString helpFolder_;
    QPointer<QWidget> home_; // the parent given at construction
};

} // namespace qm
