// The file panel: adding, duplicates, the row cap, check and remove commands, status text, sort marks, refresh.
#include "batch/model/file_panel.h"

#include <gtest/gtest.h>

#include "batch/model/file_operations.h"
#include "batch/panel/dropped_files.h"
#include "batch/panel/panel_commands.h"
#include "batch/panel/panel_refresh.h"
#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;

std::vector<std::string> Names(const FilePanel& panel)
{
    std::vector<std::string> names;
    for (const PanelRow& row : panel.rows()) names.push_back(row.Filename);
    return names;
}

TEST(FilePanel, NewRowsAreCheckedWithOnlyTheirPath)
{
    FilePanel panel;
    EXPECT_EQ(panel.append("/site/index.htm"), AddOutcome::Added);
    ASSERT_EQ(panel.size(), 1u);
    EXPECT_TRUE(panel.row(0).checked);
    EXPECT_EQ(panel.row(0).Filename, "index.htm");
    EXPECT_EQ(panel.row(0).cells, std::vector<std::string> {"/site/"});
    EXPECT_EQ(panel.row(0).fullPath(), "/site/index.htm");
}

TEST(FilePanel, DuplicatesAreComparedByteForByte)
{
    Bench bench;
    struct Step {
        const char* name;
        std::string path;
        bool report;
        AddOutcome expected;
        bool warned;
    };
    const Step steps[] = {
        {"first", "/site/index.htm", false, AddOutcome::Added, false},
        {"other letter case is another file", "/Site/index.htm", false, AddOutcome::Added, false},
        {"silent duplicate", "/site/index.htm", false, AddOutcome::Duplicate, false},
        {"reported duplicate", "/site/index.htm", true, AddOutcome::Duplicate, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        bench.ui.clearEvents();
        EXPECT_EQ(AddFileToPanel(bench.model, step.path, step.report), step.expected);
        EXPECT_EQ(bench.ui.saw("warning", "\rThe file < /site/index.htm > is already in the files panel"), step.warned);
    }
    bench.model.options.setFlag(Opt::cbShowInfo, false);
    bench.ui.clearEvents();
    AddFileToPanel(bench.model, "/site/index.htm", true);
    EXPECT_TRUE(bench.ui.messages().empty()) << "the warning needs cbShowInfo";
}

TEST(FilePanel, HoldsAtMost65535Rows)
{
    FilePanel panel;
    for (std::size_t i = 0; i < kMaxPanelRows; ++i)
        ASSERT_EQ(panel.append("/f/" + std::to_string(i) + ".htm"), AddOutcome::Added);
    EXPECT_EQ(panel.append("/f/one-more.htm"), AddOutcome::PanelFull);
    EXPECT_EQ(panel.size(), kMaxPanelRows);
    panel.removeRow(0);
    EXPECT_EQ(panel.append("/f/one-more.htm"), AddOutcome::Added);
}

TEST(FilePanel, CheckAndRemoveCommands)
{
    struct Row {
        const char* name;
        std::function<void(FilePanel&)> command;
        std::vector<std::string> names;
        std::vector<bool> checked;
    };
    // Start: a (checked), b (unchecked), c (checked), b highlighted.
    const Row rows[] = {
        {"select all", [](FilePanel& p) { p.selectAll(); }, {"a", "b", "c"}, {true, true, true}},
        {"invert", [](FilePanel& p) { p.invertSelection(); }, {"a", "b", "c"}, {false, true, false}},
        {"deselect", [](FilePanel& p) { p.deselect(); }, {"a", "b", "c"}, {false, false, false}},
        {"remove unchecked", [](FilePanel& p) { p.removeUnchecked(); }, {"a", "c"}, {true, true}},
        {"remove highlighted", [](FilePanel& p) { p.removeHighlighted(); }, {"a", "c"}, {true, true}},
        {"clear", [](FilePanel& p) { p.clear(); }, {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FilePanel panel;
        for (const char* name : {"a", "b", "c"}) panel.append(std::string("/") + name);
        panel.setChecked(1, false);
        panel.setHighlighted(1);
        row.command(panel);
        EXPECT_EQ(Names(panel), row.names);
        std::vector<bool> checked;
        for (const PanelRow& r : panel.rows()) checked.push_back(r.checked);
        EXPECT_EQ(checked, row.checked);
        EXPECT_EQ(panel.panelStatus(), panel.statusText()) << "every change writes the status text";
    }
}

TEST(FilePanel, StatusTextCountsRowsAndCheckedRows)
{
    FilePanel panel;
    panel.append("/a");
    panel.append("/b");
    panel.setChecked(0, false);
    EXPECT_EQ(panel.panelStatus(), "Files: 2   Selected: 1");
    panel.clear();
    EXPECT_EQ(panel.panelStatus(), "Files: 0   Selected: 0");
}

TEST(FilePanel, SortMarksNameTheSortedColumn)
{
    FilePanel panel;
    EXPECT_EQ(panel.sortMarks().columnCaptions[3], "Size  [bytes]") << "the design captions before the first marks";
    panel.setSortKey(3);
    panel.ShowSortMarks();
    const SortMarks& marks = panel.sortMarks();
    EXPECT_EQ(marks.columnCaptions[3], std::string(kSortBullet) + "  Filesize");
    EXPECT_EQ(marks.columnCaptions[0], "Filename");
    EXPECT_EQ(marks.columnCaptions[5], "Optimization ratio");
    for (int column = 0; column < kSortKeyCount; ++column) EXPECT_EQ(marks.itemChecked[column], column == 3);
}

TEST(FilePanel, SortKeepsTheHighlightedRow)
{
    FilePanel panel;
    panel.append("/b");
    panel.append("/a");
    panel.setHighlighted(0);
    panel.sortByColumn(0);
    ASSERT_TRUE(panel.highlighted());
    EXPECT_EQ(panel.row(*panel.highlighted()).Filename, "b");
}

TEST(FilePanel, RefreshFillsTheCellsFromTheDisk)
{
    struct Row {
        const char* name;
        bool modify;
        std::string source; // bytes of the source, empty name: none
        std::string copy; // bytes of the output copy (or, in modify mode, of the backup copy)
        bool hasCopy;
        std::vector<std::string> expectedAfterDate;
    };
    const Row rows[] = {
        {"no optimized copy", false, std::string(100, 'x'), "", false, {"100", "-"}},
        {"smaller copy", false, std::string(100, 'x'), std::string(30, 'y'), true, {"100", "30", "70 %"}},
        {"larger copy", false, std::string(100, 'x'), std::string(150, 'y'), true, {"100", "150", "-50 %"}},
        {"empty source has no ratio", false, "", std::string(3, 'y'), true, {"0", "3"}},
        {"modify mode: the backup is the initial copy", true, std::string(40, 'x'), std::string(160, 'y'), true,
            {"160", "40", "75 %"}},
        {"modify mode without backup", true, std::string(40, 'x'), "", false, {"40", "-"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        if (row.modify) bench.modifyMode(true);
        bench.write("site/index.htm", row.source);
        if (row.hasCopy) bench.write(row.modify ? "backup/index.htm" : "optimized/index.htm", row.copy);
        bench.add({"site/index.htm"});
        ASSERT_EQ(bench.model.panel.size(), 1u);
        const std::vector<std::string>& cells = bench.model.panel.row(0).cells;
        ASSERT_GE(cells.size(), 2u);
        EXPECT_EQ(cells[0], bench.path("site/"));
        EXPECT_TRUE(DateKey(cells[1])) << cells[1];
        EXPECT_EQ(std::vector<std::string>(cells.begin() + 2, cells.end()), row.expectedAfterDate);
    }
}

TEST(FilePanel, RefreshDropsRowsWhoseFileIsGoneAndLeavesAnEmptyPanelAlone)
{
    Bench bench;
    bench.write("a.htm", "a");
    bench.write("b.htm", "b");
    bench.add({"a.htm", "b.htm", "gone.htm"});
    EXPECT_EQ(Names(bench.model.panel), (std::vector<std::string> {"a.htm", "b.htm"}));
    std::filesystem::remove(bench.dir / "a.htm");
    std::filesystem::remove(bench.dir / "b.htm");
    RefreshPanel(bench.model);
    EXPECT_TRUE(bench.model.panel.empty());
    EXPECT_EQ(bench.model.panel.panelStatus(), "Files: 0   Selected: 0");
}

TEST(FilePanel, DateTextPutsTheDateFirstAndDropsMidnight)
{
    std::tm local {};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 6;
    local.tm_hour = 17;
    local.tm_min = 22;
    local.tm_sec = 2;
    local.tm_isdst = -1;
    FileTime evening = std::chrono::system_clock::from_time_t(std::mktime(&local));
    EXPECT_EQ(DateTimeText(evening), "06.12.2026 17:22:02");
    EXPECT_EQ(DateKey(DateTimeText(evening)), 20261206);
    local.tm_hour = local.tm_min = local.tm_sec = 0;
    FileTime midnight = std::chrono::system_clock::from_time_t(std::mktime(&local));
    EXPECT_EQ(DateTimeText(midnight), "06.12.2026");
    EXPECT_EQ(DateKey("06.12.2026"), 20261206);
    EXPECT_FALSE(DateKey("2026-12-06"));
}

TEST(FilePanel, DropsTakeWebFilesLoadListsAndWarnAboutTheRest)
{
    Bench bench;
    bench.write("Index.HTM", "a");
    bench.write("notes.ht", "b");
    bench.write("readme", "c");
    DropFiles(bench.model, {bench.path("Index.HTM"), bench.path("notes.ht"), bench.path("readme")}, true);
    EXPECT_EQ(Names(bench.model.panel), std::vector<std::string> {"Index.HTM"});
    EXPECT_EQ(bench.ui.texts("warning"), (std::vector<std::string> {"\rWrong file format", "\rWrong file format"}));

    bench.ui.clearEvents();
    DropFiles(bench.model, {bench.path("Index.HTM")}, false);
    EXPECT_EQ(bench.ui.messages(), std::vector<std::string> {"\rYou should drop files under files panel"});
}

TEST(FilePanel, DropsStopAtTheFileCountWhetherOrNotItIsChecked)
{
    Bench bench;
    bench.model.options.setFlag(Opt::cbMaxFCount, false);
    bench.model.options.setText(Opt::edMaxFCount, "3");
    for (const char* name : {"a.htm", "b.htm", "c.htm", "d.htm", "e.htm", "f.htm"}) bench.write(name, "x");
    bench.add({"a.htm", "b.htm"});
    DropFiles(bench.model, {bench.path("c.htm"), bench.path("d.htm"), bench.path("e.htm"), bench.path("f.htm")}, true);
    EXPECT_EQ(bench.model.panel.size(), 3u);
}

TEST(FilePanel, TheFileDialogAsksAboutTheFileCount)
{
    struct Row {
        const char* name;
        bool limitChecked;
        std::vector<test::ScriptedAnswer> answers;
        std::size_t expectedRows;
    };
    const Row rows[] = {
        {"Yes restricts", true, {test::Yes()}, 2},
        {"No adds all", true, {test::No()}, 5},
        {"no restriction, no question", false, {}, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.model.options.setFlag(Opt::cbMaxFCount, row.limitChecked);
        bench.model.options.setText(Opt::edMaxFCount, "2");
        std::vector<std::string> chosen;
        for (const char* name : {"a.htm", "b.htm", "c.htm", "d.htm", "e.htm"}) {
            bench.write(name, "x");
            chosen.push_back(bench.path(name));
        }
        bench.ui.script({test::OpenFiles(chosen)});
        bench.ui.script(row.answers);
        bench.model.sourceView.shownFile = "shown.htm";
        butFilesClick(bench.model);
        EXPECT_EQ(bench.model.panel.size(), row.expectedRows);
        if (row.limitChecked) {
            EXPECT_TRUE(bench.ui.saw("yesno",
                "There are 5 files for adding to files panel. You have set files count "
                "restriction ( 2 files ) to files panel. Restrict files count for adding?"));
        }
        EXPECT_EQ(bench.model.sourceView.shownFile, "") << "the source view is reset";
    }
}

} // namespace
} // namespace qm

namespace qm {
namespace {

TEST(FilePanel, RefreshDropsALinkWhoseTargetIsGone)
{
    test::Bench bench;
    std::filesystem::create_symlink(bench.dir / "nowhere.htm", bench.dir / "dangling.htm");
    bench.add({"dangling.htm"});
    EXPECT_TRUE(bench.model.panel.empty());
    EXPECT_TRUE(bench.ui.events().empty());
}

} // namespace
} // namespace qm
