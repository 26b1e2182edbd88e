// Runs the whole pipeline a fixed number of times on one generated page, or on every page of a
// folder, for instruction counts (perf stat, callgrind) that stay comparable while the machine is busy.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/memory_tuning.h"
#include "bench/sample_pages.h"
#include "engine/optimize.h"
#include "engine/page_text.h"

namespace {

// The generated page of that kind and size, or the pages of a folder (its *.html files).
std::vector<std::string> Pages(const std::string& kind, std::size_t bytes)
{
    std::vector<std::string> pages;
    if (std::filesystem::is_directory(kind)) {
        std::vector<std::filesystem::path> paths;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(kind))
            if (entry.is_regular_file() && entry.path().extension() == ".html") paths.push_back(entry.path());
        std::sort(paths.begin(), paths.end());
        for (const auto& path : paths) {
            std::ifstream in(path, std::ios::binary);
            std::string raw {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            if (qm::Expected<std::string> text = qm::WorkingTextFromBytes(raw)) pages.push_back(std::move(*text));
        }
        return pages;
    }
    pages.push_back(*qm::WorkingTextFromBytes(
        kind == "adversarial" ? qm::bench::AdversarialPage(bytes) : qm::bench::RealisticPage(bytes)));
    return pages;
}

} // namespace

int main(int argc, char** argv)
{
    qm::KeepFreedPageBuffers();
    const std::string kind = argc > 1 ? argv[1] : "realistic";
    const std::size_t bytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1'000'000;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 10;
    const std::vector<std::string> pages = Pages(kind, bytes);
    std::size_t total = 0;
    for (const std::string& page : pages) total += page.size();
    const qm::TOptionSet options;
    qm::EngineData data;
    data.alignWords = {"left", "center", "right", "top", "middle", "bottom"};
    data.ssiCommands = {"#include", "#echo", "#exec"};
    qm::SilentSink sink;
    std::size_t out = 0;
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        for (const std::string& page : pages) {
            std::string text = page;
            qm::OptimizeWorkingText(text, options, data, sink);
            out += text.size();
        }
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    const double median = seconds[seconds.size() / 2];
    std::printf("%zu pages, %zu bytes in, %zu bytes out per run; median %.2f ms, %.1f MB/s\n", pages.size(), total,
        out / static_cast<std::size_t>(runs), median * 1e3, static_cast<double>(total) / median / 1e6);
    return 0;
}
