// The tag editor's modes and its Add or Ok button.
#include "batch/options/tag_editor_model.h"

#include "settings/tag_scheme.h"

namespace qm {
namespace {

constexpr std::string_view kListFull = "The list holds at most 255 entries";
constexpr std::string_view kEntryGone = "Error";

void MarkChanged(TOptionSet& options, TagListKind list)
{
    (list == TagListKind::Replacement ? options.ReplaceSchemeModified : options.RemoveSchemeModified) = true;
    options.ProfileModified = true;
}

} // namespace

TagEditor OpenTagEditor(const TOptionSet& options, TagListKind list, std::optional<std::size_t> editIndex)
{
    TagEditor editor;
    editor.list = list;
    editor.editIndex = editIndex;
    const bool replacement = list == TagListKind::Replacement;
    editor.caption = std::string(editIndex ? "Edit" : "New") + " tags for " + (replacement ? "replacement" : "removal");
    editor.butAddCaption = editIndex ? "Ok" : "Add";
    editor.tag2Enabled = replacement;
    if (editIndex && replacement && *editIndex < options.listReplaceTags.size()) {
        editor.tag1 = options.listReplaceTags[*editIndex].FromTag;
        editor.tag2 = options.listReplaceTags[*editIndex].ToTag;
    } else if (editIndex && !replacement && *editIndex < options.listDeleteTags.size()) {
        editor.tag1 = options.listDeleteTags[*editIndex].Tag;
    }
    return editor;
}

TagEditorResult TagEditorAdd(const TagEditor& editor, TOptionSet& options)
{
    if (editor.list == TagListKind::Removal) {
        auto& list = options.listDeleteTags;
        if (editor.editIndex) {
            if (*editor.editIndex >= list.size()) return {false, std::string(kEntryGone)};
            list[*editor.editIndex].Tag = editor.tag1;
        } else {
            if (list.size() >= kMaxTagEntries) return {false, std::string(kListFull)};
            list.push_back({true, editor.tag1});
        }
        MarkChanged(options, editor.list);
        return {true, {}};
    }

    auto& list = options.listReplaceTags;
    if (editor.editIndex && *editor.editIndex >= list.size()) return {false, std::string(kEntryGone)};
    if (!editor.editIndex && list.size() >= kMaxTagEntries) return {false, std::string(kListFull)};
    if (!CycleTestPasses(list, editor.tag1, editor.tag2, editor.editIndex) ||
        ReplacementFindsItself(editor.tag1, editor.tag2))
        return {false, std::string(kCycleWarning)};
    if (editor.editIndex) {
        list[*editor.editIndex].FromTag = editor.tag1;
        list[*editor.editIndex].ToTag = editor.tag2;
    } else {
        list.push_back({true, editor.tag1, editor.tag2});
    }
    MarkChanged(options, editor.list);
    return {true, {}};
}

} // namespace qm
