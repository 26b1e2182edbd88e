// The manual page and the bash completion say what qmk --help says: every option, the exit statuses, the files.
#include <gtest/gtest.h>

#include "cli/qmk_arguments.h"
#include "tests/support/temp_dir.h"

#include <algorithm>
#include <sstream>

namespace qm {
namespace {

std::string ManualPage() { return test::ReadFile(std::filesystem::path(QMK_SOURCE_DIR) / "cli/qmk.1"); }

// The tags of the page's .TP entries as they read on screen, without spaces: "-o,--output=DIR".
std::vector<std::string> EntryTags(const std::string& page)
{
    std::vector<std::string> tags;
    std::istringstream lines(page);
    bool tagNext = false;
    for (std::string line; std::getline(lines, line);) {
        if (tagNext) {
            line.erase(0, line.find(' ') + 1); // the font macro
            for (const char* markup : {"\\fI", "\\fR", "\\", "\"", " "})
                for (std::size_t at = line.find(markup); at != std::string::npos; at = line.find(markup))
                    line.erase(at, std::string_view(markup).size());
            tags.push_back(line);
        }
        tagNext = line == ".TP";
    }
    return tags;
}

TEST(Manual, HasAnEntryForEveryOptionOfTheTable)
{
    const std::vector<std::string> tags = EntryTags(ManualPage());
    for (const QmkOptionRow& row : QmkOptionTable()) {
        std::string tag = row.shortName ? "-" + std::string(1, row.shortName) + "," : "";
        tag += "--" + std::string(row.longName);
        if (!row.valueName.empty()) tag += "=" + std::string(row.valueName);
        EXPECT_NE(std::find(tags.begin(), tags.end(), tag), tags.end())
            << tag << " in " << ::testing::PrintToString(tags);
    }
}

TEST(Manual, HasTheSectionsOfACommandsPage)
{
    const std::string page = ManualPage();
    for (const char* section :
        {".SH NAME", ".SH SYNOPSIS", ".SH DESCRIPTION", ".SH OPTIONS", ".SH EXIT STATUS", ".SH FILES", ".SH EXAMPLES"})
        EXPECT_NE(page.find(section), std::string::npos) << section;
    for (const char* status : {".B 0", ".B 1", ".B 2"}) EXPECT_NE(page.find(status), std::string::npos) << status;
}

} // namespace
} // namespace qm
