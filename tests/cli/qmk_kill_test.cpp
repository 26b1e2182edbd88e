// Real qmk --in-place runs, killed at random moments or two at once, lose no page and restore every original.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/file_system.h"
#include "batch/run/journal.h"
#include "tests/support/temp_dir.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Files = std::map<std::string, std::string>;

pid_t Start(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    std::string program = QMK_BINARY;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

int Wait(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    return status;
}

int RunToEnd(const std::vector<std::string>& arguments)
{
    const int status = Wait(Start(arguments));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The pages below a folder by their path below it; `other` gets every other file (temporaries, numbered copies).
Files Pages(const fs::path& folder, std::vector<std::string>* other = nullptr)
{
    Files pages;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        const std::string relative = fs::relative(entry.path(), folder).string();
        if (entry.path().extension() == ".html")
            pages[relative] = test::ReadFile(entry.path());
        else if (other)
            other->push_back(relative);
    }
    return pages;
}

// A site whose pages the defaults change: spaces, quotes, comments, line ends; a few long ones keep a write busy.
void WriteSite(const fs::path& site, std::mt19937& random)
{
    for (int i = 0; i < 60; ++i) {
        std::string page = "<html>\r\n<!-- page " + std::to_string(i) + " -->\r\n<body  class=\"c\" >\r\n";
        const int paragraphs = i % 13 == 0 ? 4000 : 20 + static_cast<int>(random() % 200);
        for (int p = 0; p < paragraphs; ++p)
            page += "<p  align=\"left\" >  text " + std::to_string(p) + "   more\ttext </p>\r\n";
        page += "</body>\r\n</html>\r\n";
        std::string name = "page" + std::to_string(i);
        if (i == 7) name = std::string(240, 'n'); // a long legal name: 245 bytes with its extension
        if (i == 8) name = "a page with spaces";
        test::WriteFile(site / ("d" + std::to_string(i % 5)) / (name + ".html"), page);
    }
}

TEST(KillTest, AKilledInPlaceRunLosesNothingAndRestoreGivesEveryOriginalBack)
{
    test::TempDir dir;
    const fs::path site = dir / "site";
    const fs::path backup = dir / "backup";
    const fs::path program = dir / "program";
    fs::create_directories(program);
    const char* seedText = std::getenv("QMK_KILL_SEED");
    const unsigned seed = seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10)) : 20261101u;
    std::mt19937 random(seed);
    SCOPED_TRACE("QMK_KILL_SEED=" + std::to_string(seed));
    WriteSite(site, random);
    const Files originals = Pages(site);
    const std::vector<std::string> common = {"--program-folder", program.string(), "-r"};
    auto with = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), common.begin(), common.end());
        arguments.push_back(site.string());
        return arguments;
    };
    ASSERT_EQ(RunToEnd(with({"-o", (dir / "expected").string()})), 0);
    const Files optimized = Pages(dir / "expected");
    ASSERT_EQ(optimized.size(), originals.size());

    // How long an uninterrupted run takes here sets the range of the kill moments.
    const auto started = Clock::now();
    ASSERT_EQ(RunToEnd(with({"--in-place", "--backup", backup.string()})), 0);
    const auto fullRun = std::max(Clock::now() - started, Clock::duration(std::chrono::milliseconds(20)));
    ASSERT_EQ(RunToEnd(with({"--in-place", "--restore", "--backup", backup.string()})), 0);
    ASSERT_EQ(Pages(site), originals);

    auto expectEveryPageWhole = [&](const std::string& moment) {
        const Files now = Pages(site);
        ASSERT_EQ(now.size(), originals.size()) << moment << ": a page is missing";
        for (const auto& [name, bytes] : now) {
            ASSERT_TRUE(originals.count(name)) << moment << ": an unknown page " << name;
            ASSERT_TRUE(bytes == originals.at(name) || bytes == optimized.at(name))
                << moment << ": " << name << " is neither its original nor its optimized text";
        }
    };

    // Bounded, so a slow disk makes fewer rounds rather than a test that runs for minutes.
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    int kills = 0;
    for (int round = 0; round < 36 && Clock::now() < deadline; ++round) {
        const std::string moment = "round " + std::to_string(round);
        const auto delay =
            std::chrono::duration_cast<std::chrono::microseconds>(fullRun) * static_cast<long>(random() % 1000) / 1000;
        const bool terminate = round % 5 == 4; // SIGTERM stops the run as Ctrl+C does; the others are SIGKILL
        const std::string jobs = round % 2 ? "1" : "2";
        const pid_t run = Start(with({"--in-place", "--jobs", jobs, "--overwrite", "--backup", backup.string()}));
        std::this_thread::sleep_for(delay);
        ::kill(run, terminate ? SIGTERM : SIGKILL);
        Wait(run);
        ++kills;
        expectEveryPageWhole(moment + ", after the kill");

        // Now and then the restore is killed too, and a second restore finishes its work.
        if (round % 3 == 1) {
            const pid_t restore = Start(with({"--in-place", "--restore", "--backup", backup.string()}));
            std::this_thread::sleep_for(delay / 2);
            ::kill(restore, SIGKILL);
            Wait(restore);
            expectEveryPageWhole(moment + ", after a killed restore");
        }
        const int restored = RunToEnd(with({"--in-place", "--restore", "--backup", backup.string()}));
        EXPECT_TRUE(restored == 0 || restored == 1) << moment; // 1 when the kill came before any backup
        std::vector<std::string> leftovers;
        ASSERT_EQ(Pages(site, &leftovers), originals) << moment << ": restore gave back every original";
        EXPECT_TRUE(leftovers.empty()) << moment << ": a leftover beside the pages: " << leftovers.front();
        std::vector<std::string> backups;
        Pages(backup, &backups);
        Files backupPages = Pages(backup);
        for (const std::string& name : backups)
            if (fs::path(name).filename() != Journal::kFileName) backupPages[name];
        EXPECT_TRUE(backupPages.empty()) << moment << ": a backup stayed: " << backupPages.begin()->first;
    }
    EXPECT_GE(kills, 10) << "too few kills to say much";
}

// Two runs over one site at once, both told to replace backups: whatever they interleave, the originals stay in
// the backup folder, since a backup that holds this program's own output is never put over one.
TEST(KillTest, TwoRunsAtOnceKeepEveryOriginal)
{
    test::TempDir dir;
    const fs::path site = dir / "site";
    const fs::path backup = dir / "backup";
    const fs::path program = dir / "program";
    fs::create_directories(program);
    std::mt19937 random(7);
    WriteSite(site, random);
    const Files originals = Pages(site);
    auto with = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--program-folder", program.string(), "-r", "--backup", backup.string()});
        arguments.push_back(site.string());
        return arguments;
    };
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const pid_t first = Start(with({"--in-place", "--overwrite", "--jobs", "1"}));
        const pid_t second = Start(with({"--in-place", "--overwrite", "--jobs", "2"}));
        const int firstStatus = Wait(first);
        const int secondStatus = Wait(second);
        // A page the other run replaced under this one is reported and left to it.
        for (int status : {firstStatus, secondStatus})
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << status;
        ASSERT_EQ(Pages(site).size(), originals.size());
        if (round == 1) {
            ASSERT_LE(RunToEnd(with({"--in-place", "--overwrite"})), 1) << "a third run, alone";
        }
        EXPECT_EQ(RunToEnd(with({"--in-place", "--restore"})), 0);
        ASSERT_EQ(Pages(site), originals);
    }
}

} // namespace
} // namespace qm
