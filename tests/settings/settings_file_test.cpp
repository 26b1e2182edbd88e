// The settings file's reading conventions and its key-by-key writes.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/text_lines.h"
#include "tests/support/temp_dir.h"

namespace qm {
namespace {

RealFileSystem files;

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

SettingsFile FromText(std::string_view text) { return SettingsFile(SplitLines(text)); }

TEST(SettingsFile, ReadingConventions)
{
    const std::string longValue(3000, 'x');
    const std::string quotedMax = "\"" + std::string(2047, 'q') + "\"";
    struct Row {
        const char* name;
        std::string text;
        std::string_view section;
        std::string_view key;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        // letter case
        {"section in capitals", "[SETTINGS]\r\nkey=v\r\n", "settings", "key", "v"},
        {"key in mixed case", "[settings]\r\nEdProfile=x\r\n", "settings", "edprofile", "x"},
        {"asked in capitals", "[settings]\r\ncbdelkav=0\r\n", "Settings", "CBDELKAV", "0"},
        // spaces and tabs
        {"blanks around key and value", "[settings]\r\n \tkey \t= \t value \t\r\n", "settings", "key", "value"},
        {"blanks inside value kept", "[settings]\r\nkey=a  \tb\r\n", "settings", "key", "a  \tb"},
        {"blanks inside brackets", "[ settings\t]\r\nkey=v\r\n", "settings", "key", "v"},
        // quotes
        {"double quotes go", "[settings]\r\nkey=\"  a b  \"\r\n", "settings", "key", "  a b  "},
        {"single quotes go", "[settings]\r\nkey='x'\r\n", "settings", "key", "x"},
        {"quotes around blanks go", "[settings]\r\nkey=  \"x\"  \r\n", "settings", "key", "x"},
        {"mismatched quotes stay", "[settings]\r\nkey=\"x'\r\n", "settings", "key", "\"x'"},
        {"lone quote stays", "[settings]\r\nkey=\"\r\n", "settings", "key", "\""},
        {"inner quotes stay", "[settings]\r\nkey=a\"b\"\r\n", "settings", "key", "a\"b\""},
        {"empty quotes give empty", "[settings]\r\nkey=\"\"\r\n", "settings", "key", ""},
        // length
        {"long value cut at 2047", "[settings]\r\nkey=" + longValue + "\r\n", "settings", "key",
            std::string(2047, 'x')},
        {"2047 inside quotes kept whole", "[settings]\r\nkey=" + quotedMax + "\r\n", "settings", "key",
            std::string(2047, 'q')},
        // which line counts
        {"empty value", "[settings]\r\nkey=\r\n", "settings", "key", ""},
        {"equals sign inside value", "[settings]\r\nkey=a=b\r\n", "settings", "key", "a=b"},
        {"first of two lines wins", "[settings]\r\nkey=1\r\nkey=2\r\n", "settings", "key", "1"},
        {"missing key", "[settings]\r\nother=1\r\n", "settings", "key", std::nullopt},
        {"key of another section", "[other]\r\nkey=1\r\n[settings]\r\nx=1\r\n", "settings", "key", std::nullopt},
        {"key before any section", "key=1\r\n[settings]\r\nx=1\r\n", "settings", "key", std::nullopt},
        {"commented-out key", "[settings]\r\n;key=1\r\n", "settings", "key", std::nullopt},
        {"only the first section of a name", "[settings]\r\na=1\r\n[settings]\r\nkey=2\r\n", "settings", "key",
            std::nullopt},
        {"missing section", "[other]\r\nkey=1\r\n", "settings", "key", std::nullopt},
        // line ends and marks
        {"LF line ends", "[settings]\nkey=v\n", "settings", "key", "v"},
        {"CR line ends", "[settings]\rkey=v\r", "settings", "key", "v"},
        {"UTF-8 mark before the section", "\xEF\xBB\xBF[settings]\r\nkey=v\r\n", "settings", "key", "v"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FromText(row.text).readString(row.section, row.key), row.expected);
    }
}

TEST(SettingsFile, ReadingIntegers)
{
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t min = std::numeric_limits<std::int32_t>::min();
    struct Row {
        const char* name;
        std::string_view value;
        std::optional<std::int32_t> expected;
    };
    const Row rows[] = {
        // flags: any integer but 0 is on
        {"zero", "0", 0},
        {"one", "1", 1},
        {"two", "2", 2},
        {"minus one", "-1", -1},
        {"plus sign", "+7", 7},
        {"leading zeros", "007", 7},
        {"blanks and quotes around", " \"5\" ", 5},
        // hexadecimal
        {"0x", "0x1F", 31},
        {"0X lower digits", "0X1f", 31},
        {"dollar", "$1f", 31},
        {"signed dollar", "-$10", -16},
        {"largest hex", "0x7FFFFFFF", max},
        // no integers: the caller's fallback
        {"yes", "yes", std::nullopt},
        {"true", "true", std::nullopt},
        {"empty", "", std::nullopt},
        {"trailing letters", "12abc", std::nullopt},
        {"inner blank", "1 2", std::nullopt},
        {"decimal point", "1.5", std::nullopt},
        {"bare 0x", "0x", std::nullopt},
        {"bare dollar", "$", std::nullopt},
        {"bare sign", "-", std::nullopt},
        {"bad hex digit", "0x1G", std::nullopt},
        {"hex digits without prefix", "1F", std::nullopt},
        // the signed 32-bit range
        {"largest", "2147483647", max},
        {"smallest", "-2147483648", min},
        {"one past largest", "2147483648", std::nullopt},
        {"one past smallest", "-2147483649", std::nullopt},
        {"hex past largest", "0xFFFFFFFF", std::nullopt},
        {"far too long", "99999999999999999999999", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + ": " + std::string(row.value));
        SettingsFile file = FromText("[settings]\r\nk=" + std::string(row.value) + "\r\n");
        EXPECT_EQ(file.readInteger("settings", "k"), row.expected);
    }
    EXPECT_EQ(FromText("[settings]\r\n").readInteger("settings", "k"), std::nullopt);
}

TEST(SettingsFile, SectionPresentOnlyWithAKey)
{
    struct Row {
        const char* name;
        std::string_view text;
        bool present;
    };
    const Row rows[] = {
        {"no lines", "", false},
        {"header alone", "[settings]\r\n", false},
        {"header and comment", "[settings]\r\n; nothing\r\n\r\n", false},
        {"key in another section", "[settings]\r\n\r\n[other]\r\nk=1\r\n", false},
        {"empty value counts", "[Settings]\r\nk=\r\n", true},
        {"one key", "[settings]\r\ncbShowInfo=0\r\n", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FromText(row.text).hasSection("settings"), row.present);
    }
}

// A hand-edited file: everything but the written key must survive as it was.
constexpr std::string_view kEditedFile = "; kept at the top\r\n"
                                         "[other]\r\n"
                                         "cbDelKav=7\r\n"
                                         "[settings]\r\n"
                                         "; kept inside\r\n"
                                         "a=1\r\n"
                                         "junk without equals\r\n"
                                         "  cbDelKav = 5\r\n"
                                         "b=  '2'\r\n"
                                         "\r\n"
                                         "[third]\r\n"
                                         "x=y\r\n";

TEST(SettingsFile, WritingChangesOnlyThatKey)
{
    struct Row {
        const char* name;
        std::string_view section;
        std::string_view key;
        std::string_view value;
        std::vector<std::string> expected;
    };
    const std::vector<std::string> original = SplitLines(kEditedFile);
    auto with = [&](std::size_t index, std::string line) {
        std::vector<std::string> lines = original;
        lines[index] = std::move(line);
        return lines;
    };
    auto inserted = [&](std::size_t index, std::string line) {
        std::vector<std::string> lines = original;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
        return lines;
    };
    std::vector<std::string> appended = original;
    appended.push_back("[fourth]");
    appended.push_back("k=v");
    const Row rows[] = {
        {"existing key, other section has the same key", "settings", "cbDelKav", "0", with(7, "cbDelKav=0")},
        {"existing key asked in capitals", "SETTINGS", "cbDelKav", "0", with(7, "cbDelKav=0")},
        {"key of the other section", "other", "cbDelKav", "1", with(2, "cbDelKav=1")},
        {"new key goes after the last key, before the blank line", "settings", "c", "3", inserted(9, "c=3")},
        {"new key in the last section", "third", "z", "1", inserted(12, "z=1")},
        {"missing section goes at the end", "fourth", "k", "v", appended},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SettingsFile file = FromText(kEditedFile);
        ASSERT_TRUE(file.writeString(row.section, row.key, row.value));
        EXPECT_EQ(file.lines(), row.expected);
    }
}

TEST(SettingsFile, NewKeyInSectionWithoutKeysFollowsHeader)
{
    SettingsFile file = FromText("[settings]\r\n; note\r\n[other]\r\nk=1\r\n");
    ASSERT_TRUE(file.writeString("settings", "a", "1"));
    EXPECT_EQ(file.lines(), (std::vector<std::string> {"[settings]", "a=1", "; note", "[other]", "k=1"}));
}

TEST(SettingsFile, ValuesComeBackAsWritten)
{
    struct Row {
        const char* name;
        std::string_view value;
        std::string_view line; // as it stands in the file
    };
    const Row rows[] = {
        {"plain path written unchanged", "/opt/qmk/backup/", "k=/opt/qmk/backup/"},
        {"empty", "", "k="},
        {"inner quotes", "a\"b", "k=a\"b"},
        {"leading blank", " lead", "k=\" lead\""},
        {"trailing tab", "trail\t", "k=\"trail\t\""},
        {"wholly double-quoted", "\"quoted\"", "k=\"\"quoted\"\""},
        {"wholly single-quoted", "'single'", "k=\"'single'\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SettingsFile file;
        ASSERT_TRUE(file.writeString("settings", "k", row.value));
        EXPECT_EQ(file.lines().back(), row.line);
        EXPECT_EQ(file.readString("settings", "k"), std::string(row.value));
    }
}

TEST(SettingsFile, LineBreaksCannotForgeKeys)
{
    const std::string_view values[] = {"a\r\nradModifyOld=1", "a\nb", "a\rb"};
    for (std::string_view value : values) {
        SCOPED_TRACE(value);
        SettingsFile file = FromText("[settings]\r\nk=old\r\n");
        EXPECT_FALSE(file.writeString("settings", "k", value));
        EXPECT_EQ(file.lines(), (std::vector<std::string> {"[settings]", "k=old"}));
    }
}

TEST(SettingsFile, MissingFileIsCreatedWithCrLf)
{
    TempDir dir;
    Expected<SettingsFile> load = SettingsFile::load(files, dir / "Options.dat");
    ASSERT_TRUE(load);
    EXPECT_TRUE(load->lines().empty());
    ASSERT_TRUE(load->writeString("settings", "a", "1"));
    ASSERT_TRUE(load->writeString("settings", "b", "2"));
    ASSERT_TRUE(load->save(files, dir / "Options.dat"));
    EXPECT_EQ(ReadFile(dir / "Options.dat"), "[settings]\r\na=1\r\nb=2\r\n");
}

TEST(SettingsFile, SavingKeepsLinesAndEndsThemWithCrLf)
{
    TempDir dir;
    WriteFile(dir / "a.pro", "; c\n[settings]\nk=1\rjunk");
    Expected<SettingsFile> load = SettingsFile::load(files, dir / "a.pro");
    ASSERT_TRUE(load);
    ASSERT_TRUE(load->save(files, dir / "a.pro"));
    EXPECT_EQ(ReadFile(dir / "a.pro"), "; c\r\n[settings]\r\nk=1\r\njunk\r\n");
}

TEST(SettingsFile, FailuresAreReported)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "folder.pro");
    Expected<SettingsFile> load = SettingsFile::load(files, dir / "folder.pro");
    EXPECT_FALSE(load);

    SettingsFile file = FromText("[settings]\r\nk=1\r\n");
    EXPECT_FALSE(file.save(files, dir / "missing" / "a.pro"));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

} // namespace
} // namespace qm
