// Where the program keeps its files: the portable marker, the user's XDG folder, the installed defaults.
#include "batch/startup/program_folder.h"

#include <gtest/gtest.h>

#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;
namespace fs = std::filesystem;

struct FolderBench : Bench {
    std::optional<std::string> xdg, home;

    FolderBench()
    {
        write("usr/share/quillmark/Align.dat", "middle\n");
        write("usr/share/quillmark/Ssi.dat", "include\n");
        write("usr/share/quillmark/Profiles/Default.pro", "[settings]\r\ncbDelKav=1\r\n");
        write("usr/share/quillmark/help/index.html", "help");
        fs::create_directories(dir / "usr/bin");
        home = path("home");
    }
    ProgramFolderChoice choose(const std::string& executables)
    {
        return ChooseProgramFolder(fs, executables, [&](std::string_view name) -> std::optional<std::string> {
            return name == "XDG_DATA_HOME" ? xdg : name == "HOME" ? home : std::nullopt;
        });
    }
};

TEST(ProgramFolder, Choice)
{
    struct Row {
        const char* name;
        bool marker;
        std::optional<std::string> xdg, home;
        std::string folder, defaults; // relative to the bench; "-" for none
    };
    const Row rows[] = {
        {"portable: the marker beside the executables", true, "/x", "/h", "usr/bin/", "-"},
        {"installed: the XDG data home", false, "XDG", "HOME", "xdg/quillmark/", "usr/share/quillmark/"},
        {"installed: the home", false, std::nullopt, "HOME", "home/.local/share/quillmark/", "usr/share/quillmark/"},
        {"a relative XDG folder is ignored", false, "rel", "HOME", "home/.local/share/quillmark/",
            "usr/share/quillmark/"},
        {"no home at all: the installed defaults", false, std::nullopt, std::nullopt, "usr/share/quillmark/", "-"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FolderBench bench;
        if (row.marker) bench.write("usr/bin/" + std::string(kPortableMarker), "");
        bench.xdg = row.xdg == "XDG" ? std::optional(bench.path("xdg")) : row.xdg;
        bench.home = row.home == "HOME" ? std::optional(bench.path("home")) : row.home;
        ProgramFolderChoice choice = bench.choose(bench.path("usr/bin"));
        EXPECT_EQ(choice.programFolder, bench.path(row.folder));
        EXPECT_EQ(choice.installedDefaults, row.defaults == "-" ? "" : bench.path(row.defaults));
    }
}

TEST(ProgramFolder, AWritableFolderOfExecutablesIsNotEnough)
{
    // Root may write into /usr/local/bin; its settings still belong in its home.
    FolderBench bench;
    EXPECT_EQ(bench.choose(bench.path("usr/bin")).programFolder, bench.path("home/.local/share/quillmark/"));
    // Without an installed share/quillmark the executables' folder holds the defaults.
    fs::create_directories(bench.dir / "opt/qm");
    EXPECT_EQ(bench.choose(bench.path("opt/qm")).installedDefaults, bench.path("opt/qm/"));
}

TEST(ProgramFolder, AFreshFolderIsFilledFromTheInstalledDefaults)
{
    FolderBench bench;
    ProgramFolderChoice choice = bench.choose(bench.path("usr/bin"));
    bench.write("home/.local/share/quillmark/Ssi.dat", "mine\n");
    SettledProgramFolder settled = SettleProgramFolder(bench.fs, choice);
    ASSERT_TRUE(settled.filled) << settled.filled.reason();
    EXPECT_EQ(settled.folder, bench.path("home/.local/share/quillmark/"));
    EXPECT_EQ(bench.read("home/.local/share/quillmark/Align.dat"), "middle\n");
    EXPECT_EQ(bench.read("home/.local/share/quillmark/Ssi.dat"), "mine\n") << "the user's own file stays";
    EXPECT_EQ(bench.read("home/.local/share/quillmark/Profiles/Default.pro"), "[settings]\r\ncbDelKav=1\r\n");
    EXPECT_EQ(bench.read("home/.local/share/quillmark/help/index.html"), "help");
}

TEST(ProgramFolder, AHomeThatCannotBeWrittenFallsBackOnTheInstalledDefaults)
{
    FolderBench bench;
    fs::create_directories(bench.dir / "home");
    bench.fs.lockFolder(bench.path("home"));
    ProgramFolderChoice choice = bench.choose(bench.path("usr/bin"));
    SettledProgramFolder settled = SettleProgramFolder(bench.fs, choice);
    EXPECT_FALSE(settled.filled);
    EXPECT_NE(settled.filled.reason().find(bench.path("home")), std::string::npos) << settled.filled.reason();
    EXPECT_EQ(settled.folder, bench.path("usr/share/quillmark/")) << "the pages come out as anywhere else";
}

TEST(ProgramFolder, QmkReadsTheUsersFolderOnceItHoldsSettings)
{
    FolderBench bench;
    ProgramFolderChoice choice = bench.choose(bench.path("usr/bin"));
    EXPECT_EQ(FolderToRead(bench.fs, choice), bench.path("usr/share/quillmark/")) << "nothing of the user's yet";
    EXPECT_FALSE(bench.exists("home/.local/share/quillmark")) << "qmk creates nothing";
    bench.write("home/.local/share/quillmark/Options.dat", "[settings]\r\n");
    EXPECT_EQ(FolderToRead(bench.fs, choice), bench.path("home/.local/share/quillmark/"));
    bench.write("usr/bin/" + std::string(kPortableMarker), "");
    choice = bench.choose(bench.path("usr/bin"));
    EXPECT_EQ(FolderToRead(bench.fs, choice), bench.path("usr/bin/"));
}

} // namespace
} // namespace qm
