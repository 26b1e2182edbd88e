// libFuzzer target: the engine over any bytes, under an option set taken from the first bytes;
// small inputs are also run through the oracle and must come out the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/optimize.h"
#include "engine/page_text.h"
#include "tests/oracle/pipeline.h"

namespace {

const char* const kTagTexts[] = {"strong", "em", "p", "/p", "b", "!doctype", "name=\"generator\"", "a b", "\"x", "<",
    "cf", "script", "x", "font", "/td", "=", "\\", "-", ">"};
const char* const kReplacements[] = {"b", "i", "b b", "", "strong", "\"", "<p", "x"};

qm::TOptionSet OptionsFrom(std::string_view& input)
{
    qm::TOptionSet options;
    std::uint32_t bits = 0;
    for (int k = 0; k < 4 && !input.empty(); ++k) {
        bits = bits << 8 | static_cast<unsigned char>(input.front());
        input.remove_prefix(1);
    }
    int bit = 0;
    for (const qm::OptionRow& row : qm::OptionTable())
        if (row.kind == qm::OptionKind::Flag && row.page != qm::OptionPage::Files && row.page != qm::OptionPage::Misc)
            options.setFlag(row.id, bits >> (bit++ % 32) & 1);
    if (bits & (1u << 30)) {
        options.listDeleteTags.clear();
        options.listReplaceTags.clear();
        for (int k = 0; k < 3; ++k) {
            std::uint32_t choice = bits >> (k * 5);
            options.listDeleteTags.push_back({true, kTagTexts[choice % std::size(kTagTexts)]});
            options.listReplaceTags.push_back({true, kTagTexts[(choice >> 2) % std::size(kTagTexts)],
                kReplacements[(choice >> 3) % std::size(kReplacements)]});
        }
    }
    return options;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const qm::TOptionSet options = OptionsFrom(input);
    qm::EngineData engineData;
    engineData.alignWords = {"center", "left"};
    engineData.ssiCommands = {"#include", ""};
    qm::Expected<std::string> loaded = qm::WorkingTextFromBytes(input);
    if (!loaded) return 0;
    qm::SilentSink sink;
    std::string engine = *loaded;
    qm::PipelineOutcome outcome = qm::OptimizeWorkingText(engine, options, engineData, sink);
    if (loaded->size() <= 4096) {
        std::string expected = *loaded;
        qm::PipelineOutcome oracleOutcome = qm::oracle::OptimizeWorkingText(expected, options, engineData, sink);
        if (outcome != oracleOutcome || engine != expected) std::abort();
    }
    return 0;
}
