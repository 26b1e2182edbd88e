// Runs the whole pipeline a fixed number of times on one generated page, for instruction counts
// (perf stat, callgrind) that stay comparable while the machine is busy.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/memory_tuning.h"
#include "bench/sample_pages.h"
#include "engine/optimize.h"
#include "engine/page_text.h"

int main(int argc, char** argv)
{
    qm::KeepFreedPageBuffers();
    const std::string kind = argc > 1 ? argv[1] : "realistic";
    const std::size_t bytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1'000'000;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 10;
    const std::string page = *qm::WorkingTextFromBytes(
        kind == "adversarial" ? qm::bench::AdversarialPage(bytes) : qm::bench::RealisticPage(bytes));
    const qm::TOptionSet options;
    qm::EngineData data;
    data.alignWords = {"left", "center", "right", "top", "middle", "bottom"};
    data.ssiCommands = {"#include", "#echo", "#exec"};
    qm::SilentSink sink;
    std::size_t total = 0;
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i) {
        std::string text = page;
        auto start = std::chrono::steady_clock::now();
        qm::OptimizeWorkingText(text, options, data, sink);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        total += text.size();
    }
    std::sort(seconds.begin(), seconds.end());
    const double median = seconds[seconds.size() / 2];
    std::printf("%zu bytes in, %zu bytes out per run; median %.2f ms, %.1f MB/s\n", page.size(),
        total / static_cast<std::size_t>(runs), median * 1e3, static_cast<double>(page.size()) / median / 1e6);
    return 0;
}
