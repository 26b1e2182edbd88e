// Quotes around numbers, colours and listed words go; empty attributes may go.
#include <gtest/gtest.h>

#include "engine/attribute_values.h"
#include "tests/engine/pass_harness.h"

namespace qm {
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
        {"empty attribute", "<p class=\"\" id=a>", "<p  id=a>"},
        {"empty attribute kept when asked", "<p class=\"\" id=a>", "<p class=\"\" id=a>", false},
        {"empty attribute after a tab stays inside its attribute", "<p\tclass=\"\">", "<p\t>"},
        {"empty attribute after a line break", "<p\r\nid=\"\">", "<p\r\n>"},
        {"empty value on a tag name", "<x=\"\">", "<x=\"\">"},
        {"empty attribute after a kept value", "<a title=\"a b\"class=\"\">", "<a title=\"a b\">"},
        {"lone quote and everything after it", "<b id=\"\" c=\"5\"><p title=\"x>50", "<b  c=5><p title=\"x>50"},
        // Only attributes whose empty value means nothing go.
        {"empty attributes that mean nothing, any case", "<p STYLE=\"\" title=\"\" lang=\"\" dir=\"\" onClick=\"\">",
            "<p     >"},
        {"empty attributes that mean something",
            "<a href=\"\">top</a><input value=\"\" checked=\"\" disabled=\"\">"
            "<option selected=\"\">",
            "<a href=\"\">top</a><input value=\"\" checked=\"\" disabled=\"\"><option selected=\"\">"},
        {"an image's empty alt", "<img alt=\"\" src=a.gif>", "<img alt=\"\" src=a.gif>"},
        // Only values inside a tag lose their quotes.
        {"attribute-like body text", "<p>Set width=\"50\" here</p>", "<p>Set width=\"50\" here</p>"},
        {"empty attribute-like body text", "<p>class=\"\" x</p>", "<p>class=\"\" x</p>"},
        {"a less-than that opens no tag", "a < b width=\"50\">", "a < b width=\"50\">"},
        {"value after a quoted greater-than", "<a title=\"x>y\" width=\"50\">", "<a title=\"x>y\" width=50>"},
        {"unpaired quote: the tag never ends", "<a b=\"1\" c=\"d>", "<a b=\"1\" c=\"d>"},
        {"unpaired after a closed tag", "<a b=\"1\">c=\"d", "<a b=1>c=\"d"},
        {"quotes in body text are text", "He said \"50\" and \"\".", "He said \"50\" and \"\"."},
        {"style sheet strings stay", "p:after{content:\"5\"}", "p:after{content:\"5\"}"},
        {"value glued to a slash keeps its quotes", "<img width=\"50\"/>", "<img width=\"50\"/>"},
        {"value glued to the next attribute", "<a b=\"5\"c=\"6\">", "<a b=\"5\"c=6>"},
        {"value at the end of the text", "x=\"5\"", "x=\"5\""},
    };
    for (const Row& row : rows) {
        test::ForBothEngines(row.name, [&](test::PassHarness& h) {
            h.options.setFlag(Opt::cbDelEmptyPar, row.deleteEmpty);
            h.data.alignWords = {"left", "center"};
            h.load(row.input);
            h.delKav();
            EXPECT_EQ(h.shown(), row.expected);
        });
    }
}

TEST(DelKav, EmptyAlignLineUnquotesNothing)
{
    test::ForBothEngines("empty Align.dat line", [](test::PassHarness& h) {
        h.data.alignWords = {""};
        h.options.setFlag(Opt::cbDelEmptyPar, false);
        h.load("<img alt=\"\" src=a>");
        h.delKav();
        EXPECT_EQ(h.shown(), "<img alt=\"\" src=a>");
    });
}

} // namespace
} // namespace qm
