// An engine stand-in whose results the test decides: output bytes per file name, failures, interrupt checks.
#pragma once

#include <map>
#include <string>

#include "base/file_system.h"
#include "batch/run/page_optimizer.h"

namespace qm::test {

class ScriptedOptimizer final : public PageOptimizer {
public:
    explicit ScriptedOptimizer(FileSystem& fs)
        : fs_(fs)
    {
    }
    std::map<std::string, std::string> outputs; // by file name; a file without one comes out unchanged
    std::string failing; // a file name whose passes fail without a handler
    bool checksInterrupt = false; // calls the interrupt check once per page, as the engine does
    int pages = 0;

    PreparedPage page(const std::string& source, const FileIdentity*, const TOptionSet& options, const EngineData& data,
        const InterruptCheck& interrupted) override
    {
        ++pages;
        std::string bytes;
        PreparedPage page = ReadPage(fs_, source, bytes);
        if (!page.read || bytes.empty()) return page;
        const std::string name = NamePart(source);
        if (name == failing) return page;
        if (checksInterrupt && interrupted && interrupted()) {
            page.optimized.outcome = PipelineOutcome::Interrupted;
            return page;
        }
        struct Kept final : MessageSink {
            explicit Kept(PreparedPage& page)
                : page(page)
            {
            }
            void report(MessageKind kind, std::string_view text) override
            {
                page.messages.emplace_back(kind, std::string(text));
            }
            PreparedPage& page;
        } kept(page);
        OptimizedPage real = OptimizePageBytes(bytes, options, data, kept); // for its "not a page" verdict
        if (!real.problem.empty()) {
            page.optimized = std::move(real);
            return page;
        }
        page.optimized.outcome = PipelineOutcome::Completed;
        auto found = outputs.find(name);
        page.optimized.bytes = found == outputs.end() ? bytes : found->second;
        page.written = ContentStamp::Of(page.optimized.bytes);
        return page;
    }

private:
    FileSystem& fs_;
};

} // namespace qm::test
