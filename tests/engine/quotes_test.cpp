// Quotes around numbers, colours and listed words go; empty attributes may go.
#include <gtest/gtest.h>

#include "tests/oracle/quotes.h"
#include "engine/attribute_values.h"
#include "tests/engine/pass_harness.h"

namespace qm::oracle {
namespace {

TEST(ValueTests, IsNumAndIshex)
{
    struct Row {
        const char* value;
        bool num, hex;
    } rows[] = {
        {"50", true, false},
        {"100%", true, false},
        {"%", true, false},
        {"", true, false},
        {"-5", false, false},
        {"1.5", false, false},
        {"50px", false, false},
        {"5%0", false, false},
        {"#ff0000", false, true},
        {"#FFF", false, true},
        {"#F", false, true},
        {"#", false, false},
        {"#FF00FF00", false, false},
        {"#ggg", false, false},
        {"fff", false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IsNum(row.value), row.num) << row.value;
        EXPECT_EQ(Ishex(row.value), row.hex) << row.value;
    }
}

struct Row {
    const char* name;
    std::string input;
    std::string expected;
    bool deleteEmpty = true;
};

TEST(DelKav, DropsOnlyNeedlessQuotes)
{
    const Row rows[] = {
        {"number", "<td width=\"50\">", "<td width=50>"},
        {"percent", "<td width=\"100%\">", "<td width=100%>"},
        {"colour", "<font color=\"#ff0000\" x=\"#FFF\">", "<font color=#ff0000 x=#FFF>"},
        {"only percent", "<td a=\"%\">", "<td a=%>"},
        {"listed word keeps its case", "<p align=\"CENTER\">", "<p align=CENTER>"},
        {"unsafe values", "<td a=\"-5\" b=\"1.5\" c=\"50px\" d=\"5%0\" e=\"#FF00FF00\">",
            "<td a=\"-5\" b=\"1.5\" c=\"50px\" d=\"5%0\" e=\"#FF00FF00\">"},
        {"spaces in the value", "<img alt=\"a b\">", "<img alt=\"a b\">"},
        {"empty attribute", "<img alt=\"\" src=a.gif>", "<img  src=a.gif>"},
        {"empty attribute kept when asked", "<img alt=\"\" src=a.gif>", "<img alt=\"\" src=a.gif>", false},
        {"empty attribute after a tab stays inside its attribute", "<img\talt=\"\">", "<img\t>"},
        {"empty attribute after a line break", "<img\r\nalt=\"\">", "<img\r\n>"},
        {"empty value on a tag name", "<x=\"\">", "<x>"},
        {"empty attribute after a kept value", "<a title=\"a b\"x=\"\">", "<a title=\"a b\">"},
        {"lone quote and everything after it", "<b a=\"\" c=\"5\"><p title=\"x>50", "<b  c=5><p title=\"x>50"},
        {"unpaired after pairs", "<a b=\"1\" c=\"d>", "<a b=1 c=\"d>"},
        {"quotes in body text are text", "He said \"50\" and \"\".", "He said \"50\" and \"\"."},
        {"style sheet strings stay", "p:after{content:\"5\"}", "p:after{content:\"5\"}"},
        {"value glued to a slash keeps its quotes", "<img width=\"50\"/>", "<img width=\"50\"/>"},
        {"value glued to the next attribute", "<a b=\"5\"c=\"6\">", "<a b=\"5\"c=6>"},
        {"value at the end of the text", "x=\"5\"", "x=5"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::PassHarness h;
        h.options.setFlag(Opt::cbDelEmptyPar, row.deleteEmpty);
        h.data.alignWords = {"left", "center"};
        h.load(row.input);
        DelKav(h.page, h.context());
        EXPECT_EQ(h.shown(), row.expected);
    }
}

TEST(DelKav, EmptyAlignLineUnquotesNothing)
{
    test::PassHarness h;
    h.data.alignWords = {""};
    h.options.setFlag(Opt::cbDelEmptyPar, false);
    h.load("<img alt=\"\" src=a>");
    DelKav(h.page, h.context());
    EXPECT_EQ(h.shown(), "<img alt=\"\" src=a>");
}

} // namespace
} // namespace qm::oracle
