// Comment removal and its four keep rules.
#include <gtest/gtest.h>

#include "tests/engine/pass_harness.h"

namespace qm {
namespace {

struct Row {
    const char* name;
    std::string input;
    std::string expected;
    std::vector<std::pair<Opt, bool>> flags = {};
    std::vector<std::string> ssi = {};
};

TEST(DelComments, RemovesAndKeeps)
{
    const Row rows[] = {
        {"plain comment", "a<!-- note -->b", "ab"},
        {"comment line leaves an empty line", "a\r\n<!-- x -->\r\nb", "a\r\n\r\nb"},
        {"body ends at the first --", "<!-- one -- two -->x", "x"},
        {"empty comment", "<!---->x", "x"},
        {"empty comment kept by an empty SSI line", "<!---->x", "<!---->x", {}, {""}},
        {"inside a quoted value", "<img alt=\"<!-- x -->\">", "<img alt=\"<!-- x -->\">"},
        {"style block comment kept by the enclosing tag", "<style type=\"text/css\"><!-- p { color: red } --></style>",
            "<style type=\"text/css\"><!-- p { color: red } --></style>"},
        {"after the style block it goes", "</style><!-- p { color: red } -->", "</style>"},
        {"enclosing tag rule off", "<style><!-- p --></style>", "<style></style>", {{Opt::cbOuttag, false}}},
        {"mentions style", "<!-- old style menu -->", "<!-- old style menu -->"},
        {"style in quotes does not count", "<!-- a=\"style\" -->x", "x"},
        {"style rule off", "<!-- old style menu -->", "", {{Opt::cbIsStyle, false}}},
        {"SSI include kept", "<!--#include file=\"head.html\"-->", "<!--#include file=\"head.html\"-->", {},
            {"#INCLUDE"}},
        {"SSI without list goes", "<!--#include file=\"head.html\"-->", ""},
        {"SSI word after a space", "<!-- #echo var=\"DATE_LOCAL\" -->", "<!-- #echo var=\"DATE_LOCAL\" -->", {},
            {"#echo"}},
        {"SSI rule off", "<!--#echo x -->", "", {{Opt::cbSsi, false}}, {"#echo"}},
        {"no bracket directly before", "<p>Wow!-- great</p>and more", "and more"},
        {"unterminated ends at the next bracket", "<!-- unterminated <b>x</b> and <i>more</i>",
            "x</b> and <i>more</i>"},
        {"no closing bracket at all", "a<!-- x -- y", "a<!-- x -- y"},
        {"no opening bracket at all", "a !-- x -->", "a !-- x -->"},
        {"a comment reaching back takes the bracket before it", "<!-- style --> !-- b -->x", "x"},
        {"two comments", "<!--a-->m<!--b-->", "m"},
        {"upper case body kept by style", "<!-- STYLE -->", "<!-- STYLE -->"},
    };
    for (const Row& row : rows) {
        test::ForBothEngines(row.name, [&](test::PassHarness& h) {
            for (auto [id, on] : row.flags) h.options.setFlag(id, on);
            h.data.ssiCommands = row.ssi;
            h.load(row.input);
            h.delComments();
            EXPECT_EQ(h.shown(), row.expected);
            EXPECT_TRUE(h.mirrorInStep());
        });
    }
}

TEST(DelComments, ScriptInsideTheBody)
{
    for (bool keepScripts : {true, false}) {
        test::ForBothEngines(keepScripts ? "script rule on" : "script rule off", [&](test::PassHarness& h) {
            h.options.setFlag(Opt::cbIsScript, keepScripts);
            h.load("<!-- <script>f()</script> -->x");
            h.cutScripts();
            h.delComments();
            h.pasteScripts();
            EXPECT_EQ(h.shown(), keepScripts ? "<!-- <script>f()</script> -->x" : "x");
        });
    }
}

} // namespace
} // namespace qm
