// The passes over one working text, in their fixed order, each gated by its option when it is reached.
#pragma once

#include <functional>

#include "engine/pipeline_outcome.h"
#include "engine/plain/unit_text.h"

namespace qm::plain {

PipelineOutcome RunPasses(Page& page, const PassContext& context, const InterruptCheck& interrupted);

} // namespace qm::plain
