// The engine ahead of the run on worker threads: the same pages as on one thread, even when a page changes underway.
#include "batch/run/page_optimizer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/support/model_bench.h"

namespace qm {
namespace {

using test::Bench;

TEST(PageOptimizer, WorkersGiveWhatTheCallingThreadWould)
{
    Bench bench;
    std::vector<std::string> sources;
    for (int i = 0; i < 30; ++i) {
        const std::string name = "p" + std::to_string(i) + ".html";
        bench.write(name, "<p  id=\"" + std::to_string(i) + "\" >  x  </p>\n");
        sources.push_back(bench.path(name));
    }
    TOptionSet options;
    EngineData data;
    for (unsigned jobs : {1u, 2u, 5u}) {
        SCOPED_TRACE("jobs " + std::to_string(jobs));
        ParallelPageOptimizer parallel(bench.fs, jobs);
        parallel.prepare(sources, options, data);
        for (std::size_t i = 0; i < sources.size(); ++i) {
            // A page rewritten before the run reaches it must be optimized from its new bytes: rewritten in place
            // (another size), or replaced by another file of the same size, as the run's own writes replace pages.
            if (i == 20) bench.write("p20.html", "<b >changed</b>\n");
            if (i == 25) {
                bench.write("new25", "<i  id=\"25\" >  y  </i>\n");
                std::filesystem::rename(bench.path("new25"), bench.path("p25.html"));
            }
            const std::string bytes = bench.read(NamePart(sources[i]));
            Expected<FileIdentity> current = bench.fs.identify(sources[i]);
            ASSERT_TRUE(current);
            PreparedPage got = parallel.page(sources[i], &*current, options, data, {});
            SilentSink sink;
            OptimizedPage expected = OptimizePageBytes(bytes, options, data, sink);
            ASSERT_TRUE(got.read);
            EXPECT_EQ(got.optimized.bytes, expected.bytes) << sources[i];
            EXPECT_EQ(got.optimized.outcome, expected.outcome);
            EXPECT_EQ(got.original, ContentStamp::Of(bytes));
            EXPECT_EQ(got.written, ContentStamp::Of(expected.bytes));
            EXPECT_TRUE(got.identity.sameState(*current));
        }
        parallel.finish();
        EXPECT_EQ(parallel.pagesFromWorkers() + parallel.pagesRedone(), sources.size());
        bench.write("p20.html", "<p  id=\"20\" >  x  </p>\n");
        bench.write("p25.html", "<p  id=\"25\" >  x  </p>\n");
    }
}

TEST(PageOptimizer, SkippedPagesDoNotStallTheWorkers)
{
    Bench bench;
    std::vector<std::string> sources;
    for (int i = 0; i < 50; ++i) {
        bench.write("p" + std::to_string(i) + ".html", "<p >x</p>\n");
        sources.push_back(bench.path("p" + std::to_string(i) + ".html"));
    }
    TOptionSet options;
    EngineData data;
    ParallelPageOptimizer parallel(bench.fs, 2);
    parallel.prepare(sources, options, data);
    // The run passes over most pages (unchecked, missing ...) and asks only for the last one.
    for (std::size_t i = 0; i + 1 < sources.size(); ++i) parallel.reached(sources[i]);
    Expected<FileIdentity> current = bench.fs.identify(sources.back());
    PreparedPage last = parallel.page(sources.back(), current ? &*current : nullptr, options, data, {});
    EXPECT_EQ(last.optimized.bytes, "<p>x</p>\n");
    parallel.finish();
}

// A wide window must not let the workers fill the memory while the run waits (for a question, a slow disk):
// beyond the limit they stop, and pages passed over give their room back.
TEST(PageOptimizer, WorkersHoldNoMoreThanTheLimitAhead)
{
    Bench bench;
    std::vector<std::string> sources;
    const std::string text = "<p >" + std::string(1000, 'x') + "</p>\n";
    for (int i = 0; i < 40; ++i) {
        bench.write("p" + std::to_string(i) + ".html", text);
        sources.push_back(bench.path("p" + std::to_string(i) + ".html"));
    }
    TOptionSet options;
    EngineData data;
    const unsigned jobs = 2;
    ParallelPageOptimizer parallel(bench.fs, jobs, 3000);
    parallel.prepare(sources, options, data);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_LE(parallel.heldBytes(), 3000 + jobs * text.size());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (i % 3 == 1) continue; // passed over
        Expected<FileIdentity> current = bench.fs.identify(sources[i]);
        PreparedPage page = parallel.page(sources[i], current ? &*current : nullptr, options, data, {});
        EXPECT_EQ(page.optimized.bytes, "<p>" + std::string(1000, 'x') + "</p>\n");
        EXPECT_LE(parallel.heldBytes(), 3000 + jobs * text.size());
    }
    parallel.finish();
    EXPECT_GT(parallel.pagesFromWorkers(), 0u);
}

} // namespace
} // namespace qm
