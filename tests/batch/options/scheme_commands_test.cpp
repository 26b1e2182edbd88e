// The tag lists' commands: removing entries, loading and saving schemes.
#include "batch/options/scheme_commands.h"

#include <gtest/gtest.h>

#include "batch/model/main_model.h"
#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;

TEST(Schemes, RemoveAsksWithTheTagsInCapitals)
{
    struct Row {
        const char* name;
        TagListKind list;
        bool yes;
        std::string question;
    };
    const Row rows[] = {
        {"replacement, Yes", TagListKind::Replacement, true,
            "Do you want to remove tags scheme:\rfrom STRONG to B\rfrom tags replacement list?"},
        {"replacement, No", TagListKind::Replacement, false,
            "Do you want to remove tags scheme:\rfrom STRONG to B\rfrom tags replacement list?"},
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
        {"Yes saves the list first", true, {test::YesNoCancelAnswer(YesNoCancel::Yes), test::OpenFiles({"@other.rep"})},
            true, true, true},
        {"No drops it", true, {test::YesNoCancelAnswer(YesNoCancel::No), test::OpenFiles({"@other.rep"})}, true, false,
            true},
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
            EXPECT_TRUE(bench.ui.saw("yesnocancel",
                "Save changes to current replacement scheme file < " + bench.path("Profiles/Default") +
                    ".rep > before opening ?"));
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
