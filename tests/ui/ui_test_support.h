// Helpers for driving the windows in tests: a scripted user interface, recorded window commands, answers to modal
// dialogs.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "batch/model/user_interface.h"
#include "ui/options_window_commands.h"

class QWidget;

namespace qm::test {

// Answers every question from its fields and records what was asked.
class FakeUserInterface final : public UserInterface {
public:
    struct Message {
        MessageKind kind;
        std::string text;
    };

    void showMessage(MessageKind kind, const std::string& text) override { messages.push_back({kind, text}); }
    void showPlainMessage(const std::string& text) override { messages.push_back({MessageKind::Information, text}); }
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
    void processEvents() override { }
    bool openDocument(const std::string& path) override;
    bool launchProgram(const std::string& program, const std::string& parameters, const std::string& folder) override;

    std::vector<Message> messages;
    std::vector<std::string> questions;
    std::vector<FileDialogRequest> fileRequests;
    int folderRequests = 0;

    bool yes = true;
    YesNoCancel yesNoCancel = YesNoCancel::Yes;
    OverwriteAnswer overwrite = OverwriteAnswer::Skip;
    std::optional<std::string> text;
    std::string folder = "-";
    std::vector<std::string> files;
};

// Records each call as a line such as "openProfile" or "removeEntry Delete 3".
// The choosers are also carried out by `choosers` when a test gives one, so
// the window is tested with the logic it runs.
class RecordingCommands final : public OptionsWindowCommands {
public:
    void openProfile() override { calls << QStringLiteral("openProfile"); }
    void saveProfile() override { calls << QStringLiteral("saveProfile"); }
    void saveProfileAs() override { calls << QStringLiteral("saveProfileAs"); }
    void closeWindow() override { calls << QStringLiteral("closeWindow"); }
    void loadScheme(TagListKind list) override { calls << QStringLiteral("loadScheme ") + Name(list); }
    void saveScheme(TagListKind list) override { calls << QStringLiteral("saveScheme ") + Name(list); }
    void saveSchemeAs(TagListKind list) override { calls << QStringLiteral("saveSchemeAs ") + Name(list); }
    void removeEntry(TagListKind list, std::size_t index) override
    {
        calls << QStringLiteral("removeEntry ") + Name(list) + QLatin1Char(' ') + QString::number(index);
    }
    void chooseFolder(Opt option) override
    {
        calls << QStringLiteral("chooseFolder ") + QString::fromLatin1(RowOf(option).key.data());
        if (choosers) choosers->chooseFolder(option);
    }
    void chooseEditor() override
    {
        calls << QStringLiteral("chooseEditor");
        if (choosers) choosers->chooseEditor();
    }
    void chooseLanguageFile() override
    {
        calls << QStringLiteral("chooseLanguageFile");
        if (choosers) choosers->chooseLanguageFile();
    }
    void setEnglishLanguage() override
    {
        calls << QStringLiteral("setEnglishLanguage");
        if (choosers) choosers->setEnglishLanguage();
    }

    static QString Name(TagListKind list)
    {
        return list == TagListKind::Replacement ? QStringLiteral("Replace") : QStringLiteral("Delete");
    }

    QStringList calls;
    OptionsWindowCommands* choosers = nullptr;
};

// Runs `action` on the next modal dialog once it is on screen, so a test can
// answer a dialog that blocks in exec(). Gives up after a few seconds.
void WhenModalShown(std::function<void(QWidget* dialog)> action);

// The text a label or button shows, ampersands resolved as Qt draws them.
QString Shown(const QWidget* widget);

// Answers the modal dialogs of a whole scenario in order, as a user would.
// A dialog is recognised by a fragment of its text (a message box) or of
// its title (any other dialog). A dialog nobody expected is recorded and
// closed, so a wrong turn fails the test instead of blocking it.
class DialogScript : public QObject {
public:
    using Action = std::function<void(QWidget* dialog)>;

    DialogScript();
    ~DialogScript() override;

    // Synchronous actions must close their dialog; one that opens another
    // modal dialog on the way (New name's input box) is run as `nested`.
    void expect(const QString& fragment, Action action, bool nested = false);
    bool done() const { return expected_.empty(); }

    QStringList seen; // the text or title of every dialog met, in order
    QStringList unexpected; // those that no expectation matched

private:
    struct Expected {
        QString fragment;
        Action action;
        bool nested;
    };
    void tick();

    std::vector<Expected> expected_;
    QWidget* pending_ = nullptr;
};

// Actions for DialogScript: a standard button of a message box, a push
// button by object name, a file typed into a file dialog's name field.
DialogScript::Action Press(int standardButton);
DialogScript::Action Click(const char* objectName);
DialogScript::Action TypeFileName(const QString& name);

} // namespace qm::test
