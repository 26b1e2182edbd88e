// The "Tags" page's operations on the two tag lists: remove, edit, load from and save to scheme files, the tag editor's button.
#pragma once

#include <cstddef>
#include <optional>

#include "batch/options/tag_editor_model.h"

namespace qm {

struct MainModel;

// butDeleteReplaceTag / but2DeleteTag: asks (whatever cbShowConf says), then
// removes the focused entry. Nothing happens without one.
void RemoveTagEntry(MainModel& model, TagListKind list, std::optional<std::size_t> focused);

// butEditReplaceTag / butEditDeleteTag: the editor on the selected entry, or
// the information "Error" without one.
std::optional<TagEditor> EditTagEntry(MainModel& model, TagListKind list, std::optional<std::size_t> selected);

// The editor's Add or Ok: true when it closes; otherwise the warning has been shown.
bool TagEditorButAdd(MainModel& model, const TagEditor& editor);

// butRepOpen / butRemOpen: the question about unsaved changes, the dialog, the list read from the chosen file.
void LoadSchemeFromFile(MainModel& model, TagListKind list);
// butRepSave / butRemSave: the list into the current profile's scheme file.
void SaveSchemeChanges(MainModel& model, TagListKind list);
// butRepSaveAs / butRemSaveAs: the list into a chosen file; the profile keeps its own.
void SaveSchemeAs(MainModel& model, TagListKind list);

} // namespace qm
