// The tag editor: its four modes, the rules of its Add button, the cycle refusals, and the marks its changes raise.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "tests/ui/ui_test_support.h"
#include "ui/qt_text.h"
#include "ui/tag_editor.h"

using namespace qm;
using qm::test::FakeUserInterface;

namespace {

struct Fixture {
    TOptionSet options;
    FakeUserInterface ui;
    TfrmTagReplaceDlg editor {options, ui};
};

std::optional<std::size_t> IndexOf(int index)
{
    if (index < 0) return std::nullopt;
    return std::size_t(index);
}

} // namespace

class TagEditorTest : public QObject {
    Q_OBJECT

private slots:
    void fixedSizeAndLabels();
    void modes_data();
    void modes();
    void addButton_data();
    void addButton();
    void cancelChangesNothing();
    void typingStopsAtThirtyCharacters();
    void editingKeepsALongerEntry();
    void fullListRefused();
    void helpButton();
};

void TagEditorTest::fixedSizeAndLabels()
{
    Fixture f;
    QCOMPARE(f.editor.objectName(), QStringLiteral("TfrmTagReplaceDlg"));
    QCOMPARE(f.editor.minimumSize(), f.editor.maximumSize());
    QCOMPARE(f.editor.labTag1->text(), QStringLiteral("From tag"));
    QCOMPARE(f.editor.labTag2->text(), QStringLiteral("To tag"));
    QCOMPARE(f.editor.butCancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(f.editor.butHelp->text(), QStringLiteral("Help"));
    // Each field stands between "<" and ">".
    int opening = 0;
    int closing = 0;
    for (const QLabel* label : f.editor.findChildren<QLabel*>()) {
        opening += label->text() == QStringLiteral("<");
        closing += label->text() == QStringLiteral(">");
    }
    QCOMPARE(opening, 2);
    QCOMPARE(closing, 2);
}

void TagEditorTest::modes_data()
{
    QTest::addColumn<bool>("replacement");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("replacement, new") << true << -1 << "New tags for replacement"
                                      << "Add"
                                      << ""
                                      << "";
    QTest::newRow("replacement, edit") << true << 1 << "Edit tags for replacement"
                                       << "Ok"
                                       << "em"
                                       << "i";
    QTest::newRow("removal, new") << false << -1 << "New tags for removal"
                                  << "Add"
                                  << ""
                                  << "";
    QTest::newRow("removal, edit") << false << 1 << "Edit tags for removal"
                                   << "Ok"
                                   << "name=\"generator\""
                                   << "";
}

void TagEditorTest::modes()
{
    QFETCH(bool, replacement);
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QString, button);
    QFETCH(QString, first);
    QFETCH(QString, second);
    Fixture f;
    // Leftovers from an earlier opening are cleared.
    f.editor.tag1->setText(QStringLiteral("old"));
    f.editor.tag2->setText(QStringLiteral("old"));
    f.editor.prepare(replacement ? TagListKind::Replacement : TagListKind::Removal, IndexOf(index));
    QCOMPARE(f.editor.windowTitle(), caption);
    QCOMPARE(f.editor.butAdd->text(), button);
    QCOMPARE(f.editor.tag1->text(), first);
    QCOMPARE(f.editor.tag2->text(), second);
    QVERIFY(f.editor.labTag1->isEnabled());
    QVERIFY(f.editor.tag1->isEnabled());
    QCOMPARE(f.editor.labTag2->isEnabled(), replacement);
    QCOMPARE(f.editor.tag2->isEnabled(), replacement);
}

void TagEditorTest::addButton_data()
{
    QTest::addColumn<bool>("replacement");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("warning");

    const QString cycle = QString::fromLatin1(kCycleWarning);
    // Replacement pairs and the cycle test, with the default list.
    QTest::newRow("b to strong refused: strong becomes b already") << true << -1 << "b"
                                                                   << "strong" << false << cycle;
    QTest::newRow("bold to b accepted") << true << -1 << "bold"
                                        << "b" << true << "";
    QTest::newRow("b to bold refused: strong's result would be replaced") << true << -1 << "b"
                                                                          << "bold" << false << cycle;
    QTest::newRow("editing strong to B accepted") << true << 0 << "strong"
                                                  << "B" << true << "";
    QTest::newRow("editing em into a second strong to b accepted") << true << 1 << "strong"
                                                                   << "b" << true << "";
    QTest::newRow("a second entry from strong accepted") << true << -1 << "strong"
                                                         << "em2" << true << "";
    // Pairs the engine would find again in their own result.
    QTest::newRow("a to a refused") << true << -1 << "a"
                                    << "a" << false << cycle;
    QTest::newRow("a to A refused") << true << -1 << "a"
                                    << "A" << false << cycle;
    QTest::newRow("a to 'a href' refused") << true << -1 << "a"
                                           << "a href=x" << false << cycle;
    QTest::newRow("a to abbr accepted") << true << -1 << "a"
                                        << "abbr" << true << "";
    // Texts are taken as typed.
    QTest::newRow("empty from tag accepted") << true << -1 << ""
                                             << "big" << true << "";
    QTest::newRow("empty to tag accepted") << true << -1 << "big"
                                           << "" << true << "";
    QTest::newRow("empty pair refused: it finds itself") << true << -1 << ""
                                                         << "" << false << cycle;
    QTest::newRow("from tag with a space refused") << true << -1 << "font size=2"
                                                   << "small" << false << QString::fromLatin1(kSpaceInFromTagWarning);
    // Removal entries.
    QTest::newRow("removal, new") << false << -1 << "font"
                                  << "" << true << "";
    QTest::newRow("removal with spaces, new") << false << -1 << "meta name=\"x\""
                                              << "" << true << "";
    QTest::newRow("removal, edit keeps Active") << false << 6 << "/p"
                                                << "" << true << "";
}

void TagEditorTest::addButton()
{
    QFETCH(bool, replacement);
    QFETCH(int, index);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, accepted);
    QFETCH(QString, warning);
    Fixture f;
    const TOptionSet before = f.options;
    const TagListKind list = replacement ? TagListKind::Replacement : TagListKind::Removal;
    f.editor.prepare(list, IndexOf(index));
    f.editor.show();
    f.editor.tag1->setText(first);
    if (replacement) f.editor.tag2->setText(second);
    f.editor.butAdd->click();

    const std::string from = FromQt(first);
    const std::string to = FromQt(second);
    if (!accepted) {
        QVERIFY2(f.editor.isVisible(), "the editor stays open with the texts as typed");
        QCOMPARE(f.editor.tag1->text(), first);
        QCOMPARE(f.options.listReplaceTags, before.listReplaceTags);
        QCOMPARE(f.options.listDeleteTags, before.listDeleteTags);
        QVERIFY(!f.options.ProfileModified && !f.options.ReplaceSchemeModified);
        QCOMPARE(f.ui.messages.size(), std::size_t(1));
        QCOMPARE(f.ui.messages[0].kind, MessageKind::Warning);
        QCOMPARE(f.ui.messages[0].text, "\r" + FromQt(warning));
        return;
    }
    QVERIFY(!f.editor.isVisible());
    QVERIFY(f.ui.messages.empty());
    QVERIFY(f.options.ProfileModified);
    QCOMPARE(f.options.ReplaceSchemeModified, replacement);
    QCOMPARE(f.options.RemoveSchemeModified, !replacement);
    if (replacement) {
        auto expected = before.listReplaceTags;
        if (index < 0)
            expected.push_back({true, from, to});
        else
            expected[index] = {expected[index].Active, from, to};
        QCOMPARE(f.options.listReplaceTags, expected);
        QCOMPARE(f.options.listDeleteTags, before.listDeleteTags);
    } else {
        auto expected = before.listDeleteTags;
        if (index < 0)
            expected.push_back({true, from});
        else
            expected[index].Tag = from;
        QCOMPARE(f.options.listDeleteTags, expected);
        QCOMPARE(f.options.listReplaceTags, before.listReplaceTags);
    }
}

void TagEditorTest::cancelChangesNothing()
{
    Fixture f;
    const TOptionSet before = f.options;
    f.editor.prepare(TagListKind::Replacement, 0);
    f.editor.show();
    f.editor.tag2->setText(QStringLiteral("bold"));
    f.editor.butCancel->click();
    QVERIFY(!f.editor.isVisible());
    QCOMPARE(f.options.listReplaceTags, before.listReplaceTags);
    QVERIFY(!f.options.ProfileModified && !f.options.ReplaceSchemeModified);
}

void TagEditorTest::typingStopsAtThirtyCharacters()
{
    Fixture f;
    f.editor.prepare(TagListKind::Replacement, std::nullopt);
    QTest::keyClicks(f.editor.tag1, QString(40, QLatin1Char('x')));
    QTest::keyClicks(f.editor.tag2, QString(31, QLatin1Char('y')));
    QCOMPARE(f.editor.tag1->text().size(), 30);
    QCOMPARE(f.editor.tag2->text().size(), 30);
}

void TagEditorTest::editingKeepsALongerEntry()
{
    // A scheme file may bring a longer entry; opening it must not cut it short.
    Fixture f;
    const std::string longTag(40, 'z');
    f.options.listDeleteTags[0].Tag = longTag;
    f.editor.prepare(TagListKind::Removal, 0);
    QCOMPARE(f.editor.tag1->text(), ToQt(longTag));
    f.editor.butAdd->click();
    QCOMPARE(f.options.listDeleteTags[0].Tag, longTag);
    // A new entry is limited again.
    f.editor.prepare(TagListKind::Removal, std::nullopt);
    QTest::keyClicks(f.editor.tag1, QString(40, QLatin1Char('x')));
    QCOMPARE(f.editor.tag1->text().size(), 30);
}

void TagEditorTest::fullListRefused()
{
    Fixture f;
    f.options.listReplaceTags.assign(kMaxTagEntries, TTagReplacement {true, "x", "y"});
    f.editor.prepare(TagListKind::Replacement, std::nullopt);
    f.editor.tag1->setText(QStringLiteral("q"));
    f.editor.tag2->setText(QStringLiteral("p"));
    QVERIFY(!f.editor.apply());
    QCOMPARE(f.options.listReplaceTags.size(), kMaxTagEntries);
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
}

void TagEditorTest::helpButton()
{
    Fixture f;
    QSignalSpy help(&f.editor, &TfrmTagReplaceDlg::helpRequested);
    f.editor.butHelp->click();
    QCOMPARE(help.size(), 1);
    QCOMPARE(help.at(0).at(0).toInt(), 40);
}

QTEST_MAIN(TagEditorTest)
#include "tag_editor_test.moc"
