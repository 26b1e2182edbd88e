// Tag scheme files and the tag editor's checks on a replacement pair.
#include "settings/tag_scheme.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace qm {
namespace {

RealFileSystem files;

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(TagScheme, ReplacementLinesLoad)
{
    struct Row {
        const char* name;
        std::string_view line;
        TTagReplacement expected;
    };
    const Row rows[] = {
        {"ordinary active", "+ strong b", {true, "strong", "b"}},
        {"ordinary inactive", "- em i", {false, "em", "i"}},
        {"no space: all of it is the to tag", "+ strong", {true, "", "strong"}},
        {"further spaces stay in the to tag", "+ a b c", {true, "a", "b c"}},
        {"any mark but plus is inactive", "x strong b", {false, "strong", "b"}},
        {"second character is skipped whatever it is", "+xstrong b", {true, "strong", "b"}},
        {"space right after the mark pair", "+  b", {true, "", "b"}},
        {"mark alone", "+", {true, "", ""}},
        {"two characters", "+x", {true, "", ""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + ": " + std::string(row.line));
        TempDir dir;
        WriteFile(dir / "a.rep", std::string(row.line) + "\r\n");
        std::vector<TTagReplacement> list = DefaultReplaceTags();
        ASSERT_TRUE(ReadReplaceScheme(files, dir / "a.rep", list));
        EXPECT_EQ(list, std::vector<TTagReplacement> {row.expected});
    }
}

TEST(TagScheme, RemovalLinesLoad)
{
    struct Row {
        const char* name;
        std::string_view line;
        TTagRemoval expected;
    };
    const Row rows[] = {
        {"ordinary active", "+ !doctype", {true, "!doctype"}},
        {"inactive attribute", "- name=\"author\"", {false, "name=\"author\""}},
        {"spaces stay in the tag", "+ a b", {true, "a b"}},
        {"mark alone", "+", {true, ""}},
        {"other mark alone", "x", {false, ""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + ": " + std::string(row.line));
        TempDir dir;
        WriteFile(dir / "a.rem", std::string(row.line) + "\r\n");
        std::vector<TTagRemoval> list = DefaultDeleteTags();
        ASSERT_TRUE(ReadRemoveScheme(files, dir / "a.rem", list));
        EXPECT_EQ(list, std::vector<TTagRemoval> {row.expected});
    }
}

TEST(TagScheme, ReadingStopsAtTheFirstEmptyLine)
{
    TempDir dir;
    WriteFile(dir / "a.rep", "+ strong b\r\n- em i\r\n\r\n+ var i\r\n");
    std::vector<TTagReplacement> list;
    ASSERT_TRUE(ReadReplaceScheme(files, dir / "a.rep", list));
    EXPECT_EQ(list, (std::vector<TTagReplacement> {{true, "strong", "b"}, {false, "em", "i"}}));

    WriteFile(dir / "b.rem", "\r\n+ /P\r\n");
    std::vector<TTagRemoval> removals = DefaultDeleteTags();
    ASSERT_TRUE(ReadRemoveScheme(files, dir / "b.rem", removals));
    EXPECT_TRUE(removals.empty());
}

TEST(TagScheme, MissingOrUnreadableFileLeavesTheList)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "folder.rep");
    struct Row {
        const char* name;
        std::filesystem::path path;
        bool ok;
    };
    const Row rows[] = {
        {"missing file", dir / "none.rep", true},
        {"a folder in its place", dir / "folder.rep", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<TTagReplacement> list = DefaultReplaceTags();
        Status status = ReadReplaceScheme(files, row.path, list);
        EXPECT_EQ(status.ok(), row.ok);
        EXPECT_EQ(list, DefaultReplaceTags());
    }
}

TEST(TagScheme, DefaultListsWriteTheirLines)
{
    TempDir dir;
    ASSERT_TRUE(WriteReplaceScheme(files, dir / "Default.rep", DefaultReplaceTags()));
    ASSERT_TRUE(WriteRemoveScheme(files, dir / "Default.rem", DefaultDeleteTags()));
    EXPECT_EQ(ReadFile(dir / "Default.rep"),
        "+ strong b\r\n+ em i\r\n+ strike s\r\n- blockquote ul\r\n+ var i\r\n+ cite i\r\n- address i\r\n"
        "+ code tt\r\n+ kbd tt\r\n+ samp tt\r\n+ dfn i\r\n- listing tt\r\n- plaintext tt\r\n- xmp tt\r\n");
    EXPECT_EQ(ReadFile(dir / "Default.rem"),
        "- !doctype\r\n+ name=\"generator\"\r\n+ name=\"progid\"\r\n+ name=\"description\"\r\n"
        "+ name=\"keywords\"\r\n+ name=\"author\"\r\n- /P\r\n- /Li\r\n- /TR\r\n- /TD\r\n");
}

TEST(TagScheme, ListsComeBack)
{
    struct Row {
        const char* name;
        std::vector<TTagReplacement> written;
        std::vector<TTagReplacement> read;
    };
    const Row rows[] = {
        {"default list", DefaultReplaceTags(), DefaultReplaceTags()},
        {"inactive and empty texts", {{false, "font", "span"}, {true, "", "x"}, {true, "", ""}, {false, "a", ""}},
            {{false, "font", "span"}, {true, "", "x"}, {true, "", ""}, {false, "a", ""}}},
        {"space in a to tag survives", {{true, "font", "font size=2"}}, {{true, "font", "font size=2"}}},
        {"space in a from tag moves to the to tag", {{true, "a b", "c"}}, {{true, "a", "b c"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        ASSERT_TRUE(WriteReplaceScheme(files, dir / "x.rep", row.written));
        std::vector<TTagReplacement> list;
        ASSERT_TRUE(ReadReplaceScheme(files, dir / "x.rep", list));
        EXPECT_EQ(list, row.read);
    }

    TempDir dir;
    const std::vector<TTagRemoval> removals = {{false, "a b"}, {true, ""}, {true, "/TD"}};
    ASSERT_TRUE(WriteRemoveScheme(files, dir / "x.rem", removals));
    std::vector<TTagRemoval> list;
    ASSERT_TRUE(ReadRemoveScheme(files, dir / "x.rem", list));
    EXPECT_EQ(list, removals);
}

TEST(TagScheme, EmptyListWritesNothing)
{
    TempDir dir;
    WriteFile(dir / "old.rep", "+ old new\r\n");
    WriteFile(dir / "old.rem", "- old\r\n");
    EXPECT_TRUE(WriteReplaceScheme(files, dir / "old.rep", {}));
    EXPECT_TRUE(WriteRemoveScheme(files, dir / "old.rem", {}));
    EXPECT_EQ(ReadFile(dir / "old.rep"), "+ old new\r\n");
    EXPECT_EQ(ReadFile(dir / "old.rem"), "- old\r\n");

    EXPECT_TRUE(WriteReplaceScheme(files, dir / "new.rep", {}));
    EXPECT_TRUE(WriteRemoveScheme(files, dir / "new.rem", {}));
    EXPECT_FALSE(std::filesystem::exists(dir / "new.rep"));
    EXPECT_FALSE(std::filesystem::exists(dir / "new.rem"));
}

TEST(TagScheme, AtMost255Entries)
{
    TempDir dir;
    std::vector<TTagRemoval> many;
    for (int i = 0; i < 300; ++i) many.push_back({true, "t" + std::to_string(i)});
    ASSERT_TRUE(WriteRemoveScheme(files, dir / "many.rem", many));
    std::vector<TTagRemoval> list;
    ASSERT_TRUE(ReadRemoveScheme(files, dir / "many.rem", list));
    ASSERT_EQ(list.size(), 255u);
    EXPECT_EQ(list.back().Tag, "t254");

    std::string text;
    for (int i = 0; i < 300; ++i) text += "+ t" + std::to_string(i) + "\r\n";
    WriteFile(dir / "long.rem", text);
    ASSERT_TRUE(ReadRemoveScheme(files, dir / "long.rem", list));
    EXPECT_EQ(list.size(), 255u);
}

TEST(TagScheme, WriteFailuresLeaveTheOldFile)
{
    TempDir dir;
    WriteFile(dir / "a.rep", "+ old new\r\n");
    struct Row {
        const char* name;
        std::filesystem::path path;
        std::vector<TTagReplacement> list;
    };
    const Row rows[] = {
        {"line break in a tag", dir / "a.rep", {{true, "a", "b\r\n+ c d"}}},
        {"missing folder", dir / "none" / "a.rep", {{true, "a", "b"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Status status = WriteReplaceScheme(files, row.path, row.list);
        EXPECT_FALSE(status.ok());
    }
    EXPECT_EQ(ReadFile(dir / "a.rep"), "+ old new\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "none"));
}

TEST(TagScheme, CycleTest)
{
    const std::vector<TTagReplacement> defaults = DefaultReplaceTags(); // strong->b first, em->i second
    const std::vector<TTagReplacement> inactiveOnly = {{false, "a", "b"}};
    struct Row {
        const char* name;
        const std::vector<TTagReplacement>& list;
        std::string_view from;
        std::string_view to;
        std::optional<std::size_t> excepted;
        bool passes;
    };
    const std::vector<TTagReplacement> empty;
    const Row rows[] = {
        {"b to strong: strong is a from tag", defaults, "b", "strong", std::nullopt, false},
        {"bold to b: no conflict", defaults, "bold", "b", std::nullopt, true},
        {"b to bold: b is a to tag", defaults, "b", "bold", std::nullopt, false},
        {"strong to B replacing strong to b", defaults, "strong", "B", 0, true},
        {"strong to b replacing itself", defaults, "strong", "b", 0, true},
        {"strong to b turned round in place: only itself conflicts", defaults, "b", "strong", 0, true},
        {"excepting another entry does not help", defaults, "b", "strong", 1, false},
        {"editing em to i into i to u: other entries end in i", defaults, "i", "u", 1, false},
        {"second entry with the same from tag", defaults, "strong", "u", std::nullopt, true},
        {"letter case counts", defaults, "B", "STRONG", std::nullopt, true},
        {"inactive entries count", inactiveOnly, "b", "c", std::nullopt, false},
        {"empty list", empty, "b", "strong", std::nullopt, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CycleTestPasses(row.list, row.from, row.to, row.excepted), row.passes);
    }
}

TEST(TagScheme, ReplacementFindingItself)
{
    struct Row {
        std::string_view from;
        std::string_view to;
        bool findsItself;
    };
    const Row rows[] = {
        {"b", "b", true},
        {"b", "B", true},
        {"FONT", "font", true},
        {"font", "font size=2", true},
        {"font", "FONT size=2", true},
        {"", "", true},
        {"font", "fonts", false},
        {"b", "bold", false},
        {"strong", "b", false},
        {"font size=2", "font", false},
        {"font", " font", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.from) + " -> " + std::string(row.to));
        EXPECT_EQ(ReplacementFindsItself(row.from, row.to), row.findsItself);
    }
}

} // namespace
} // namespace qm
