// The engine's entry point: the passes over one page's working text.
#pragma once

#include <string>

#include "engine/engine_data.h"
#include "engine/messages.h"
#include "engine/pipeline_outcome.h"
#include "settings/option_set.h"

namespace qm {

// Runs every pass over the working text (lines joined with CR LF, see
// page_text.h). On Completed the text is the optimized page; otherwise it is
// to be dropped. Pass failures with messages of their own go to the sink.
PipelineOutcome OptimizeWorkingText(std::string& workingText, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted = {});

} // namespace qm
