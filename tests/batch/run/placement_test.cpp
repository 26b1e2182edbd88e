// Where copies go, and every answer of the overwrite confirmation for both of its questions.
#include "batch/model/placement.h"

#include <gtest/gtest.h>

#include "batch/run/overwrite_confirmation.h"
#include "batch/run/run_control.h"
#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;
namespace fs = std::filesystem;

TEST(Placement, PathRules)
{
    struct Row {
        const char* name;
        bool modify;
        bool sourceExists, backupExists;
        bool check;
        std::string optimized, initial; // relative to the bench, or kDoesNotExist
    };
    const Row rows[] = {
        {"copies", false, true, false, false, "optimized/a.htm", "site/a.htm"},
        {"copies, checked", false, false, false, true, "optimized/a.htm", "site/a.htm"},
        {"sources, no check", true, false, false, false, "site/a.htm", "backup/a.htm"},
        {"sources, both exist", true, true, true, true, "site/a.htm", "backup/a.htm"},
        {"sources, no backup", true, true, false, true, std::string(kDoesNotExist), "site/a.htm"},
        {"sources, no source", true, false, true, true, std::string(kDoesNotExist), "site/a.htm"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        if (row.modify) bench.modifyMode(true);
        if (row.sourceExists) bench.write("site/a.htm", "s");
        if (row.backupExists) bench.write("backup/a.htm", "b");
        const std::string source = bench.path("site/a.htm");
        auto expand = [&](const std::string& p) { return p == kDoesNotExist ? p : bench.path(p); };
        EXPECT_EQ(OptimizedCopyPath(bench.model.options, bench.fs, source, "", row.check), expand(row.optimized));
        EXPECT_EQ(InitialCopyPath(bench.model.options, bench.fs, source, "", row.check), expand(row.initial));
    }
    Bench bench;
    EXPECT_EQ(OutputPathOf(bench.model.options, "/site/news/a.htm", "news/"), bench.path("optimized/news/a.htm"));
    EXPECT_EQ(BackupPathOf(bench.model.options, "/site/news/a.htm", "news/"), bench.path("backup/news/a.htm"));
}

// Two sources whose optimized copies are both in the way, answered one question at a time.
TEST(Confirmation, EveryAnswerToTheCopyQuestion)
{
    struct Row {
        const char* name;
        std::vector<test::ScriptedAnswer> answers;
        std::string x, y; // the optimized copies afterwards
        std::string extra; // the other file the answer made, "name=content"
    };
    const Row rows[] = {
        {"Overwrite asks again", {test::Overwrite(OverwriteAnswer::Overwrite), test::Overwrite(OverwriteAnswer::Skip)},
            "<p>x</p>\n", "old y", ""},
        {"Overwrite All answers the rest", {test::Overwrite(OverwriteAnswer::OverwriteAll)}, "<p>x</p>\n", "<p>y</p>\n",
            ""},
        {"Skip asks again", {test::Overwrite(OverwriteAnswer::Skip), test::Overwrite(OverwriteAnswer::Overwrite)},
            "old x", "<p>y</p>\n", ""},
        {"Skip All answers the rest", {test::Overwrite(OverwriteAnswer::SkipAll)}, "old x", "old y", ""},
        {"New name writes beside",
            {test::Overwrite(OverwriteAnswer::NewName), test::TypeText("x2.htm"),
                test::Overwrite(OverwriteAnswer::Skip)},
            "old x", "old y", "x2.htm=<p>x</p>\n"},
        {"Rename moves the old copy",
            {test::Overwrite(OverwriteAnswer::Rename), test::TypeText("x-old.htm"),
                test::Overwrite(OverwriteAnswer::Skip)},
            "<p>x</p>\n", "old y", "x-old.htm=old x"},
        {"Older is not offered here and keeps the file",
            {test::Overwrite(OverwriteAnswer::OverwriteAllOlder), test::Overwrite(OverwriteAnswer::Skip)}, "old x",
            "old y", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.quietRuns();
        bench.model.options.setFlag(Opt::cbDelKav, false);
        bench.write("site/x.htm", "<p>x</p>\n");
        bench.write("site/y.htm", "<p>y</p>\n");
        bench.write("optimized/x.htm", "old x");
        bench.write("optimized/y.htm", "old y");
        bench.add({"site/x.htm", "site/y.htm"});
        bench.ui.script(row.answers);
        butOptimizeClick(bench.model);
        EXPECT_EQ(bench.read("optimized/x.htm"), row.x);
        EXPECT_EQ(bench.read("optimized/y.htm"), row.y);
        if (!row.extra.empty()) {
            const std::size_t equals = row.extra.find('=');
            EXPECT_EQ(bench.read("optimized/" + row.extra.substr(0, equals)), row.extra.substr(equals + 1));
        }
        ASSERT_FALSE(bench.ui.overwritePrompts.empty());
        const OverwritePrompt& prompt = bench.ui.overwritePrompts[0];
        EXPECT_EQ(prompt.question, OverwriteQuestion::Copy);
        EXPECT_EQ(prompt.upperFile, bench.path("optimized/x.htm"));
        EXPECT_EQ(prompt.lowerFile, bench.path("site/x.htm"));
        EXPECT_EQ(prompt.secondLabel, "With optimized copy of the file");
        EXPECT_FALSE(prompt.overwriteOlderEnabled);
        EXPECT_EQ(prompt.upperFileInfo.rfind("5 bytes   ", 0), 0u) << prompt.upperFileInfo;
        EXPECT_EQ(prompt.lowerFileInfo.substr(prompt.lowerFileInfo.size() - 3), "  ?");
        EXPECT_TRUE(bench.ui.messages().empty()) << "an answered skip is no problem to report";
    }
}

TEST(Confirmation, EveryRunAsksAfresh)
{
    Bench bench;
    bench.quietRuns();
    bench.write("site/x.htm", "x");
    bench.write("optimized/x.htm", "old");
    bench.add({"site/x.htm"});
    bench.ui.script({test::Overwrite(OverwriteAnswer::SkipAll)});
    butOptimizeClick(bench.model);
    bench.ui.script({test::Overwrite(OverwriteAnswer::SkipAll)});
    butOptimizeClick(bench.model);
    EXPECT_EQ(bench.ui.overwritePrompts.size(), 2u);
}

void SetOlder(const Bench& bench, const std::string& relative, int days)
{
    fs::last_write_time(bench.dir / relative, fs::file_time_type::clock::now() - std::chrono::hours(24 * days));
}

// "Modify initial files" with backups, two sources whose backup copies exist from an earlier run.
TEST(Confirmation, EveryAnswerToTheBackupQuestion)
{
    struct Row {
        const char* name;
        int backupAgeDays;
        std::vector<test::ScriptedAnswer> answers;
        std::string xBackup, yBackup; // the backup copies afterwards
        std::string x, y; // the sources afterwards
        std::string extra; // "backup/name=content"
    };
    const std::string xo = "<p>x</p>\n", yo = "<p>y</p>\n"; // optimized
    const std::string xs = "<p >x</p>\n", ys = "<p >y</p>\n"; // sources
    const Row rows[] = {
        {"Overwrite asks again", 0,
            {test::Overwrite(OverwriteAnswer::Overwrite), test::Overwrite(OverwriteAnswer::Skip),
                test::Overwrite(OverwriteAnswer::Skip)},
            xs, "old y", xo, ys, ""},
        {"Overwrite All", 0, {test::Overwrite(OverwriteAnswer::OverwriteAll)}, xs, ys, xo, yo, ""},
        {"Skip then the copy question for the source itself", 0,
            {test::Overwrite(OverwriteAnswer::Skip), test::Overwrite(OverwriteAnswer::Overwrite),
                test::Overwrite(OverwriteAnswer::Skip), test::Overwrite(OverwriteAnswer::Skip)},
            "old x", "old y", xo, ys, ""},
        {"Skip All, and Skip All to the copy question", 0,
            {test::Overwrite(OverwriteAnswer::SkipAll), test::Overwrite(OverwriteAnswer::SkipAll)}, "old x", "old y",
            xs, ys, ""},
        {"Older keeps a backup of the same day", 0,
            {test::Overwrite(OverwriteAnswer::OverwriteAllOlder), test::Overwrite(OverwriteAnswer::SkipAll),
                test::Overwrite(OverwriteAnswer::SkipAll)},
            "old x", "old y", xs, ys, ""},
        {"Older replaces an older backup and asks again", 3,
            {test::Overwrite(OverwriteAnswer::OverwriteAllOlder), test::Overwrite(OverwriteAnswer::OverwriteAllOlder)},
            xs, ys, xo, yo, ""},
        {"New name", 0,
            {test::Overwrite(OverwriteAnswer::NewName), test::TypeText("x.keep"),
                test::Overwrite(OverwriteAnswer::SkipAll), test::Overwrite(OverwriteAnswer::SkipAll)},
            "old x", "old y", xo, ys, "backup/x.keep=" + xs},
        {"Rename", 0,
            {test::Overwrite(OverwriteAnswer::Rename), test::TypeText("x.older"),
                test::Overwrite(OverwriteAnswer::SkipAll), test::Overwrite(OverwriteAnswer::SkipAll)},
            xs, "old y", xo, ys, "backup/x.older=old x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bench bench;
        bench.quietRuns();
        bench.modifyMode(true);
        bench.write("site/x.htm", xs);
        bench.write("site/y.htm", ys);
        bench.write("backup/x.htm", "old x");
        bench.write("backup/y.htm", "old y");
        if (row.backupAgeDays) {
            SetOlder(bench, "backup/x.htm", row.backupAgeDays);
            SetOlder(bench, "backup/y.htm", row.backupAgeDays);
        }
        bench.add({"site/x.htm", "site/y.htm"});
        bench.ui.script(row.answers);
        butOptimizeClick(bench.model);
        EXPECT_EQ(bench.read("backup/x.htm"), row.xBackup);
        EXPECT_EQ(bench.read("backup/y.htm"), row.yBackup);
        EXPECT_EQ(bench.read("site/x.htm"), row.x);
        EXPECT_EQ(bench.read("site/y.htm"), row.y);
        if (!row.extra.empty()) {
            const std::size_t equals = row.extra.find('=');
            EXPECT_EQ(bench.read(row.extra.substr(0, equals)), row.extra.substr(equals + 1));
        }
        const OverwritePrompt& prompt = bench.ui.overwritePrompts.at(0);
        EXPECT_EQ(prompt.question, OverwriteQuestion::Backup);
        EXPECT_EQ(prompt.upperFile, bench.path("backup/x.htm"));
        EXPECT_EQ(prompt.secondLabel, "With file");
        EXPECT_TRUE(prompt.overwriteOlderEnabled);
        // Nothing set aside is left behind.
        for (const auto& entry : fs::directory_iterator(bench.dir / "backup"))
            EXPECT_EQ(entry.path().filename().string().find(".qmk-"), std::string::npos) << entry.path();
    }
}

TEST(Confirmation, TheQuestionsNeverShareAnAnswer)
{
    Bench bench;
    bench.quietRuns();
    bench.modifyMode(true);
    bench.write("site/x.htm", "x");
    bench.write("site/y.htm", "y");
    bench.write("backup/x.htm", "old x");
    bench.write("backup/y.htm", "old y");
    bench.add({"site/x.htm", "site/y.htm"});
    // Skip All to the backups; the copy question about each source is still asked.
    bench.ui.script({test::Overwrite(OverwriteAnswer::SkipAll), test::Overwrite(OverwriteAnswer::Skip),
        test::Overwrite(OverwriteAnswer::Skip)});
    butOptimizeClick(bench.model);
    ASSERT_EQ(bench.ui.overwritePrompts.size(), 3u);
    EXPECT_EQ(bench.ui.overwritePrompts[1].question, OverwriteQuestion::Copy);
    EXPECT_EQ(bench.ui.overwritePrompts[1].upperFile, bench.path("site/x.htm"));
    EXPECT_EQ(bench.ui.overwritePrompts[1].lowerFile, bench.path("site/x.htm"));
}

TEST(Confirmation, TheNamePromptInsistsOnAFreeName)
{
    Bench bench;
    bench.write("optimized/x.htm", "old");
    bench.write("optimized/taken.htm", "t");
    bench.ui.script({test::Overwrite(OverwriteAnswer::NewName), test::TypeText(""), test::TypeText("taken.htm"),
        test::TypeText("../escape.htm"), test::CancelText(), test::Overwrite(OverwriteAnswer::Rename),
        test::TypeText("free.htm")});
    OverwriteDecision decision =
        DecideOverwrite(bench.model, OverwriteQuestion::Copy, bench.path("site/x.htm"), bench.path("optimized/x.htm"));
    EXPECT_EQ(decision.answer, OverwriteAnswer::Rename);
    EXPECT_EQ(decision.newPath, bench.path("optimized/free.htm"));
    const std::vector<std::string> prompts = bench.ui.texts("text");
    ASSERT_EQ(prompts.size(), 5u);
    EXPECT_EQ(prompts[0], "Saving|Enter name for new file|x.htm");
    EXPECT_EQ(prompts[1], "Saving|Enter name for new file|");
    EXPECT_EQ(prompts[4], "Renaming|Enter new filename|x.htm");
}

} // namespace
} // namespace qm
