// The tag editor: one entry of a tag list, typed between "<" and ">", with the checks a replacement pair must pass.
#include "ui/tag_editor.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "batch/model/user_interface.h"
#include "ui/help_key.h"
#include "ui/qt_text.h"

namespace qm {
namespace {

QLabel* Bracket(QWidget* parent, const char* text)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

} // namespace

TfrmTagReplaceDlg::TfrmTagReplaceDlg(TOptionSet& options, UserInterface& ui, QWidget* parent)
    : QDialog(parent)
    , options_(options)
    , ui_(ui)
{
    setObjectName(QStringLiteral("TfrmTagReplaceDlg"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    labTag1 = new QLabel(QStringLiteral("From tag"), this);
    labTag1->setObjectName(QStringLiteral("labTag1"));
    labTag2 = new QLabel(QStringLiteral("To tag"), this);
    labTag2->setObjectName(QStringLiteral("labTag2"));
    tag1 = new QLineEdit(this);
    tag1->setObjectName(QStringLiteral("tag1"));
    tag2 = new QLineEdit(this);
    tag2->setObjectName(QStringLiteral("tag2"));
    labTag1->setBuddy(tag1);
    labTag2->setBuddy(tag2);
    brackets_[0] = Bracket(this, "<");
    brackets_[1] = Bracket(this, ">");
    brackets_[2] = Bracket(this, "<");
    brackets_[3] = Bracket(this, ">");

    butAdd = new QPushButton(QStringLiteral("Add"), this);
    butAdd->setObjectName(QStringLiteral("butAdd"));
    butAdd->setDefault(true);
    butCancel = new QPushButton(QStringLiteral("Cancel"), this);
    butCancel->setObjectName(QStringLiteral("butCancel"));
    butCancel->setAutoDefault(false);
    butHelp = new QPushButton(QStringLiteral("Help"), this);
    butHelp->setObjectName(QStringLiteral("butHelp"));
    butHelp->setAutoDefault(false);
    connect(butAdd, &QPushButton::clicked, this, [this] { apply(); });
    connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(butHelp, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });
    AddHelpKey(this, [this] { emit helpRequested(kHelpContext); });

    auto* fields = new QGridLayout;
    fields->addWidget(labTag1, 0, 0);
    fields->addWidget(brackets_[0], 0, 1);
    fields->addWidget(tag1, 0, 2);
    fields->addWidget(brackets_[1], 0, 3);
    fields->addWidget(labTag2, 1, 0);
    fields->addWidget(brackets_[2], 1, 1);
    fields->addWidget(tag2, 1, 2);
    fields->addWidget(brackets_[3], 1, 3);
    fields->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(butAdd);
    buttons->addWidget(butCancel);
    buttons->addWidget(butHelp);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setFixedSize(340, sizeHint().height());
}

void TfrmTagReplaceDlg::prepare(TagListKind list, std::optional<std::size_t> index)
{
    editor_ = OpenTagEditor(options_, list, index);
    setWindowTitle(ToQt(editor_.caption));
    butAdd->setText(ToQt(editor_.butAddCaption));

    const QString first = ToQt(editor_.tag1);
    const QString second = ToQt(editor_.tag2);
    // The limit is for typing; an entry read from a scheme file may be
    // longer, and opening it must not cut it short.
    tag1->setMaxLength(std::max<int>(kTypedLength, int(first.size())));
    tag2->setMaxLength(std::max<int>(kTypedLength, int(second.size())));
    tag1->setText(first);
    tag2->setText(second);

    labTag1->setEnabled(editor_.tag1Enabled);
    tag1->setEnabled(editor_.tag1Enabled);
    labTag2->setEnabled(editor_.tag2Enabled);
    tag2->setEnabled(editor_.tag2Enabled);
    brackets_[2]->setEnabled(editor_.tag2Enabled);
    brackets_[3]->setEnabled(editor_.tag2Enabled);
    tag1->setFocus();
    tag1->selectAll();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TfrmTagReplaceDlg::apply()
{
    editor_.tag1 = FromQt(tag1->text());
    editor_.tag2 = FromQt(tag2->text());
    const TagEditorResult result = TagEditorAdd(editor_, options_);
    switch (result.outcome) {
    case TagEditorOutcome::Applied:
        accept();
        return true;
    case TagEditorOutcome::Refused:
        ShowMessage(ui_, MessageKind::Warning, std::string(result.warning));
        return false;
    case TagEditorOutcome::EntryGone:
        ShowMessage(ui_, MessageKind::Information, "Error");
        reject();
        return false;
    }
    return false;
}

} // namespace qm
