// The "Tags" page's operations on the two tag lists that need the user or the disk: remove, load from and save to
// scheme files.
#pragma once

#include <cstddef>
#include <optional>

#include "batch/options/tag_editor_model.h"

namespace qm {

struct MainModel;

// butDeleteReplaceTag / but2DeleteTag: asks (whatever cbShowConf says), then
// removes the focused entry. Nothing happens without one.
void RemoveTagEntry(MainModel& model, TagListKind list, std::optional<std::size_t> focused);

// butRepOpen / butRemOpen: the question about unsaved changes, the dialog, the list read from the chosen file.
void LoadSchemeFromFile(MainModel& model, TagListKind list);
// butRepSave / butRemSave: the list into the current profile's scheme file.
void SaveSchemeChanges(MainModel& model, TagListKind list);
// butRepSaveAs / butRemSaveAs: the list into a chosen file; the profile keeps its own.
void SaveSchemeAs(MainModel& model, TagListKind list);

} // namespace qm
