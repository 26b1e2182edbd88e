// The source view's state as data: which file it shows, how its text was decoded, and its side buttons.
#pragma once

#include <string>

#include "engine/page_text.h"

namespace qm {

struct MainModel;

inline constexpr const char* kFileSourceHint = "File source";

// Which text the view shows: a file's initial or optimized text, or the
// differences between the two (shown, never edited).
enum class ShownText { None, Initial, Optimized, Differences };

// How a file's bytes became the view's text, so that saving gives them back
// unchanged where the user changed nothing.
struct SourceTextFormat {
    // The bytes were valid UTF-8. Otherwise every byte is one character
    // (Latin-1), so a page in any single-byte code page survives the round trip.
    bool utf8 = true;
    LineEnd lineEnd = LineEnd::CrLf;
    bool finalLineEnd = true; // the last line ended with a line end
};

// memoFileSrc and its side panel, and the View drop-down, as data: the window draws it.
struct SourceViewState {
    std::string shownFile; // empty when no file is shown
    ShownText shown = ShownText::None;
    std::string caption; // the label above the view: which file and which text it shows
    std::string hint = kFileSourceHint; // memoFileSrc's hint: the shown file's path
    bool editable = false;
    bool visible = true; // hidden while a run lasts
    bool butViewUnZippedEnabled = false;
    bool butViewZippedEnabled = false;
    bool butViewDiffEnabled = false; // both copies exist
    bool butSendToEditEnabled = false;
    bool butSaveFileEnabled = false; // the unsaved-changes mark
    std::string menuUnzippedHint;
    std::string menuZippedHint;
    bool menuUnzippedEnabled = false;
    bool menuZippedEnabled = false;
    SourceTextFormat format;
};

// Empties the view; unsaved changes are dropped without a question.
void ResetSourceView(MainModel& model);

// The label above the view for what it shows now.
std::string SourceViewCaption(const SourceViewState& view);

// The side buttons are usable only while the view is: during a run they stay
// where they are, disabled, while the view itself is hidden.
bool SideButtonUsable(const SourceViewState& view, bool enabled);

} // namespace qm
