// The white space and line passes.
#include <gtest/gtest.h>

#include <functional>

#include "tests/oracle/whitespace.h"
#include "tests/engine/pass_harness.h"

namespace qm::oracle {
namespace {

struct Row {
    const char* name;
    std::string input;
    std::string expected;
};

void Check(const char* pass, const std::vector<Row>& rows, const std::function<void(test::PassHarness&)>& run)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(pass) + ": " + row.name);
        test::PassHarness h;
        h.load(row.input);
        run(h);
        EXPECT_EQ(h.shown(), row.expected);
        EXPECT_EQ(h.page.mirror, Lower(h.page.text));
    }
}

TEST(Whitespace, DelTagSpaces)
{
    Check("DelTagSpaces",
        {
            {"before >", "<p >", "<p>"},
            {"after <", "< p>", "<p>"},
            {"runs around =", "width  =  5", "width=5"},
            {"quoted =", "title=\"a = b\"", "title=\"a = b\""},
            {"quoted >", "alt=\"x >\"", "alt=\"x >\""},
            {"escaped quote does not end the value", "alt=\"a\\\" >\"", "alt=\"a\\\" >\""},
            {"one space between tags", "<a> <b>", "<a><b>"},
            {"two spaces between tags", "<a>  <b>", "<a>  <b>"},
            {"tab stays", "<p\t>", "<p\t>"},
            {"line break stays", "<p\r\n>", "<p\r\n>"},
            {"quoted < then unquoted", "\"< \"< p", "\"< \"<p"},
            {"empty", "", ""},
        },
        [](test::PassHarness& h) { DelTagSpaces(h.page); });
}

TEST(Whitespace, DelSpaceBetweenTags)
{
    Check("DelSpaceBetweenTags",
        {
            {"joins", "<a> <b> <c>", "<a><b><c>"},
            {"quoted", "x=\"> <\"", "x=\"> <\""},
            {"two spaces", "<a>  <b>", "<a>  <b>"},
        },
        [](test::PassHarness& h) { DelSpaceBetweenTags(h.page); });
}

TEST(Whitespace, DelCRLF)
{
    Check("DelCRLF",
        {
            {"two lines", "a\r\nb\r\n", "a b "},
            {"empty line between", "a\r\n\r\nb\r\n", "a  b "},
            {"lone breaks stay", "a\rb\nc", "a\rb\nc"},
            {"quoted too", "\"a\r\nb\"", "\"a b\""},
        },
        [](test::PassHarness& h) { DelCRLF(h.page); });
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
    Check("ReplaceDoubleNbsp", rows, [](test::PassHarness& h) { ReplaceDoubleNbsp(h.page, h.context()); });
    Check("ReplaceDoubleNbsp in values", {{"quoted", "a=\"" + nbsp + nbsp + "\"", "a=\"" + nbsp + " \""}},
        [](test::PassHarness& h) {
            h.options.setFlag(Opt::cbReplaceDoubleNbspInKav, true);
            ReplaceDoubleNbsp(h.page, h.context());
        });
}

TEST(Whitespace, DelAllTabs)
{
    Check("DelAllTabs", {{"everywhere", "\ta\t\"\tb\"\t", "a\"b\""}}, [](test::PassHarness& h) { DelAllTabs(h.page); });
}

TEST(Whitespace, LinePasses)
{
    Check("DelTabLine",
        {
            {"blank lines go, empty stay", "a\r\n   \r\n\t \t\r\n\r\nb", "a\r\n\r\nb\r\n"},
            {"glued text gets its break back", "a b ", "a b \r\n"},
            {"empty", "", ""},
        },
        [](test::PassHarness& h) { DelTabLine(h.page); });
    Check("DelBegEndSpace",
        {
            {"trims", " \ta b\t \r\n   \r\nc", "a b\r\n\r\nc\r\n"},
            {"lone breaks become CR LF", "a\rb\nc", "a\r\nb\r\nc\r\n"},
        },
        [](test::PassHarness& h) { DelBegEndSpace(h.page); });
    Check("DelEmptyLine",
        {
            {"empty lines go", "a\r\n\r\n\r\nb\r\n", "a\r\nb\r\n"},
            {"blank lines stay", "a\r\n  \r\nb", "a\r\n  \r\nb\r\n"},
        },
        [](test::PassHarness& h) { DelEmptyLine(h.page); });
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
        [](test::PassHarness& h) { ReplaceDoubleSpaces(h.page, h.context()); });
    Check("ReplaceDoubleSpaces in values", {{"quoted runs too", "x=\"a   b\"", "x=\"a b\""}}, [](test::PassHarness& h) {
        h.options.setFlag(Opt::cbReplaceDoubleSpacesInKav, true);
        ReplaceDoubleSpaces(h.page, h.context());
    });
}

} // namespace
} // namespace qm::oracle
