// The options window's layout as data: decorations, where each row stands, and its small widgets.
#pragma once

#include <vector>

#include "options/option_set.h"

class QHBoxLayout;
class QIcon;
class QLabel;
class QToolButton;
class QWidget;

namespace qm {

inline constexpr int kIndent = 20;

enum class Chooser { None, Folder, Executable, Language };

// What the option table leaves to the window: headings above a row, lines,
// extra indentation, the names of caption labels and of chooser buttons.
struct Decoration {
    Opt row;
    const char* headingName = nullptr;
    const char* headingCaption = nullptr;
    bool lineBefore = false;
    bool indent = false;
    bool disabledAtStart = false;
    const char* captionLabelName = nullptr;
    Chooser chooser = Chooser::None;
    const char* chooserName = nullptr;
    const char* chooserHint = nullptr;
};

const Decoration* DecorationOf(Opt id);
int DecorationIndex(Opt id); // -1 when the row has none
const Decoration& DecorationAt(int index);

struct Placed {
    const OptionRow* row;
    int depth;
    const OptionRow* beside = nullptr; // a number field drawn right of the flag
};

// The rows of a page as the window shows them: each row is followed by the
// rows it enables (indented), a number field stands beside the flag that
// enables it, and a few moves set the order of the top rows.
std::vector<Placed> PageLayout(OptionPage page);

QHBoxLayout* IndentedRow(int depth);
QToolButton* IconButton(QWidget* parent, const char* name, const char* hint, const QIcon& icon);
QToolButton* PageButton(QWidget* parent, const char* name, const char* caption, const QIcon& icon);
QLabel* TitleBar(QWidget* parent, const char* title);

} // namespace qm
