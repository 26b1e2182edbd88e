// The oracle's passes bound to the fixed order of steps: what the engine must equal.
#pragma once

#include <string>

#include "engine/pipeline_outcome.h"
#include "tests/oracle/unit_text.h"

namespace qm::oracle {

PipelineOutcome RunPasses(Page& page, const PassContext& context, const InterruptCheck& interrupted);

// The whole oracle over a working text (lines joined with CR LF); on Completed the text is the result.
PipelineOutcome OptimizeWorkingText(std::string& workingText, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted = {});

} // namespace qm::oracle
