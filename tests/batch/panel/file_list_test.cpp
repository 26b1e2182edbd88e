// List files: writing and reading the panel's rows and check marks, safely.
#include "batch/panel/file_list.h"

#include <gtest/gtest.h>

#include "batch/model/main_model.h"
#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;

TEST(FileList, SavesAndLoadsRowsWithTheirCheckMarks)
{
    Bench bench;
    for (const char* name : {"a.htm", "b.htm", "c.htm"}) bench.write(std::string("site/") + name, "x");
    bench.add({"site/a.htm", "site/b.htm", "site/c.htm"});
    bench.model.panel.setChecked(1, false);
    ASSERT_TRUE(SaveFileList(bench.model, bench.path("list.lst")));
    EXPECT_EQ(bench.read("list.lst"),
        "+ " + bench.path("site/a.htm") + "\r\n- " + bench.path("site/b.htm") + "\r\n+ " + bench.path("site/c.htm") +
            "\r\n");

    bench.model.panel.clear();
    bench.model.panel.append("/somewhere/else.htm");
    ASSERT_TRUE(LoadFileList(bench.model, bench.path("list.lst")));
    ASSERT_EQ(bench.model.panel.size(), 3u);
    EXPECT_EQ(bench.model.panel.row(0).Filename, "a.htm");
    EXPECT_TRUE(bench.model.panel.row(0).checked);
    EXPECT_FALSE(bench.model.panel.row(1).checked);
    EXPECT_TRUE(bench.model.panel.row(2).checked);
    EXPECT_EQ(bench.model.panel.row(0).cells.size(), 4u) << "refreshed";
}

TEST(FileList, ReadsUnusualLines)
{
    struct Row {
        const char* name;
        std::string text;
        std::vector<std::pair<std::string, bool>> expected; // relative path, checked
        int duplicateWarnings;
    };
    Bench names;
    const std::string a = names.path("a.htm");
    const Row rows[] = {
        {"lone LF and CR line ends", "+ A\n- B\r", {{"a.htm", true}, {"b.htm", false}}, 0},
        {"any second character is skipped", "+xA\r\n", {{"a.htm", true}}, 0},
        {"any first character but plus unchecks", "? A\r\n", {{"a.htm", false}}, 0},
        {"duplicates warn and change nothing", "+ A\r\n- A\r\n", {{"a.htm", true}}, 1},
        {"short and empty lines hold no path", "+\r\n\r\n+ \r\n+ A\r\n", {{"a.htm", true}}, 0},
        {"missing files go at the refresh", "+ A\r\n+ GONE\r\n", {{"a.htm", true}}, 0},
        {"trailing blanks name another file", "+ A  \r\n", {}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.write("a.htm", "a");
        bench.write("b.htm", "b");
        std::string text = row.text;
        for (auto [name, path] : {std::pair {"A", "a.htm"}, std::pair {"B", "b.htm"}, std::pair {"GONE", "gone.htm"}}) {
            for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
                text.replace(at, std::string(name).size(), bench.path(path));
                at += bench.path(path).size() - 1;
            }
        }
        bench.write("list.lst", text);
        LoadFileList(bench.model, bench.path("list.lst"));
        std::vector<std::pair<std::string, bool>> got;
        for (const PanelRow& r : bench.model.panel.rows()) got.emplace_back(r.Filename, r.checked);
        EXPECT_EQ(got, row.expected);
        EXPECT_EQ(static_cast<int>(bench.ui.texts("warning").size()), row.duplicateWarnings);
    }
}

TEST(FileList, AMissingListEmptiesThePanel)
{
    Bench bench;
    bench.model.panel.append("/x.htm");
    EXPECT_TRUE(LoadFileList(bench.model, bench.path("none.lst")));
    EXPECT_TRUE(bench.model.panel.empty());
}

TEST(FileList, TheFileCountQuestion)
{
    for (bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        Bench bench;
        std::string text;
        for (int i = 0; i < 150; ++i) {
            const std::string name = "f" + std::to_string(i) + ".htm";
            bench.write(name, "x");
            text += "+ " + bench.path(name) + "\r\n";
        }
        bench.write("list.lst", text);
        bench.ui.script({yes ? test::Yes() : test::No()});
        LoadFileList(bench.model, bench.path("list.lst"));
        EXPECT_EQ(bench.model.panel.size(), yes ? 100u : 150u);
        EXPECT_TRUE(bench.ui.saw("yesno",
            "There are 150 files for adding to files panel. You have set files count "
            "restriction ( 100 files ) to files panel."));
    }
}

TEST(FileList, AFailedSaveKeepsTheOldListAndSaysSo)
{
    Bench bench;
    bench.write("a.htm", "a");
    bench.write("list.lst", "+ old\r\n");
    bench.add({"a.htm"});
    bench.fs.failWrites(bench.path("list.lst"));
    bench.ui.script({test::SaveFileAs(bench.path("list.lst"))});
    menuSaveListFilesClick(bench.model);
    EXPECT_EQ(bench.read("list.lst"), "+ old\r\n");
    ASSERT_EQ(bench.ui.texts("error").size(), 1u);
    EXPECT_EQ(bench.ui.texts("error")[0].rfind("Error during files list saving\r", 0), 0u);
}

TEST(FileList, MenuCommands)
{
    Bench bench;
    menuSaveListFilesClick(bench.model);
    EXPECT_EQ(bench.ui.messages(), std::vector<std::string> {"\rFiles panel is empty"});

    bench.write("a.htm", "a");
    bench.write("saved.lst", "- " + bench.path("a.htm") + "\r\n");
    bench.ui.script({test::OpenFiles({bench.path("saved.lst")})});
    menuOpenListFilesClick(bench.model);
    ASSERT_EQ(bench.model.panel.size(), 1u);
    EXPECT_FALSE(bench.model.panel.row(0).checked);
    EXPECT_EQ(bench.ui.dialogRequests.back().filter, "Files list [ *.lst ]|*.lst");
    EXPECT_EQ(bench.ui.dialogRequests.back().title, "Select files(s)");

    bench.ui.script({test::SaveFileAs(bench.path("new.lst"))});
    menuSaveListFilesClick(bench.model);
    EXPECT_EQ(bench.read("new.lst"), "- " + bench.path("a.htm") + "\r\n");
    EXPECT_EQ(bench.ui.dialogRequests.back().title, "Save file");
}

} // namespace
} // namespace qm
