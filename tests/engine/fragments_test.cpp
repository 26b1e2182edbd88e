// Scripts, server code, ColdFusion tags and text shown as written leave the page whole and come back in their own
// places.
#include <gtest/gtest.h>

#include "tests/engine/pass_harness.h"
#include "tests/oracle/protected_fragments.h"

namespace qm::oracle {
namespace {

using test::ForBothEngines;
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
    std::string cut; // working text after the cutting passes
    std::vector<std::string> fragments = {}; // in the order they were cut
};

void RunCuts(PassHarness& h)
{
    h.cutScripts();
    h.cutServerCode("<?", "?>");
    h.cutServerCode("<%", "%>");
    h.cutCfTags();
    h.cutKeptText();
}

TEST(ProtectedFragments, WhatIsCut)
{
    const CutRow rows[] = {
        // scripts
        {"upper case script", "a<SCRIPT LANGUAGE=\"JavaScript\">x</SCRIPT>b", "a{0}b",
            {"<SCRIPT LANGUAGE=\"JavaScript\">x</SCRIPT>"}},
        {"quoted end tag skipped", "<script>document.write(\"<\\/script>\");</script>!", "{0}!",
            {"<script>document.write(\"<\\/script>\");</script>"}},
        {"tab after script starts one too", "<script\tsrc=x>y</script>", "{0}", {"<script\tsrc=x>y</script>"}},
        {"unclosed script cuts its tag only and ends the pass", "<script src=\"a.js\">x<script>y", "{0}x<script>y",
            {"<script src=\"a.js\">"}},
        {"closing tag alone", "a</script>b", "a</script>b", {}},
        {"word after a letter", "<p>ascript x</p>", "<p>ascript x</p>", {}},
        {"word without a bracket before it", " script >x", " script >x", {}},
        {"word of body text after a tag", "<p>A <em>shell</em> script runs it.</p>",
            "<p>A <em>shell</em> script runs it.</p>", {}},
        {"word after a space inside a tag", "<p class=x script>y</p>", "<p class=x script>y</p>", {}},
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
        {"opening and closing cf tags", "<cfif x>y</cfif>", "{0}y{1}", {"<cfif x>", "</cfif>"}},
        {"upper case cf", "<CFSET x = 1>z", "{0}z", {"<CFSET x = 1>"}},
        {"cf word after a space in a tag", "<p a cfx=1>t", "<p a cfx=1>t", {}},
        {"cf word of body text", "<p>Run <kbd>x</kbd> with the cfg file.</p>",
            "<p>Run <kbd>x</kbd> with the cfg file.</p>", {}},
        // text shown as written
        {"pre content", "<pre class=\"x\">  a\r\n\tb  </pre>", "<pre class=\"x\">{0}</pre>", {"  a\r\n\tb  "}},
        {"textarea, title, xmp and listing",
            "<TITLE>a  b</TITLE><textarea> x </textarea><xmp><b></xmp><listing>"
            " y</listing>",
            "<TITLE>{0}</TITLE><textarea>{1}</textarea><xmp>{2}</xmp><listing>{3}</listing>",
            {"a  b", " x ", "<b>", " y"}},
        {"a comment inside title is text", "<title>a <!-- b --> c</title>", "<title>{0}</title>", {"a <!-- b --> c"}},
        {"plaintext runs to the end", "<plaintext> a </plaintext> b", "<plaintext>{0}", {" a </plaintext> b"}},
        {"unclosed pre runs to the end", "<pre> a", "<pre>{0}", {" a"}},
        {"empty pre", "<pre></pre>", "<pre></pre>", {}},
        {"pre in a comment", "<!-- <pre> --> a <pre> b </pre>", "<!-- <pre> --> a <pre>{0}</pre>", {" b "}},
        {"pre in a quoted value", "<a title=\"<pre>\" alt='<pre>'>x</a>", "<a title=\"<pre>\" alt='<pre>'>x</a>", {}},
        {"pre in a style sheet", "<style>/* <pre> */</style><pre> c </pre>", "<style>/* <pre> */</style><pre>{0}</pre>",
            {" c "}},
        {"a longer name", "<prefix> a </prefix>", "<prefix> a </prefix>", {}},
        {"a script inside pre is its fragment's child", "<pre> <script>x</script> </pre>", "<pre>{1}</pre>",
            {"<script>x</script>", " {0} "}},
    };
    for (const CutRow& row : rows) {
        ForBothEngines(row.name, [&](PassHarness& h) {
            h.load(row.input);
            RunCuts(h);
            EXPECT_EQ(h.shown(), row.cut);
            ASSERT_EQ(h.fragmentCount(), row.fragments.size());
            for (std::size_t i = 0; i < row.fragments.size(); ++i) EXPECT_EQ(h.fragment(i), row.fragments[i]);
            h.pasteScripts();
            EXPECT_EQ(h.shown(), row.input) << "cutting and pasting gives the page back";
        });
    }
}

TEST(ProtectedFragments, DeletedWhenScriptsAreToGo)
{
    const CutRow rows[] = {
        {"script", "<p>a<script>x()</script>b</p>", "<p>ab</p>"},
        {"php", "<p>a<?php x ?>b</p>", "<p>ab</p>"},
        {"asp", "<p>a<% x %>b</p>", "<p>ab</p>"},
        {"cold fusion", "<p>a<cfset x>b</cfset></p>", "<p>ab</p>"},
        {"a cf tag made by a deletion", "<<cfx>cfy>z", "z"},
        {"a cf tag made around the c", "<c<cfx>f y>z", "z"},
        {"text shown as written stays", "<pre><script>x</script> a</pre>", "<pre>{0}</pre>", {" a"}},
    };
    for (const CutRow& row : rows) {
        ForBothEngines(row.name, [&](PassHarness& h) {
            h.options.setFlag(Opt::cbDelScripts, true);
            h.load(row.input);
            RunCuts(h);
            EXPECT_EQ(h.shown(), row.cut);
            EXPECT_EQ(h.fragmentCount(), row.fragments.size());
        });
    }
}

TEST(ProtectedFragments, PlaceholdersAreTiedToTheirOwnFragments)
{
    ForBothEngines("a script inside a \"<?\" block", [](PassHarness& h) {
        // The script is cut first and its placeholder ends up inside the "<?" block.
        h.load("<? <script>x</script> ?><script>y</script>");
        RunCuts(h);
        EXPECT_EQ(h.shown(), "{2}{1}");
        h.pasteScripts();
        EXPECT_EQ(h.shown(), "<? <script>x</script> ?><script>y</script>");
    });
    ForBothEngines("a placeholder removed", [](PassHarness& h) {
        // A placeholder that a pass removed takes its fragment with it; the others keep theirs.
        h.load("<?a?>|<?b?>");
        RunCuts(h);
        h.dropFirstPlaceholder();
        h.pasteScripts();
        EXPECT_EQ(h.shown(), "|<?b?>");
    });
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
