// The overwrite confirmation: seven answers for a file that is in the way of a copy or a backup.
#include "ui/replace_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/help_key.h"
#include "ui/icons.h"
#include "ui/path_label.h"
#include "ui/qt_text.h"

namespace qm {
namespace {

QPushButton* SmallButton(QWidget* parent, const char* name, const char* hint, QIcon icon)
{
    auto* button = new QPushButton(icon, QString(), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(hint));
    button->setAutoDefault(false);
    button->setFixedSize(28, 26);
    return button;
}

} // namespace

TfrmReplaceDlg::TfrmReplaceDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmReplaceDlg"));
    setWindowTitle(QStringLiteral("Confirmation"));
    setModal(true);
    // A title but no close box: the user answers with one of the buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    Label1 = new QLabel(QStringLiteral("Overwrite :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label2 = new QLabel(QStringLiteral("With optimized copy of the file"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(bold);

    labToFile = new PathLabel(this);
    labToFile->setObjectName(QStringLiteral("labToFile"));
    labToFileInfo = new QLabel(this);
    labToFileInfo->setObjectName(QStringLiteral("labToFileInfo"));
    labFromFile = new PathLabel(this);
    labFromFile->setObjectName(QStringLiteral("labFromFile"));
    labFromFileInfo = new QLabel(this);
    labFromFileInfo->setObjectName(QStringLiteral("labFromFileInfo"));

    const QIcon viewIcon = ThemeIcon("document-preview", QStyle::SP_FileDialogContentsView);
    const QIcon editIcon = ThemeIcon("document-edit", QStyle::SP_FileDialogDetailedView);
    butView1 = SmallButton(this, "butView1", "View in browser", viewIcon);
    butEdit1 = SmallButton(this, "butEdit1", "Send to external editor", editIcon);
    butView2 = SmallButton(this, "butView2", "View in browser", viewIcon);
    butEdit2 = SmallButton(this, "butEdit2", "Send to external editor", editIcon);
    connect(butView1, &QPushButton::clicked, this, [this] { emit viewRequested(labToFile->text()); });
    connect(butEdit1, &QPushButton::clicked, this, [this] { emit editRequested(labToFile->text()); });
    connect(butView2, &QPushButton::clicked, this, [this] { emit viewRequested(labFromFile->text()); });
    connect(butEdit2, &QPushButton::clicked, this, [this] { emit editRequested(labFromFile->text()); });

    butReplace = answerButton("butReplace", "Overwrite", "Overwrite upper file with lower", OverwriteAnswer::Overwrite);
    butReplaceAll = answerButton(
        "butReplaceAll", "Overwrite All", "Select \"Overwrite\" automatically", OverwriteAnswer::OverwriteAll);
    butSkip = answerButton("butSkip", "Skip", "Skip foverwriting", OverwriteAnswer::Skip);
    butReplaceOld = answerButton(
        "butReplaceOld", "Ovewrite All Older", "Overwrite older files", OverwriteAnswer::OverwriteAllOlder);
    butSkipAll = answerButton("butSkipAll", "Skip All", "Select \"Skip\" automatically", OverwriteAnswer::SkipAll);
    butNewName = answerButton("butNewName", "New name", "Save under new name", OverwriteAnswer::NewName);
    butRename = answerButton("butRename", "Rename", "Rename upper file", OverwriteAnswer::Rename);
    butReplace->setDefault(true);

    butHelp = new QPushButton(QStringLiteral("Help"), this);
    butHelp->setObjectName(QStringLiteral("butHelp"));
    butHelp->setAutoDefault(false);
    connect(butHelp, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });
    AddHelpKey(this, [this] { emit helpRequested(kHelpContext); });

    auto* files = new QGridLayout;
    files->setColumnStretch(0, 1);
    files->addWidget(Label1, 0, 0, 1, 3);
    files->addWidget(labToFile, 1, 0);
    files->addWidget(butView1, 1, 1);
    files->addWidget(butEdit1, 1, 2);
    files->addWidget(labToFileInfo, 2, 0, 1, 3);
    files->addItem(new QSpacerItem(0, 8), 3, 0);
    files->addWidget(Label2, 4, 0, 1, 3);
    files->addWidget(labFromFile, 5, 0);
    files->addWidget(butView2, 5, 1);
    files->addWidget(butEdit2, 5, 2);
    files->addWidget(labFromFileInfo, 6, 0, 1, 3);

    auto* buttons = new QGridLayout;
    buttons->addWidget(butReplace, 0, 0);
    buttons->addWidget(butReplaceAll, 0, 1);
    buttons->addWidget(butReplaceOld, 0, 2);
    buttons->addWidget(butSkip, 1, 0);
    buttons->addWidget(butSkipAll, 1, 1);
    buttons->addWidget(butNewName, 1, 2);
    buttons->addWidget(butRename, 2, 0);
    buttons->addWidget(butHelp, 2, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(files);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setFixedSize(460, sizeHint().height());
}

QPushButton* TfrmReplaceDlg::answerButton(
    const char* name, const char* caption, const char* hint, OverwriteAnswer answer)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(hint));
    connect(button, &QPushButton::clicked, this, [this, answer] {
        answer_ = answer;
        accept();
    });
    return button;
}

void TfrmReplaceDlg::setPrompt(const OverwritePrompt& prompt)
{
    labToFile->setText(ToQt(prompt.upperFile));
    labToFile->setToolTip(labToFile->text());
    labToFileInfo->setText(ToQt(prompt.upperFileInfo));
    labFromFile->setText(ToQt(prompt.lowerFile));
    labFromFile->setToolTip(labFromFile->text());
    labFromFileInfo->setText(ToQt(prompt.lowerFileInfo));
    Label2->setText(ToQt(prompt.secondLabel));
    butReplaceOld->setEnabled(prompt.overwriteOlderEnabled);
    butReplace->setFocus();
}

OverwriteAnswer TfrmReplaceDlg::ask(const OverwritePrompt& prompt)
{
    setPrompt(prompt);
    answer_ = OverwriteAnswer::Skip;
    exec();
    return answer_;
}

void TfrmReplaceDlg::reject()
{
    answer_ = OverwriteAnswer::Skip;
    QDialog::reject();
}

} // namespace qm
