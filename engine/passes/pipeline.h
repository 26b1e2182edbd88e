// The engine's passes bound to the fixed order of steps.
#pragma once

#include <string>
#include <string_view>

#include "engine/passes/page.h"
#include "engine/pipeline_outcome.h"

namespace qm::passes {

// Runs every step over the working text (lines joined with CR LF); on
// Completed the text is the result. With a page line end the text is the
// page's own bytes instead (see Page::pageLineEnd).
PipelineOutcome RunPasses(std::string& workingText, const PassContext& context, const InterruptCheck& interrupted,
    std::string_view pageLineEnd = {});

} // namespace qm::passes
