// Tag removal and replacement, each row through the shipped passes and the oracle.
#include <gtest/gtest.h>

#include "tests/engine/pass_harness.h"

namespace qm {
namespace {

struct Row {
    const char* name;
    std::string input;
    std::string tag;
    std::string replacement; // empty: removal
    std::string expected;
};

TEST(TreatTag, RemovesAndReplacesInsideTagsOnly)
{
    const Row rows[] = {
        // removal
        {"doctype with quoted identifiers",
            "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\r\n<html>",
            "!doctype", "", "\r\n<html>"},
        {"closing p only", "<p>a</p><P>b</P>", "/P", "", "<p>a<P>b"},
        {"attribute entry takes the whole tag", "x<meta name=\"generator\" content=\"x\">y", "name=\"generator\"", "",
            "xy"},
        {"unquoted attribute entry", "<meta name=generator content=x>", "name=generator", "", ""},
        {"quoted > does not end the tag", "<meta name=\"generator\" content=\"a>b\">x", "name=\"generator\"", "", "x"},
        {"longer name untouched", "<basefont size=3>", "font", "", "<basefont size=3>"},
        {"quoted occurrence keeps its case", "<p title=\"<FONT>\">", "font", "", "<p title=\"<FONT>\">"},
        {"word of body text", "<p>a font b</p>", "font", "", "<p>a font b</p>"},
        {"no closing bracket", "x <font y", "font", "", "x <font y"},
        {"no opening bracket", " font x>", "font", "", " font x>"},
        {"empty tag text", "<p>", "", "", "<p>"},
        // replacement
        {"name in any case", "<STRONG class=x>t</strong>", "strong", "b", "<b class=x>t</strong>"},
        {"closing tags by their own call", "<b class=x>t</strong>", "/strong", "/b", "<b class=x>t</b>"},
        {"longer name", "<strongest>", "strong", "b", "<strongest>"},
        {"tab or line feed after the name", "<strong\tx><strong\nx>", "strong", "b", "<strong\tx><strong\nx>"},
        {"CR after the name", "<strong\r\nx>", "strong", "b", "<b\r\nx>"},
        {"body text", "<p>strong coffee</p>", "strong", "b", "<p>strong coffee</p>"},
        {"style sheet selector", "<style>\r\nstrong {x}</style>", "strong", "b", "<style>\r\nstrong {x}</style>"},
        {"pair equal to itself ends", "<a href=x>y</a>", "a", "a", "<a href=x>y</a>"},
        {"result holding the tag text", "<b>x</b>", "b", "b b", "<b b>x</b>"},
        {"upper case kept when not accepted", "<P>STRONG</P><strong>", "strong", "b", "<P>STRONG</P><b>"},
    };
    for (const Row& row : rows) {
        test::ForBothEngines(row.name, [&](test::PassHarness& h) {
            h.load(row.input);
            h.treatTag(row.tag, row.replacement);
            EXPECT_EQ(h.shown(), row.expected);
            EXPECT_TRUE(h.mirrorInStep());
        });
    }
}

} // namespace
} // namespace qm
