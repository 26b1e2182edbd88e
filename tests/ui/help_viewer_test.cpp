// The help viewer and the help pages: every window's topic exists, opens, and links only to pages that exist.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "ui/help_viewer.h"

using namespace qm;

class HelpViewerTest : public QObject {
    Q_OBJECT

private slots:
    void topics_data();
    void topics();
    void unknownTopicDoesNothing();
    void missingPagesDoNothing();
    void linksLeadToPagesThatExist();
    void navigation();
};

void HelpViewerTest::topics_data()
{
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("title");
    QTest::newRow("contents") << 0 << "index.html"
                              << "Contents";
    QTest::newRow("run window") << 20 << "run-window.html"
                                << "Optimizing files";
    QTest::newRow("overwrite confirmation") << 30 << "overwrite-confirmation.html"
                                            << "When a file is in the way";
    QTest::newRow("tag editor") << 40 << "tag-editor.html"
                                << "Editing a tag entry";
    QTest::newRow("about window") << 70 << "about.html"
                                  << "About Quillmark";
    QTest::newRow("options window") << 80 << "options-window.html"
                                    << "Options";
}

void HelpViewerTest::topics()
{
    QFETCH(int, context);
    QFETCH(QString, file);
    QFETCH(QString, title);
    HelpViewer viewer(QStringLiteral(QMK_HELP_DIR));
    QCOMPARE(HelpViewer::topicFile(context), file);
    QVERIFY(context == 0 ? viewer.showContents() : viewer.showContext(context));
    QVERIFY(viewer.isVisible());
    QCOMPARE(viewer.currentFile(), file);
    QCOMPARE(viewer.browser->documentTitle(), title);
    QVERIFY(!viewer.browser->toPlainText().isEmpty());
}

void HelpViewerTest::unknownTopicDoesNothing()
{
    HelpViewer viewer(QStringLiteral(QMK_HELP_DIR));
    QVERIFY(!viewer.showContext(99));
    QVERIFY(!viewer.isVisible());
    QVERIFY(viewer.currentFile().isEmpty());
}

void HelpViewerTest::missingPagesDoNothing()
{
    QTemporaryDir empty;
    HelpViewer viewer(empty.path());
    QVERIFY(!viewer.showContext(80));
    QVERIFY(!viewer.showContents());
    QVERIFY(!viewer.isVisible());
}

void HelpViewerTest::linksLeadToPagesThatExist()
{
    const QDir folder(QStringLiteral(QMK_HELP_DIR));
    const QStringList pages = folder.entryList({QStringLiteral("*.html")});
    QVERIFY(pages.size() >= 6);
    static const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)\""));
    for (const QString& page : pages) {
        QFile file(folder.filePath(page));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = link.globalMatch(text); match.hasNext();) {
            const QString target = match.next().captured(1);
            QVERIFY2(folder.exists(target), qPrintable(page + " links to " + target));
        }
        QVERIFY2(text.contains(QStringLiteral("<title>")), qPrintable(page));
    }
}

void HelpViewerTest::navigation()
{
    HelpViewer viewer(QStringLiteral(QMK_HELP_DIR));
    QVERIFY(viewer.showContext(80));
    QVERIFY(!viewer.butBack->isEnabled());
    QVERIFY(viewer.showContext(40));
    QVERIFY(viewer.butBack->isEnabled());
    viewer.butBack->click();
    QCOMPARE(viewer.currentFile(), QStringLiteral("options-window.html"));
    viewer.butContents->click();
    QCOMPARE(viewer.currentFile(), QStringLiteral("index.html"));
}

QTEST_MAIN(HelpViewerTest)
#include "help_viewer_test.moc"
