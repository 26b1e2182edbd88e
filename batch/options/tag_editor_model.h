// The tag editor (TfrmTagReplaceDlg) as a model: its four modes, its fields, and what its Add or Ok button does.
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

struct TagEditor {
    TagListKind list = TagListKind::Replacement;
    std::optional<std::size_t> editIndex; // none: a new entry
    std::string caption;
    std::string butAddCaption;
    bool tag1Enabled = true; // with labTag1
    bool tag2Enabled = true; // with labTag2
    std::string tag1;        // the fields, as typed: no trimming, no change of case
    std::string tag2;
};

// The editor as it opens: "New tags for replacement" / "Edit tags for
// replacement" / "New tags for removal" / "Edit tags for removal", the
// button "Add" or "Ok", the fields filled from the edited entry.
TagEditor OpenTagEditor(const TOptionSet& options, TagListKind list, std::optional<std::size_t> editIndex);

struct TagEditorResult {
    bool closed = false;  // the entry was added or changed; the editor closes
    std::string warning;  // otherwise, what to tell the user; the editor stays open
};

// butAdd. A replacement pair must pass the cycle test and must not find its
// own result again (a ToTag equal to the FromTag without regard to case, or
// beginning with it and a space): either is refused with kCycleWarning. A
// list holds at most kMaxTagEntries entries. A change raises the list's
// scheme mark and ProfileModified.
TagEditorResult TagEditorAdd(const TagEditor& editor, TOptionSet& options);

} // namespace qm
