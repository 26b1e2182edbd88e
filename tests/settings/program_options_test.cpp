// "Options.dat": the program options' keys, their fallbacks, and the file's lines.
#include "settings/program_options.h"

#include <gtest/gtest.h>

#include "tests/settings/settings_fixtures.h"
#include "tests/support/faulty_file_system.h"
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

TEST(ProgramOptions, FirstStartWritesTheDefaultFile)
{
    TempDir dir;
    const std::string folder = FolderOf(dir);
    SettingsFile file;
    ASSERT_TRUE(WriteProgramOptions(file, StartUpOptions(folder)));
    ASSERT_TRUE(file.save(files, dir / "Options.dat"));
    const std::string expected = "[settings]\r\n"
                                 "edProfile=\r\n"
                                 "cbProcessEmbeded=0\r\n"
                                 "cbMaxEmbCount=0\r\n"
                                 "edMaxEmbCount=10\r\n"
                                 "cbMaxFCount=1\r\n"
                                 "edMaxFCount=100\r\n"
                                 "cbSaveNopen=0\r\n"
                                 "radModifyOld=0\r\n"
                                 "cbSaveBefMod=1\r\n"
                                 "edBackUpPath=" +
        folder +
        "backup/\r\n"
        "edOptimizedPath=" +
        folder +
        "optimized/\r\n"
        "cbShowEnd=1\r\n"
        "cbShowConf=1\r\n"
        "cbShowInfo=1\r\n"
        "cbShowOptWin=1\r\n"
        "edExtEditor=/usr/bin/editor\r\n"
        "edLan=\r\n"
        "col0=180\r\n"
        "col1=150\r\n"
        "col2=120\r\n"
        "col3=110\r\n"
        "col4=110\r\n"
        "col5=100\r\n"
        "listHeight=305\r\n"
        "column_sort=0\r\n"
        // The program's own keys follow the 25 of the original file.
        "lastFolder=\r\n"
        "windowLeft=0\r\n"
        "windowTop=0\r\n"
        "windowWidth=0\r\n"
        "windowHeight=0\r\n"
        "windowMaximized=0\r\n";
    EXPECT_EQ(ReadFile(dir / "Options.dat"), expected);
}

TEST(ProgramOptions, MissingOrUnreadableKeysTakeTheirFallbacks)
{
    const std::string folder = "/opt/qmk/";
    // Current values that differ from every fallback, so each kind of fallback shows.
    TOptionSet current = StartUpOptions(folder);
    current.setText(Opt::edBackUpPath, "/elsewhere/backup/");
    current.setText(Opt::edOptimizedPath, "/elsewhere/optimized/");
    current.setText(Opt::edMaxFCount, "42");
    current.setInteger(Opt::col0, 999);
    current.setInteger(Opt::listHeight, 400);
    current.setInteger(Opt::column_sort, 3);
    current.setFlag(Opt::cbSaveNopen, true);

    struct Row {
        const char* name;
        std::string_view file;
    };
    const Row rows[] = {
        {"only cbShowInfo", "[settings]\r\ncbShowInfo=0\r\n"},
        {"words are no integers",
            "[settings]\r\ncbShowInfo=0\r\ncbSaveNopen=yes\r\ncol0=true\r\nlistHeight=\r\ncolumn_sort=abc\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TOptionSet options = current;
        ReadProgramOptions(FromText(row.file), options, ProgramFolderDefaults {folder});
        EXPECT_FALSE(options.flag(Opt::cbShowInfo));
        EXPECT_EQ(options.text(Opt::edProfile), "/opt/qmk/Profiles/Default.pro");
        EXPECT_EQ(options.text(Opt::edBackUpPath), "/opt/qmk/backup/");
        EXPECT_EQ(options.text(Opt::edOptimizedPath), "/opt/qmk/optimized/");
        EXPECT_EQ(options.text(Opt::edExtEditor), "");
        EXPECT_EQ(options.text(Opt::edLan), "");
        EXPECT_EQ(options.integer(Opt::column_sort), 0);
        // The current value stays for every other key.
        EXPECT_EQ(options.text(Opt::edMaxFCount), "42");
        EXPECT_EQ(options.integer(Opt::col0), 999);
        EXPECT_EQ(options.integer(Opt::listHeight), 400);
        EXPECT_TRUE(options.flag(Opt::cbSaveNopen));
        EXPECT_TRUE(options.flag(Opt::cbShowConf));
        EXPECT_FALSE(options.flag(Opt::radModifyOld));
        EXPECT_FALSE(options.ProfileModified);
    }
}

TEST(ProgramOptions, ValuesRead)
{
    struct Row {
        const char* name;
        std::string_view line;
        Opt id;
        std::string expected; // as valueAsText gives it
    };
    const Row rows[] = {
        {"two is on", "cbProcessEmbeded=2", Opt::cbProcessEmbeded, "1"},
        {"minus one is on", "cbMaxEmbCount=-1", Opt::cbMaxEmbCount, "1"},
        {"zero is off", "cbShowEnd=0", Opt::cbShowEnd, "0"},
        {"hex integer", "col0=0x10", Opt::col0, "16"},
        {"dollar integer", "col1=$20", Opt::col1, "32"},
        {"negative integer", "column_sort=-2", Opt::column_sort, "-2"},
        {"key in capitals", "EDMAXFCOUNT=7", Opt::edMaxFCount, "7"},
        {"number text kept as typed", "edMaxEmbCount=0x10", Opt::edMaxEmbCount, "0x10"},
        {"present empty profile stays empty", "edProfile=", Opt::edProfile, ""},
        {"quoted path", "edExtEditor=\" /a b/ed \"", Opt::edExtEditor, " /a b/ed "},
        {"radio button on", "radModifyOld=1", Opt::radSaveNewMod, "0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + ": " + std::string(row.line));
        TOptionSet options = StartUpOptions("/opt/qmk/");
        ReadProgramOptions(
            FromText("[settings]\r\n" + std::string(row.line) + "\r\n"), options, ProgramFolderDefaults {"/opt/qmk/"});
        EXPECT_EQ(options.valueAsText(row.id), row.expected);
    }
}

TEST(ProgramOptions, EveryKeyComesBack)
{
    // A value for every program option that no default or fallback gives.
    TOptionSet written = StartUpOptions("/opt/qmk/");
    int n = 0;
    for (const OptionRow& row : OptionTable()) {
        if (row.store != OptionStore::ProgramOptions) continue;
        ++n;
        switch (row.kind) {
        case OptionKind::Flag:
            written.setFlag(row.id, !written.flag(row.id));
            break;
        case OptionKind::Integer:
            written.setInteger(row.id, 1000 + n);
            break;
        case OptionKind::Text:
        case OptionKind::NumberText:
            written.setText(row.id, "v" + std::to_string(n) + " " + std::string(row.key));
            break;
        }
    }
    TempDir dir;
    WriteFile(dir / "Options.dat", "; kept\r\n[settings]\r\nunknownKey=1\r\n");
    Expected<SettingsFile> load = SettingsFile::load(files, dir / "Options.dat");
    ASSERT_TRUE(load);
    ASSERT_TRUE(WriteProgramOptions(*load, written));
    ASSERT_TRUE(load->save(files, dir / "Options.dat"));

    Expected<SettingsFile> reread = SettingsFile::load(files, dir / "Options.dat");
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->lines().size(), 3u + 25u + 6u);
    EXPECT_EQ(reread->readString("settings", "unknownKey"), "1");
    TOptionSet read = StartUpOptions("/opt/qmk/");
    ReadProgramOptions(*reread, read, ProgramFolderDefaults {"/opt/qmk/"});
    for (const OptionRow& row : OptionTable()) {
        if (row.store != OptionStore::ProgramOptions) continue;
        EXPECT_EQ(read.valueAsText(row.id), written.valueAsText(row.id)) << row.key;
    }
    EXPECT_EQ(read.flag(Opt::radSaveNewMod), !read.flag(Opt::radModifyOld));
}

TEST(ProgramOptions, PathWithLineBreakIsRefused)
{
    TOptionSet options;
    options.setText(Opt::edExtEditor, "/bin/ed\r\nradModifyOld=1");
    SettingsFile file;
    EXPECT_FALSE(WriteProgramOptions(file, options));
    EXPECT_EQ(file.readString("settings", "radModifyOld"), "0");
}

TEST(ProgramOptions, FolderDefaultsSupplyTheSeparator)
{
    const ProgramFolderDefaults defaults {"/opt/qmk"};
    EXPECT_EQ(defaults.defaultProfile(), "/opt/qmk/Profiles/Default.pro");
    EXPECT_EQ(defaults.backUpPath(), "/opt/qmk/backup/");
    EXPECT_EQ(defaults.optimizedPath(), "/opt/qmk/optimized/");
}

// A full disk or a locked folder under "Options.dat" is reported and leaves the old file whole.
TEST(ProgramOptions, SavingOnAFullDiskKeepsTheOldFile)
{
    const std::string old = "[settings]\r\nedLan=old\r\n";
    for (const bool full : {true, false}) {
        SCOPED_TRACE(full ? "full disk" : "locked folder");
        TempDir dir;
        WriteFile(dir / "Options.dat", old);
        test::FaultyFileSystem faulty;
        full ? faulty.fillFolder(dir.path().string()) : faulty.lockFolder(dir.path().string());
        TOptionSet options = StartUpOptions(FolderOf(dir));
        options.setText(Opt::edLan, "new");
        const Status saved = SaveLastOptions(faulty, options, FolderOf(dir));
        EXPECT_FALSE(saved);
        EXPECT_NE(saved.reason().find("Options.dat"), std::string::npos) << saved.reason();
        EXPECT_EQ(ReadFile(dir / "Options.dat"), old);
    }
}

} // namespace
} // namespace qm
