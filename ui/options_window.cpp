// The options window: five pages of controls built from the option table, editing the option set in place.
#include "ui/options_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "batch/model/user_interface.h"
#include "ui/help_key.h"
#include "ui/icons.h"
#include "ui/options_window_layout.h"
#include "ui/qt_text.h"
#include "ui/tag_editor.h"

namespace qm {
namespace {

// A typed character gets into a number field only when it is a digit,
// Backspace or Enter; keys that type nothing (arrows, Delete, Tab, Esc) pass.
bool NumberKeyAllowed(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return true;
    default:
        break;
    }
    const QString text = key.text();
    if (text.isEmpty()) return true;
    return text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9');
}

// Ctrl+O and Ctrl+S reach the window from a text field too; Ctrl+A there
// selects the field's text, as in every text field, and saves the profile as
// only from elsewhere in the window.
bool IsProfileShortcut(const QKeyEvent& key)
{
    return key.modifiers() == Qt::ControlModifier && (key.key() == Qt::Key_O || key.key() == Qt::Key_S);
}

} // namespace

TfrmOptions::TfrmOptions(TOptionSet& options, UserInterface& ui, OptionsWindowCommands& commands, QWidget* parent)
    : QDialog(parent)
    , options_(options)
    , ui_(ui)
    , commands_(commands)
{
    setObjectName(QStringLiteral("TfrmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(false);

    // Header.
    labMode = new QLabel(QStringLiteral("Profile"), this);
    labMode->setObjectName(QStringLiteral("labMode"));
    QFont bold = labMode->font();
    bold.setBold(true);
    labMode->setFont(bold);
    edProfile = qobject_cast<QLineEdit*>(makeControl(RowOf(Opt::edProfile), this));
    butOpen = IconButton(this, "butOpen", "Load profile", ThemeIcon("document-open", QStyle::SP_DialogOpenButton));
    butSave =
        IconButton(this, "butSave", "Save changes to profile", ThemeIcon("document-save", QStyle::SP_DialogSaveButton));
    butSaveAs = IconButton(this, "butSaveAs", "Save profile as", ThemeIcon("document-save-as", QStyle::SP_DriveFDIcon));
    connect(butOpen, &QToolButton::clicked, this, [this] { run([this] { commands_.openProfile(); }); });
    connect(butSave, &QToolButton::clicked, this, [this] { run([this] { commands_.saveProfile(); }); });
    connect(butSaveAs, &QToolButton::clicked, this, [this] { run([this] { commands_.saveProfileAs(); }); });

    // The keys live in a menu that never pops up, so Ctrl+S saves even while butSave is disabled.
    auto* keys = new QMenu(this);
    keys->setObjectName(QStringLiteral("menuProfile"));
    menuOpen = keys->addAction(QStringLiteral("Open"));
    menuOpen->setObjectName(QStringLiteral("menuOpen"));
    menuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    menuSave = keys->addAction(QStringLiteral("Save"));
    menuSave->setObjectName(QStringLiteral("menuSave"));
    menuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    menuSaveAs = keys->addAction(QStringLiteral("SaveAs"));
    menuSaveAs->setObjectName(QStringLiteral("menuSaveAs"));
    menuSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    for (QAction* action : keys->actions()) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    connect(menuOpen, &QAction::triggered, this, [this] { run([this] { commands_.openProfile(); }); });
    connect(menuSave, &QAction::triggered, this, [this] { run([this] { commands_.saveProfile(); }); });
    connect(menuSaveAs, &QAction::triggered, this, [this] { run([this] { commands_.saveProfileAs(); }); });

    auto* header = new QHBoxLayout;
    header->addWidget(labMode);
    header->addWidget(edProfile, 1);
    header->addWidget(butOpen);
    header->addWidget(butSave);
    header->addWidget(butSaveAs);

    // Page buttons and pages.
    SpeedButton2 =
        PageButton(this, "SpeedButton2", "Common", ThemeIcon("preferences-other", QStyle::SP_FileDialogDetailedView));
    SpeedButton6 =
        PageButton(this, "SpeedButton6", "Scripts", ThemeIcon("text-x-script", QStyle::SP_FileDialogContentsView));
    SpeedButton3 =
        PageButton(this, "SpeedButton3", "Tags", ThemeIcon("format-text-bold", QStyle::SP_FileDialogListView));
    SpeedButton4 = PageButton(this, "SpeedButton4", "Files ", ThemeIcon("folder", QStyle::SP_DirIcon));
    SpeedButton5 = PageButton(this, "SpeedButton5", "Misc", ThemeIcon("preferences-system", QStyle::SP_ComputerIcon));
    pageButtons_ = new QButtonGroup(this);
    pageButtons_->setExclusive(true);
    pageButtons_->addButton(SpeedButton2, Common);
    pageButtons_->addButton(SpeedButton6, Scripts);
    pageButtons_->addButton(SpeedButton3, Tags);
    pageButtons_->addButton(SpeedButton4, Files);
    pageButtons_->addButton(SpeedButton5, Misc);

    tagEditor_ = new TfrmTagReplaceDlg(options_, ui_, this);
    tagEditor_->setWindowModality(Qt::WindowModal);
    connect(tagEditor_, &TfrmTagReplaceDlg::helpRequested, this, &TfrmOptions::helpRequested);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("pages"));
    pages_->addWidget(buildPage(OptionPage::Common, "Common optimization options"));
    pages_->addWidget(buildPage(OptionPage::Scripts, "Comments && Scripts"));
    pages_->addWidget(buildTagsPage());
    pages_->addWidget(buildPage(OptionPage::Files, "Files treatment options"));
    pages_->addWidget(buildPage(OptionPage::Misc, "Miscellaneous"));
    connect(pageButtons_, &QButtonGroup::idClicked, this, [this](int id) { pages_->setCurrentIndex(id); });
    SpeedButton2->setChecked(true);

    auto* pageColumn = new QVBoxLayout;
    pageColumn->setSpacing(2);
    for (QAbstractButton* button : pageButtons_->buttons()) pageColumn->addWidget(button);
    pageColumn->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(pageColumn);
    middle->addWidget(pages_, 1);

    // Footer.
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    butClose = new QPushButton(QStringLiteral("Close "), this);
    butClose->setObjectName(QStringLiteral("butClose"));
    butClose->setToolTip(QStringLiteral("Save options and close window"));
    butClose->setAutoDefault(false);
    butHelp = new QPushButton(QStringLiteral("Help"), this);
    butHelp->setObjectName(QStringLiteral("butHelp"));
    butHelp->setAutoDefault(false);
    connect(butClose, &QPushButton::clicked, this, &QWidget::close);
    connect(butHelp, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });
    AddHelpKey(this, [this] { emit helpRequested(kHelpContext); });
    auto* footer = new QHBoxLayout;
    footer->addStretch(1);
    footer->addWidget(butClose);
    footer->addWidget(butHelp);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(header);
    layout->addLayout(middle, 1);
    layout->addWidget(line);
    layout->addLayout(footer);

    // The profile's keys reach the window even from a text field.
    for (QLineEdit* field : findChildren<QLineEdit*>()) field->installEventFilter(this);

    butSave->setEnabled(false);
    butRepSave->setEnabled(false);
    butRemSave->setEnabled(false);
    // The designed size, unless the desktop's font needs more room for the longest caption.
    const QSize needed = minimumSizeHint();
    setFixedSize(std::max(599, needed.width()), std::max(453, needed.height()));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    showOptions();
}

QWidget* TfrmOptions::makeControl(const OptionRow& row, QWidget* parent)
{
    const QString name = QString::fromLatin1(row.key.data(), qsizetype(row.key.size()));
    QWidget* control = nullptr;
    if (row.kind == OptionKind::Flag) {
        QAbstractButton* button = row.key.starts_with("rad") ? static_cast<QAbstractButton*>(new QRadioButton(parent))
                                                             : static_cast<QAbstractButton*>(new QCheckBox(parent));
        // Button captions keep their doubled ampersands: Qt shows one.
        button->setText(ToQt(row.caption));
        const Opt id = row.id;
        connect(button, &QAbstractButton::clicked, this, [this, id](bool on) {
            options_.setFlag(id, on);
            runBehaviour(id);
        });
        if (row.neverEnabled) button->setEnabled(false);
        control = button;
    } else {
        auto* field = new QLineEdit(parent);
        const Opt id = row.id;
        const Decoration* decoration = DecorationOf(id);
        if (row.kind == OptionKind::NumberText) {
            // The key filter stops typed characters; the validator stops pasted ones.
            field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
            field->setFixedWidth(56);
        }
        if (id == Opt::edProfile || (decoration && decoration->chooser == Chooser::Folder)) field->setReadOnly(true);
        connect(field, &QLineEdit::textEdited, this,
            [this, id](const QString& text) { options_.setText(id, FromQt(text)); });
        if (decoration && decoration->disabledAtStart) field->setEnabled(false);
        control = field;
    }
    control->setObjectName(name);
    if (row.hidden) control->hide();
    controls_[static_cast<int>(row.id)] = control;
    return control;
}

QToolButton* TfrmOptions::makeChooser(int decorationIndex, QWidget* parent)
{
    const Decoration& decoration = DecorationAt(decorationIndex);
    auto* button = IconButton(parent, decoration.chooserName, decoration.chooserHint,
        decoration.chooser == Chooser::Folder ? ThemeIcon("folder-open", QStyle::SP_DirOpenIcon)
                                              : ThemeIcon("document-open", QStyle::SP_DialogOpenButton));
    const Opt id = decoration.row;
    switch (decoration.chooser) {
    case Chooser::Folder:
        connect(button, &QToolButton::clicked, this, [this, id] { chooseFolderInto(id); });
        if (id == Opt::edBackUpPath) butChooseBackUpF = button;
        if (id == Opt::edOptimizedPath) butChooseModPath = button;
        break;
    case Chooser::Executable:
        connect(button, &QToolButton::clicked, this, [this] { run([this] { commands_.chooseEditor(); }); });
        butExtEditor = button;
        break;
    case Chooser::Language:
        connect(button, &QToolButton::clicked, this, [this] { run([this] { commands_.chooseLanguageFile(); }); });
        butLan = button;
        break;
    case Chooser::None:
        break;
    }
    return button;
}

QWidget* TfrmOptions::buildPage(OptionPage page, const char* title)
{
    auto* widget = new QWidget(this);
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(TitleBar(widget, title));
    layout->addSpacing(4);

    for (const Placed& item : PageLayout(page)) {
        const OptionRow& row = *item.row;
        const int at = DecorationIndex(row.id);
        const Decoration* decoration = at >= 0 ? &DecorationAt(at) : nullptr;
        std::vector<QWidget*>& companions = companions_[static_cast<int>(row.id)];

        if (decoration && decoration->lineBefore) {
            auto* line = new QFrame(widget);
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            layout->addWidget(line);
        }
        if (decoration && decoration->headingName) {
            auto* heading = new QLabel(LabelCaption(decoration->headingCaption), widget);
            heading->setObjectName(QString::fromLatin1(decoration->headingName));
            QHBoxLayout* line = IndentedRow(std::max(0, item.depth - 1));
            line->addWidget(heading);
            line->addStretch(1);
            layout->addLayout(line);
            companions.push_back(heading);
        }

        QWidget* control = makeControl(row, widget);
        if (row.kind == OptionKind::Flag) {
            QHBoxLayout* line = IndentedRow(item.depth);
            line->addWidget(control);
            if (item.beside) line->addWidget(makeControl(*item.beside, widget));
            line->addStretch(1);
            layout->addLayout(line);
            continue;
        }

        std::vector<QWidget*> shown;
        if (!row.caption.empty()) {
            auto* caption = new QLabel(LabelCaption(row.caption), widget);
            if (decoration && decoration->captionLabelName)
                caption->setObjectName(QString::fromLatin1(decoration->captionLabelName));
            QHBoxLayout* line = IndentedRow(item.depth);
            line->addWidget(caption);
            line->addStretch(1);
            layout->addLayout(line);
            companions.push_back(caption);
            shown.push_back(caption);
        }
        QHBoxLayout* line = IndentedRow(item.depth);
        line->addWidget(control, 1);
        if (decoration && decoration->chooser != Chooser::None) {
            QToolButton* chooser = makeChooser(at, widget);
            line->addWidget(chooser);
            companions.push_back(chooser);
            shown.push_back(chooser);
            if (decoration->chooser == Chooser::Language) {
                butLanEng = IconButton(widget, "butLanEng", "Set English as Default language",
                    ThemeIcon("edit-clear", QStyle::SP_DialogResetButton));
                connect(butLanEng, &QToolButton::clicked, this,
                    [this] { run([this] { commands_.setEnglishLanguage(); }); });
                line->addWidget(butLanEng);
                shown.push_back(butLanEng);
            }
        }
        layout->addLayout(line);
        if (row.hidden)
            for (QWidget* hidden : shown) hidden->hide();
    }
    layout->addStretch(1);
    return widget;
}

QWidget* TfrmOptions::buildTagsPage()
{
    auto* widget = new QWidget(this);
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(TitleBar(widget, "Tags treatment options"));
    layout->addSpacing(4);

    auto buttonColumn = [](std::array<QToolButton*, 6> buttons) {
        auto* column = new QVBoxLayout;
        column->setSpacing(2);
        for (int i = 0; i < 3; ++i) column->addWidget(buttons[i]);
        column->addStretch(1);
        for (int i = 3; i < 6; ++i) column->addWidget(buttons[i]);
        return column;
    };
    const QIcon add = ThemeIcon("list-add", QStyle::SP_FileIcon);
    const QIcon edit = ThemeIcon("document-edit", QStyle::SP_FileDialogContentsView);
    const QIcon remove = ThemeIcon("list-remove", QStyle::SP_TrashIcon);
    const QIcon open = ThemeIcon("document-open", QStyle::SP_DialogOpenButton);
    const QIcon save = ThemeIcon("document-save", QStyle::SP_DialogSaveButton);
    const QIcon saveAs = ThemeIcon("document-save-as", QStyle::SP_DriveFDIcon);

    // Replacement side.
    auto* replaceGroup = new QGroupBox(QStringLiteral(" Tags replacement "), widget);
    replaceGroup->setObjectName(QStringLiteral("grpReplaceTags"));
    listReplaceTags = new QTreeWidget(replaceGroup);
    listReplaceTags->setObjectName(QStringLiteral("listReplaceTags"));
    listReplaceTags->setColumnCount(2);
    listReplaceTags->setHeaderLabels({QStringLiteral("From tag"), QStringLiteral("To tag")});
    listReplaceTags->header()->setSectionsClickable(false);
    listReplaceTags->header()->setSectionsMovable(false);
    listReplaceTags->setRootIsDecorated(false);
    listReplaceTags->setSelectionMode(QAbstractItemView::SingleSelection);
    listReplaceTags->setSelectionBehavior(QAbstractItemView::SelectRows);
    listReplaceTags->setColumnWidth(0, 100);
    butAddReplaceTag = IconButton(replaceGroup, "butAddReplaceTag", "Add in the list", add);
    butEditReplaceTag = IconButton(replaceGroup, "butEditReplaceTag", "Edit", edit);
    butDeleteReplaceTag = IconButton(replaceGroup, "butDeleteReplaceTag", "Remove from the list", remove);
    butRepOpen = IconButton(replaceGroup, "butRepOpen", "Load scheme from file", open);
    butRepSave = IconButton(replaceGroup, "butRepSave", "Save changes to scheme file", save);
    butRepSaveAs = IconButton(replaceGroup, "butRepSaveAs", "Save scheme file as", saveAs);
    auto* replaceTop = new QHBoxLayout;
    replaceTop->addWidget(listReplaceTags, 1);
    replaceTop->addLayout(
        buttonColumn({butAddReplaceTag, butEditReplaceTag, butDeleteReplaceTag, butRepOpen, butRepSave, butRepSaveAs}));
    auto* replaceLayout = new QVBoxLayout(replaceGroup);
    replaceLayout->setContentsMargins(6, 6, 6, 6);
    replaceLayout->addLayout(replaceTop, 1);
    for (const OptionRow& row : OptionTable())
        if (row.page == OptionPage::Tags) replaceLayout->addWidget(makeControl(row, replaceGroup));

    // Removal side.
    auto* deleteGroup = new QGroupBox(QStringLiteral(" Tags removal "), widget);
    deleteGroup->setObjectName(QStringLiteral("grpDeleteTags"));
    listDeleteTags = new QListWidget(deleteGroup);
    listDeleteTags->setObjectName(QStringLiteral("listDeleteTags"));
    listDeleteTags->setViewMode(QListView::ListMode);
    listDeleteTags->setFlow(QListView::LeftToRight);
    listDeleteTags->setWrapping(true);
    listDeleteTags->setResizeMode(QListView::Adjust);
    listDeleteTags->setSpacing(1);
    listDeleteTags->setSelectionMode(QAbstractItemView::SingleSelection);
    listDeleteTags->setSelectionBehavior(QAbstractItemView::SelectRows);
    butAddDeleteTag = IconButton(deleteGroup, "butAddDeleteTag", "Add in the list", add);
    butEditDeleteTag = IconButton(deleteGroup, "butEditDeleteTag", "Edit", edit);
    but2DeleteTag = IconButton(deleteGroup, "but2DeleteTag", "Remove from the list", remove);
    butRemOpen = IconButton(deleteGroup, "butRemOpen", "Load scheme from file", open);
    butRemSave = IconButton(deleteGroup, "butRemSave", "Save changes to scheme file", save);
    butRemSaveAs = IconButton(deleteGroup, "butRemSaveAs", "Save scheme file as", saveAs);
    auto* deleteLayout = new QHBoxLayout(deleteGroup);
    deleteLayout->setContentsMargins(6, 6, 6, 6);
    deleteLayout->addWidget(listDeleteTags, 1);
    deleteLayout->addLayout(
        buttonColumn({butAddDeleteTag, butEditDeleteTag, but2DeleteTag, butRemOpen, butRemSave, butRemSaveAs}));

    auto* groups = new QHBoxLayout;
    groups->addWidget(replaceGroup, 5);
    groups->addWidget(deleteGroup, 4);
    layout->addLayout(groups, 1);

    for (TagListKind list : {TagListKind::Replacement, TagListKind::Removal}) {
        const bool replace = list == TagListKind::Replacement;
        connect(replace ? butAddReplaceTag : butAddDeleteTag, &QToolButton::clicked, this,
            [this, list] { addEntry(list); });
        connect(replace ? butEditReplaceTag : butEditDeleteTag, &QToolButton::clicked, this,
            [this, list] { editEntry(list); });
        connect(replace ? butDeleteReplaceTag : but2DeleteTag, &QToolButton::clicked, this,
            [this, list] { removeEntry(list); });
        connect(replace ? butRepOpen : butRemOpen, &QToolButton::clicked, this,
            [this, list] { run([this, list] { commands_.loadScheme(list); }); });
        connect(replace ? butRepSave : butRemSave, &QToolButton::clicked, this,
            [this, list] { run([this, list] { commands_.saveScheme(list); }); });
        connect(replace ? butRepSaveAs : butRemSaveAs, &QToolButton::clicked, this,
            [this, list] { run([this, list] { commands_.saveSchemeAs(list); }); });
    }

    connect(listReplaceTags, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (showingLists_) return;
        const int index = listReplaceTags->indexOfTopLevelItem(item);
        if (index < 0 || std::size_t(index) >= options_.listReplaceTags.size()) return;
        const bool on = item->checkState(0) == Qt::Checked;
        if (options_.listReplaceTags[index].Active == on) return;
        options_.listReplaceTags[index].Active = on;
        options_.ReplaceSchemeModified = true;
        options_.ProfileModified = true;
        showMarks();
    });
    connect(listDeleteTags, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (showingLists_) return;
        const int index = listDeleteTags->row(item);
        if (index < 0 || std::size_t(index) >= options_.listDeleteTags.size()) return;
        const bool on = item->checkState() == Qt::Checked;
        if (options_.listDeleteTags[index].Active == on) return;
        options_.listDeleteTags[index].Active = on;
        options_.RemoveSchemeModified = true;
        options_.ProfileModified = true;
        showMarks();
    });
    connect(listReplaceTags, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (current) entrySelected(TagListKind::Replacement);
    });
    connect(listDeleteTags, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* current) {
        if (current) entrySelected(TagListKind::Removal);
    });
    connect(listReplaceTags, &QTreeWidget::itemDoubleClicked, this, [this] { editEntry(TagListKind::Replacement); });
    connect(listDeleteTags, &QListWidget::itemDoubleClicked, this, [this] { editEntry(TagListKind::Removal); });
    return widget;
}

QWidget* TfrmOptions::page(Page which) const { return pages_->widget(which); }

TfrmOptions::Page TfrmOptions::currentPage() const { return static_cast<Page>(pages_->currentIndex()); }

void TfrmOptions::showPage(Page which)
{
    pageButtons_->button(which)->setChecked(true);
    pages_->setCurrentIndex(which);
}

void TfrmOptions::setControlEnabled(Opt id, bool enabled)
{
    if (QWidget* widget = control(id)) widget->setEnabled(enabled);
    for (QWidget* companion : companions_[static_cast<int>(id)]) companion->setEnabled(enabled);
}

void TfrmOptions::runBehaviour(Opt id)
{
    const OptionRow& row = RowOf(id);
    if (row.kind != OptionKind::Flag) return;
    const bool on = options_.flag(id);
    for (Opt dependent : row.click.enablesWhenOn)
        if (dependent != Opt::count) setControlEnabled(dependent, on);
    for (Opt dependent : row.click.enablesWhenOff)
        if (dependent != Opt::count) setControlEnabled(dependent, !on);
    if (row.click.raisesProfileModified) options_.ProfileModified = true;
    if (id == Opt::radModifyOld || id == Opt::radSaveNewMod) {
        showValue(Opt::radModifyOld);
        showValue(Opt::radSaveNewMod);
        emit modifyOldChanged(options_.flag(Opt::radModifyOld));
    }
    showMarks();
}

void TfrmOptions::applyClickBehaviour(Opt id)
{
    showValue(id);
    runBehaviour(id);
}

void TfrmOptions::showValue(Opt id)
{
    QWidget* widget = control(id);
    if (!widget) return;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setChecked(options_.flag(id));
    } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        const QString text = ToQt(options_.text(id));
        if (field->text() != text) field->setText(text);
    }
}

void TfrmOptions::showOptions()
{
    for (const OptionRow& row : OptionTable()) showValue(row.id);
    showTagLists();
    showMarks();
}

void TfrmOptions::showMarks()
{
    butSave->setEnabled(options_.ProfileModified);
    butRepSave->setEnabled(options_.ReplaceSchemeModified);
    butRemSave->setEnabled(options_.RemoveSchemeModified);
}

void TfrmOptions::showTagLists()
{
    showingLists_ = true;
    const int replaceAt = listReplaceTags->indexOfTopLevelItem(listReplaceTags->currentItem());
    const int deleteAt = listDeleteTags->currentRow();

    listReplaceTags->clear();
    QList<QTreeWidgetItem*> items;
    for (const TTagReplacement& entry : options_.listReplaceTags) {
        auto* item = new QTreeWidgetItem({ToQt(entry.FromTag), ToQt(entry.ToTag)});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, entry.Active ? Qt::Checked : Qt::Unchecked);
        items.push_back(item);
    }
    listReplaceTags->addTopLevelItems(items);
    if (replaceAt >= 0 && !items.isEmpty())
        listReplaceTags->setCurrentItem(items[std::min<int>(replaceAt, int(items.size()) - 1)]);

    listDeleteTags->clear();
    for (const TTagRemoval& entry : options_.listDeleteTags) {
        auto* item = new QListWidgetItem(ToQt(entry.Tag), listDeleteTags);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.Active ? Qt::Checked : Qt::Unchecked);
    }
    if (deleteAt >= 0 && listDeleteTags->count() > 0)
        listDeleteTags->setCurrentRow(std::min(deleteAt, listDeleteTags->count() - 1));
    showingLists_ = false;
}

std::optional<std::size_t> TfrmOptions::focusedEntry(TagListKind list) const
{
    const int index = list == TagListKind::Replacement
        ? listReplaceTags->indexOfTopLevelItem(listReplaceTags->currentItem())
        : listDeleteTags->currentRow();
    if (index < 0) return std::nullopt;
    return std::size_t(index);
}

std::optional<std::size_t> TfrmOptions::selectedEntry(TagListKind list) const
{
    if (list == TagListKind::Replacement) {
        const auto selected = listReplaceTags->selectedItems();
        if (selected.isEmpty()) return std::nullopt;
        return std::size_t(listReplaceTags->indexOfTopLevelItem(selected.constFirst()));
    }
    const auto selected = listDeleteTags->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return std::size_t(listDeleteTags->row(selected.constFirst()));
}

void TfrmOptions::entrySelected(TagListKind list)
{
    if (showingLists_) return;
    (list == TagListKind::Replacement ? options_.ReplaceSchemeModified : options_.RemoveSchemeModified) = true;
    options_.ProfileModified = true;
    showMarks();
}

void TfrmOptions::addEntry(TagListKind list)
{
    if (std::optional<std::string_view> refused = AddingRefused(options_, list)) {
        ShowMessage(ui_, MessageKind::Warning, std::string(*refused));
        return;
    }
    tagEditor_->prepare(list, std::nullopt);
    tagEditor_->exec();
    showTagLists();
    showMarks();
}

void TfrmOptions::editEntry(TagListKind list)
{
    const std::optional<std::size_t> index = selectedEntry(list);
    if (!index) {
        ShowMessage(ui_, MessageKind::Information, "Error");
        return;
    }
    tagEditor_->prepare(list, index);
    tagEditor_->exec();
    showTagLists();
    showMarks();
}

void TfrmOptions::removeEntry(TagListKind list)
{
    const std::optional<std::size_t> index = focusedEntry(list);
    if (!index) return;
    run([this, list, index] { commands_.removeEntry(list, *index); });
}

void TfrmOptions::chooseFolderInto(Opt id)
{
    run([this, id] { commands_.chooseFolder(id); });
    raise();
    activateWindow();
}

template<typename Command> void TfrmOptions::run(Command command)
{
    command();
    showOptions();
}

void TfrmOptions::reject() { close(); }

void TfrmOptions::closeEvent(QCloseEvent* event)
{
    // Closing is never refused: the profile and options are saved and the window hides.
    commands_.closeWindow();
    showOptions();
    event->accept();
}

bool TfrmOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && IsProfileShortcut(*static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::KeyPress &&
        (watched == control(Opt::edMaxFCount) || watched == control(Opt::edMaxEmbCount)) &&
        !NumberKeyAllowed(*static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace qm
