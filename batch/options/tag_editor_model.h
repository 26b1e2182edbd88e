// The tag editor (TfrmTagReplaceDlg) as a model: its four modes, its fields, and the rules its Add or Ok button
// applies.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "options/option_set.h"

namespace qm {

enum class TagListKind { Replacement, Removal };

inline constexpr std::string_view kCycleWarning =
    "Insertion of this tag will lead to the recycling of replacement procedure!";
inline constexpr std::string_view kFullListWarning =
    "The list already holds 255 entries, as many as a scheme file keeps.\rRemove an entry first.";
// A scheme file separates the two tags of a pair by the first space.
inline constexpr std::string_view kSpaceInFromTagWarning =
    "A tag to be replaced cannot hold a space: the scheme file would read the part after it as the new tag.";

struct TagEditor {
    TagListKind list = TagListKind::Replacement;
    std::optional<std::size_t> editIndex; // none: a new entry
    std::string caption;
    std::string butAddCaption;
    bool tag1Enabled = true; // with labTag1
    bool tag2Enabled = true; // with labTag2
    std::string tag1; // the fields, as typed: no trimming, no change of case
    std::string tag2;
};

// Why no new entry can be added to the list at all (it is full), before the editor opens.
std::optional<std::string_view> AddingRefused(const TOptionSet& options, TagListKind list);

// The editor as it opens: "New tags for replacement" / "Edit tags for
// replacement" / "New tags for removal" / "Edit tags for removal", the
// button "Add" or "Ok", the fields filled from the edited entry.
TagEditor OpenTagEditor(const TOptionSet& options, TagListKind list, std::optional<std::size_t> editIndex);

enum class TagEditorOutcome {
    Applied, // the entry was added or changed; the editor closes
    Refused, // the warning says why; the editor stays open
    EntryGone, // the edited entry no longer exists; the editor closes with "Error"
};

struct TagEditorResult {
    TagEditorOutcome outcome = TagEditorOutcome::Applied;
    std::string_view warning;
};

// butAdd. A replacement pair's From tag holds no space, and the pair must pass
// the cycle test and must not find its own result again (a ToTag equal to
// the FromTag without regard to case, or beginning with it and a space). A
// list holds at most kMaxTagEntries entries. A change raises the list's
// scheme mark and ProfileModified.
TagEditorResult TagEditorAdd(const TagEditor& editor, TOptionSet& options);

} // namespace qm
