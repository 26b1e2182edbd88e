// The installed default profile is what the desktop program writes on a first start, so the two never drift apart.
#include <gtest/gtest.h>

#include "settings/profile.h"
#include "settings_fixtures.h"

namespace qm {
namespace {

TEST(DefaultProfile, TheInstalledFilesAreWhatAFirstStartWrites)
{
    test::TempDir dir;
    RealFileSystem fs;
    TOptionSet options = test::StartUpOptions(test::FolderOf(dir));
    std::filesystem::create_directories(dir / "Profiles");
    ASSERT_TRUE(SaveProfile(fs, options, test::FolderOf(dir)));
    const std::filesystem::path installed = std::filesystem::path(QMK_SOURCE_DIR) / "data/Profiles";
    for (const char* name : {"Default.pro", "Default.rep", "Default.rem"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(test::ReadFile(installed / name), test::ReadFile(dir / "Profiles" / name));
    }
}

} // namespace
} // namespace qm
