// Scripts, server code and ColdFusion tags leave the page whole and come back in their own places.
#include <gtest/gtest.h>

#include "tests/oracle/protected_fragments.h"
#include "tests/engine/pass_harness.h"

namespace qm::oracle {
namespace {

using test::PassHarness;

TEST(Inkav, CountsQuotesBeforeThePosition)
{
    struct Row {
        const char* text;
        std::size_t position; // 1-based, as the user counts
        bool inside;
    } rows[] = {
        {"a\"b\"c", 3, true}, {"a\"b\"c", 5, false}, {"a\\\"b", 4, false}, {"a\\\\\"b", 5, true}, {"\"x", 1, false},
        {"\\\"x", 3, false}, {"\"\\\"x", 4, true}, // the quote after one backslash does not close
    };
    for (const Row& row : rows) EXPECT_EQ(Inkav(Widen(row.text), row.position - 1), row.inside) << row.text;
}

struct CutRow {
    const char* name;
    std::string input;
    std::string cut; // working text after the four cutting passes
    std::vector<std::string> fragments; // in the order they were cut
};

void RunCuts(PassHarness& h)
{
    CutScripts(h.page, h.context());
    CutServerCode(h.page, h.context(), U"<?", U"?>");
    CutServerCode(h.page, h.context(), U"<%", U"%>");
    CutCfTags(h.page, h.context());
}

TEST(ProtectedFragments, WhatIsCut)
{
    const CutRow rows[] = {
        // scripts
        {"upper case script", "a<SCRIPT LANGUAGE=\"JavaScript\">x</SCRIPT>b", "a{0}b",
            {"<SCRIPT LANGUAGE=\"JavaScript\">x</SCRIPT>"}},
        {"quoted end tag skipped", "<script>document.write(\"<\\/script>\");</script>!", "{0}!",
            {"<script>document.write(\"<\\/script>\");</script>"}},
        {"tab after script is no start", "<script\tsrc=x>y</script>", "<script\tsrc=x>y</script>", {}},
        {"unclosed script cuts its tag only and ends the pass", "<script src=\"a.js\">x<script>y", "{0}x<script>y",
            {"<script src=\"a.js\">"}},
        {"closing tag alone", "a</script>b", "a</script>b", {}},
        {"word after a letter", "<p>ascript x</p>", "<p>ascript x</p>", {}},
        {"word without a bracket before it", " script >x", " script >x", {}},
        {"script without any closing bracket runs to the end", "a<script x", "a{0}", {"<script x"}},
        {"two scripts", "<script>A</script>m<script>B</script>", "{0}m{1}",
            {"<script>A</script>", "<script>B</script>"}},
        // server code
        {"php with quoted end", "x<?php echo \"?>\"; ?>y", "x{0}y", {"<?php echo \"?>\"; ?>"}},
        {"bare <?>", "a<?>b", "a{0}b", {"<?>"}},
        {"quoted <? skipped", "<a title=\"<?x?>\">", "<a title=\"<?x?>\">", {}},
        {"<? without end stays", "a<?b <%c%>", "a<?b {0}", {"<%c%>"}},
        {"asp", "<%= x %><p>", "{0}<p>", {"<%= x %>"}},
        // ColdFusion
        {"cf in a value", "<td class=\"cf\">", "<td class=\"cf\">", {}},
        {"opening cf tag only", "<cfif x>y</cfif>", "{0}y</cfif>", {"<cfif x>"}},
        {"upper case cf", "<CFSET x = 1>z", "{0}z", {"<CFSET x = 1>"}},
        {"cf word after a space", "<p a cfx=1>t", "{0}t", {"<p a cfx=1>"}},
    };
    for (const CutRow& row : rows) {
        SCOPED_TRACE(row.name);
        PassHarness h;
        h.load(row.input);
        RunCuts(h);
        EXPECT_EQ(h.shown(), row.cut);
        ASSERT_EQ(h.page.fragments.size(), row.fragments.size());
        for (std::size_t i = 0; i < row.fragments.size(); ++i) EXPECT_EQ(h.fragment(i), row.fragments[i]);
        PasteScripts(h.page);
        EXPECT_EQ(h.shown(), row.input) << "cutting and pasting gives the page back";
    }
}

TEST(ProtectedFragments, DeletedWhenScriptsAreToGo)
{
    const std::pair<std::string, std::string> rows[] = {
        {"<p>a<script>x()</script>b</p>", "<p>ab</p>"},
        {"<p>a<?php x ?>b</p>", "<p>ab</p>"},
        {"<p>a<% x %>b</p>", "<p>ab</p>"},
        {"<p>a<cfset x>b</cfset></p>", "<p>ab</cfset></p>"},
    };
    for (const auto& [input, expected] : rows) {
        PassHarness h;
        h.options.setFlag(Opt::cbDelScripts, true);
        h.load(input);
        RunCuts(h);
        EXPECT_EQ(h.shown(), expected) << input;
        EXPECT_TRUE(h.page.fragments.empty());
    }
}

TEST(ProtectedFragments, PlaceholdersAreTiedToTheirOwnFragments)
{
    PassHarness h;
    // The script is cut first and its placeholder ends up inside the "<?" block.
    h.load("<? <script>x</script> ?><script>y</script>");
    RunCuts(h);
    EXPECT_EQ(h.shown(), "{2}{1}");
    PasteScripts(h.page);
    EXPECT_EQ(h.shown(), "<? <script>x</script> ?><script>y</script>");

    // A placeholder that a pass removed takes its fragment with it; the others keep theirs.
    h.load("<?a?>|<?b?>");
    RunCuts(h);
    h.page.text.erase(0, 1);
    PasteScripts(h.page);
    EXPECT_EQ(h.shown(), "|<?b?>");
}

TEST(FindTag, StatusesAndPositions)
{
    struct Row {
        const char* text;
        const char* word;
        bool before, after;
        int status;
        std::size_t start, word_, end;
    } rows[] = {
        {"", "cf", true, false, 4, 0, 0, 0},
        {"x", "", true, false, 4, 0, 0, 0},
        {"<cfx a>", "cf", true, false, 1, 0, 1, 6},
        {"<p a=\">\" cf b>", "cf", true, false, 1, 0, 9, 13},
        {"no tags cf here", "cf", true, false, 2, 0, 0, 0},
        {"<cf", "cf", true, false, 3, 0, 0, 0},
        {"<xcf>", "cf", true, false, 0, 0, 0, 0},
        {"<cfx>", "cf", false, true, 0, 0, 0, 0},
        {"<cf x>", "CF", false, true, 1, 0, 1, 5},
    };
    for (const Row& row : rows) {
        std::u32string word = Widen(row.word);
        FoundTag found = FindTag(Widen(row.text), word, row.before, row.after);
        EXPECT_EQ(found.status, row.status) << row.text;
        if (row.status == 1) {
            EXPECT_EQ(found.tagStart, row.start) << row.text;
            EXPECT_EQ(found.wordPos, row.word_) << row.text;
            EXPECT_EQ(found.tagEnd, row.end) << row.text;
        }
    }
}

} // namespace
} // namespace qm::oracle
