// The options window driven as a user would: pages, captions, click behaviours, key filter, choosers, tag lists,
// closing.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

#include "tests/support/recording_hooks.h"
#include "tests/ui/ui_test_support.h"
#include "ui/options_window.h"
#include "ui/options_window_binding.h"
#include "ui/qt_text.h"
#include "ui/tag_editor.h"

using namespace qm;
using qm::test::FakeUserInterface;
using qm::test::RecordingCommands;
using qm::test::Shown;

namespace {

// One window over a fresh option set, with a scripted user interface.
struct Fixture {
    QTemporaryDir programFolder;
    RealFileSystem fs;
    FakeUserInterface ui;
    test::RecordingHooks hooks;
    MainModel model {fs, ui, hooks};
    TOptionSet& options = model.options;
    OptionsWindowBinding logic {[this](const OptionsWindowBinding::Command& command) { command(model); }};
    RecordingCommands commands;
    TfrmOptions window {options, ui, commands};

    Fixture()
    {
        model.state.programFolder = FromQt(programFolder.path()) + "/";
        commands.choosers = &logic;
    }

    template<typename T = QWidget> T* find(const QString& name) const
    {
        T* widget = window.findChild<T*>(name);
        if (!widget) qWarning("no control named %s", qPrintable(name));
        return widget;
    }
    QAbstractButton* button(const QString& name) const { return find<QAbstractButton>(name); }
};

QString KeyOf(const OptionRow& row) { return QString::fromLatin1(row.key.data(), qsizetype(row.key.size())); }

TfrmOptions::Page PageOf(OptionPage page)
{
    switch (page) {
    case OptionPage::Common:
        return TfrmOptions::Common;
    case OptionPage::Scripts:
        return TfrmOptions::Scripts;
    case OptionPage::Tags:
        return TfrmOptions::Tags;
    case OptionPage::Files:
        return TfrmOptions::Files;
    default:
        return TfrmOptions::Misc;
    }
}

} // namespace

class OptionsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void windowFrame();
    void everyOptionOnItsPageWithItsCaption_data();
    void everyOptionOnItsPageWithItsCaption();
    void pageOrder_data();
    void pageOrder();
    void enabledWhenCreated();
    void clickBehaviours_data();
    void clickBehaviours();
    void behaviourRunFromOutside();
    void showOptionsKeepsEnabledStates();
    void numberFieldKeyFilter_data();
    void numberFieldKeyFilter();
    void numberFieldRefusesPastedLetters();
    void profileButtonsAndKeys();
    void ctrlAInATextFieldSelectsItsText();
    void folderChoosers_data();
    void folderChoosers();
    void editorChooser();
    void typedEditorPath();
    void languageControlsHidden();
    void pageButtons();
    void tagListsShowTheOptionSet();
    void togglingAnEntryMarksTheScheme_data();
    void togglingAnEntryMarksTheScheme();
    void selectingAnEntryMarksTheScheme();
    void tagButtonsHints();
    void addEntryThroughTheEditor();
    void editWithoutSelectionSaysError();
    void editSelectedEntryByDoubleClick();
    void fullListRefusesAnotherEntry();
    void removeAsksTheCommands();
    void schemeButtons();
    void closing_data();
    void closing();
    void helpButton();
};

void OptionsWindowTest::windowFrame()
{
    Fixture f;
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Options"));
    QCOMPARE(f.window.objectName(), QStringLiteral("TfrmOptions"));
    QVERIFY(f.window.width() >= 599);
    QVERIFY(f.window.height() >= 453);
    QCOMPARE(f.window.minimumSize(), f.window.maximumSize());
    QVERIFY(!(f.window.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(f.window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!f.window.isModal());
    QCOMPARE(Shown(f.find<QLabel>("labMode")), QStringLiteral("Profile"));
    QVERIFY(f.find<QLabel>("labMode")->font().bold());
    QVERIFY(f.find<QLineEdit>("edProfile")->isReadOnly());
    QCOMPARE(f.button("butOpen")->toolTip(), QStringLiteral("Load profile"));
    QCOMPARE(f.button("butSave")->toolTip(), QStringLiteral("Save changes to profile"));
    QCOMPARE(f.button("butSaveAs")->toolTip(), QStringLiteral("Save profile as"));
    QCOMPARE(Shown(f.button("butClose")), QStringLiteral("Close "));
    QCOMPARE(f.button("butClose")->toolTip(), QStringLiteral("Save options and close window"));
    QCOMPARE(Shown(f.button("butHelp")), QStringLiteral("Help"));
}

void OptionsWindowTest::everyOptionOnItsPageWithItsCaption_data()
{
    QTest::addColumn<QString>("key");
    for (const OptionRow& row : OptionTable()) {
        if (row.page == OptionPage::None || row.page == OptionPage::Header) continue;
        QTest::newRow(row.key.data()) << KeyOf(row);
    }
}

void OptionsWindowTest::everyOptionOnItsPageWithItsCaption()
{
    QFETCH(QString, key);
    Fixture f;
    const OptionRow& row = RowOf(*OptionByKey(FromQt(key)));
    QWidget* control = f.window.control(row.id);
    QVERIFY(control);
    QCOMPARE(control->objectName(), key);
    QVERIFY2(f.window.page(PageOf(row.page))->isAncestorOf(control), "on its page");
    QCOMPARE(control->isHidden(), row.hidden);

    const QString caption = LabelCaption(row.caption);
    if (row.kind == OptionKind::Flag) {
        // Qt turns "&&" into one ampersand in a button's caption.
        QCOMPARE(Shown(control), caption);
        QCOMPARE(QString(row.key.starts_with("rad") ? "QRadioButton" : "QCheckBox"),
            QString(control->metaObject()->className()));
    } else if (!caption.isEmpty()) {
        bool found = false;
        for (const QLabel* label : f.window.page(PageOf(row.page))->findChildren<QLabel*>())
            found = found || label->text() == caption;
        QVERIFY2(found, qPrintable("a label reading " + caption));
    }
    QVERIFY(!caption.contains(QStringLiteral("&&")));
}

void OptionsWindowTest::pageOrder_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QStringList>("indented");
    QTest::newRow("Common") << int(TfrmOptions::Common)
                            << QStringList {"cbDelKav", "cbDelEmptyPar", "cbDelEmptyLine", "cbDelCRLF", "cbDelTabLine",
                                   "cbDelBegEndSpace", "cbDelAllTabs", "cbReplaceDoubleSpaces",
                                   "cbReplaceDoubleSpacesInKav", "cbReplaceDoubleNbsp", "cbReplaceDoubleNbspInKav",
                                   "cbKeepLineEnds", "cbKeepPre"}
                            << QStringList {"cbDelEmptyPar", "cbDelCRLF", "cbReplaceDoubleSpacesInKav",
                                   "cbReplaceDoubleNbspInKav"};
    QTest::newRow("Scripts") << int(TfrmOptions::Scripts)
                             << QStringList {"cbDelComments", "labComments", "cbIsStyle", "cbIsScript", "cbOuttag",
                                    "cbSsi", "labScr", "cbScriptsInfo", "cbPhp", "cbAsp", "cbCF", "cbDelScripts"}
                             << QStringList {"cbIsStyle", "cbIsScript", "cbOuttag", "cbSsi", "cbScriptsInfo", "cbPhp",
                                    "cbAsp", "cbCF"};
    QTest::newRow("Files") << int(TfrmOptions::Files)
                           << QStringList {"labFileRestrInfo", "cbMaxFCount", "cbProcessEmbeded", "cbMaxEmbCount",
                                  "cbSaveNopen", "radModifyOld", "cbSaveBefMod", "edBackUpPath", "radSaveNewMod",
                                  "labSaveNewMod", "edOptimizedPath"}
                           << QStringList {"cbMaxFCount", "cbMaxEmbCount", "cbSaveBefMod", "edBackUpPath",
                                  "labSaveNewMod", "edOptimizedPath"};
    QTest::newRow("Misc") << int(TfrmOptions::Misc)
                          << QStringList {"labOutput", "cbShowConf", "cbShowInfo", "cbShowEnd", "cbShowOptWin",
                                 "labExtEditor", "edExtEditor"}
                          << QStringList {};
}

void OptionsWindowTest::pageOrder()
{
    QFETCH(int, page);
    QFETCH(QStringList, order);
    QFETCH(QStringList, indented);
    Fixture f;
    f.window.show();
    f.window.showPage(TfrmOptions::Page(page));
    QApplication::processEvents();
    auto at = [&](const QString& name) { return f.find<QWidget>(name)->mapTo(&f.window, QPoint(0, 0)); };
    const int left = at(QStringLiteral("labTitle")).x();
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QVERIFY2(at(order[i]).y() < at(order[i + 1]).y(), qPrintable(order[i] + " above " + order[i + 1]));
    for (const QString& name : order)
        QVERIFY2((at(name).x() > left + 10) == indented.contains(name), qPrintable(name + " indentation"));
    // The number fields stand beside the flag that enables them.
    if (page == TfrmOptions::Files) {
        QCOMPARE(at("edMaxFCount").y() / 10, at("cbMaxFCount").y() / 10);
        QVERIFY(at("edMaxFCount").x() > at("cbMaxFCount").x());
        QCOMPARE(at("edMaxEmbCount").y() / 10, at("cbMaxEmbCount").y() / 10);
        QVERIFY(at("butChooseBackUpF").x() > at("edBackUpPath").x());
        QVERIFY(at("butChooseModPath").x() > at("edOptimizedPath").x());
    }
}

void OptionsWindowTest::enabledWhenCreated()
{
    Fixture f;
    const QStringList disabled {
        "edMaxEmbCount", "cbScriptsInfo", "cbPhp", "cbAsp", "cbCF", "butSave", "butRepSave", "butRemSave"};
    for (const OptionRow& row : OptionTable()) {
        QWidget* control = f.window.control(row.id);
        if (!control) continue;
        QVERIFY2(control->isEnabled() != disabled.contains(KeyOf(row)), row.key.data());
    }
    for (const char* name : {"butSave", "butRepSave", "butRemSave"}) QVERIFY(!f.button(name)->isEnabled());
    // The informational boxes are on and stay out of reach.
    for (Opt id : {Opt::cbScriptsInfo, Opt::cbPhp, Opt::cbAsp, Opt::cbCF})
        QVERIFY(qobject_cast<QAbstractButton*>(f.window.control(id))->isChecked());
    // On a first start cbMaxEmbCount is shown enabled although cbProcessEmbeded is off.
    QVERIFY(f.window.control(Opt::cbMaxEmbCount)->isEnabled());
}

void OptionsWindowTest::clickBehaviours_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<QStringList>("disabled");
    QTest::addColumn<bool>("profileModified");

    // Flags that enable their dependents and raise the mark.
    QTest::newRow("cbDelKav off") << QStringList {"cbDelKav"} << QStringList {} << QStringList {"cbDelEmptyPar"}
                                  << true;
    QTest::newRow("cbDelKav off, on") << QStringList {"cbDelKav", "cbDelKav"} << QStringList {"cbDelEmptyPar"}
                                      << QStringList {} << true;
    QTest::newRow("cbDelEmptyLine off") << QStringList {"cbDelEmptyLine"} << QStringList {} << QStringList {"cbDelCRLF"}
                                        << true;
    QTest::newRow("cbReplaceDoubleSpaces off") << QStringList {"cbReplaceDoubleSpaces"} << QStringList {}
                                               << QStringList {"cbReplaceDoubleSpacesInKav"} << true;
    QTest::newRow("cbReplaceDoubleNbsp off")
        << QStringList {"cbReplaceDoubleNbsp"} << QStringList {} << QStringList {"cbReplaceDoubleNbspInKav"} << true;
    QTest::newRow("cbDelComments off") << QStringList {"cbDelComments"} << QStringList {}
                                       << QStringList {"labComments", "cbIsScript", "cbIsStyle", "cbOuttag", "cbSsi"}
                                       << true;
    QTest::newRow("cbDelComments off, on")
        << QStringList {"cbDelComments", "cbDelComments"}
        << QStringList {"labComments", "cbIsScript", "cbIsStyle", "cbOuttag", "cbSsi"} << QStringList {} << true;

    // Profile flags that only raise the mark.
    for (const char* name : {"cbDelEmptyPar", "cbDelCRLF", "cbDelTabLine", "cbDelBegEndSpace", "cbDelAllTabs",
             "cbReplaceDoubleSpacesInKav", "cbReplaceDoubleNbspInKav", "cbIsStyle", "cbIsScript", "cbOuttag", "cbSsi",
             "cbDelScripts", "cbClosedTagsAlso", "cbKeepLineEnds", "cbKeepPre"})
        QTest::newRow(name) << QStringList {name} << QStringList {} << QStringList {} << true;

    // Program options: enabling only, never the mark; the rule is stateful.
    QTest::newRow("cbProcessEmbeded on") << QStringList {"cbProcessEmbeded"}
                                         << QStringList {"cbMaxEmbCount", "edMaxEmbCount"} << QStringList {} << false;
    QTest::newRow("cbProcessEmbeded on, off") << QStringList {"cbProcessEmbeded", "cbProcessEmbeded"} << QStringList {}
                                              << QStringList {"cbMaxEmbCount", "edMaxEmbCount"} << false;
    QTest::newRow("cbProcessEmbeded on, cbMaxEmbCount on")
        << QStringList {"cbProcessEmbeded", "cbMaxEmbCount"} << QStringList {"cbMaxEmbCount", "edMaxEmbCount"}
        << QStringList {} << false;
    QTest::newRow("cbProcessEmbeded on, cbMaxEmbCount on, off")
        << QStringList {"cbProcessEmbeded", "cbMaxEmbCount", "cbMaxEmbCount"} << QStringList {"cbMaxEmbCount"}
        << QStringList {"edMaxEmbCount"} << false;
    QTest::newRow("cbMaxEmbCount on at first start")
        << QStringList {"cbMaxEmbCount"} << QStringList {"edMaxEmbCount"} << QStringList {} << false;
    QTest::newRow("cbMaxFCount off") << QStringList {"cbMaxFCount"} << QStringList {} << QStringList {"edMaxFCount"}
                                     << false;
    QTest::newRow("cbMaxFCount off, on") << QStringList {"cbMaxFCount", "cbMaxFCount"} << QStringList {"edMaxFCount"}
                                         << QStringList {} << false;
    QTest::newRow("radModifyOld") << QStringList {"radModifyOld"}
                                  << QStringList {"cbSaveBefMod", "edBackUpPath", "butChooseBackUpF"}
                                  << QStringList {"edOptimizedPath", "butChooseModPath", "labSaveNewMod"} << false;
    QTest::newRow("radModifyOld, radSaveNewMod")
        << QStringList {"radModifyOld", "radSaveNewMod"}
        << QStringList {"edOptimizedPath", "butChooseModPath", "labSaveNewMod"}
        << QStringList {"cbSaveBefMod", "edBackUpPath", "butChooseBackUpF"} << false;
    for (const char* name : {"cbSaveNopen", "cbShowConf", "cbShowInfo", "cbShowEnd", "cbShowOptWin"})
        QTest::newRow(name) << QStringList {name} << QStringList {} << QStringList {} << false;
    QTest::newRow("cbSaveBefMod") << QStringList {"radModifyOld", "cbSaveBefMod"} << QStringList {"cbSaveBefMod"}
                                  << QStringList {} << false;
}

void OptionsWindowTest::clickBehaviours()
{
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, enabled);
    QFETCH(QStringList, disabled);
    QFETCH(bool, profileModified);
    Fixture f;
    QSignalSpy modifyOld(&f.window, &TfrmOptions::modifyOldChanged);

    for (const QString& name : clicks) {
        const Opt id = *OptionByKey(FromQt(name));
        const bool before = f.options.flag(id);
        QAbstractButton* button = f.button(name);
        QVERIFY2(button->isEnabled(), qPrintable(name + " can be clicked"));
        button->click();
        // A radio button that is already on stays on; a check box turns over.
        const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
        QCOMPARE(f.options.flag(id), radio ? true : !before);
        QCOMPARE(button->isChecked(), f.options.flag(id));
    }
    for (const QString& name : enabled) QVERIFY2(f.find(name)->isEnabled(), qPrintable(name + " enabled"));
    for (const QString& name : disabled) QVERIFY2(!f.find(name)->isEnabled(), qPrintable(name + " disabled"));
    QCOMPARE(f.options.ProfileModified, profileModified);
    QCOMPARE(f.button("butSave")->isEnabled(), profileModified);
    QVERIFY(!f.options.ReplaceSchemeModified);

    // The radio group keeps its two halves opposite and tells the main window.
    QCOMPARE(f.options.flag(Opt::radSaveNewMod), !f.options.flag(Opt::radModifyOld));
    QCOMPARE(qobject_cast<QAbstractButton*>(f.window.control(Opt::radSaveNewMod))->isChecked(),
        f.options.flag(Opt::radSaveNewMod));
    if (clicks.constLast().startsWith(QStringLiteral("rad"))) {
        QVERIFY(!modifyOld.isEmpty());
        QCOMPARE(modifyOld.constLast().at(0).toBool(), f.options.flag(Opt::radModifyOld));
    }
    // Disabled controls keep their values.
    if (clicks == QStringList {"cbDelEmptyLine"}) QVERIFY(!f.options.flag(Opt::cbDelCRLF));
}

void OptionsWindowTest::behaviourRunFromOutside()
{
    Fixture f;
    // As a loader does: change the value, then ask for the click behaviour.
    f.options.setFlag(Opt::cbDelKav, false);
    f.window.applyClickBehaviour(Opt::cbDelKav);
    QVERIFY(!f.button("cbDelKav")->isChecked());
    QVERIFY(!f.find("cbDelEmptyPar")->isEnabled());
    QVERIFY(f.options.ProfileModified);
    QVERIFY(f.button("butSave")->isEnabled());

    // Start-up runs the storage mode's behaviour for the default.
    f.window.applyClickBehaviour(Opt::radSaveNewMod);
    QVERIFY(f.find("edOptimizedPath")->isEnabled());
    QVERIFY(!f.find("cbSaveBefMod")->isEnabled());
    QVERIFY(!f.find("butChooseBackUpF")->isEnabled());

    // A program option's behaviour raises no mark.
    f.options.ProfileModified = false;
    f.options.setFlag(Opt::cbMaxFCount, false);
    f.window.applyClickBehaviour(Opt::cbMaxFCount);
    QVERIFY(!f.find("edMaxFCount")->isEnabled());
    QVERIFY(!f.options.ProfileModified);
    QVERIFY(!f.button("butSave")->isEnabled());
}

void OptionsWindowTest::showOptionsKeepsEnabledStates()
{
    Fixture f;
    f.button("cbDelEmptyLine")->click();
    f.options.setFlag(Opt::cbDelEmptyLine, true);
    f.options.setFlag(Opt::cbDelCRLF, true);
    f.options.setText(Opt::edProfile, "/tmp/profiles/site.pro");
    f.options.setText(Opt::edMaxFCount, "7");
    f.options.listDeleteTags = {{true, "font"}};
    f.options.ProfileModified = false;
    f.window.showOptions();
    QVERIFY(f.button("cbDelEmptyLine")->isChecked());
    QVERIFY(f.button("cbDelCRLF")->isChecked());
    // Values are shown, but enabling is the click behaviours' business.
    QVERIFY(!f.find("cbDelCRLF")->isEnabled());
    QCOMPARE(f.find<QLineEdit>("edProfile")->text(), QStringLiteral("/tmp/profiles/site.pro"));
    QCOMPARE(f.find<QLineEdit>("edMaxFCount")->text(), QStringLiteral("7"));
    QCOMPARE(f.window.listDeleteTags->count(), 1);
    QVERIFY(!f.button("butSave")->isEnabled());
}

void OptionsWindowTest::numberFieldKeyFilter_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("digits and a letter") << "edMaxFCount"
                                         << "1a2"
                                         << "12";
    QTest::newRow("letters only") << "edMaxFCount"
                                  << "abc"
                                  << "";
    QTest::newRow("sign and space") << "edMaxFCount"
                                    << "-3 4"
                                    << "34";
    QTest::newRow("punctuation") << "edMaxFCount"
                                 << "5.0"
                                 << "50";
    QTest::newRow("embedded levels") << "edMaxEmbCount"
                                     << "x9y"
                                     << "9";
}

void OptionsWindowTest::numberFieldKeyFilter()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    Fixture f;
    f.button("cbProcessEmbeded")->click();
    auto* edit = f.find<QLineEdit>(field);
    f.window.show();
    f.window.showPage(TfrmOptions::Files);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), expected);
    QCOMPARE(ToQt(f.options.text(*OptionByKey(FromQt(field)))), expected);

    // Backspace works; control characters do not get in.
    QTest::keyClicks(edit, QStringLiteral("7"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Tab, Qt::NoModifier);
    QCOMPARE(edit->text(), expected);
}

void OptionsWindowTest::numberFieldRefusesPastedLetters()
{
    Fixture f;
    auto* edit = f.find<QLineEdit>("edMaxFCount");
    edit->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("4x5"));
    edit->paste();
    QCOMPARE(f.options.text(Opt::edMaxFCount), std::string("100"));
    edit->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("45"));
    edit->paste();
    QCOMPARE(f.options.text(Opt::edMaxFCount), std::string("45"));
}

void OptionsWindowTest::profileButtonsAndKeys()
{
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.button("butOpen")->click();
    f.button("butSaveAs")->click();
    QCOMPARE(f.commands.calls, (QStringList {"openProfile", "saveProfileAs"}));
    f.commands.calls.clear();

    // Ctrl+S saves although butSave is disabled.
    QVERIFY(!f.button("butSave")->isEnabled());
    f.button("butOpen")->setFocus();
    QTest::keyClick(&f.window, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&f.window, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&f.window, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(f.commands.calls, (QStringList {"saveProfile", "openProfile", "saveProfileAs"}));
    QCOMPARE(f.window.menuSave->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(f.window.menuOpen->text(), QStringLiteral("Open"));
    QCOMPARE(f.window.menuSaveAs->text(), QStringLiteral("SaveAs"));
}

// In a text field Ctrl+A selects its text, as everywhere; the profile's
// Ctrl+O and Ctrl+S still reach the window from there.
void OptionsWindowTest::ctrlAInATextFieldSelectsItsText()
{
    Fixture f;
    f.window.show();
    f.window.showPage(TfrmOptions::Misc);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    auto* editor = f.find<QLineEdit>("edExtEditor");
    editor->setText(QStringLiteral("/usr/bin/kate"));
    editor->setFocus();
    editor->setCursorPosition(0);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(editor->selectedText(), QStringLiteral("/usr/bin/kate"));
    QVERIFY(f.commands.calls.isEmpty());
    QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(f.commands.calls, QStringList {"saveProfile"});
}

void OptionsWindowTest::folderChoosers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("answer"); // "TEMP" stands for an existing folder
    QTest::addColumn<bool>("taken");
    QTest::newRow("output folder chosen") << "butChooseModPath"
                                          << "edOptimizedPath"
                                          << "TEMP" << true;
    QTest::newRow("output folder cancelled") << "butChooseModPath"
                                             << "edOptimizedPath"
                                             << "-" << false;
    QTest::newRow("output folder vanished") << "butChooseModPath"
                                            << "edOptimizedPath"
                                            << "" << false;
    QTest::newRow("output folder missing") << "butChooseModPath"
                                           << "edOptimizedPath"
                                           << "/no/such/folder" << false;
    QTest::newRow("backup folder chosen") << "butChooseBackUpF"
                                          << "edBackUpPath"
                                          << "TEMP" << true;
    QTest::newRow("backup folder cancelled") << "butChooseBackUpF"
                                             << "edBackUpPath"
                                             << "-" << false;
}

void OptionsWindowTest::folderChoosers()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, answer);
    QFETCH(bool, taken);
    QTemporaryDir temp;
    Fixture f;
    f.button("radModifyOld")->click(); // the backup chooser is enabled in this mode
    f.button("radSaveNewMod")->click();
    const Opt id = *OptionByKey(FromQt(field));
    f.options.setText(id, "/former/");
    f.window.showOptions();
    f.ui.folder = FromQt(answer == QStringLiteral("TEMP") ? temp.path() : answer);
    if (button == QStringLiteral("butChooseBackUpF")) f.button("radModifyOld")->click();

    f.button(button)->click();
    QCOMPARE(f.ui.folderRequests, 1);
    const QString expected = taken ? temp.path() + QStringLiteral("/") : QStringLiteral("/former/");
    QCOMPARE(ToQt(f.options.text(id)), expected);
    QCOMPARE(f.find<QLineEdit>(field)->text(), expected);
    QCOMPARE(f.commands.calls, QStringList {QStringLiteral("chooseFolder ") + field});
    // The path check follows in every case: the output folder /former/ does not exist.
    QVERIFY(!f.ui.messages.empty());
}

void OptionsWindowTest::editorChooser()
{
    Fixture f;
    f.options.setText(Opt::edExtEditor, "/usr/bin/vi");
    f.window.showOptions();
    f.ui.files.clear();
    f.window.butExtEditor->click();
    QCOMPARE(f.options.text(Opt::edExtEditor), std::string("/usr/bin/vi"));
    QCOMPARE(f.ui.fileRequests.size(), std::size_t(1));
    QCOMPARE(f.ui.fileRequests[0].filter, std::string("Executables [ * ]|*"));
    QVERIFY(!f.ui.fileRequests[0].multiple);

    // The path keeps its letter case: this file system tells them apart.
    f.ui.files = {"/opt/Editors/BlueFish"};
    f.window.butExtEditor->click();
    QCOMPARE(f.options.text(Opt::edExtEditor), std::string("/opt/Editors/BlueFish"));
    QCOMPARE(f.find<QLineEdit>("edExtEditor")->text(), QStringLiteral("/opt/Editors/BlueFish"));
    QVERIFY(f.ui.messages.empty()); // no path check follows
    QCOMPARE(f.window.butExtEditor->toolTip(), QStringLiteral("Select file"));
}

void OptionsWindowTest::typedEditorPath()
{
    Fixture f;
    auto* editor = f.find<QLineEdit>("edExtEditor");
    QVERIFY(!editor->isReadOnly());
    QTest::keyClicks(editor, QStringLiteral("/usr/bin/kate"));
    QCOMPARE(f.options.text(Opt::edExtEditor), std::string("/usr/bin/kate"));
    QVERIFY(!f.options.ProfileModified);
    QVERIFY(f.find<QLineEdit>("edOptimizedPath")->isReadOnly());
    QVERIFY(f.find<QLineEdit>("edBackUpPath")->isReadOnly());
}

void OptionsWindowTest::languageControlsHidden()
{
    Fixture f;
    f.window.show();
    f.window.showPage(TfrmOptions::Misc);
    for (const char* name : {"labLan", "edLan", "butLan", "butLanEng"}) QVERIFY2(!f.find(name)->isVisible(), name);
    QCOMPARE(f.window.butLan->toolTip(), QStringLiteral("Select file"));
    QCOMPARE(f.window.butLanEng->toolTip(), QStringLiteral("Set English as Default language"));
    f.options.setText(Opt::edLan, "/x/russian.lng");
    f.window.butLanEng->click();
    QCOMPARE(f.options.text(Opt::edLan), std::string());
    QCOMPARE(f.commands.calls, QStringList {"setEnglishLanguage"});
    QVERIFY(QFile::exists(f.programFolder.path() + QStringLiteral("/Options.dat")));
    f.ui.files = {"/x/German.lng"};
    f.window.butLan->click();
    QCOMPARE(f.options.text(Opt::edLan), std::string("/x/German.lng"));
    QCOMPARE(f.ui.fileRequests.back().filter, std::string("Language files [ *.lng ]|*.lng"));
}

void OptionsWindowTest::pageButtons()
{
    Fixture f;
    const QList<std::pair<const char*, const char*>> buttons {{"SpeedButton2", "Common"}, {"SpeedButton6", "Scripts"},
        {"SpeedButton3", "Tags"}, {"SpeedButton4", "Files "}, {"SpeedButton5", "Misc"}};
    QVERIFY(f.button("SpeedButton2")->isChecked());
    QCOMPARE(f.window.currentPage(), TfrmOptions::Common);
    int page = 0;
    for (const auto& [name, caption] : buttons) {
        QCOMPARE(Shown(f.button(name)), QString::fromLatin1(caption));
        f.button(name)->click();
        QCOMPARE(int(f.window.currentPage()), page);
        for (const auto& [other, unused] : buttons) QCOMPARE(f.button(other)->isChecked(), other == name);
        ++page;
    }
    const QStringList titles {"Common optimization options", "Comments & Scripts", "Tags treatment options",
        "Files treatment options", "Miscellaneous"};
    for (int i = 0; i < TfrmOptions::PageCount; ++i) {
        auto* title = f.window.page(TfrmOptions::Page(i))->findChild<QLabel*>(QStringLiteral("labTitle"));
        QCOMPARE(title->text(), titles[i]);
    }
}

void OptionsWindowTest::tagListsShowTheOptionSet()
{
    Fixture f;
    QTreeWidget* replace = f.window.listReplaceTags;
    QCOMPARE(replace->topLevelItemCount(), 14);
    QCOMPARE(replace->headerItem()->text(0), QStringLiteral("From tag"));
    QCOMPARE(replace->headerItem()->text(1), QStringLiteral("To tag"));
    QVERIFY(!replace->header()->sectionsClickable());
    QCOMPARE(replace->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(replace->topLevelItem(0)->text(0), QStringLiteral("strong"));
    QCOMPARE(replace->topLevelItem(0)->text(1), QStringLiteral("b"));
    QCOMPARE(replace->topLevelItem(0)->checkState(0), Qt::Checked);

    QListWidget* remove = f.window.listDeleteTags;
    QCOMPARE(remove->count(), 10);
    QCOMPARE(remove->item(0)->text(), QStringLiteral("!doctype"));
    QCOMPARE(remove->item(0)->checkState(), Qt::Unchecked); // removing it would change how pages show
    QCOMPARE(remove->item(1)->checkState(), Qt::Checked);
    QCOMPARE(replace->topLevelItem(3)->text(0), QStringLiteral("blockquote"));
    QCOMPARE(replace->topLevelItem(3)->checkState(0), Qt::Unchecked);
    QCOMPARE(remove->item(6)->text(), QStringLiteral("/P"));
    QCOMPARE(remove->item(6)->checkState(), Qt::Unchecked);
    QCOMPARE(remove->flow(), QListView::LeftToRight);
    QVERIFY(remove->isWrapping());

    auto* closed = f.find("cbClosedTagsAlso");
    f.window.show();
    f.window.showPage(TfrmOptions::Tags);
    QApplication::processEvents();
    QVERIFY(closed->mapTo(&f.window, QPoint()).y() > replace->mapTo(&f.window, QPoint()).y());
    QVERIFY(!f.options.ReplaceSchemeModified && !f.options.RemoveSchemeModified && !f.options.ProfileModified);
}

void OptionsWindowTest::togglingAnEntryMarksTheScheme_data()
{
    QTest::addColumn<bool>("replacement");
    QTest::addColumn<int>("index");
    QTest::newRow("replacement entry off") << true << 1;
    QTest::newRow("removal entry on") << false << 7;
}

void OptionsWindowTest::togglingAnEntryMarksTheScheme()
{
    QFETCH(bool, replacement);
    QFETCH(int, index);
    Fixture f;
    if (replacement) {
        f.window.listReplaceTags->topLevelItem(index)->setCheckState(0, Qt::Unchecked);
        QVERIFY(!f.options.listReplaceTags[index].Active);
        QVERIFY(f.options.ReplaceSchemeModified);
        QVERIFY(!f.options.RemoveSchemeModified);
        QVERIFY(f.button("butRepSave")->isEnabled());
    } else {
        f.window.listDeleteTags->item(index)->setCheckState(Qt::Checked);
        QVERIFY(f.options.listDeleteTags[index].Active);
        QVERIFY(f.options.RemoveSchemeModified);
        QVERIFY(!f.options.ReplaceSchemeModified);
        QVERIFY(f.button("butRemSave")->isEnabled());
    }
    QVERIFY(f.options.ProfileModified);
    QVERIFY(f.button("butSave")->isEnabled());
}

void OptionsWindowTest::selectingAnEntryMarksTheScheme()
{
    Fixture f;
    f.window.show();
    f.window.showPage(TfrmOptions::Tags);
    QApplication::processEvents();
    QTreeWidget* replace = f.window.listReplaceTags;
    const QRect row = replace->visualItemRect(replace->topLevelItem(3));
    QTest::mouseClick(replace->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(replace->currentItem(), replace->topLevelItem(3));
    QVERIFY(f.options.ReplaceSchemeModified);
    QVERIFY(!f.options.RemoveSchemeModified);
    QVERIFY(f.options.ProfileModified);
    QCOMPARE(f.options.listReplaceTags, DefaultReplaceTags());

    f.options.ProfileModified = false;
    f.window.listDeleteTags->setCurrentRow(2);
    QVERIFY(f.options.RemoveSchemeModified);
    QVERIFY(f.options.ProfileModified);
    QVERIFY(f.button("butRemSave")->isEnabled());
}

void OptionsWindowTest::tagButtonsHints()
{
    Fixture f;
    const QList<std::pair<const char*, const char*>> hints {{"butAddReplaceTag", "Add in the list"},
        {"butEditReplaceTag", "Edit"}, {"butDeleteReplaceTag", "Remove from the list"},
        {"butRepOpen", "Load scheme from file"}, {"butRepSave", "Save changes to scheme file"},
        {"butRepSaveAs", "Save scheme file as"}, {"butAddDeleteTag", "Add in the list"}, {"butEditDeleteTag", "Edit"},
        {"but2DeleteTag", "Remove from the list"}, {"butRemOpen", "Load scheme from file"},
        {"butRemSave", "Save changes to scheme file"}, {"butRemSaveAs", "Save scheme file as"}};
    for (const auto& [name, hint] : hints) QCOMPARE(f.button(name)->toolTip(), QString::fromLatin1(hint));
    QCOMPARE(f.find<QWidget>("grpReplaceTags")->property("title").toString(), QStringLiteral(" Tags replacement "));
    QCOMPARE(f.find<QWidget>("grpDeleteTags")->property("title").toString(), QStringLiteral(" Tags removal "));
}

void OptionsWindowTest::addEntryThroughTheEditor()
{
    Fixture f;
    f.window.show();
    test::WhenModalShown([&](QWidget* dialog) {
        QCOMPARE(dialog, static_cast<QWidget*>(f.window.tagEditor()));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("New tags for replacement"));
        QTest::keyClicks(f.window.tagEditor()->tag1, QStringLiteral("bold"));
        QTest::keyClicks(f.window.tagEditor()->tag2, QStringLiteral("b"));
        f.window.tagEditor()->butAdd->click();
    });
    f.button("butAddReplaceTag")->click();
    QCOMPARE(f.options.listReplaceTags.size(), std::size_t(15));
    QCOMPARE(f.options.listReplaceTags.back(), (TTagReplacement {true, "bold", "b"}));
    QCOMPARE(f.window.listReplaceTags->topLevelItemCount(), 15);
    QCOMPARE(f.window.listReplaceTags->topLevelItem(14)->text(0), QStringLiteral("bold"));
    QVERIFY(f.options.ReplaceSchemeModified);
    QVERIFY(f.options.ProfileModified);
    QVERIFY(f.button("butRepSave")->isEnabled());

    test::WhenModalShown([&](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("New tags for removal"));
        QTest::keyClicks(f.window.tagEditor()->tag1, QStringLiteral("font"));
        f.window.tagEditor()->butAdd->click();
    });
    f.button("butAddDeleteTag")->click();
    QCOMPARE(f.options.listDeleteTags.back(), (TTagRemoval {true, "font"}));
    QCOMPARE(f.window.listDeleteTags->count(), 11);
    QVERIFY(f.options.RemoveSchemeModified);
}

void OptionsWindowTest::editWithoutSelectionSaysError()
{
    Fixture f;
    f.button("butEditReplaceTag")->click();
    f.button("butEditDeleteTag")->click();
    QCOMPARE(f.ui.messages.size(), std::size_t(2));
    QCOMPARE(f.ui.messages[0].kind, MessageKind::Information);
    QCOMPARE(f.ui.messages[0].text, std::string("\rError"));
}

void OptionsWindowTest::editSelectedEntryByDoubleClick()
{
    Fixture f;
    f.window.show();
    f.window.showPage(TfrmOptions::Tags);
    QApplication::processEvents();
    QTreeWidget* replace = f.window.listReplaceTags;
    const QRect row = replace->visualItemRect(replace->topLevelItem(0));
    test::WhenModalShown([&](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Edit tags for replacement"));
        QCOMPARE(f.window.tagEditor()->tag1->text(), QStringLiteral("strong"));
        f.window.tagEditor()->tag2->setText(QStringLiteral("B"));
        f.window.tagEditor()->butAdd->click();
    });
    QTest::mouseClick(replace->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(replace->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(f.options.listReplaceTags[0], (TTagReplacement {true, "strong", "B"}));
    QCOMPARE(replace->topLevelItem(0)->text(1), QStringLiteral("B"));
    QCOMPARE(f.options.listReplaceTags.size(), std::size_t(14));
}

void OptionsWindowTest::fullListRefusesAnotherEntry()
{
    Fixture f;
    f.options.listDeleteTags.assign(kMaxTagEntries, TTagRemoval {true, "font"});
    f.window.showOptions();
    f.button("butAddDeleteTag")->click();
    QCOMPARE(f.options.listDeleteTags.size(), kMaxTagEntries);
    QCOMPARE(f.ui.messages.size(), std::size_t(1));
    QCOMPARE(f.ui.messages[0].kind, MessageKind::Warning);
    QVERIFY(!f.window.tagEditor()->isVisible());
}

void OptionsWindowTest::removeAsksTheCommands()
{
    Fixture f;
    f.button("butDeleteReplaceTag")->click(); // nothing has the focus yet
    QVERIFY(f.commands.calls.isEmpty());
    f.window.listReplaceTags->setCurrentItem(f.window.listReplaceTags->topLevelItem(4));
    f.button("butDeleteReplaceTag")->click();
    f.window.listDeleteTags->setCurrentRow(9);
    f.button("but2DeleteTag")->click();
    QCOMPARE(f.commands.calls, (QStringList {"removeEntry Replace 4", "removeEntry Delete 9"}));
}

void OptionsWindowTest::schemeButtons()
{
    Fixture f;
    f.options.ReplaceSchemeModified = true;
    f.options.RemoveSchemeModified = true;
    f.window.showMarks();
    for (const char* name : {"butRepOpen", "butRepSave", "butRepSaveAs", "butRemOpen", "butRemSave", "butRemSaveAs"})
        f.button(name)->click();
    QCOMPARE(f.commands.calls,
        (QStringList {"loadScheme Replace", "saveScheme Replace", "saveSchemeAs Replace", "loadScheme Delete",
            "saveScheme Delete", "saveSchemeAs Delete"}));
}

void OptionsWindowTest::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("butClose") << "butClose";
    QTest::newRow("close box") << "close";
    QTest::newRow("Esc") << "Esc";
}

void OptionsWindowTest::closing()
{
    QFETCH(QString, how);
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    if (how == QStringLiteral("butClose"))
        f.button("butClose")->click();
    else if (how == QStringLiteral("close"))
        f.window.close();
    else
        QTest::keyClick(&f.window, Qt::Key_Escape);
    QCOMPARE(f.commands.calls, QStringList {"closeWindow"});
    QVERIFY(!f.window.isVisible());
    // The window lives on: the page and values survive the next opening.
    f.window.showPage(TfrmOptions::Files);
    f.window.show();
    QCOMPARE(f.window.currentPage(), TfrmOptions::Files);
}

void OptionsWindowTest::helpButton()
{
    Fixture f;
    QSignalSpy help(&f.window, &TfrmOptions::helpRequested);
    f.button("butHelp")->click();
    QCOMPARE(help.size(), 1);
    QCOMPARE(help.at(0).at(0).toInt(), 80);
}

QTEST_MAIN(OptionsWindowTest)
#include "options_window_test.moc"
