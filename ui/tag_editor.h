// The tag editor: one entry of a tag list, typed between "<" and ">", with the checks a replacement pair must pass.
#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>

#include "options/option_set.h"
#include "ui/options_window_commands.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qm {

class UserInterface;

enum class TagEditorMode { ReplacementNew, ReplacementEdit, RemovalNew, RemovalEdit };

class TfrmTagReplaceDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 40;
    static constexpr int kTypedLength = 30;

    TfrmTagReplaceDlg(TOptionSet& options, UserInterface& ui, QWidget* parent = nullptr);

    // Sets caption, button and fields for adding to `list` (no index) or
    // editing its entry at `index`, and centres the editor on the screen.
    void prepare(TagList list, std::optional<std::size_t> index);
    TagEditorMode mode() const { return mode_; }

    // butAdd: applies the entry to the option set and closes the editor, or
    // warns and stays open. True when the list changed.
    bool apply();

    QLabel* labTag1;
    QLabel* labTag2;
    QLineEdit* tag1;
    QLineEdit* tag2;
    QPushButton* butAdd;
    QPushButton* butCancel;
    QPushButton* butHelp;

signals:
    void helpRequested(int context);

private:
    bool refuse(const char* warning);
    void markChanged();

    TOptionSet& options_;
    UserInterface& ui_;
    TagEditorMode mode_ = TagEditorMode::ReplacementNew;
    std::optional<std::size_t> index_;
    QLabel* brackets_[4];
};

// The warnings of the editor; the first is the one a replacement cycle gets.
inline constexpr char kCycleWarning[] = "Insertion of this tag will lead to the recycling of replacement procedure!";
inline constexpr char kFullListWarning[] =
    "The list already holds 255 entries, as many as a scheme file keeps.\rRemove an entry first.";
inline constexpr char kSpaceInFromTagWarning[] =
    "A tag to be replaced cannot hold a space: the scheme file would read the part after it as the new tag.";

} // namespace qm
