// The engine's entry point.
#include "engine/optimize.h"

#include "engine/fast/pipeline.h"
#include "engine/page_text.h"

namespace qm {

PipelineOutcome OptimizeWorkingText(std::string& workingText, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted)
{
    std::string text = workingText;
    PipelineOutcome outcome = fast::RunPasses(text, fast::PassContext{options, data, messages}, interrupted);
    if (outcome == PipelineOutcome::Completed) workingText = std::move(text);
    return outcome;
}

OptimizedPage OptimizePageBytes(std::string_view source, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted)
{
    OptimizedPage page;
    WorkingTextResult loaded = WorkingTextFromBytes(source);
    if (!loaded.text) {
        page.problem = loaded.problem;
        return page;
    }
    page.outcome = fast::RunPasses(*loaded.text, fast::PassContext{options, data, messages}, interrupted);
    if (page.outcome != PipelineOutcome::Completed) return page;
    LineEnd lineEnd = options.flag(Opt::cbKeepLineEnds) ? DetectLineEnd(source, PlatformLineEnd()) : LineEnd::CrLf;
    page.bytes = TextForWriting(*loaded.text, LineEndText(lineEnd));
    return page;
}

} // namespace qm
