// The options window: five pages of controls built from the option table, editing the option set in place.
#pragma once

#include <QDialog>
#include <array>
#include <optional>
#include <vector>

#include "options/option_set.h"
#include "ui/options_window_commands.h"

class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QTreeWidget;

namespace qm {

class TfrmTagReplaceDlg;
class UserInterface;

class TfrmOptions : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 80;
    enum Page { Common, Scripts, Tags, Files, Misc, PageCount };

    // The window keeps no copy: every control reads from and writes to
    // `options` at once. Dialogs go through `ui`; profile and scheme files,
    // the closing sequence and the path check through `commands`.
    TfrmOptions(TOptionSet& options, UserInterface& ui, OptionsWindowCommands& commands, QWidget* parent = nullptr);

    // A flag's value changed outside the window (a loader, the command line)
    // or the program asks for its click behaviour: show the value and run
    // the behaviour, enabling rules and modified mark included.
    void applyClickBehaviour(Opt id);
    // Shows every value of the option set again: flags, texts, both tag
    // lists and the modified marks. Enabled states stay as the click
    // behaviours left them.
    void showOptions();
    // butSave, butRepSave and butRemSave as the three marks say.
    void showMarks();

    // The control that holds an option (check box, radio button or text field), or null.
    QWidget* control(Opt id) const { return controls_[static_cast<int>(id)]; }
    QWidget* page(Page which) const;
    Page currentPage() const;
    void showPage(Page which);
    TfrmTagReplaceDlg* tagEditor() const { return tagEditor_; }

    QLabel* labMode;
    QLineEdit* edProfile;
    QToolButton* butOpen;
    QToolButton* butSave;
    QToolButton* butSaveAs;
    QAction* menuOpen;
    QAction* menuSave;
    QAction* menuSaveAs;

    QToolButton* SpeedButton2;
    QToolButton* SpeedButton6;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton5;

    QTreeWidget* listReplaceTags;
    QListWidget* listDeleteTags;
    QToolButton* butAddReplaceTag;
    QToolButton* butEditReplaceTag;
    QToolButton* butDeleteReplaceTag;
    QToolButton* butRepOpen;
    QToolButton* butRepSave;
    QToolButton* butRepSaveAs;
    QToolButton* butAddDeleteTag;
    QToolButton* butEditDeleteTag;
    QToolButton* but2DeleteTag;
    QToolButton* butRemOpen;
    QToolButton* butRemSave;
    QToolButton* butRemSaveAs;

    QToolButton* butChooseBackUpF = nullptr;
    QToolButton* butChooseModPath = nullptr;
    QToolButton* butExtEditor = nullptr;
    QToolButton* butLan = nullptr;
    QToolButton* butLanEng = nullptr;

    QPushButton* butClose;
    QPushButton* butHelp;

signals:
    void helpRequested(int context);
    // The storage mode's radio buttons ran their behaviour; the main window's
    // "Optimized file" view item is enabled exactly when this is false.
    void modifyOldChanged(bool modifyOld);

public slots:
    // Esc closes the window the same way as its close box.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPage(OptionPage page, const char* title);
    QWidget* buildTagsPage();
    QWidget* makeControl(const OptionRow& row, QWidget* parent);
    QToolButton* makeChooser(int decoration, QWidget* parent);
    void setControlEnabled(Opt id, bool enabled);
    void runBehaviour(Opt id);
    void showValue(Opt id);
    void showTagLists();
    std::optional<std::size_t> focusedEntry(TagListKind list) const;
    std::optional<std::size_t> selectedEntry(TagListKind list) const;
    void addEntry(TagListKind list);
    void editEntry(TagListKind list);
    void removeEntry(TagListKind list);
    void entrySelected(TagListKind list);
    void chooseFolderInto(Opt id);
    template<typename Command> void run(Command command);

    TOptionSet& options_;
    UserInterface& ui_;
    OptionsWindowCommands& commands_;
    TfrmTagReplaceDlg* tagEditor_;
    QStackedWidget* pages_;
    QButtonGroup* pageButtons_;
    std::array<QWidget*, kOptionCount> controls_ {};
    // Labels and buttons that share an option control's enabled state.
    std::array<std::vector<QWidget*>, kOptionCount> companions_ {};
    bool showingLists_ = false;
};

} // namespace qm
