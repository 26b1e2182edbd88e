// The filter texts' extension lists and the exact extension test that dialogs, drops and folder scans share.
#include "batch/model/file_filters.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(Filters, WebFilesFilterNamesExactlyTheWebExtensions)
{
    const std::vector<std::string> expected = {"php", "php3", "php4", "phtml", "shtml", "shtm", "sht", "htm", "html",
        "asp", "css", "cfml", "cfm", "htm", "html", "shtml", "shtm", "sht", "php", "php3", "php4", "phtml", "pht",
        "asp", "css", "cfml", "cfm"};
    EXPECT_EQ(FilterExtensions(kWebFilesFilter), expected);
    EXPECT_EQ(FilterExtensions(kListFilesFilter), std::vector<std::string> {"lst"});
}

TEST(Filters, MatchesFilter)
{
    struct Row {
        const char* name;
        const char* file;
        std::string_view filter;
        bool expected;
    };
    const Row rows[] = {
        // The web files.
        {"html", "index.html", kWebFilesFilter, true},
        {"capital extension", "Index.HTM", kWebFilesFilter, true},
        {"pht only in the PHP group", "a.pht", kWebFilesFilter, true},
        {"cfm last in the text", "a.cfm", kWebFilesFilter, true},
        {"full path", "/site/news/today.php", kWebFilesFilter, true},
        // What a substring test would take and the exact test refuses.
        {"C header", "x.h", kWebFilesFilter, false},
        {"shell script", "run.sh", kWebFilesFilter, false},
        {"C source", "main.c", kWebFilesFilter, false},
        {"C# source", "a.cs", kWebFilesFilter, false},
        {"one letter of php", "notes.p", kWebFilesFilter, false},
        {"ht", "notes.ht", kWebFilesFilter, false},
        // Names without an extension.
        {"no dot", "readme", kWebFilesFilter, false},
        {"dot in the folder only", "/a.html/readme", kWebFilesFilter, false},
        {"trailing dot", "page.", kWebFilesFilter, false},
        {"last dot counts", "page.html.bak", kWebFilesFilter, false},
        {"the extension alone", ".html", kWebFilesFilter, true},
        // The list files filter.
        {"list file", "Default.lst", kListFilesFilter, true},
        {"list file upper case", "A.LST", kListFilesFilter, true},
        {"a page is no list", "a.html", kListFilesFilter, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + ": " + row.file);
        EXPECT_EQ(MatchesFilter(row.file, row.filter), row.expected);
    }
}

} // namespace
} // namespace qm
