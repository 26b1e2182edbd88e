// The tag editor: one entry of a tag list, typed between "<" and ">", checked by the tag editor's model.
#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>

#include "batch/options/tag_editor_model.h"
#include "options/option_set.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qm {

class UserInterface;

class TfrmTagReplaceDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 40;
    static constexpr int kTypedLength = 30;

    TfrmTagReplaceDlg(TOptionSet& options, UserInterface& ui, QWidget* parent = nullptr);

    // Sets caption, button and fields for adding to `list` (no index) or
    // editing its entry at `index`, and centres the editor on the screen.
    void prepare(TagListKind list, std::optional<std::size_t> index);

    // butAdd: the model's rules on the typed tags; the entry goes into the
    // option set and the editor closes, or a warning shows and it stays open.
    // True when the list changed.
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
    TOptionSet& options_;
    UserInterface& ui_;
    TagEditor editor_;
    QLabel* brackets_[4];
};

} // namespace qm
