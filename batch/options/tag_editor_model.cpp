// The tag editor's modes and the rules of its Add or Ok button.
#include "batch/options/tag_editor_model.h"

#include "settings/tag_scheme.h"

namespace qm {
namespace {

void MarkChanged(TOptionSet& options, TagListKind list)
{
    (list == TagListKind::Replacement ? options.ReplaceSchemeModified : options.RemoveSchemeModified) = true;
    options.ProfileModified = true;
}

std::size_t SizeOf(const TOptionSet& options, TagListKind list)
{
    return list == TagListKind::Replacement ? options.listReplaceTags.size() : options.listDeleteTags.size();
}

TagEditorResult Refused(std::string_view warning) { return {TagEditorOutcome::Refused, warning}; }

} // namespace

std::optional<std::string_view> AddingRefused(const TOptionSet& options, TagListKind list)
{
    if (SizeOf(options, list) >= kMaxTagEntries) return kFullListWarning;
    return std::nullopt;
}

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
    if (editor.editIndex && *editor.editIndex >= SizeOf(options, editor.list)) return {TagEditorOutcome::EntryGone, {}};
    if (!editor.editIndex)
        if (std::optional<std::string_view> full = AddingRefused(options, editor.list)) return Refused(*full);

    if (editor.list == TagListKind::Removal) {
        auto& list = options.listDeleteTags;
        if (editor.editIndex)
            list[*editor.editIndex].Tag = editor.tag1;
        else
            list.push_back({true, editor.tag1});
        MarkChanged(options, editor.list);
        return {};
    }

    auto& list = options.listReplaceTags;
    if (editor.tag1.find(' ') != std::string::npos) return Refused(kSpaceInFromTagWarning);
    if (!CycleTestPasses(list, editor.tag1, editor.tag2, editor.editIndex) ||
        ReplacementFindsItself(editor.tag1, editor.tag2))
        return Refused(kCycleWarning);
    if (editor.editIndex) {
        list[*editor.editIndex].FromTag = editor.tag1;
        list[*editor.editIndex].ToTag = editor.tag2;
    } else {
        list.push_back({true, editor.tag1, editor.tag2});
    }
    MarkChanged(options, editor.list);
    return {};
}

} // namespace qm
