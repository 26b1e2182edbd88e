// The journal: its records survive a reread, another run's records are seen, a torn line is passed over, moves and
// closings follow the files, and a mostly closed journal gets short again.
#include "batch/run/journal.h"

#include <gtest/gtest.h>

#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

JournalEntry Entry(RecordKind kind, const std::string& source, const std::string& name, const std::string& original,
    const std::string& written)
{
    JournalEntry entry;
    entry.kind = kind;
    entry.source = source;
    entry.name = name;
    entry.original = ContentStamp::Of(original);
    entry.written = ContentStamp::Of(written);
    entry.mode = 0640;
    entry.owner = 1000;
    entry.group = 100;
    return entry;
}

struct JournalBench {
    test::TempDir dir;
    test::FaultyFileSystem files;
    std::string folder = (dir / "backup").string();
    JournalBench() { fs::create_directories(folder); }
    std::string journalText() const { return test::ReadFile(dir / "backup" / std::string(Journal::kFileName)); }
};

TEST(Journal, RecordsSurviveAReadByAnotherRun)
{
    JournalBench bench;
    Journal run(bench.files, bench.folder);
    // Names with tabs, line breaks and percent signs stay one field each.
    const std::string odd = "/site/a\tb\nc%41.html";
    JournalEntry first = Entry(RecordKind::Backup, odd, "site/a\tb\nc%41.html", "original", "written");
    JournalEntry second = Entry(RecordKind::Copy, "/site/b.html", "b.html", "b", "B");
    ASSERT_TRUE(run.record(first));
    ASSERT_TRUE(run.record(second));
    EXPECT_NE(first.id, second.id);

    Journal later(bench.files, bench.folder);
    ASSERT_TRUE(later.refresh());
    ASSERT_EQ(later.entries().size(), 2u);
    const JournalEntry& read = later.entries()[0];
    EXPECT_EQ(read.id, first.id);
    EXPECT_EQ(read.kind, RecordKind::Backup);
    EXPECT_EQ(read.source, odd);
    EXPECT_EQ(read.name, "site/a\tb\nc%41.html");
    EXPECT_EQ(read.original, ContentStamp::Of("original"));
    EXPECT_EQ(read.written, ContentStamp::Of("written"));
    EXPECT_EQ(read.mode, 0640u);
    EXPECT_EQ(read.owner, 1000u);
    EXPECT_EQ(read.group, 100u);
    EXPECT_TRUE(read.live());
    EXPECT_EQ(later.entries()[1].kind, RecordKind::Copy);
    EXPECT_EQ(bench.journalText().rfind("# Quillmark journal", 0), 0u) << "the file says what it is";

    // What one run records, another sees at its next refresh.
    JournalEntry third = Entry(RecordKind::Backup, "/site/c.html", "c.html", "c", "C");
    ASSERT_TRUE(later.record(third));
    ASSERT_TRUE(run.refresh());
    EXPECT_EQ(run.entries().size(), 3u);

    // A run replays its own records as it writes them, and still holds what a fresh read of the file gives,
    // whether or not another run wrote in between.
    JournalEntry fourth = Entry(RecordKind::Copy, "/site/d.html", "d.html", "d", "D");
    ASSERT_TRUE(run.record(fourth));
    ASSERT_TRUE(run.recordSettled(first.id, "restored"));
    ASSERT_TRUE(run.recordMove("b.html", "b.html.~1~"));
    JournalEntry fifth = Entry(RecordKind::Copy, "/site/e.html", "e.html", "e", "E");
    ASSERT_TRUE(later.record(fifth));
    ASSERT_TRUE(run.record(third));
    auto summary = [](const Journal& journal) {
        std::string text;
        for (const JournalEntry& entry : journal.entries())
            text += entry.id + " " + entry.name + " " + entry.settled + " " + entry.written.hash + "\n";
        return text;
    };
    Journal fresh(bench.files, bench.folder);
    ASSERT_TRUE(fresh.refresh());
    EXPECT_EQ(fresh.entries().size(), 6u);
    EXPECT_EQ(summary(run), summary(fresh));
    ASSERT_TRUE(later.refresh());
    EXPECT_EQ(summary(later), summary(fresh));
}

TEST(Journal, ATornOrForeignLineIsPassedOver)
{
    JournalBench bench;
    Journal run(bench.files, bench.folder);
    JournalEntry entry = Entry(RecordKind::Backup, "/site/a.html", "site/a.html", "a", "A");
    ASSERT_TRUE(run.record(entry));
    const std::string text = bench.journalText();
    // A crash cut the next record short; a later version wrote a record of a kind this one does not know.
    test::WriteFile(bench.dir / "backup" / std::string(Journal::kFileName),
        text + "entry\tx-9\tbackup\t/site/b.html\tsite/b.html\t1\nfuture\tsomething\n");
    JournalEntry next = Entry(RecordKind::Backup, "/site/c.html", "site/c.html", "c", "C");
    Journal reader(bench.files, bench.folder);
    ASSERT_TRUE(reader.record(next));
    ASSERT_EQ(reader.entries().size(), 2u);
    EXPECT_EQ(reader.entries()[0].source, "/site/a.html");
    EXPECT_EQ(reader.entries()[1].source, "/site/c.html");
}

TEST(Journal, MovesAndClosingsFollowTheFiles)
{
    JournalBench bench;
    Journal journal(bench.files, bench.folder);
    JournalEntry run1 = Entry(RecordKind::Backup, "/a/index.html", "index.html", "A", "a");
    JournalEntry rerun = Entry(RecordKind::Backup, "/a/index.html", "index.html", "A", "a2");
    ASSERT_TRUE(journal.record(run1));
    ASSERT_TRUE(journal.record(rerun));
    // Both records share the file: a move takes both along.
    ASSERT_TRUE(journal.recordMove("index.html", "index.html.~1~"));
    JournalEntry other = Entry(RecordKind::Backup, "/b/index.html", "index.html", "B", "b");
    ASSERT_TRUE(journal.record(other));

    EXPECT_EQ(journal.find(run1.id)->name, "index.html.~1~");
    EXPECT_EQ(journal.find(run1.id)->formerNames, std::vector<std::string> {"index.html"});
    EXPECT_EQ(journal.find(other.id)->name, "index.html");
    EXPECT_EQ(journal.liveEntriesNamed("index.html.~1~").size(), 2u);
    EXPECT_EQ(journal.liveEntriesOf("/a/index.html", RecordKind::Backup).front()->id, rerun.id) << "newest first";
    EXPECT_EQ(journal.entryThatWrote("/a/index.html", RecordKind::Backup, ContentStamp::Of("a"))->id, run1.id);
    EXPECT_EQ(journal.entryThatWrote("/a/index.html", RecordKind::Backup, ContentStamp::Of("B")), nullptr);

    ASSERT_TRUE(journal.recordSettled(run1.id, "restored"));
    EXPECT_EQ(journal.find(run1.id)->settled, "restored");
    EXPECT_EQ(journal.liveEntriesOf("/a/index.html", RecordKind::Backup).size(), 1u);
    EXPECT_EQ(journal.newestEntryOf("/a/index.html", RecordKind::Backup)->id, rerun.id);
    EXPECT_EQ(journal.liveEntriesUnder("/a/", false).size(), 1u);
    EXPECT_EQ(journal.liveEntriesUnder("/", false).size(), 0u);
    EXPECT_EQ(journal.liveEntriesUnder("/", true).size(), 2u);

    // A move into a name that holds entries keeps them newest first; a settled entry stays where it was.
    ASSERT_TRUE(journal.recordMove("index.html", "index.html.~1~"));
    std::vector<const JournalEntry*> named = journal.liveEntriesNamed("index.html.~1~");
    ASSERT_EQ(named.size(), 2u);
    EXPECT_EQ(named[0]->id, other.id);
    EXPECT_EQ(named[1]->id, rerun.id);
    ASSERT_TRUE(journal.recordMove("index.html.~1~", "x"));
    EXPECT_EQ(journal.find(run1.id)->name, "index.html.~1~");
    EXPECT_TRUE(journal.liveEntriesNamed("index.html.~1~").empty());
    Journal replayed(bench.files, bench.folder);
    ASSERT_TRUE(replayed.refresh());
    named = replayed.liveEntriesNamed("x");
    ASSERT_EQ(named.size(), 2u);
    EXPECT_EQ(named[0]->id, other.id);
    EXPECT_EQ(named[0]->formerNames, (std::vector<std::string> {"index.html", "index.html.~1~"}));
}

TEST(Journal, ACopyIsOwnOutputOnlyWhileUnchanged)
{
    JournalBench bench;
    Journal journal(bench.files, bench.folder);
    JournalEntry copy = Entry(RecordKind::Copy, "/site/a.html", "a.html", "<p >a</p>", "<p>a</p>");
    ASSERT_TRUE(journal.record(copy));
    const ContentStamp written = ContentStamp::Of("<p>a</p>");
    EXPECT_TRUE(journal.holdsOwnUnchangedCopy("a.html", "/site/a.html", written));
    EXPECT_FALSE(journal.holdsOwnUnchangedCopy("a.html", "/site/a.html", ContentStamp::Of("<p>edited</p>")));
    EXPECT_FALSE(journal.holdsOwnUnchangedCopy("b.html", "/site/a.html", written));
    // Another page that maps to the same name must ask before it replaces this copy.
    EXPECT_FALSE(journal.holdsOwnUnchangedCopy("a.html", "/other/a.html", written));
    ASSERT_TRUE(journal.recordSettled(copy.id, "deleted"));
    EXPECT_FALSE(journal.holdsOwnUnchangedCopy("a.html", "/site/a.html", written));
}

TEST(Journal, AMostlyClosedJournalIsRewrittenWithItsLiveEntries)
{
    JournalBench bench;
    Journal journal(bench.files, bench.folder);
    std::vector<std::string> kept;
    for (int i = 0; i < 300; ++i) {
        JournalEntry entry =
            Entry(RecordKind::Backup, "/site/p" + std::to_string(i) + ".html", "p" + std::to_string(i), "o", "w");
        ASSERT_TRUE(journal.record(entry));
        if (i % 10 == 0)
            kept.push_back(entry.id);
        else
            ASSERT_TRUE(journal.recordSettled(entry.id, "restored"));
    }
    ASSERT_TRUE(journal.recordMove("p0", "p0.~1~"));
    Journal other(bench.files, bench.folder); // a second run that read the long journal
    ASSERT_TRUE(other.refresh());
    const std::size_t before = bench.journalText().size();
    ASSERT_TRUE(journal.compactIfMostlySettled());
    EXPECT_LT(bench.journalText().size(), before / 5);
    ASSERT_EQ(journal.entries().size(), kept.size());
    EXPECT_EQ(journal.find(kept[0])->name, "p0.~1~");
    EXPECT_EQ(journal.find(kept[0])->formerNames, std::vector<std::string> {"p0"});
    // The other run reads the new file from its start.
    JournalEntry late = Entry(RecordKind::Backup, "/site/late.html", "late", "o", "w");
    ASSERT_TRUE(other.record(late));
    EXPECT_EQ(other.entries().size(), kept.size() + 1);
    EXPECT_EQ(other.find(kept[0])->name, "p0.~1~");
}

TEST(Journal, AJournalThatCannotBeWrittenSaysWhy)
{
    JournalBench bench;
    bench.files.fillFolder(bench.folder);
    Journal journal(bench.files, bench.folder);
    JournalEntry entry = Entry(RecordKind::Backup, "/site/a.html", "a", "o", "w");
    Status recorded = journal.record(entry);
    EXPECT_FALSE(recorded);
    EXPECT_NE(recorded.reason().find("No space left on device"), std::string::npos);
    EXPECT_TRUE(journal.entries().empty());
}

} // namespace
} // namespace qm
