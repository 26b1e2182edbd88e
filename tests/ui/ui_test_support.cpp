// Helpers for driving the windows in tests: a scripted user interface, recorded window commands, answers to modal
// dialogs.
#include "ui_test_support.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <memory>

namespace qm::test {

bool FakeUserInterface::askYesNo(const std::string& question)
{
    questions.push_back(question);
    return yes;
}

YesNoCancel FakeUserInterface::askYesNoCancel(const std::string& question)
{
    questions.push_back(question);
    return yesNoCancel;
}

bool FakeUserInterface::askOkCancel(const std::string& question)
{
    questions.push_back(question);
    return yes;
}

OverwriteAnswer FakeUserInterface::askOverwrite(const OverwritePrompt& prompt)
{
    questions.push_back(prompt.upperFile);
    return overwrite;
}

std::optional<std::string> FakeUserInterface::askText(const std::string&, const std::string& prompt, const std::string&)
{
    questions.push_back(prompt);
    return text;
}

RestoreWarningAnswer FakeUserInterface::warnRestore(const std::string& warning)
{
    questions.push_back(warning);
    return RestoreWarningAnswer::Yes;
}

std::string FakeUserInterface::chooseFolder(const FolderChooserPanels&)
{
    ++folderRequests;
    return folder;
}

std::vector<std::string> FakeUserInterface::openFiles(const FileDialogRequest& request)
{
    fileRequests.push_back(request);
    return files;
}

std::optional<std::string> FakeUserInterface::saveFile(const FileDialogRequest& request)
{
    fileRequests.push_back(request);
    if (files.empty()) return std::nullopt;
    return files.front();
}

bool FakeUserInterface::openDocument(const std::string& path)
{
    questions.push_back("open " + path);
    return true;
}

bool FakeUserInterface::launchProgram(const std::string& program, const std::string&, const std::string&)
{
    questions.push_back("launch " + program);
    return true;
}

void WhenModalShown(std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto attempts = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action, attempts] {
        QWidget* dialog = QApplication::activeModalWidget();
        const bool shown = dialog && dialog->isVisible();
        if (shown || ++*attempts > 500) {
            timer->stop();
            timer->deleteLater();
        }
        if (!shown) return;
        action(dialog);
        // A failed check leaves the action early; the dialog must not stay
        // open and block the test run.
        if (auto* box = qobject_cast<QDialog*>(dialog);
            box && box->isVisible() && QApplication::activeModalWidget() == box)
            box->done(QDialog::Rejected);
    });
    timer->start();
}

DialogScript::DialogScript()
{
    auto* timer = new QTimer(this);
    timer->setInterval(10);
    connect(timer, &QTimer::timeout, this, [this] { tick(); });
    timer->start();
}

DialogScript::~DialogScript() = default;

void DialogScript::expect(const QString& fragment, Action action, bool nested)
{
    expected_.push_back({fragment, std::move(action), nested});
}

void DialogScript::tick()
{
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible() || dialog == pending_) return;
    const auto* box = qobject_cast<QMessageBox*>(dialog);
    const QString text = box ? box->text() : dialog->windowTitle();
    seen << text;
    if (expected_.empty() || !text.contains(expected_.front().fragment)) {
        unexpected << text;
        if (auto* closing = qobject_cast<QDialog*>(dialog)) closing->done(QDialog::Rejected);
        return;
    }
    Expected next = expected_.front();
    expected_.erase(expected_.begin());
    auto finish = [dialog = QPointer<QWidget>(dialog)] {
        // A failed check leaves the action early; the dialog must not stay open.
        if (auto* left = qobject_cast<QDialog*>(dialog.data());
            left && left->isVisible() && QApplication::activeModalWidget() == left)
            left->done(QDialog::Rejected);
    };
    if (!next.nested) {
        next.action(dialog);
        finish();
        return;
    }
    // Timers do not fire inside their own handler: the action runs from the
    // dialog's own event loop, so this script can answer the dialog it opens.
    pending_ = dialog;
    QTimer::singleShot(0, this, [this, next, dialog, finish] {
        pending_ = nullptr;
        next.action(dialog);
        finish();
    });
}

DialogScript::Action Press(int standardButton)
{
    return [standardButton](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY2(box, "a message box");
        QAbstractButton* button = box->button(QMessageBox::StandardButton(standardButton));
        QVERIFY2(button, "the button is on the box");
        button->click();
    };
}

DialogScript::Action Click(const char* objectName)
{
    return [objectName](QWidget* dialog) {
        auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(objectName));
        QVERIFY2(button, objectName);
        QVERIFY2(button->isEnabled(), objectName);
        button->click();
    };
}

DialogScript::Action TypeFileName(const QString& name)
{
    return [name](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        QVERIFY2(files, "a file dialog");
        files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
        static_cast<QDialog*>(files)->accept();
    };
}

QString Shown(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    // Qt's accessibility layer names a button by its caption with the
    // mnemonic marks taken out exactly as the button draws it.
    if (qobject_cast<const QAbstractButton*>(widget)) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(widget));
        return accessible ? accessible->text(QAccessible::Name) : QString();
    }
    return {};
}

} // namespace qm::test
