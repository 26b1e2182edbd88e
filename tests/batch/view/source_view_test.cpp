// Viewing and editing: the view commands, showing, editing, saving, the offer to save, the browser and the editor.
#include "batch/view/source_view.h"

#include <gtest/gtest.h>

#include "batch/model/file_panel.h"
#include "batch/panel/panel_commands.h"
#include "batch/run/run_control.h"
#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;

// A site with one page in the panel, highlighted, its optimized copy in the output folder when asked for.
struct ViewBench : Bench {
    explicit ViewBench(bool withOptimizedCopy = true)
    {
        write("site/index.htm", "<p>initial</p>\r\n<p>page</p>\r\n");
        if (withOptimizedCopy) write("optimized/index.htm", "<p>optimized</p>\r\n");
        add({"site/index.htm"});
        HighlightRow(model, 0);
    }
    const SourceViewState& view() const { return model.sourceView; }
    std::string shownText() { return hooks.sourceViewText(); }
    void type(const std::string& text)
    {
        hooks.setSourceViewText(text);
        memoFileSrcChange(model);
    }
};

TEST(SourceView, ViewCommandsFollowTheCopiesOfTheHighlightedRow)
{
    struct Row {
        const char* name;
        bool modify;
        bool optimizedCopy; // in the output folder
        bool backupCopy; // in the backup folder
        const char* initial;
        const char* optimized;
    };
    const Row rows[] = {
        {"copies: both exist", false, true, false, "site/index.htm", "optimized/index.htm"},
        {"copies: no optimized copy", false, false, false, "site/index.htm", "optimized/index.htm"},
        {"in place with a backup copy", true, false, true, "backup/index.htm", "site/index.htm"},
        {"in place without a backup copy: the optimized copy is missing", true, false, false, "site/index.htm",
            "does not exist!"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ViewBench bench(row.optimizedCopy);
        if (row.backupCopy) bench.write("backup/index.htm", "<p>backup</p>");
        if (row.modify) bench.modifyMode(true);
        UpdateViewCommands(bench.model);
        const std::string optimized =
            std::string(row.optimized) == "does not exist!" ? row.optimized : bench.path(row.optimized);
        EXPECT_EQ(bench.view().menuUnzippedHint, bench.path(row.initial));
        EXPECT_EQ(bench.view().menuZippedHint, optimized);
        EXPECT_TRUE(bench.view().menuUnzippedEnabled);
        EXPECT_TRUE(bench.view().butViewUnZippedEnabled);
        const bool optimizedExists = row.optimizedCopy || row.backupCopy;
        EXPECT_EQ(bench.view().menuZippedEnabled, optimizedExists);
        EXPECT_EQ(bench.view().butViewZippedEnabled, optimizedExists);

        // View opens the optimized copy when there is one, otherwise the initial copy.
        butViewClick(bench.model);
        EXPECT_TRUE(bench.ui.saw("open document", optimizedExists ? optimized : bench.path(row.initial)));
    }
}

TEST(SourceView, NoHighlightedRowClearsTheViewCommands)
{
    ViewBench bench;
    UpdateViewCommands(bench.model);
    HighlightRow(bench.model, std::nullopt);
    EXPECT_EQ(bench.view().menuUnzippedHint, "");
    EXPECT_EQ(bench.view().menuZippedHint, "");
    EXPECT_FALSE(bench.view().menuUnzippedEnabled || bench.view().menuZippedEnabled);
    EXPECT_FALSE(bench.view().butViewUnZippedEnabled || bench.view().butViewZippedEnabled);
    for (void (*command)(MainModel&) : {butViewClick, listFilesDblClick}) {
        bench.ui.clearEvents();
        command(bench.model);
        EXPECT_EQ(bench.ui.messages(), std::vector<std::string> {"\rYou should select file to view first"});
    }
    bench.ui.clearEvents();
    for (void (*command)(MainModel&) : {menuUnzippedClick, menuZippedClick, menuSendClick}) command(bench.model);
    EXPECT_TRUE(bench.ui.events().empty());
}

TEST(SourceView, ShowingATextMakesItEditable)
{
    struct Row {
        const char* name;
        void (*command)(MainModel&);
        const char* path;
        const char* text;
    };
    const Row rows[] = {
        {"initial text", butViewUnZippedClick, "site/index.htm", "<p>initial</p>\n<p>page</p>"},
        {"optimized text", butViewZippedClick, "optimized/index.htm", "<p>optimized</p>"},
        {"a double click shows the optimized text", listFilesDblClick, "optimized/index.htm", "<p>optimized</p>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ViewBench bench;
        UpdateViewCommands(bench.model);
        row.command(bench.model);
        EXPECT_EQ(bench.view().shownFile, bench.path(row.path));
        EXPECT_EQ(bench.view().hint, bench.path(row.path));
        EXPECT_EQ(bench.shownText(), row.text);
        EXPECT_TRUE(bench.view().editable);
        EXPECT_TRUE(bench.view().butSendToEditEnabled);
        EXPECT_FALSE(bench.view().butSaveFileEnabled);
        EXPECT_TRUE(bench.ui.messages().empty());
    }
}

TEST(SourceView, MissingFiles)
{
    ViewBench bench(false);
    UpdateViewCommands(bench.model);
    // Without an optimized copy a double click shows the initial text.
    listFilesDblClick(bench.model);
    EXPECT_EQ(bench.view().shownFile, bench.path("site/index.htm"));

    butViewZippedClick(bench.model);
    EXPECT_EQ(bench.ui.messages(),
        std::vector<std::string> {"\rFile < " + bench.path("optimized/index.htm") + " > not found!"});
    EXPECT_EQ(bench.view().shownFile, bench.path("site/index.htm")) << "the shown text stays";

    bench.ui.clearEvents();
    bench.modifyMode(true);
    UpdateViewCommands(bench.model);
    butViewZippedClick(bench.model);
    EXPECT_EQ(bench.ui.messages(), std::vector<std::string> {"\rFile < does not exist! > not found!"});
}

TEST(SourceView, EditAndSave)
{
    ViewBench bench;
    bench.model.options.setFlag(Opt::cbKeepLineEnds, false);
    butViewUnZippedClick(bench.model);
    EXPECT_FALSE(bench.view().butSaveFileEnabled);
    bench.type("<p>edited</p>\n<p>page</p>");
    EXPECT_TRUE(bench.view().butSaveFileEnabled) << "the unsaved-changes mark";
    butSaveFileClick(bench.model);
    EXPECT_FALSE(bench.view().butSaveFileEnabled);
    EXPECT_EQ(bench.read("site/index.htm"), "<p>edited</p>\r\n<p>page</p>\r\n");
    EXPECT_EQ(bench.model.panel.row(0).cells[cellSize], "28") << "the panel shows the new size";
    EXPECT_TRUE(bench.ui.messages().empty());
    // No stray temporary file beside the page.
    EXPECT_EQ(bench.fs.listFolder(bench.path("site"))->size(), 1u);
}

TEST(SourceView, ChangesBeforeAFileIsShownAreNoEdits)
{
    ViewBench bench;
    bench.type("typed into the empty view");
    EXPECT_FALSE(bench.view().butSaveFileEnabled);
    butSaveFileClick(bench.model);
    butSendToEditClick(bench.model);
    EXPECT_TRUE(bench.ui.events().empty());
    EXPECT_EQ(bench.read("site/index.htm"), "<p>initial</p>\r\n<p>page</p>\r\n");
}

TEST(SourceView, SavingFails)
{
    struct Row {
        const char* name;
        void (*fault)(ViewBench&);
        const char* edited;
        const char* reason;
    };
    const Row rows[] = {
        {"a read-only page", [](ViewBench& b) { b.fs.makeReadOnly(b.path("site/index.htm")); }, "x", "read-only"},
        {"a full disk", [](ViewBench& b) { b.fs.failWrites(b.path("site/index.htm")); }, "x", ""},
        {"a character the page cannot store", [](ViewBench& b) { b.write("site/index.htm", "\xE9\r\n"); },
            "\xE2\x82\xAC", "single-byte"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ViewBench bench;
        row.fault(bench);
        butViewUnZippedClick(bench.model);
        const std::string before = bench.read("site/index.htm");
        bench.type(row.edited);
        butSaveFileClick(bench.model);
        ASSERT_EQ(bench.ui.messages().size(), 1u);
        EXPECT_EQ(bench.ui.messages()[0].rfind("Error during saving file\r", 0), 0u);
        EXPECT_NE(bench.ui.messages()[0].find(row.reason), std::string::npos);
        EXPECT_TRUE(bench.view().butSaveFileEnabled) << "the mark stays";
        EXPECT_EQ(bench.read("site/index.htm"), before);
    }
}

TEST(SourceView, OfferToSaveBeforeShowingAnotherText)
{
    struct Row {
        const char* name;
        bool answer;
        std::string savedInitial;
    };
    const Row rows[] = {
        {"No drops the edit", false, "<p>initial</p>\r\n<p>page</p>\r\n"},
        {"Yes saves it", true, "edited\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ViewBench bench;
        butViewUnZippedClick(bench.model);
        bench.type("edited");
        bench.ui.script({row.answer ? test::Yes() : test::No()});
        butViewZippedClick(bench.model);
        EXPECT_EQ(bench.ui.texts("yesno"),
            std::vector<std::string> {"Save changes to *|* < " + bench.path("site/index.htm") + " >  ?"});
        EXPECT_EQ(bench.shownText(), "<p>optimized</p>");
        EXPECT_FALSE(bench.view().butSaveFileEnabled);
        EXPECT_EQ(bench.read("site/index.htm"), row.savedInitial);
    }
}

// Saving refreshes and re-sorts the panel, so the row that was highlighted may
// move (and the rows' storage with it): the other text must still be the one
// of the file that was edited.
TEST(SourceView, SavingOnTheWayToTheOtherTextFollowsTheRowThroughTheSort)
{
    struct Row {
        const char* name;
        void (*show)(MainModel&);
        const char* expectedText;
    };
    const Row rows[] = {
        {"the optimized text", butViewZippedClick, "<p>small, optimized</p>"},
        {"the initial text again", butViewUnZippedClick, "a longer text than the big page holds"},
        {"a double click", listFilesDblClick, "<p>small, optimized</p>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.model.options.setFlag(Opt::cbKeepLineEnds, false);
        bench.write("site/big.htm", "<p>a big page, the first by size</p>\r\n");
        bench.write("site/small.htm", "<p>small</p>\r\n");
        bench.write("optimized/small.htm", "<p>small, optimized</p>\r\n");
        bench.add({"site/big.htm", "site/small.htm"});
        bench.model.panel.sortByColumn(3); // larger files first
        ASSERT_EQ(bench.model.panel.row(1).Filename, "small.htm");
        HighlightRow(bench.model, 1);
        butViewUnZippedClick(bench.model);
        bench.hooks.setSourceViewText("a longer text than the big page holds");
        memoFileSrcChange(bench.model);
        bench.ui.script({test::Yes()});
        row.show(bench.model);
        EXPECT_EQ(bench.read("site/small.htm"), "a longer text than the big page holds\r\n");
        ASSERT_EQ(bench.model.panel.row(0).Filename, "small.htm") << "the saved page is the larger one now";
        EXPECT_EQ(bench.model.panel.highlighted(), std::optional<std::size_t>(0));
        EXPECT_EQ(bench.hooks.sourceViewText(), row.expectedText);
        EXPECT_EQ(bench.model.sourceView.hint.find("small.htm") != std::string::npos, true);
    }
}

TEST(SourceView, AFailedSaveKeepsTheEditInTheView)
{
    ViewBench bench;
    butViewUnZippedClick(bench.model);
    bench.fs.makeReadOnly(bench.path("site/index.htm"));
    bench.type("edited");
    bench.ui.script({test::Yes()});
    butViewZippedClick(bench.model);
    EXPECT_EQ(bench.view().shownFile, bench.path("site/index.htm"));
    EXPECT_EQ(bench.shownText(), "edited");

    // Optimize! does not reset the edit away either, and starts nothing.
    bench.ui.clearEvents();
    bench.ui.script({test::Yes()});
    butOptimizeClick(bench.model);
    EXPECT_EQ(bench.shownText(), "edited");
    EXPECT_FALSE(bench.model.run.window.visible);
}

TEST(SourceView, ResetDropsEditsWithoutAQuestion)
{
    ViewBench bench;
    butViewUnZippedClick(bench.model);
    bench.type("edited");
    ClearFilesPanel(bench.model);
    EXPECT_TRUE(bench.ui.events().empty());
    EXPECT_EQ(bench.view().shownFile, "");
    EXPECT_EQ(bench.view().hint, "File source");
    EXPECT_EQ(bench.shownText(), "");
    EXPECT_FALSE(bench.view().editable);
    EXPECT_FALSE(bench.view().butViewUnZippedEnabled || bench.view().butViewZippedEnabled ||
        bench.view().butSendToEditEnabled || bench.view().butSaveFileEnabled);
    EXPECT_EQ(bench.read("site/index.htm"), "<p>initial</p>\r\n<p>page</p>\r\n");
}

TEST(SourceView, OptimizeOffersToSaveThenResets)
{
    ViewBench bench;
    butViewUnZippedClick(bench.model);
    bench.type("edited");
    bench.ui.script({test::Yes()});
    butOptimizeClick(bench.model);
    EXPECT_EQ(bench.read("site/index.htm"), "edited\r\n");
    EXPECT_EQ(bench.view().shownFile, "");
    EXPECT_TRUE(bench.model.run.window.visible);
}

TEST(SourceView, AClickThatLeavesNoRowHighlightedResets)
{
    ViewBench bench;
    butViewUnZippedClick(bench.model);
    listFilesClick(bench.model);
    EXPECT_FALSE(bench.view().shownFile.empty()) << "the row is still highlighted";
    HighlightRow(bench.model, std::nullopt);
    listFilesClick(bench.model);
    EXPECT_TRUE(bench.view().shownFile.empty());
}

TEST(SourceView, TheExternalEditor)
{
    struct Row {
        const char* name;
        void (*command)(MainModel&);
        const char* editor;
        bool launches;
        const char* file;
        const char* launch; // %e the editor, %f the file
    };
    const Row rows[] = {
        {"the side button sends the shown file", butSendToEditClick, "/usr/bin/my editor", true, "optimized/index.htm",
            "\"%e\" \"%f\""},
        {"the panel's item sends the highlighted row", menuSendClick, "/usr/bin/my editor", true, "site/index.htm",
            "\"%e\" \"%f\""},
        {"a terminal editor runs in a terminal", menuSendClick, "/usr/bin/editor", true, "site/index.htm",
            "\"x-terminal-emulator\" -e \"%e\" \"%f\""},
        {"vi too", menuSendClick, "/usr/bin/vi", true, "site/index.htm", "\"x-terminal-emulator\" -e \"%e\" \"%f\""},
        {"the shell cannot start it", menuSendClick, "/usr/bin/my editor", false, "site/index.htm", "\"%e\" \"%f\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ViewBench bench;
        bench.model.options.setText(Opt::edExtEditor, row.editor);
        bench.ui.launchSucceeds = row.launches;
        butViewZippedClick(bench.model);
        row.command(bench.model);
        const std::string file = bench.path(row.file);
        std::string launch = row.launch;
        launch.replace(launch.find("%e"), 2, row.editor);
        launch.replace(launch.find("%f"), 2, file);
        EXPECT_EQ(bench.ui.texts("launch"),
            std::vector<std::string> {launch + " in \"" + WithoutTrailingSeparator(FolderPart(file)) + "\""});
        EXPECT_EQ(bench.ui.messages().empty(), row.launches);
        if (!row.launches) {
            EXPECT_EQ(bench.ui.messages()[0].rfind("External editor running failed\r", 0), 0u);
            EXPECT_NE(bench.ui.messages()[0].find(row.editor), std::string::npos) << "names the program";
        }
    }
}

TEST(SourceView, TheBrowserItems)
{
    ViewBench bench;
    menuUnzippedClick(bench.model);
    menuZippedClick(bench.model);
    EXPECT_EQ(bench.ui.texts("open document"),
        (std::vector<std::string> {bench.path("site/index.htm"), bench.path("optimized/index.htm")}));
    EXPECT_TRUE(bench.ui.messages().empty());
}

// Without a browser the shell opens nothing; the user learns what was tried.
TEST(SourceView, NoProgramToOpenThePage)
{
    const std::vector<void (*)(MainModel&)> commands = {butViewClick, menuUnzippedClick, menuZippedClick};
    for (auto command : commands) {
        ViewBench bench;
        bench.ui.openSucceeds = false;
        command(bench.model);
        ASSERT_EQ(bench.ui.texts("error").size(), 1u);
        const std::string message = bench.ui.texts("error")[0];
        EXPECT_NE(message.find(bench.path("")), std::string::npos) << "names the page: " << message;
        EXPECT_NE(message.find("xdg-open"), std::string::npos) << "names what was tried: " << message;
        EXPECT_NE(message.find("x-www-browser"), std::string::npos) << message;
    }
}

TEST(SourceView, TheStorageModeDecidesTheOptimizedFileItem)
{
    ViewBench bench;
    for (bool modify : {true, false}) {
        bench.model.options.setFlag(Opt::radModifyOld, modify);
        StorageModeChanged(bench.model);
        EXPECT_EQ(bench.view().menuZippedEnabled, !modify);
    }
}

// The label above the view names the file and which of its texts is shown.
TEST(SourceView, TheCaptionSaysWhatIsShown)
{
    ViewBench bench;
    EXPECT_EQ(bench.view().shown, ShownText::None);
    butViewUnZippedClick(bench.model);
    EXPECT_EQ(bench.view().caption, "Initial text of " + bench.path("site/index.htm"));
    butViewZippedClick(bench.model);
    EXPECT_EQ(bench.view().caption, "Optimized text of " + bench.path("optimized/index.htm"));
    ClearFilesPanel(bench.model);
    EXPECT_EQ(bench.view().shown, ShownText::None);
    EXPECT_EQ(bench.view().caption, SourceViewCaption(bench.view()));
    EXPECT_NE(bench.view().caption.find("Enter"), std::string::npos) << "says how to show a text";
}

// The third view: what the run did to the page, read-only, with a summary.
TEST(SourceView, TheDifferencesBetweenTheTwoCopies)
{
    ViewBench bench;
    bench.write("site/index.htm", "<p>  initial  </p>\r\n");
    bench.write("optimized/index.htm", "<p>initial</p>\r\n");
    UpdateViewCommands(bench.model);
    EXPECT_TRUE(bench.view().butViewDiffEnabled);
    butViewDiffClick(bench.model);
    EXPECT_EQ(bench.view().shown, ShownText::Differences);
    EXPECT_FALSE(bench.view().editable);
    EXPECT_EQ(bench.view().caption,
        "Differences of " + bench.path("optimized/index.htm") +
            " from its initial text: 4 bytes removed and 0 added in 2 places");
    EXPECT_EQ(bench.shownText(), "<p>  initial  </p>") << "the recording hooks keep the runs' texts";
    // Typing cannot make the differences an edit of a file.
    memoFileSrcChange(bench.model);
    EXPECT_FALSE(bench.view().butSaveFileEnabled);

    // Without the optimized copy there is nothing to compare.
    ViewBench without(false);
    UpdateViewCommands(without.model);
    EXPECT_FALSE(without.view().butViewDiffEnabled);
    butViewDiffClick(without.model);
    EXPECT_EQ(without.ui.messages(),
        std::vector<std::string> {"\rFile < " + without.path("optimized/index.htm") + " > not found!"});
}

// During a run the side buttons stay in place but cannot be used.
TEST(SourceView, SideButtonsAreDisabledWhileARunLasts)
{
    ViewBench bench(false);
    bench.quietRuns();
    UpdateViewCommands(bench.model);
    bool usableDuringRun = false;
    bench.ui.onProcessEvents = [&] {
        usableDuringRun = usableDuringRun || SideButtonUsable(bench.view(), bench.view().butViewUnZippedEnabled);
    };
    EXPECT_TRUE(SideButtonUsable(bench.view(), bench.view().butViewUnZippedEnabled));
    bench.model.panel.selectAll();
    butOptimizeClick(bench.model);
    EXPECT_FALSE(usableDuringRun);
}

TEST(SourceView, HiddenWhileARunLasts)
{
    ViewBench bench(false);
    bench.quietRuns();
    bool visibleDuringRun = true;
    bench.ui.onProcessEvents = [&] { visibleDuringRun = visibleDuringRun && bench.view().visible; };
    butOptimizeClick(bench.model);
    EXPECT_FALSE(visibleDuringRun);
    EXPECT_TRUE(bench.view().visible);
}

} // namespace
} // namespace qm
