// An engine stand-in whose results the test decides: output bytes per file name, failures, interrupt checks.
#pragma once

#include <map>
#include <string>

#include "base/file_system.h"
#include "batch/run/page_optimizer.h"

namespace qm::test {

class ScriptedOptimizer final : public PageOptimizer {
public:
    std::map<std::string, std::string> outputs; // by file name; a file without one comes out unchanged
    std::string failing; // a file name whose passes fail without a handler
    bool checksInterrupt = false; // calls the interrupt check once per page, as the engine does
    int pages = 0;

    OptimizedPage optimize(const std::string& source, std::string bytes, const TOptionSet& options,
        const EngineData& data, MessageSink& messages, const InterruptCheck& interrupted) override
    {
        ++pages;
        const std::string name = NamePart(source);
        OptimizedPage page;
        if (name == failing) return page;
        if (checksInterrupt && interrupted && interrupted()) {
            page.outcome = PipelineOutcome::Interrupted;
            return page;
        }
        OptimizedPage real = OptimizePageBytes(bytes, options, data, messages); // for its "not a page" verdict
        if (!real.problem.empty()) return real;
        page.outcome = PipelineOutcome::Completed;
        auto found = outputs.find(name);
        page.bytes = found == outputs.end() ? std::string(bytes) : found->second;
        return page;
    }
};

} // namespace qm::test
