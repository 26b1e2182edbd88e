// The Qt side of the logic's user interface: message boxes, questions, the overwrite confirmation, choosers, shell
// calls.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "batch/model/user_interface.h"
#include "ui/desktop_queries.h"

class QWidget;

namespace qm {

class TfrmFolders;
class TfrmReplaceDlg;

class QtUserInterface : public QObject, public UserInterface {
    Q_OBJECT
public:
    // Boxes and dialogs are centred on `window` (the main window), or on the screen without one.
    explicit QtUserInterface(QWidget* window = nullptr);
    ~QtUserInterface() override;

    void showMessage(MessageKind kind, const std::string& text) override;
    void showPlainMessage(const std::string& text) override;
    bool askYesNo(const std::string& question) override;
    YesNoCancel askYesNoCancel(const std::string& question) override;
    bool askOkCancel(const std::string& question) override;
    OverwriteAnswer askOverwrite(const OverwritePrompt& prompt) override;
    std::optional<std::string> askText(
        const std::string& caption, const std::string& prompt, const std::string& initial) override;
    RestoreWarningAnswer warnRestore(const std::string& text) override;
    std::string chooseFolder(const FolderChooserPanels& panels) override;
    std::vector<std::string> openFiles(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    void processEvents() override;
    bool openDocument(const std::string& path) override;
    bool launchProgram(const std::string& program, const std::string& parameters, const std::string& folder) override;

    TfrmReplaceDlg& replaceDialog() { return *replaceDialog_; }
    TfrmFolders& folderChooser() { return *folderChooser_; }

    // A run that ends closes a confirmation still on screen; the file in hand is skipped.
    void closeOverwriteConfirmation();
    // What the confirmation's "Send to external editor" buttons do with a path.
    void setEditorHandler(std::function<void(const std::string& path)> handler);

    // Whether the desktop has a program for a file before it is asked to open
    // it (DesktopCanOpen); tests that catch the request themselves answer yes.
    std::function<bool(const QString& path)> canOpen = DesktopCanOpen;

signals:
    void helpRequested(int context);

private:
    QWidget* window_;
    TfrmReplaceDlg* replaceDialog_;
    TfrmFolders* folderChooser_;
    std::function<void(const std::string&)> editorHandler_;
};

} // namespace qm
