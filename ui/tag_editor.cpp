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
#include "settings/tag_scheme.h"
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

void TfrmTagReplaceDlg::prepare(TagList list, std::optional<std::size_t> index)
{
    const bool replacement = list == TagList::Replace;
    mode_ = replacement ? (index ? TagEditorMode::ReplacementEdit : TagEditorMode::ReplacementNew)
                        : (index ? TagEditorMode::RemovalEdit : TagEditorMode::RemovalNew);
    index_ = index;

    static constexpr const char* kCaptions[] = {"New tags for replacement", "Edit tags for replacement",
        "New tags for removal", "Edit tags for removal"};
    setWindowTitle(QString::fromLatin1(kCaptions[static_cast<int>(mode_)]));
    butAdd->setText(index ? QStringLiteral("Ok") : QStringLiteral("Add"));

    QString first;
    QString second;
    if (mode_ == TagEditorMode::ReplacementEdit && *index < options_.listReplaceTags.size()) {
        first = ToQt(options_.listReplaceTags[*index].FromTag);
        second = ToQt(options_.listReplaceTags[*index].ToTag);
    } else if (mode_ == TagEditorMode::RemovalEdit && *index < options_.listDeleteTags.size()) {
        first = ToQt(options_.listDeleteTags[*index].Tag);
    }
    // The limit is for typing; an entry read from a scheme file may be
    // longer, and opening it must not cut it short.
    tag1->setMaxLength(std::max<int>(kTypedLength, int(first.size())));
    tag2->setMaxLength(std::max<int>(kTypedLength, int(second.size())));
    tag1->setText(first);
    tag2->setText(second);

    labTag2->setEnabled(replacement);
    tag2->setEnabled(replacement);
    brackets_[2]->setEnabled(replacement);
    brackets_[3]->setEnabled(replacement);
    tag1->setFocus();
    tag1->selectAll();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TfrmTagReplaceDlg::refuse(const char* warning)
{
    ShowMessage(ui_, MessageKind::Warning, warning);
    return false;
}

void TfrmTagReplaceDlg::markChanged()
{
    if (mode_ == TagEditorMode::ReplacementNew || mode_ == TagEditorMode::ReplacementEdit)
        options_.ReplaceSchemeModified = true;
    else
        options_.RemoveSchemeModified = true;
    options_.ProfileModified = true;
}

bool TfrmTagReplaceDlg::apply()
{
    const std::string from = FromQt(tag1->text());
    const std::string to = FromQt(tag2->text());
    auto& replacements = options_.listReplaceTags;
    auto& removals = options_.listDeleteTags;

    switch (mode_) {
    case TagEditorMode::RemovalNew:
        if (removals.size() >= kMaxTagEntries) return refuse(kFullListWarning);
        removals.push_back({true, from});
        break;
    case TagEditorMode::RemovalEdit:
        if (!index_ || *index_ >= removals.size()) {
            ShowMessage(ui_, MessageKind::Information, "Error");
            reject();
            return false;
        }
        removals[*index_].Tag = from;
        break;
    case TagEditorMode::ReplacementNew:
    case TagEditorMode::ReplacementEdit: {
        const bool editing = mode_ == TagEditorMode::ReplacementEdit;
        if (editing && (!index_ || *index_ >= replacements.size())) {
            ShowMessage(ui_, MessageKind::Information, "Error");
            reject();
            return false;
        }
        if (!editing && replacements.size() >= kMaxTagEntries) return refuse(kFullListWarning);
        if (from.find(' ') != std::string::npos) return refuse(kSpaceInFromTagWarning);
        const std::optional<std::size_t> excepted = editing ? index_ : std::nullopt;
        if (!CycleTestPasses(replacements, from, to, excepted) || ReplacementFindsItself(from, to))
            return refuse(kCycleWarning);
        if (editing) {
            replacements[*index_].FromTag = from;
            replacements[*index_].ToTag = to;
        } else {
            replacements.push_back({true, from, to});
        }
        break;
    }
    }
    markChanged();
    accept();
    return true;
}

} // namespace qm
