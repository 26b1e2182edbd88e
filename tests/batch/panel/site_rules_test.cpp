// What a headless folder scan takes as a page, and what it passes over.
#include <gtest/gtest.h>

#include "batch/panel/site_rules.h"

namespace qm {
namespace {

TEST(SiteRules, PagesByExtension)
{
    SiteRules rules;
    rules.extraExtensions = {"inc", "tpl"};
    struct Row {
        const char* name;
        bool page;
    };
    const Row rows[] = {
        {"index.html", true},
        {"STYLE.CSS", true},
        {"header.inc", true},
        {"mail.TPL", true},
        {"app.js", false},
        {"inc", false},
        {"archive.inc.gz", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IsPageName(rules, row.name), row.page);
    }
    EXPECT_FALSE(IsPageName(SiteRules {}, "header.inc")) << "only when asked";
}

TEST(SiteRules, PassingOver)
{
    SiteRules rules;
    rules.passOverHiddenFolders = true;
    rules.excludeGlobs = {"*.bak", "drafts/", "blog/old/*", "/top.html"};
    struct Row {
        const char* name;
        std::string_view entry, below;
        bool isFolder;
        std::optional<std::string> why;
    };
    const Row rows[] = {
        {"a hidden folder", ".git", ".git", true, "a hidden folder"},
        {"a hidden file is taken (.htaccess belongs to the site)", ".htaccess", ".htaccess", false, std::nullopt},
        {"installed packages", "node_modules", "app/node_modules", true, "installed packages"},
        {"a file named node_modules", "node_modules", "node_modules", false, std::nullopt},
        {"a name pattern, at any depth", "old.bak", "a/b/old.bak", false, "--exclude '*.bak'"},
        {"a folder-only pattern spares files", "drafts", "drafts", false, std::nullopt},
        {"a folder-only pattern", "drafts", "x/drafts", true, "--exclude 'drafts/'"},
        {"a path pattern", "a.html", "blog/old/a.html", false, "--exclude 'blog/old/*'"},
        {"a path pattern does not cross folders", "a.html", "blog/old/x/a.html", false, std::nullopt},
        {"a path pattern from the top", "top.html", "top.html", false, "--exclude '/top.html'"},
        {"a path pattern only from the top", "top.html", "sub/top.html", false, std::nullopt},
        {"an ordinary folder", "css", "css", true, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(PassOverReason(rules, row.entry, row.below, row.isFolder), row.why);
    }
    EXPECT_EQ(PassOverReason(SiteRules {}, ".git", ".git", true), std::nullopt) << "Add folder takes everything";
}

} // namespace
} // namespace qm
