// The overwrite confirmation: seven answers for a file that is in the way of a copy or a backup.
#pragma once

#include <QDialog>

#include "batch/model/user_interface.h"

class QLabel;
class QPushButton;

namespace qm {

class PathLabel;

class TfrmReplaceDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 30;

    explicit TfrmReplaceDlg(QWidget* parent = nullptr);

    void setPrompt(const OverwritePrompt& prompt);
    // Shows the dialog modally and returns the button the user pressed.
    OverwriteAnswer ask(const OverwritePrompt& prompt);
    OverwriteAnswer answer() const { return answer_; }

    QLabel* Label1;
    QLabel* Label2;
    PathLabel* labToFile;
    QLabel* labToFileInfo;
    PathLabel* labFromFile;
    QLabel* labFromFileInfo;

    QPushButton* butReplace;
    QPushButton* butReplaceAll;
    QPushButton* butSkip;
    QPushButton* butReplaceOld;
    QPushButton* butSkipAll;
    QPushButton* butNewName;
    QPushButton* butRename;

    QPushButton* butView1;
    QPushButton* butEdit1;
    QPushButton* butView2;
    QPushButton* butEdit2;
    QPushButton* butHelp;

signals:
    void viewRequested(const QString& path);
    void editRequested(const QString& path);
    void helpRequested(int context);

public slots:
    // Esc, the window manager's close command and a reset after a run all
    // land here; the dialog has no Cancel button, so such a close skips the
    // file: nothing is overwritten that the user did not ask to overwrite.
    void reject() override;

private:
    QPushButton* answerButton(const char* name, const char* caption, const char* hint, OverwriteAnswer answer);

    OverwriteAnswer answer_ = OverwriteAnswer::Skip;
};

} // namespace qm
