// The whole pipeline over working texts: order, gating, interrupts, and fragments across passes.
#include <gtest/gtest.h>

#include "engine/optimize.h"
#include "tests/engine/pass_harness.h"
#include "tests/oracle/pipeline.h"

namespace qm {
namespace {

struct PipelineRun {
    TOptionSet options;
    EngineData data;
    test::RecordingSink sink;
    PipelineOutcome outcome = PipelineOutcome::Failed;

    std::string operator()(std::string text, const InterruptCheck& check = {})
    {
        outcome = OptimizeWorkingText(text, options, data, sink, check);
        return text;
    }
};

TOptionSet EverythingOff()
{
    TOptionSet options;
    for (const OptionRow& row : OptionTable())
        if (row.kind == OptionKind::Flag && row.store != OptionStore::ProgramOptions) options.setFlag(row.id, false);
    for (auto& entry : options.listReplaceTags) entry.Active = false;
    for (auto& entry : options.listDeleteTags) entry.Active = false;
    return options;
}

TEST(Pipeline, DefaultOptionsOnAPage)
{
    PipelineRun run;
    run.data.alignWords = {"center"};
    const std::string page = "<!DOCTYPE html>\r\n"
                             "<html>\r\n"
                             "<head>\r\n"
                             "\t<meta name=\"generator\" content=\"x\">\r\n"
                             "\t<style type=\"text/css\"><!-- p { color: red } --></style>\r\n"
                             "\t<script>if (a  <  b) { s = \"  \"; }</script>\r\n"
                             "</head>\r\n"
                             "<body>\r\n"
                             "   <!-- navigation -->\r\n"
                             "   <p align=\"center\" width = \"50\"   class=\"a  b\">Hello   "
                             "<strong>world</strong>&nbsp;&nbsp;&nbsp;</p>\r\n"
                             "\r\n"
                             "   \t  \r\n"
                             "   <p> <em>x</em> </p>\r\n"
                             "</body>\r\n"
                             "</html>\r\n";
    const std::string expected = "<!DOCTYPE html>\r\n"
                                 "<html>\r\n"
                                 "<head>\r\n"
                                 "<style type=\"text/css\"><!-- p { color: red } --></style>\r\n"
                                 "<script>if (a  <  b) { s = \"  \"; }</script>\r\n"
                                 "</head>\r\n"
                                 "<body>\r\n"
                                 "<p align=center width=50 class=\"a  b\">Hello <b>world</b>&nbsp; &nbsp;</p>\r\n"
                                 "<p><i>x</i></p>\r\n"
                                 "</body>\r\n"
                                 "</html>\r\n";
    EXPECT_EQ(run(page), expected);
    EXPECT_EQ(run.outcome, PipelineOutcome::Completed);
    EXPECT_TRUE(run.sink.messages.empty());
}

// Pages as a browser shows them: under the default options each comes out
// showing the same, through the shipped passes and the oracle alike.
TEST(Pipeline, TheDefaultsKeepWhatThePageShows)
{
    struct Row {
        const char* name;
        std::string input;
        std::string expected;
    } rows[] = {
        // words that start no protected fragment
        {"cf of a word", "<p>Run <kbd>x</kbd> with the cfg file.</p>\r\n",
            "<p>Run <tt>x</tt> with the cfg file.</p>\r\n"},
        {"script of a word", "<p>A <em>shell</em> script runs it.</p>\r\n",
            "<p>A <i>shell</i> script runs it.</p>\r\n"},
        // spaces between inline tags show
        {"two inline words", "<b>Hello</b> <i>world</i>\r\n", "<b>Hello</b> <i>world</i>\r\n"},
        {"spans", "<span>import</span> <span>sys</span>\r\n", "<span>import</span> <span>sys</span>\r\n"},
        {"blocks join", "<ul> <li>a</li> <li>b</li> </ul>\r\n", "<ul><li>a</li><li>b</li></ul>\r\n"},
        // body text is not rewritten
        {"equal sign", "<p>2.8 = SunOS</p>\r\n", "<p>2.8 = SunOS</p>\r\n"},
        {"comparison", "<p>version >= 1.3.1 and 5 > 3</p>\r\n", "<p>version >= 1.3.1 and 5 > 3</p>\r\n"},
        {"quoted number", "<p>Set width=\"50\" here</p>\r\n", "<p>Set width=\"50\" here</p>\r\n"},
        // preformatted text comes back as written
        {"pre", "<pre>\r\n    if (a  ==  b)\r\n\r\n\treturn;   \r\n</pre>\r\n",
            "<pre>\r\n    if (a  ==  b)\r\n\r\n\treturn;   \r\n</pre>\r\n"},
        {"textarea", "<textarea>  a\t b  </textarea>\r\n", "<textarea>  a\t b  </textarea>\r\n"},
        {"comment in the title", "<title>A <!-- B --> C</title>\r\n", "<title>A <!-- B --> C</title>\r\n"},
        // tabs between words
        {"tab between words", "<p>void\tinit</p>\r\n", "<p>void init</p>\r\n"},
        {"tab in a tag", "<td\tclass=\"x\">y</td>\r\n", "<td class=\"x\">y</td>\r\n"},
        // empty attributes that mean something
        {"empty href", "<a href=\"\">top</a>\r\n", "<a href=\"\">top</a>\r\n"},
        {"empty value and checked", "<input value=\"\" checked=\"\" class=\"\">\r\n",
            "<input value=\"\" checked=\"\" >\r\n"},
        // default entries that would change the page are inactive
        {"document type", "<!DOCTYPE html>\r\n<p>x</p>\r\n", "<!DOCTYPE html>\r\n<p>x</p>\r\n"},
        {"address and blockquote", "<address>a</address><blockquote>b</blockquote>\r\n",
            "<address>a</address><blockquote>b</blockquote>\r\n"},
        {"raw text elements", "<xmp><b></xmp><listing>x</listing>\r\n", "<xmp><b></xmp><listing>x</listing>\r\n"},
        {"the other entries apply", "<strong>a</strong><code>b</code>\r\n", "<b>a</b><tt>b</tt>\r\n"},
        {"not to elements the page's style sheet styles",
            "<style>em { color: navy } .strong, #code, a:em, p { width: 1em; x: var(--b) }</style>"
            "<em>a</em><strong>b</strong><code>c</code><b>d</b>\r\n",
            "<style>em { color: navy } .strong, #code, a:em, p { width: 1em; x: var(--b) }</style>"
            "<em>a</em><b>b</b><tt>c</tt><b>d</b>\r\n"},
        {"nor by the name it would take", "<style>TT { font-size: 90% }</style><code>c</code>\r\n",
            "<style>TT { font-size: 90% }</style><code>c</code>\r\n"},
    };
    const TOptionSet options;
    const EngineData data {{"center"}, {}};
    for (const Row& row : rows) {
        for (bool oracle : {false, true}) {
            SCOPED_TRACE(std::string("row \"") + row.name + "\" on the " + (oracle ? "oracle" : "shipped passes"));
            std::string text = row.input;
            SilentSink sink;
            PipelineOutcome outcome = oracle ? oracle::OptimizeWorkingText(text, options, data, sink)
                                             : OptimizeWorkingText(text, options, data, sink);
            EXPECT_EQ(outcome, PipelineOutcome::Completed);
            EXPECT_EQ(text, row.expected);
        }
    }
}

TEST(Pipeline, KeepPreOffReflowsPreformattedText)
{
    PipelineRun run;
    run.options.setFlag(Opt::cbKeepPre, false);
    EXPECT_EQ(run("<pre>\r\n  a  b\r\n\r\n</pre>\r\n"), "<pre>\r\na b\r\n</pre>\r\n");
}

TEST(Pipeline, AlwaysRunPassesWithEverythingOff)
{
    PipelineRun run;
    run.options = EverythingOff();
    EXPECT_EQ(run("<p >  <b> x = y </b>\r\n\t\r\n"), "<p>  <b> x = y </b>\r\n\t\r\n");
}

TEST(Pipeline, RemovalEntriesAndTheirUnquotedForm)
{
    struct Row {
        const char* name;
        std::string entry;
        std::string input;
        std::string expected;
    } rows[] = {
        {"quoted entry also removes the unquoted form", "name=\"generator\"", "<meta name=generator>x\r\n", "x\r\n"},
        {"upper case prefix is applied once", "NAME=\"generator\"", "<meta name=generator>x\r\n",
            "<meta name=generator>x\r\n"},
        {"upper case prefix still removes the quoted form", "NAME=\"generator\"", "<meta name=\"generator\">x\r\n",
            "x\r\n"},
    };
    for (const Row& row : rows) {
        PipelineRun run;
        run.options = EverythingOff();
        run.options.listDeleteTags = {{true, row.entry}};
        EXPECT_EQ(run(row.input), row.expected) << row.name;
    }
}

TEST(Pipeline, ClosingTagsFollowTheirOption)
{
    for (bool closing : {true, false}) {
        PipelineRun run;
        run.options = EverythingOff();
        run.options.listReplaceTags = {{true, "strong", "b"}};
        run.options.setFlag(Opt::cbClosedTagsAlso, closing);
        EXPECT_EQ(run("<strong>x</strong>\r\n"), closing ? "<b>x</b>\r\n" : "<b>x</strong>\r\n");
    }
}

TEST(Pipeline, GluingSkipsTheEmptyLinePass)
{
    PipelineRun run;
    run.options = EverythingOff();
    run.options.setFlag(Opt::cbDelCRLF, true);
    run.options.setFlag(Opt::cbDelEmptyLine, true);
    EXPECT_EQ(run("a\r\n\r\nb\r\n"), "a b");
    run.options.setFlag(Opt::cbDelBegEndSpace, true);
    EXPECT_EQ(run("a\r\n\r\nb\r\n"), "a b\r\n");
}

TEST(Pipeline, InterruptChecksAndOptionsReadWhenReached)
{
    PipelineRun run;
    int checks = 0;
    run("<p>\t</p>\r\n", [&] {
        ++checks;
        return false;
    });
    EXPECT_EQ(checks, 4);

    for (int stopAt = 1; stopAt <= 4; ++stopAt) {
        int seen = 0;
        run("<p>x</p>\r\n", [&] { return ++seen == stopAt; });
        EXPECT_EQ(run.outcome, PipelineOutcome::Interrupted) << stopAt;
        EXPECT_EQ(seen, stopAt);
    }

    // An option switched off while the run waits at a check no longer applies.
    EXPECT_EQ(run("a\tb\r\n",
                  [&] {
                      run.options.setFlag(Opt::cbDelAllTabs, false);
                      return false;
                  }),
        "a\tb\r\n");
}

TEST(Pipeline, FragmentsSurviveOtherPasses)
{
    PipelineRun run;
    // The comment's "<?" block goes with the comment; the next block still comes back in its own place.
    EXPECT_EQ(run("<!-- <?a?> --><?b?>\r\n"), "<?b?>\r\n");
    // A script inside a removed tag goes with the tag.
    run.options.listDeleteTags = {{true, "x"}};
    EXPECT_EQ(run("<x <script>s</script>>t<script>u</script>\r\n"), "t<script>u</script>\r\n");
    // Scripts keep their tabs, spaces and quotes byte for byte.
    run.options = TOptionSet {};
    EXPECT_EQ(run("<script>\r\n\tvar a  =  \"50\";\r\n\r\n</script>\r\n"),
        "<script>\r\n\tvar a  =  \"50\";\r\n\r\n</script>\r\n");
}

} // namespace
} // namespace qm
