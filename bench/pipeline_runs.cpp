// Runs the whole pipeline a fixed number of times on one generated page, for instruction counts
// (perf stat, callgrind) that stay comparable while the machine is busy.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/sample_pages.h"
#include "engine/memory_tuning.h"
#include "engine/optimize.h"
#include "engine/page_text.h"

int main(int argc, char** argv)
{
    qm::KeepFreedPageBuffers();
    const std::string kind = argc > 1 ? argv[1] : "realistic";
    const std::size_t bytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1'000'000;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 10;
    const std::string page = *qm::WorkingTextFromBytes(kind == "adversarial" ? qm::bench::AdversarialPage(bytes)
                                                                            : qm::bench::RealisticPage(bytes))
                                  .text;
    const qm::TOptionSet options;
    qm::EngineData data;
    data.alignWords = {"left", "center", "right", "top", "middle", "bottom"};
    data.ssiCommands = {"#include", "#echo", "#exec"};
    qm::SilentSink sink;
    std::size_t total = 0;
    for (int i = 0; i < runs; ++i) {
        std::string text = page;
        qm::OptimizeWorkingText(text, options, data, sink);
        total += text.size();
    }
    std::printf("%zu bytes in, %zu bytes out per run\n", page.size(), total / static_cast<std::size_t>(runs));
    return 0;
}
