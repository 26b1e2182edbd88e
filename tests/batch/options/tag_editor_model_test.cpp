// The tag editor's model: its four modes and the rules of its Add or Ok button.
#include "batch/options/tag_editor_model.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(TagEditor, OpensInFourModes)
{
    struct Row {
        const char* name;
        TagListKind list;
        std::optional<std::size_t> index;
        std::string caption, button, tag1, tag2;
        bool tag2Enabled;
    };
    const Row rows[] = {
        {"replacement, new", TagListKind::Replacement, std::nullopt, "New tags for replacement", "Add", "", "", true},
        {"replacement, edit", TagListKind::Replacement, 1, "Edit tags for replacement", "Ok", "em", "i", true},
        {"removal, new", TagListKind::Removal, std::nullopt, "New tags for removal", "Add", "", "", false},
        {"removal, edit", TagListKind::Removal, 9, "Edit tags for removal", "Ok", "/TD", "", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TOptionSet options;
        TagEditor editor = OpenTagEditor(options, row.list, row.index);
        EXPECT_EQ(editor.caption, row.caption);
        EXPECT_EQ(editor.butAddCaption, row.button);
        EXPECT_EQ(editor.tag1, row.tag1);
        EXPECT_EQ(editor.tag2, row.tag2);
        EXPECT_TRUE(editor.tag1Enabled);
        EXPECT_EQ(editor.tag2Enabled, row.tag2Enabled);
    }
}

TEST(TagEditor, AddButtonRules)
{
    struct Row {
        const char* name;
        TagListKind list;
        std::optional<std::size_t> index;
        std::string tag1, tag2;
        bool closes;
        std::string_view warning = kCycleWarning;
    };
    const Row rows[] = {
        // Replacement pairs: the cycle test.
        {"b to strong would undo strong to b", TagListKind::Replacement, std::nullopt, "b", "strong", false},
        {"bold to b passes", TagListKind::Replacement, std::nullopt, "bold", "b", true},
        {"b to bold chains after strong to b", TagListKind::Replacement, std::nullopt, "b", "bold", false},
        {"editing strong to B tests only the others", TagListKind::Replacement, 0, "strong", "B", true},
        {"a second entry with the same from tag", TagListKind::Replacement, std::nullopt, "strong", "big", true},
        // Pairs that would find their own result again.
        {"to equals from", TagListKind::Replacement, std::nullopt, "u", "u", false},
        {"to equals from in another case", TagListKind::Replacement, std::nullopt, "u", "U", false},
        {"to begins with from and a space", TagListKind::Replacement, std::nullopt, "font", "font size=2", false},
        {"empty texts are taken as typed", TagListKind::Replacement, std::nullopt, "", "x", true},
        // A space would split the From tag in the scheme file.
        {"a space in the from tag", TagListKind::Replacement, std::nullopt, "font size", "span", false,
            kSpaceInFromTagWarning},
        {"a space in the to tag is an attribute", TagListKind::Replacement, std::nullopt, "span", "font size=2", true},
        // Removal.
        {"removal, new", TagListKind::Removal, std::nullopt, "FONT", "", true},
        {"removal, edit", TagListKind::Removal, 1, "NAME=\"GENERATOR\"", "", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TOptionSet options;
        TagEditor editor = OpenTagEditor(options, row.list, row.index);
        editor.tag1 = row.tag1;
        editor.tag2 = row.tag2;
        const auto replaceBefore = options.listReplaceTags;
        const auto deleteBefore = options.listDeleteTags;
        const TagEditorResult result = TagEditorAdd(editor, options);
        EXPECT_EQ(result.outcome == TagEditorOutcome::Applied, row.closes);
        if (!row.closes) {
            EXPECT_EQ(result.outcome, TagEditorOutcome::Refused);
            EXPECT_EQ(result.warning, row.warning);
            EXPECT_EQ(options.listReplaceTags, replaceBefore);
            EXPECT_FALSE(options.ProfileModified);
            continue;
        }
        EXPECT_TRUE(options.ProfileModified);
        if (row.list == TagListKind::Replacement) {
            EXPECT_TRUE(options.ReplaceSchemeModified);
            const TTagReplacement& entry =
                row.index ? options.listReplaceTags[*row.index] : options.listReplaceTags.back();
            EXPECT_EQ(entry, (TTagReplacement {true, row.tag1, row.tag2}));
        } else {
            EXPECT_TRUE(options.RemoveSchemeModified);
            const TTagRemoval& entry = row.index ? options.listDeleteTags[*row.index] : options.listDeleteTags.back();
            EXPECT_EQ(entry, (TTagRemoval {true, row.tag1}));
            EXPECT_EQ(options.listDeleteTags.size(), deleteBefore.size() + (row.index ? 0 : 1));
        }
    }
}

TEST(TagEditor, EditKeepsTheActiveMarkAndAListHoldsAtMost255)
{
    TOptionSet options;
    options.listDeleteTags[9].Active = false;
    TagEditor editor = OpenTagEditor(options, TagListKind::Removal, 9);
    editor.tag1 = "/td";
    ASSERT_EQ(TagEditorAdd(editor, options).outcome, TagEditorOutcome::Applied);
    EXPECT_EQ(options.listDeleteTags[9], (TTagRemoval {false, "/td"}));

    for (TagListKind list : {TagListKind::Replacement, TagListKind::Removal}) {
        TOptionSet full;
        full.listReplaceTags.resize(kMaxTagEntries, {true, "x", "y"});
        full.listDeleteTags.resize(kMaxTagEntries);
        EXPECT_EQ(AddingRefused(full, list), kFullListWarning);
        editor = OpenTagEditor(full, list, std::nullopt);
        editor.tag1 = "one";
        editor.tag2 = "too many";
        const TagEditorResult result = TagEditorAdd(editor, full);
        EXPECT_EQ(result.outcome, TagEditorOutcome::Refused);
        EXPECT_EQ(result.warning, kFullListWarning);
        EXPECT_EQ(full.listDeleteTags.size(), kMaxTagEntries);
        EXPECT_EQ(full.listReplaceTags.size(), kMaxTagEntries);
        EXPECT_FALSE(AddingRefused(options, list));
    }
}

TEST(TagEditor, AnEntryRemovedMeanwhileClosesTheEditor)
{
    TOptionSet options;
    for (TagListKind list : {TagListKind::Replacement, TagListKind::Removal}) {
        const TagEditor editor = OpenTagEditor(options, list, 20);
        EXPECT_EQ(TagEditorAdd(editor, options).outcome, TagEditorOutcome::EntryGone);
        EXPECT_FALSE(options.ProfileModified);
    }
}

} // namespace
} // namespace qm
