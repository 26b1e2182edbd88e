// The engine's entry point.
#include "engine/optimize.h"

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

} // namespace qm
