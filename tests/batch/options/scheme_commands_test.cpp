// The tag lists' commands and the tag editor: modes, its button's rules, removing, loading and saving schemes.
#include "batch/options/scheme_commands.h"

#include <gtest/gtest.h>

#include "batch/model/main_model.h"
#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;

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
        // Removal.
        {"removal, new", TagListKind::Removal, std::nullopt, "FONT", "", true},
        {"removal, edit", TagListKind::Removal, 1, "NAME=\"GENERATOR\"", "", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        TOptionSet& options = bench.model.options;
        TagEditor editor = OpenTagEditor(options, row.list, row.index);
        editor.tag1 = row.tag1;
        editor.tag2 = row.tag2;
        const auto replaceBefore = options.listReplaceTags;
        const auto deleteBefore = options.listDeleteTags;
        EXPECT_EQ(TagEditorButAdd(bench.model, editor), row.closes);
        if (!row.closes) {
            EXPECT_EQ(bench.ui.texts("warning"),
                std::vector<std::string> {"\rInsertion of this tag will lead to the recycling of replacement procedure!"});
            EXPECT_EQ(options.listReplaceTags, replaceBefore);
            EXPECT_FALSE(options.ProfileModified);
            continue;
        }
        EXPECT_TRUE(options.ProfileModified);
        if (row.list == TagListKind::Replacement) {
            EXPECT_TRUE(options.ReplaceSchemeModified);
            const TTagReplacement& entry = row.index ? options.listReplaceTags[*row.index] : options.listReplaceTags.back();
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
    Bench bench;
    TOptionSet& options = bench.model.options;
    options.listDeleteTags[9].Active = false;
    TagEditor editor = OpenTagEditor(options, TagListKind::Removal, 9);
    editor.tag1 = "/td";
    ASSERT_TRUE(TagEditorButAdd(bench.model, editor));
    EXPECT_EQ(options.listDeleteTags[9], (TTagRemoval {false, "/td"}));

    options.listDeleteTags.resize(kMaxTagEntries);
    editor = OpenTagEditor(options, TagListKind::Removal, std::nullopt);
    editor.tag1 = "one too many";
    EXPECT_FALSE(TagEditorButAdd(bench.model, editor));
    EXPECT_EQ(options.listDeleteTags.size(), kMaxTagEntries);
}

TEST(Schemes, RemoveAsksWithTheTagsInCapitals)
{
    struct Row {
        const char* name;
        TagListKind list;
        bool yes;
        std::string question;
    };
    const Row rows[] = {
        {"replacement, Yes", TagListKind::Replacement, true, "Do you want to remove tags scheme:\rfrom STRONG to B\rfrom tags replacement list?"},
        {"replacement, No", TagListKind::Replacement, false, "Do you want to remove tags scheme:\rfrom STRONG to B\rfrom tags replacement list?"},
        {"removal, Yes", TagListKind::Removal, true, "\rDo you want to remove tag !DOCTYPE from tags removal list?"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.model.options.setFlag(Opt::cbShowConf, false);
        bench.ui.script({row.yes ? test::Yes() : test::No()});
        const std::size_t before = row.list == TagListKind::Replacement ? 14 : 10;
        RemoveTagEntry(bench.model, row.list, 0);
        EXPECT_EQ(bench.ui.texts("yesno"), std::vector<std::string> {row.question});
        const std::size_t after = row.list == TagListKind::Replacement ? bench.model.options.listReplaceTags.size()
                                                                       : bench.model.options.listDeleteTags.size();
        EXPECT_EQ(after, row.yes ? before - 1 : before);
        EXPECT_EQ(bench.model.options.ProfileModified, row.yes);
    }
    Bench bench;
    RemoveTagEntry(bench.model, TagListKind::Removal, std::nullopt);
    EXPECT_TRUE(bench.ui.events().empty()) << "nothing happens without a focused entry";
    EXPECT_FALSE(EditTagEntry(bench.model, TagListKind::Removal, std::nullopt));
    EXPECT_EQ(bench.ui.texts("information"), std::vector<std::string> {"\rError"});
}

TEST(Schemes, LoadSchemeFromFile)
{
    struct Row {
        const char* name;
        bool modified;
        std::vector<test::ScriptedAnswer> answers;
        bool loaded;
        bool savedFirst;
        bool markAfter;
    };
    Bench paths;
    const Row rows[] = {
        {"unmodified list: straight to the dialog", false, {test::OpenFiles({"@other.rep"})}, true, false, true},
        {"Yes saves the list first", true, {test::YesNoCancelAnswer(YesNoCancel::Yes), test::OpenFiles({"@other.rep"})}, true,
            true, true},
        {"No drops it", true, {test::YesNoCancelAnswer(YesNoCancel::No), test::OpenFiles({"@other.rep"})}, true, false, true},
        {"Cancel changes nothing", true, {test::YesNoCancelAnswer(YesNoCancel::Cancel)}, false, false, true},
        {"No, then cancelling the dialog still clears the mark", true,
            {test::YesNoCancelAnswer(YesNoCancel::No), test::OpenFiles({})}, false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        TOptionSet& options = bench.model.options;
        options.setText(Opt::edProfile, bench.path("Profiles/Default.pro"));
        bench.write("Profiles/Default.rep", "+ old one\r\n");
        bench.write("other.rep", "+ a b\r\n- c d\r\n");
        options.ReplaceSchemeModified = row.modified;
        std::vector<test::ScriptedAnswer> answers = row.answers;
        for (test::ScriptedAnswer& answer : answers)
            if (auto* files = std::get_if<std::vector<std::string>>(&answer.value))
                for (std::string& file : *files) file = bench.path(file.substr(1));
        bench.ui.script(answers);
        LoadSchemeFromFile(bench.model, TagListKind::Replacement);
        if (row.modified) {
            EXPECT_TRUE(bench.ui.saw("yesnocancel", "Save changes to current replacement scheme file < " +
                                                        bench.path("Profiles/Default") + ".rep > before opening ?"));
        }
        EXPECT_EQ(options.listReplaceTags.size(), row.loaded ? 2u : 14u);
        EXPECT_EQ(bench.read("Profiles/Default.rep") != "+ old one\r\n", row.savedFirst);
        EXPECT_EQ(options.ReplaceSchemeModified, row.markAfter);
    }
}

TEST(Schemes, SaveChangesAndSaveAs)
{
    Bench bench;
    TOptionSet& options = bench.model.options;
    options.setText(Opt::edProfile, bench.path("Profiles/Default.pro"));
    std::filesystem::create_directories(bench.dir / "Profiles");
    options.RemoveSchemeModified = true;
    options.ProfileModified = true;
    SaveSchemeChanges(bench.model, TagListKind::Removal);
    EXPECT_EQ(bench.read("Profiles/Default.rem").substr(0, 12), "- !doctype\r\n");
    EXPECT_FALSE(options.RemoveSchemeModified);
    EXPECT_TRUE(options.ProfileModified) << "saving a scheme leaves the profile's mark";

    bench.ui.script({test::SaveFileAs(bench.path("mine.rep"))});
    SaveSchemeAs(bench.model, TagListKind::Replacement);
    EXPECT_EQ(bench.read("mine.rep").substr(0, 12), "+ strong b\r\n");
    EXPECT_EQ(bench.ui.dialogRequests.back().filter, "Tags schemes [ *.rep ]|*.rep");
    EXPECT_EQ(options.text(Opt::edProfile), bench.path("Profiles/Default.pro"));

    // Scheme files are written by the settings layer straight to the disk: a folder in the way makes it fail.
    std::filesystem::create_directories(bench.dir / "Profiles/Default.rep");
    SaveSchemeChanges(bench.model, TagListKind::Replacement);
    EXPECT_EQ(bench.ui.texts("error"), std::vector<std::string> {"\rError"});
}

} // namespace
} // namespace qm
