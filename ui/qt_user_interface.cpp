// The Qt side of the logic's user interface: message boxes, questions, the overwrite confirmation, choosers, shell
// calls.
#include "ui/qt_user_interface.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

#include "ui/desktop_queries.h"
#include "ui/file_dialog_filter.h"
#include "ui/folder_chooser.h"
#include "ui/qt_text.h"
#include "ui/replace_dialog.h"

namespace qm {
namespace {

const QString kCaption = QStringLiteral("Quillmark");

QMessageBox::StandardButton Ask(QWidget* window, QMessageBox::Icon icon, const std::string& text,
    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
    QMessageBox::StandardButton escapeButton)
{
    // The line break the message routine puts in front reads as an empty
    // first line; a box shows the message without it.
    QString shown = MessageForDisplay(text);
    while (shown.startsWith(QLatin1Char('\n'))) shown.remove(0, 1);
    QMessageBox box(icon, kCaption, shown, buttons, window);
    box.setObjectName(QStringLiteral("QuillmarkMessage"));
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(escapeButton);
    box.exec();
    // A box closed by the window manager answers like its Esc button.
    const auto* clicked = box.clickedButton();
    return clicked ? box.standardButton(box.clickedButton()) : escapeButton;
}

QMessageBox::Icon IconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtUserInterface::QtUserInterface(QWidget* window)
    : window_(window)
    , replaceDialog_(new TfrmReplaceDlg(window))
    , folderChooser_(new TfrmFolders(window))
{
    connect(replaceDialog_, &TfrmReplaceDlg::helpRequested, this, &QtUserInterface::helpRequested);
    connect(folderChooser_, &TfrmFolders::helpRequested, this, &QtUserInterface::helpRequested);
    connect(replaceDialog_, &TfrmReplaceDlg::viewRequested, this,
        [this](const QString& path) { openDocument(FromQt(path)); });
    connect(replaceDialog_, &TfrmReplaceDlg::editRequested, this, [this](const QString& path) {
        if (editorHandler_) editorHandler_(FromQt(path));
    });
}

QtUserInterface::~QtUserInterface()
{
    // Without a parent window the dialogs are ours to delete.
    if (!window_) {
        delete replaceDialog_;
        delete folderChooser_;
    }
}

void QtUserInterface::showMessage(MessageKind kind, const std::string& text)
{
    Ask(window_, IconOf(kind), text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok);
}

void QtUserInterface::showPlainMessage(const std::string& text)
{
    Ask(window_, QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtUserInterface::askYesNo(const std::string& question)
{
    return Ask(window_, QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
               QMessageBox::No) == QMessageBox::Yes;
}

YesNoCancel QtUserInterface::askYesNoCancel(const std::string& question)
{
    switch (Ask(window_, QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Yes, QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return YesNoCancel::Yes;
    case QMessageBox::No:
        return YesNoCancel::No;
    default:
        return YesNoCancel::Cancel;
    }
}

bool QtUserInterface::askOkCancel(const std::string& question)
{
    return Ask(window_, QMessageBox::Question, question, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok,
               QMessageBox::Cancel) == QMessageBox::Ok;
}

OverwriteAnswer QtUserInterface::askOverwrite(const OverwritePrompt& prompt) { return replaceDialog_->ask(prompt); }

void QtUserInterface::closeOverwriteConfirmation()
{
    if (replaceDialog_->isVisible()) replaceDialog_->reject();
}

void QtUserInterface::setEditorHandler(std::function<void(const std::string&)> handler)
{
    editorHandler_ = std::move(handler);
}

std::optional<std::string> QtUserInterface::askText(
    const std::string& caption, const std::string& prompt, const std::string& initial)
{
    QInputDialog box(window_);
    box.setObjectName(QStringLiteral("QuillmarkInput"));
    box.setWindowTitle(ToQt(caption));
    box.setLabelText(MessageForDisplay(prompt));
    box.setTextValue(ToQt(initial));
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return FromQt(box.textValue());
}

RestoreWarningAnswer QtUserInterface::warnRestore(const std::string& text)
{
    // Closing the box without a button counts as Yes: the warning comes again for the next file.
    return Ask(window_, QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::YesToAll, QMessageBox::Yes,
               QMessageBox::Yes) == QMessageBox::YesToAll
        ? RestoreWarningAnswer::YesToAll
        : RestoreWarningAnswer::Yes;
}

std::string QtUserInterface::chooseFolder(const FolderChooserPanels& panels)
{
    folderChooser_->setPanels(panels);
    return folderChooser_->choose();
}

namespace {

void PrepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setObjectName(QStringLiteral("QuillmarkFileDialog"));
    // The desktop's own dialog where it has one (GTK, KDE, a portal); Qt's elsewhere.
    // The patterns carry a class of both cases per letter; the description alone reads better.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setWindowTitle(ToQt(request.title));
    dialog.setNameFilters(QtNameFilters(request.filter));
    if (!request.startFolder.empty()) dialog.setDirectory(ToQt(request.startFolder));
    if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(ToQt(request.defaultExtension));
}

} // namespace

std::vector<std::string> QtUserInterface::openFiles(const FileDialogRequest& request)
{
    QFileDialog dialog(window_);
    PrepareFileDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    std::vector<std::string> chosen;
    if (dialog.exec() != QDialog::Accepted) return chosen;
    for (const QString& file : dialog.selectedFiles()) chosen.push_back(FromQt(QDir::toNativeSeparators(file)));
    return chosen;
}

std::optional<std::string> QtUserInterface::saveFile(const FileDialogRequest& request)
{
    QFileDialog dialog(window_);
    PrepareFileDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return FromQt(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

void QtUserInterface::processEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool QtUserInterface::openDocument(const std::string& path)
{
    const QString file = ToQt(path);
    if (canOpen && !canOpen(file)) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

namespace {

// Callers may quote a program or a folder as a shell line would; the process call takes them bare.
QString Unquoted(const std::string& text)
{
    QString result = ToQt(text);
    if (result.size() >= 2 && result.startsWith(QLatin1Char('"')) && result.endsWith(QLatin1Char('"')))
        result = result.mid(1, result.size() - 2);
    return result;
}

} // namespace

bool QtUserInterface::launchProgram(
    const std::string& program, const std::string& parameters, const std::string& folder)
{
    return QProcess::startDetached(Unquoted(program), QProcess::splitCommand(ToQt(parameters)), Unquoted(folder));
}

} // namespace qm
