// The engine against its oracle on thousands of random pages, options and tag lists.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string_view>

#include "base/text_lines.h"
#include "engine/engine_data.h"
#include "engine/optimize.h"
#include "engine/page_text.h"
#include "tests/engine/pass_harness.h"
#include "tests/engine/random_pages.h"
#include "tests/oracle/pipeline.h"
#include "tests/support/temp_dir.h"

namespace qm {
namespace {

struct Outcome {
    PipelineOutcome outcome;
    std::string text;
    bool operator==(const Outcome&) const = default;
};

Outcome Engine(const test::RandomCase& c)
{
    std::string text = *WorkingTextFromBytes(c.page);
    SilentSink sink;
    PipelineOutcome outcome = OptimizeWorkingText(text, c.options, c.data, sink);
    return {outcome, text};
}

Outcome Oracle(const test::RandomCase& c)
{
    std::string text = *WorkingTextFromBytes(c.page);
    SilentSink sink;
    PipelineOutcome outcome = oracle::OptimizeWorkingText(text, c.options, c.data, sink);
    return {outcome, text};
}

bool Differs(const test::RandomCase& c) { return !(Engine(c) == Oracle(c)); }

// Shrinks a failing case while it keeps failing: shorter lists, fewer options
// (which also make each try cheaper), then smaller pages. It gives up after
// half a minute with what it has: the case stays reproducible by its seed.
test::RandomCase Minimise(test::RandomCase c)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    auto keepsFailing = [&](const test::RandomCase& candidate) {
        return std::chrono::steady_clock::now() < deadline && WorkingTextFromBytes(candidate.page).ok() &&
            Differs(candidate);
    };
    bool progress = true;
    while (progress && std::chrono::steady_clock::now() < deadline) {
        progress = false;
        auto shrinkList = [&](auto member) {
            for (std::size_t i = 0; i < (c.options.*member).size();) {
                test::RandomCase shorter = c;
                (shorter.options.*member).erase((shorter.options.*member).begin() + static_cast<std::ptrdiff_t>(i));
                if (keepsFailing(shorter)) {
                    c = std::move(shorter);
                    progress = true;
                } else {
                    ++i;
                }
            }
        };
        shrinkList(&TOptionSet::listDeleteTags);
        shrinkList(&TOptionSet::listReplaceTags);
        for (const OptionRow& row : OptionTable()) {
            if (row.kind != OptionKind::Flag || row.page == OptionPage::Files || !c.options.flag(row.id)) continue;
            test::RandomCase fewer = c;
            fewer.options.setFlag(row.id, false);
            if (keepsFailing(fewer)) {
                c = std::move(fewer);
                progress = true;
            }
        }
        for (std::size_t chunk = std::max<std::size_t>(c.page.size() / 2, 1);; chunk /= 2) {
            for (std::size_t at = 0; at + chunk <= c.page.size();) {
                test::RandomCase smaller = c;
                smaller.page.erase(at, chunk);
                if (keepsFailing(smaller)) {
                    c = std::move(smaller);
                    progress = true;
                } else {
                    at += chunk;
                }
            }
            if (chunk <= 1) break;
        }
    }
    return c;
}

// A fixed seed by default, so every run tests the same pages; QMK_DIFF_SEED
// names another, or "clock" for a new one each run.
std::uint64_t Seed()
{
    constexpr std::uint64_t kDefaultSeed = 20261208;
    const char* given = std::getenv("QMK_DIFF_SEED");
    if (!given || !*given) return kDefaultSeed;
    if (std::string_view(given) == "clock")
        return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    return std::strtoull(given, nullptr, 10);
}

int Cases()
{
    if (const char* given = std::getenv("QMK_DIFF_CASES")) return std::atoi(given);
    return 4000;
}

TEST(Differential, EngineEqualsTheOracle)
{
    const std::uint64_t seed = Seed();
    test::RandomPages random(seed);
    const int cases = Cases();
    for (int i = 0; i < cases; ++i) {
        test::RandomCase c = random.next();
        // Random odd bytes may open a page with a UTF-16 byte-order mark; such a file is no page.
        if (!WorkingTextFromBytes(c.page)) continue;
        if (!Differs(c)) continue;
        ADD_FAILURE() << "case " << i << " of seed " << seed << " differs (rerun with QMK_DIFF_SEED=" << seed
                      << "); shrinking it";
        test::RandomCase small = Minimise(c);
        Outcome engine = Engine(small), oracle = Oracle(small);
        FAIL() << "smallest case found:\n"
               << test::DescribeCase(small) << "engine: " << ::testing::PrintToString(engine.text) << "\n"
               << "oracle: " << ::testing::PrintToString(oracle.text) << "\n";
    }
}

} // namespace
} // namespace qm

namespace qm {
namespace {

// Real pages: the bundled sample site, and any folder named by QMK_CORPUS
// (for example a copy of a documentation site), under the default options.
TEST(Differential, RealPagesComeOutAsFromTheOracle)
{
    std::vector<std::filesystem::path> folders {std::filesystem::path(QMK_SOURCE_DIR) / "sample"};
    if (const char* corpus = std::getenv("QMK_CORPUS")) folders.emplace_back(corpus);
    const TOptionSet options;
    const std::filesystem::path dataFolder = std::filesystem::path(QMK_SOURCE_DIR) / "data";
    const EngineData data {
        SplitLines(test::ReadFile(dataFolder / "Align.dat")), SplitLines(test::ReadFile(dataFolder / "Ssi.dat"))};
    int pages = 0;
    for (const auto& folder : folders) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::string bytes {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            Expected<std::string> text = WorkingTextFromBytes(bytes);
            if (!text) continue;
            SilentSink sink;
            std::string engine = *text, oracle = *text;
            OptimizeWorkingText(engine, options, data, sink);
            oracle::OptimizeWorkingText(oracle, options, data, sink);
            EXPECT_EQ(engine, oracle) << entry.path();
            ++pages;
        }
    }
    EXPECT_GT(pages, 0);
}

} // namespace
} // namespace qm
