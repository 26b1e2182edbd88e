// The engine's entry point.
#include "engine/optimize.h"

#include "engine/page_text.h"
#include "engine/plain/pipeline.h"

namespace qm {

PipelineOutcome OptimizeWorkingText(std::string& workingText, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted)
{
    plain::Page page;
    page.text = plain::Widen(workingText);
    page.refreshMirror();
    PipelineOutcome outcome = plain::RunPasses(page, plain::PassContext {options, data, messages}, interrupted);
    if (outcome == PipelineOutcome::Completed) workingText = plain::Narrow(page.text);
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
    page.outcome = OptimizeWorkingText(*loaded.text, options, data, messages, interrupted);
    if (page.outcome != PipelineOutcome::Completed) return page;
    LineEnd lineEnd =
        options.flag(Opt::cbKeepLineEnds) ? DetectLineEnd(source, PlatformLineEnd()) : LineEnd::CrLf;
    page.bytes = TextForWriting(*loaded.text, LineEndText(lineEnd));
    return page;
}

} // namespace qm
