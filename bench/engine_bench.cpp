// Throughput of every pass and of the whole pipeline, on documentation-like and adversarial pages.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <malloc.h>
#include <map>
#include <new>
#include <string>

#include "base/content_hash.h"
#include "base/memory_tuning.h"
#include "bench/sample_pages.h"
#include "engine/engine_data.h"
#include "engine/optimize.h"
#include "engine/page_text.h"
#include "engine/passes/passes.h"

// Every heap block of the process is counted, so a run's peak can be read.
struct HeapCount {
    static inline std::atomic<std::size_t> now {0};
    static inline std::atomic<std::size_t> high {0};

    static std::size_t current() { return now.load(); }
    static std::size_t peak() { return high.load(); }
    static void startPeak() { high.store(now.load()); }
    static void add(std::size_t bytes)
    {
        std::size_t value = now.fetch_add(bytes) + bytes;
        std::size_t seen = high.load();
        while (value > seen && !high.compare_exchange_weak(seen, value)) { }
    }
    static void remove(std::size_t bytes) { now.fetch_sub(bytes); }
};

void* operator new(std::size_t size)
{
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    HeapCount::add(malloc_usable_size(block));
    return block;
}
// The compiler cannot see that every block came from the malloc above.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* block) noexcept
{
    if (!block) return;
    HeapCount::remove(malloc_usable_size(block));
    std::free(block);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace qm::bench {
namespace {

// The generated page as a file would hold it (LF line ends).
std::string Raw(const std::string& kind, std::size_t bytes)
{
    return kind == "realistic" ? RealisticPage(bytes) : AdversarialPage(bytes);
}

const std::string& Page(const std::string& kind, std::size_t bytes)
{
    static std::map<std::pair<std::string, std::size_t>, std::string> pages;
    auto key = std::make_pair(kind, bytes);
    auto it = pages.find(key);
    if (it == pages.end()) {
        it = pages.emplace(key, *WorkingTextFromBytes(Raw(kind, bytes))).first;
    }
    return it->second;
}

EngineData Data()
{
    EngineData data;
    data.alignWords = {"left", "center", "right", "top", "middle", "bottom"};
    data.ssiCommands = {"#include", "#echo", "#exec"};
    return data;
}

void Pipeline(benchmark::State& state, const std::string& kind)
{
    const std::string& page = Page(kind, static_cast<std::size_t>(state.range(0)));
    const TOptionSet options;
    const EngineData data = Data();
    SilentSink sink;
    for (auto _ : state) {
        std::string text = page;
        OptimizeWorkingText(text, options, data, sink);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));

    // The heap one more run of the whole page needs at its peak, as qmk runs
    // it (the page's bytes handed over), per byte of page.
    std::string bytes = Raw(kind, page.size());
    HeapCount::startPeak();
    const std::size_t before = HeapCount::current() - bytes.capacity();
    OptimizedPage optimized = OptimizePageBytes(std::move(bytes), options, data, sink);
    benchmark::DoNotOptimize(optimized.bytes.data());
    state.counters["peak_heap_per_page_byte"] =
        static_cast<double>(HeapCount::peak() - before) / static_cast<double>(page.size());
}

void RealisticPipeline(benchmark::State& state) { Pipeline(state, "realistic"); }
void AdversarialPipeline(benchmark::State& state) { Pipeline(state, "adversarial"); }
BENCHMARK(RealisticPipeline)->Arg(100'000)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(AdversarialPipeline)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// Every page a run writes is digested twice (as read and as written) for its journal record.
void PageDigest(benchmark::State& state)
{
    const std::string& page = Page("realistic", static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(ContentHash(page));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(PageDigest)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// One pass over a page that the passes before it have already been through, as in a run.
void Pass(
    benchmark::State& state, const std::function<void(passes::Page&, const passes::PassContext&)>& pass, bool afterCuts)
{
    const TOptionSet options;
    const EngineData data = Data();
    SilentSink sink;
    const passes::PassContext context {options, data, sink};
    passes::Page prepared;
    prepared.text = Page(state.range(1) ? "adversarial" : "realistic", static_cast<std::size_t>(state.range(0)));
    if (afterCuts) {
        passes::CutScripts(prepared, context);
        passes::CutServerCode(prepared, context, "<?", "?>");
        passes::CutServerCode(prepared, context, "<%", "%>");
        passes::CutCfTags(prepared, context);
    }
    const std::size_t bytes = prepared.text.size();
    for (auto _ : state) {
        state.PauseTiming();
        passes::Page page = prepared;
        state.ResumeTiming();
        pass(page, context);
        benchmark::DoNotOptimize(page.text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

using Ctx = const passes::PassContext&;
#define QMK_PASS(name, afterCuts, ...)                                                                                 \
    void name(benchmark::State& state)                                                                                 \
    {                                                                                                                  \
        Pass(                                                                                                          \
            state,                                                                                                     \
            [](passes::Page& page, Ctx c) {                                                                            \
                (void)c;                                                                                               \
                __VA_ARGS__;                                                                                           \
            },                                                                                                         \
            afterCuts);                                                                                                \
    }                                                                                                                  \
    BENCHMARK(name)->Args({1'000'000, 0})->Args({1'000'000, 1})->Unit(benchmark::kMillisecond)

QMK_PASS(CutScripts, false, passes::CutScripts(page, c));
QMK_PASS(CutServerCode, true, passes::CutServerCode(page, c, "<?", "?>"));
QMK_PASS(CutCfTags, true, passes::CutCfTags(page, c));
QMK_PASS(DelComments, true, passes::DelComments(page, c));
QMK_PASS(DelTagSpaces, true, passes::DelTagSpaces(page));
QMK_PASS(DelKav, true, passes::DelKav(page, c));
QMK_PASS(TreatTagAllDefaultEntries, true, {
    for (const auto& entry : c.options.listDeleteTags)
        if (entry.Active) passes::TreatTag(page, entry.Tag, "");
    for (const auto& entry : c.options.listReplaceTags) {
        passes::TreatTag(page, entry.FromTag, entry.ToTag);
        passes::TreatTag(page, "/" + entry.FromTag, "/" + entry.ToTag);
    }
});
QMK_PASS(ReplaceDoubleNbsp, true, passes::ReplaceDoubleNbsp(page, c));
QMK_PASS(DelAllTabs, true, passes::DelAllTabs(page));
QMK_PASS(DelTabLine, true, passes::DelTabLine(page));
QMK_PASS(ReplaceDoubleSpaces, true, passes::ReplaceDoubleSpaces(page, c));
QMK_PASS(DelBegEndSpace, true, passes::DelBegEndSpace(page));
QMK_PASS(DelEmptyLine, true, passes::DelEmptyLine(page));
QMK_PASS(DelSpaceBetweenTags, true, passes::DelSpaceBetweenTags(page));
QMK_PASS(PasteScripts, true, passes::PasteScripts(page));

} // namespace
} // namespace qm::bench

int main(int argc, char** argv)
{
    qm::KeepFreedPageBuffers(); // as qmk and the desktop program do
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
