// The engine's entry point.
#include "engine/optimize.h"

#include "engine/page_text.h"
#include "engine/passes/pipeline.h"

namespace qm {

PipelineOutcome OptimizeWorkingText(std::string& workingText, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted)
{
    return passes::RunPasses(workingText, passes::PassContext {options, data, messages}, interrupted);
}

OptimizedPage OptimizePageBytes(std::string_view source, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted)
{
    return OptimizePageBytes(std::string(source), options, data, messages, interrupted);
}

OptimizedPage OptimizePageBytes(std::string&& source, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted)
{
    OptimizedPage page;
    const LineEnd lineEnd =
        options.flag(Opt::cbKeepLineEnds) ? DetectLineEnd(source, PlatformLineEnd()) : LineEnd::CrLf;
    Expected<std::string> loaded = WorkingTextFromBytes(source);
    if (!loaded) {
        page.problem = loaded.reason();
        return page;
    }
    std::string().swap(source); // the working text has every byte it needs
    page.outcome = OptimizeWorkingText(*loaded, options, data, messages, interrupted);
    if (page.outcome != PipelineOutcome::Completed) return page;
    MakeTextForWriting(*loaded, LineEndText(lineEnd));
    page.bytes = std::move(*loaded);
    return page;
}

} // namespace qm
