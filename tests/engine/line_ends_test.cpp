// cbKeepLineEnds: a page keeps its first line end, and cut fragments keep their own line ends byte for byte.
#include <gtest/gtest.h>

#include "engine/optimize.h"
#include "engine/page_text.h"
#include "tests/engine/pass_harness.h"
#include "tests/engine/random_pages.h"

namespace qm {
namespace {

OptimizedPage Optimize(const std::string& page, bool keepLineEnds)
{
    TOptionSet options;
    options.setFlag(Opt::cbKeepLineEnds, keepLineEnds);
    EngineData data;
    data.ssiCommands = {"#include"};
    test::RecordingSink sink;
    return OptimizePageBytes(page, options, data, sink);
}

TEST(LineEnds, FragmentsKeepTheirOwnLineEnds)
{
    struct Row {
        const char* name;
        std::string page;
        std::string kept; // cbKeepLineEnds on
        std::string crlf; // cbKeepLineEnds off
    };
    const Row rows[] = {
        // Server code: a heredoc's CR LF inside an LF page.
        {"PHP heredoc in an LF page", "<p>a</p>\n<?php $s = <<<T\r\na\r\nb\r\nT;\n?>\n",
            "<p>a</p>\n<?php $s = <<<T\r\na\r\nb\r\nT;\n?>\n", "<p>a</p>\r\n<?php $s = <<<T\r\na\r\nb\r\nT;\r\n?>\r\n"},
        {"ASP block with lone CRs in a CR LF page", "<p>a</p>\r\n<% x\ry\r %>\r\n", "<p>a</p>\r\n<% x\ry\r %>\r\n",
            "<p>a</p>\r\n<% x\r\ny\r\n %>\r\n"},
        {"script with LF in a CR page", "<p>a</p>\r<script>\nvar a;\n</script>\r",
            "<p>a</p>\r<script>\nvar a;\n</script>\r", "<p>a</p>\r\n<script>\r\nvar a;\r\n</script>\r\n"},
        {"ColdFusion tag over two lines", "<p>a</p>\n<cfset x = \"a\r\nb\">\n", "<p>a</p>\n<cfset x = \"a\r\nb\">\n",
            "<p>a</p>\r\n<cfset x = \"a\r\nb\">\r\n"},
        // The text around fragments takes the first line end, as before.
        {"mixed text outside fragments", "<p>a</p>\n<p>b</p>\r\n<p>c</p>\r", "<p>a</p>\n<p>b</p>\n<p>c</p>\n",
            "<p>a</p>\r\n<p>b</p>\r\n<p>c</p>\r\n"},
        {"no final line break", "<p>a</p>\n<p>b</p>", "<p>a</p>\n<p>b</p>\n", "<p>a</p>\r\n<p>b</p>\r\n"},
        {"a block never closed is no fragment", "<p>a</p>\n<?php x\r\ny", "<p>a</p>\n<?php x\ny\n",
            "<p>a</p>\r\n<?php x\r\ny\r\n"},
        {"a fragment at the very end", "<p>a</p>\n<?php x\r\n?>", "<p>a</p>\n<?php x\r\n?>\n",
            "<p>a</p>\r\n<?php x\r\n?>\r\n"},
        {"text kept as written takes the page's line end, as before", "<p>x</p>\n<pre>a\r\nb</pre>\n",
            "<p>x</p>\n<pre>a\nb</pre>\n", "<p>x</p>\r\n<pre>a\r\nb</pre>\r\n"},
        {"no line end at all", "<p>a</p>", "<p>a</p>\n", "<p>a</p>\r\n"},
        {"empty page", "", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OptimizedPage kept = Optimize(row.page, true);
        ASSERT_EQ(kept.outcome, PipelineOutcome::Completed);
        EXPECT_EQ(kept.bytes, row.kept);
        OptimizedPage crlf = Optimize(row.page, false);
        ASSERT_EQ(crlf.outcome, PipelineOutcome::Completed);
        EXPECT_EQ(crlf.bytes, row.crlf);
    }
}

TEST(LineEnds, PagesRefusedAsBeforeWhenKeepingLineEnds)
{
    EXPECT_NE(Optimize(std::string("<p>\0</p>\n", 9), true).problem.find("NUL"), std::string::npos);
    EXPECT_NE(Optimize("\xFF\xFE<\0p\0", true).problem.find("UTF-16"), std::string::npos);
}

// With one kind of line end in a page, keeping line ends is the working text's result written with that line end:
// the passes see the same text either way.
TEST(LineEnds, UniformPagesComeOutAsFromTheWorkingText)
{
    test::RandomPages random(20261101);
    for (int i = 0; i < 1500; ++i) {
        test::RandomCase c = random.next();
        const std::string_view lineEnd = LineEndText(static_cast<LineEnd>(i % 3));
        std::string page = c.page;
        if (!CheckSingleBytePage(page)) continue;
        ConvertLineEnds(page, lineEnd);
        c.options.setFlag(Opt::cbKeepLineEnds, true);
        test::RecordingSink sink;
        OptimizedPage kept = OptimizePageBytes(page, c.options, c.data, sink);
        Expected<std::string> working = WorkingTextFromBytes(page);
        ASSERT_TRUE(working);
        test::RecordingSink workingSink;
        const PipelineOutcome outcome = OptimizeWorkingText(*working, c.options, c.data, workingSink);
        ASSERT_EQ(kept.outcome, outcome) << test::DescribeCase(c);
        if (outcome != PipelineOutcome::Completed) continue;
        const LineEnd first = DetectLineEnd(page, PlatformLineEnd());
        ASSERT_EQ(kept.bytes, TextForWriting(*working, LineEndText(first))) << test::DescribeCase(c);
    }
}

} // namespace
} // namespace qm
