// Profiles and their scheme files, and the failure points of loading and saving them.
#include "settings/profile.h"

#include <gtest/gtest.h>

#include "tests/settings/settings_fixtures.h"
#include "tests/support/temp_dir.h"

namespace qm {
namespace {

RealFileSystem files;

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

using test::FolderOf;
using test::FromText;
using test::StartUpOptions;

TEST(Profile, SchemeBase)
{
    struct Row {
        std::string_view path;
        std::string_view base;
    };
    const Row rows[] = {
        {"/opt/qmk/Profiles/Default.pro", "/opt/qmk/Profiles/Default"},
        {"/opt/qmk/Profiles/custom", "/opt/qmk/Profiles/custom"},
        {"/opt/q.mk/Profiles/custom", "/opt/q.mk/Profiles/custom"},
        {"/p/web.tar.pro", "/p/web.tar"},
        {"/p/.pro", "/p/"},
        {"/p/x.", "/p/x"},
        {"Default.pro", "Default"},
        {"", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(SchemeBase(row.path), row.base);
    }
}

std::string DefaultProfileText()
{
    return "[settings]\r\n"
           "cbDelKav=1\r\ncbDelEmptyPar=1\r\ncbDelEmptyLine=1\r\ncbDelCRLF=0\r\ncbDelTabLine=1\r\n"
           "cbDelBegEndSpace=1\r\ncbDelAllTabs=1\r\ncbReplaceDoubleSpaces=1\r\ncbReplaceDoubleSpacesInKav=0\r\n"
           "cbReplaceDoubleNbsp=1\r\ncbReplaceDoubleNbspInKav=0\r\ncbDelComments=1\r\ncbIsStyle=1\r\n"
           "cbIsScript=1\r\ncbOuttag=1\r\ncbSsi=1\r\ncbScriptsInfo=1\r\ncbDelScripts=0\r\ncbClosedTagsAlso=1\r\n"
           "cbKeepLineEnds=1\r\ncbKeepPre=1\r\n";
}

void RaiseMarks(TOptionSet& options)
{
    options.ProfileModified = options.ReplaceSchemeModified = options.RemoveSchemeModified = true;
}

TEST(Profile, FirstStartWritesTheDefaultProfile)
{
    // Load profile with the empty edProfile that a first "Options.dat" holds.
    TempDir dir;
    fs::create_directory(dir / "Profiles");
    TOptionSet options = StartUpOptions(FolderOf(dir));
    RaiseMarks(options);
    ASSERT_TRUE(LoadProfile(files, options, FolderOf(dir)));
    EXPECT_EQ(options.text(Opt::edProfile), FolderOf(dir) + "Profiles/Default.pro");
    EXPECT_EQ(ReadFile(dir / "Profiles" / "Default.pro"), DefaultProfileText());
    EXPECT_EQ(SplitLines(ReadFile(dir / "Profiles" / "Default.rep")).size(), 14u);
    EXPECT_EQ(SplitLines(ReadFile(dir / "Profiles" / "Default.rem")).size(), 10u);
    EXPECT_FALSE(options.ProfileModified || options.ReplaceSchemeModified || options.RemoveSchemeModified);
}

TEST(Profile, ProfileWithoutKeysReceivesTheCurrentOptions)
{
    struct Row {
        const char* name;
        std::string_view text;
    };
    const Row rows[] = {
        {"empty file", ""},
        {"header only", "[settings]\r\n"},
        {"other section only", "[other]\r\nk=1\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        WriteFile(dir / "Profiles" / "custom.pro", row.text);
        TOptionSet options;
        options.setText(Opt::edProfile, (dir / "Profiles" / "custom.pro").string());
        options.setFlag(Opt::cbDelCRLF, true);
        options.listReplaceTags = {{true, "font", "span"}};
        options.listDeleteTags = {{false, "/P"}};
        RaiseMarks(options);
        ASSERT_TRUE(LoadProfile(files, options, FolderOf(dir)));
        Expected<SettingsFile> saved = SettingsFile::load(files, dir / "Profiles" / "custom.pro");
        EXPECT_EQ(saved->readString("settings", "cbDelCRLF"), "1");
        EXPECT_EQ(ReadFile(dir / "Profiles" / "custom.rep"), "+ font span\r\n");
        EXPECT_EQ(ReadFile(dir / "Profiles" / "custom.rem"), "- /P\r\n");
        EXPECT_FALSE(options.ProfileModified || options.ReplaceSchemeModified || options.RemoveSchemeModified);
    }
}

TEST(Profile, FlagsRead)
{
    struct Row {
        const char* name;
        std::string_view line;
        std::vector<Opt> changed;
    };
    const Row rows[] = {
        {"key in capitals switches off", "CBDELKAV=0", {Opt::cbDelKav}},
        {"same value changes nothing", "cbDelKav=1", {}},
        {"a word keeps the current value", "cbDelKav=yes", {}},
        {"two switches on", "cbDelCRLF=2", {Opt::cbDelCRLF}},
        {"minus one switches on", "cbDelScripts=-1", {Opt::cbDelScripts}},
        {"our own flag", "cbKeepLineEnds=0", {Opt::cbKeepLineEnds}},
        {"the write-only flag is never read", "cbScriptsInfo=0", {}},
        {"program options are not profile keys", "cbShowInfo=0", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + ": " + std::string(row.line));
        const SettingsFile file = FromText("[settings]\r\n" + std::string(row.line) + "\r\n");

        TOptionSet reported;
        std::vector<Opt> changed;
        ReadProfileFlags(file, reported, [&](Opt id) { changed.push_back(id); });
        EXPECT_EQ(changed, row.changed);
        EXPECT_FALSE(reported.ProfileModified);
        for (Opt id : row.changed) EXPECT_NE(reported.flag(id), TOptionSet().flag(id)) << RowOf(id).key;
        EXPECT_TRUE(reported.flag(Opt::cbScriptsInfo));
        EXPECT_TRUE(reported.flag(Opt::cbShowInfo));

        TOptionSet unreported;
        ReadProfileFlags(file, unreported);
        EXPECT_EQ(unreported.ProfileModified, !row.changed.empty());
    }
}

TEST(Profile, EverythingComesBack)
{
    TempDir dir;
    fs::create_directory(dir / "Profiles");
    const std::string path = (dir / "Profiles" / "custom.pro").string();
    TOptionSet written;
    written.setText(Opt::edProfile, path);
    for (const OptionRow& row : OptionTable())
        if (row.store == OptionStore::Profile) written.setFlag(row.id, !written.flag(row.id));
    written.listReplaceTags = {{false, "font", "span"}, {true, "center", "div align=center"}};
    written.listDeleteTags = {{true, "name=\"robots\""}};
    ASSERT_TRUE(SaveProfile(files, written, FolderOf(dir)));

    TOptionSet read;
    read.setText(Opt::edProfile, path);
    RaiseMarks(read);
    ASSERT_TRUE(LoadProfile(files, read, FolderOf(dir)));
    for (const OptionRow& row : OptionTable()) {
        if (row.store == OptionStore::Profile) {
            EXPECT_EQ(read.flag(row.id), written.flag(row.id)) << row.key;
        }
    }
    EXPECT_EQ(read.listReplaceTags, written.listReplaceTags);
    EXPECT_EQ(read.listDeleteTags, written.listDeleteTags);
    EXPECT_FALSE(read.ProfileModified || read.ReplaceSchemeModified || read.RemoveSchemeModified);
}

TEST(Profile, MissingSchemeFileLeavesItsList)
{
    TempDir dir;
    WriteFile(dir / "p.pro", "[settings]\r\ncbDelKav=0\r\n");
    WriteFile(dir / "p.rep", "- a b\r\n");
    TOptionSet options;
    options.setText(Opt::edProfile, (dir / "p.pro").string());
    ASSERT_TRUE(LoadProfile(files, options, FolderOf(dir)));
    EXPECT_FALSE(options.flag(Opt::cbDelKav));
    EXPECT_EQ(options.listReplaceTags, (std::vector<TTagReplacement> {{false, "a", "b"}}));
    EXPECT_EQ(options.listDeleteTags, DefaultDeleteTags());
    EXPECT_FALSE(fs::exists(dir / "p.rem"));
}

TEST(Profile, SavingKeepsForeignLinesAndOldSchemesOfEmptyLists)
{
    TempDir dir;
    WriteFile(dir / "p.pro", "; by hand\r\n[settings]\r\ncbDelKav=0\r\nfutureKey=5\r\n");
    WriteFile(dir / "p.rem", "+ old\r\n");
    TOptionSet options;
    options.setText(Opt::edProfile, (dir / "p.pro").string());
    options.listDeleteTags.clear();
    ASSERT_TRUE(SaveProfile(files, options, FolderOf(dir)));
    const std::vector<std::string> lines = SplitLines(ReadFile(dir / "p.pro"));
    ASSERT_EQ(lines.size(), 4u + 20u);
    EXPECT_EQ(lines[0], "; by hand");
    EXPECT_EQ(lines[2], "cbDelKav=1");
    EXPECT_EQ(lines[3], "futureKey=5");
    EXPECT_EQ(ReadFile(dir / "p.rem"), "+ old\r\n");
}

// Where a save stops, and which marks it has cleared by then.
TEST(Profile, SaveFailuresStopAtTheFailingStep)
{
    struct Row {
        const char* name;
        std::vector<std::string> folders; // made inside the program folder before saving
        std::string profile; // relative to the program folder; empty for the default
        bool replaceMarkCleared;
    };
    const Row rows[] = {
        {"no Profiles folder", {}, "", false},
        {"profile path is a folder", {"Profiles", "Profiles/p.pro"}, "Profiles/p.pro", false},
        {"replacement scheme is a folder", {"Profiles", "Profiles/p.rep"}, "Profiles/p.pro", false},
        {"removal scheme is a folder", {"Profiles", "Profiles/p.rem"}, "Profiles/p.pro", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        for (const std::string& folder : row.folders) fs::create_directory(dir / folder);
        TOptionSet options;
        if (!row.profile.empty()) options.setText(Opt::edProfile, FolderOf(dir) + row.profile);
        RaiseMarks(options);
        Status status = SaveProfile(files, options, FolderOf(dir));
        EXPECT_FALSE(status.ok());
        EXPECT_FALSE(status.reason().empty());
        EXPECT_EQ(options.ReplaceSchemeModified, !row.replaceMarkCleared);
        EXPECT_TRUE(options.RemoveSchemeModified);
        EXPECT_TRUE(options.ProfileModified);
        if (row.profile.empty()) {
            EXPECT_EQ(options.text(Opt::edProfile), FolderOf(dir) + "Profiles/Default.pro");
            EXPECT_FALSE(fs::exists(dir / "Profiles"));
        }
    }
}

TEST(Profile, LoadFailuresStopAtTheFailingStep)
{
    struct Row {
        const char* name;
        std::string folder; // made beside the profile
        bool flagsRead;
        bool replaceMarkCleared;
    };
    const Row rows[] = {
        {"profile path is a folder", "p.pro", false, false},
        {"replacement scheme is a folder", "p.rep", true, false},
        {"removal scheme is a folder", "p.rem", true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        if (row.folder != "p.pro") WriteFile(dir / "p.pro", "[settings]\r\ncbDelKav=0\r\n");
        fs::create_directory(dir / row.folder);
        TOptionSet options;
        options.setText(Opt::edProfile, (dir / "p.pro").string());
        RaiseMarks(options);
        Status status = LoadProfile(files, options, FolderOf(dir));
        EXPECT_FALSE(status.ok());
        EXPECT_EQ(options.flag(Opt::cbDelKav), !row.flagsRead);
        EXPECT_EQ(options.ReplaceSchemeModified, !row.replaceMarkCleared);
        EXPECT_TRUE(options.RemoveSchemeModified);
        EXPECT_TRUE(options.ProfileModified);
        EXPECT_EQ(options.listReplaceTags, DefaultReplaceTags());
    }
}

} // namespace
} // namespace qm
