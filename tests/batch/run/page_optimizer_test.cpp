// The engine ahead of the run on worker threads: the same pages as on one thread, even when a page changes underway.
#include "batch/run/page_optimizer.h"

#include <gtest/gtest.h>

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
            // A page the run itself rewrote before reaching it must be optimized from its new bytes.
            if (i == 20) bench.write("p20.html", "<b >changed</b>\n");
            const std::string bytes = bench.read(NamePart(sources[i]));
            SilentSink sink;
            OptimizedPage got = parallel.optimize(sources[i], bytes, options, data, sink, {});
            OptimizedPage expected = OptimizePageBytes(bytes, options, data, sink);
            EXPECT_EQ(got.bytes, expected.bytes) << sources[i];
            EXPECT_EQ(got.outcome, expected.outcome);
        }
        parallel.finish();
        EXPECT_EQ(parallel.pagesFromWorkers() + parallel.pagesRedone(), sources.size());
        bench.write("p20.html", "<p  id=\"20\" >  x  </p>\n");
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
    SilentSink sink;
    OptimizedPage last = parallel.optimize(sources.back(), "<p >x</p>\n", options, data, sink, {});
    EXPECT_EQ(last.bytes, "<p>x</p>\n");
    parallel.finish();
}

} // namespace
} // namespace qm
