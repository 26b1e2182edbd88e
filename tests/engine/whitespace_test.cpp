// The white space and line passes, each row through the shipped passes and the oracle.
#include <gtest/gtest.h>

#include <functional>

#include "tests/engine/pass_harness.h"

namespace qm {
namespace {

using test::ForBothEngines;
using test::PassHarness;

struct Row {
    const char* name;
    std::string input;
    std::string expected;
};

void Check(const char* pass, const std::vector<Row>& rows, const std::function<void(PassHarness&)>& run)
{
    for (const Row& row : rows) {
        ForBothEngines(std::string(pass) + ": " + row.name, [&](PassHarness& h) {
            h.load(row.input);
            run(h);
            EXPECT_EQ(h.shown(), row.expected);
            EXPECT_TRUE(h.mirrorInStep());
        });
    }
}

TEST(Whitespace, DelTagSpaces)
{
    Check("DelTagSpaces",
        {
            {"before >", "<p >", "<p>"},
            {"runs around = inside a tag", "<td width  =  5>", "<td width=5>"},
            {"quoted =", "<a title=\"a = b\">", "<a title=\"a = b\">"},
            {"quoted >", "<img alt=\"x >\">", "<img alt=\"x >\">"},
            {"escaped quote does not end the value", "<img alt=\"a\\\" >\">", "<img alt=\"a\\\" >\">"},
            {"tab stays", "<p\t>", "<p\t>"},
            {"line break stays", "<p\r\n>", "<p\r\n>"},
            {"empty", "", ""},
            // Body text is what the reader sees: only spaces inside a tag go.
            {"equal sign in body text", "<p>2.8 = SunOS</p>", "<p>2.8 = SunOS</p>"},
            {"comparison in body text", "<p>version >= 1.3.1</p>", "<p>version >= 1.3.1</p>"},
            {"greater-than in body text", "<p>5 > 3</p>", "<p>5 > 3</p>"},
            {"less-than and greater-than in body text", "<p>a < b and c > d</p>", "<p>a < b and c > d</p>"},
            {"a space after < opens no tag", "< p>", "< p>"},
            {"quoted < then a less-than in text", "\"< \"< p", "\"< \"< p"},
            {"equal sign inside a comment", "<!-- a = b -->", "<!-- a=b -->"},
            // Between two tags a space stays unless one of them swallows it.
            {"between inline tags", "<b>Hello</b> <i>world</i>", "<b>Hello</b> <i>world</i>"},
            {"before a block", "<b>x</b> <div>", "<b>x</b><div>"},
            {"after a closing block", "</p> <b>", "</p><b>"},
            {"two spaces between tags", "<a>  <b>", "<a>  <b>"},
        },
        [](PassHarness& h) { h.delTagSpaces(); });
}

TEST(Whitespace, DelSpaceBetweenTags)
{
    Check("DelSpaceBetweenTags",
        {
            {"blocks join", "<div> <p> <table>", "<div><p><table>"},
            {"inline words keep their space", "<span>import</span> <span>sys</span>",
                "<span>import</span> <span>sys</span>"},
            {"label before a link", "Source code: <a href=x>Lib</a> <a>y</a>",
                "Source code: <a href=x>Lib</a> <a>y</a>"},
            {"line break element", "<b>x</b> <br> <i>y</i>", "<b>x</b><br><i>y</i>"},
            {"table cells", "<tr> <td>a</td> <td>b</td> </tr>", "<tr><td>a</td><td>b</td></tr>"},
            {"list items, any case", "<LI>a</LI> <LI>b", "<LI>a</LI><LI>b"},
            {"inside pre the space shows", "<pre> <b>x</b> </pre>", "<pre> <b>x</b> </pre>"},
            {"a comment is no element", "<b>a</b> <!-- c --> <i>b</i>", "<b>a</b> <!-- c --> <i>b</i>"},
            {"greater-than of body text", "<p>5 > <i>x</i>", "<p>5 > <i>x</i>"},
            {"quoted", "<a x=\"> <p>\">", "<a x=\"> <p>\">"},
            {"two spaces", "<p>  <div>", "<p>  <div>"},
        },
        [](PassHarness& h) { h.delSpaceBetweenTags(); });
}

TEST(Whitespace, DelCRLF)
{
    Check("DelCRLF",
        {
            {"between words a space", "a\r\nb\r\n", "a b"},
            {"an empty line between", "a\r\n\r\nb\r\n", "a b"},
            {"next to a space it goes", "a \r\n b", "a  b"},
            {"lone breaks stay", "a\rb\nc", "a\rb\nc"},
            {"quoted too", "\"a\r\nb\"", "\"a b\""},
            {"a break that goes joins a CR and an LF", "\r\r\n\n", ""},
            {"between tags", "<p>\r\n<b>", "<p> <b>"},
        },
        [](PassHarness& h) { h.delCRLF(); });
}

TEST(Whitespace, ReplaceDoubleNbsp)
{
    const std::string nbsp = "&nbsp;";
    std::vector<Row> rows = {
        {"two", nbsp + nbsp, nbsp + " "},
        {"three", nbsp + nbsp + nbsp, nbsp + " " + nbsp},
        {"four", nbsp + nbsp + nbsp + nbsp, nbsp + " " + nbsp + " "},
        {"quoted", "a=\"" + nbsp + nbsp + "\"", "a=\"" + nbsp + nbsp + "\""},
        {"upper case", "&NBSP;&NBSP;", "&NBSP;&NBSP;"},
    };
    Check("ReplaceDoubleNbsp", rows, [](PassHarness& h) { h.replaceDoubleNbsp(); });
    Check("ReplaceDoubleNbsp in values", {{"quoted", "a=\"" + nbsp + nbsp + "\"", "a=\"" + nbsp + " \""}},
        [](PassHarness& h) {
            h.options.setFlag(Opt::cbReplaceDoubleNbspInKav, true);
            h.replaceDoubleNbsp();
        });
}

TEST(Whitespace, DelAllTabs)
{
    Check("DelAllTabs",
        {
            {"between words a space", "void\tinit", "void init"},
            {"a run between words one space", "a\t\t\tb", "a b"},
            {"between a tag's name and an attribute", "<td\tclass=\"x\">", "<td class=\"x\">"},
            {"next to white space they go", "\ta\t \t\"b\"\t", "a \"b\""},
            {"at the line's edges", "\tx\t\r\n", "x\r\n"},
        },
        [](PassHarness& h) { h.delAllTabs(); });
}

TEST(Whitespace, LinePasses)
{
    Check("DelTabLine",
        {
            {"blank lines go, empty stay", "a\r\n   \r\n\t \t\r\n\r\nb", "a\r\n\r\nb\r\n"},
            {"glued text gets its break back", "a b ", "a b \r\n"},
            {"empty", "", ""},
        },
        [](PassHarness& h) { h.delTabLine(); });
    Check("DelBegEndSpace",
        {
            {"trims", " \ta b\t \r\n   \r\nc", "a b\r\n\r\nc\r\n"},
            {"lone breaks become CR LF", "a\rb\nc", "a\r\nb\r\nc\r\n"},
        },
        [](PassHarness& h) { h.delBegEndSpace(); });
    Check("DelEmptyLine",
        {
            {"empty lines go", "a\r\n\r\n\r\nb\r\n", "a\r\nb\r\n"},
            {"blank lines stay", "a\r\n  \r\nb", "a\r\n  \r\nb\r\n"},
        },
        [](PassHarness& h) { h.delEmptyLine(); });
}

TEST(Whitespace, ReplaceDoubleSpaces)
{
    Check("ReplaceDoubleSpaces",
        {
            {"runs", "a   b  c", "a b c"},
            {"quoted runs stay", "x=\"a   b\"  c", "x=\"a   b\" c"},
            {"lone quote protects the rest", "a \"b   c  d", "a \"b   c  d"},
            {"tabs are not spaces", "a \t b", "a \t b"},
            {"short", " ", " "},
            {"trailing pair", "a  ", "a "},
        },
        [](PassHarness& h) { h.replaceDoubleSpaces(); });
    Check("ReplaceDoubleSpaces in values", {{"quoted runs too", "x=\"a   b\"", "x=\"a b\""}}, [](PassHarness& h) {
        h.options.setFlag(Opt::cbReplaceDoubleSpacesInKav, true);
        h.replaceDoubleSpaces();
    });
}

} // namespace
} // namespace qm
