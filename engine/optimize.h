// The engine's entry point: the passes over one page's working text.
#pragma once

#include <string>
#include <string_view>

#include "engine/engine_data.h"
#include "engine/messages.h"
#include "engine/pipeline_outcome.h"
#include "options/option_set.h"

namespace qm {

// Runs every pass over the working text (lines joined with CR LF, see
// page_text.h). On Completed the text is the optimized page; otherwise it is
// to be dropped. Pass failures with messages of their own go to the sink.
// Running out of memory throws std::bad_alloc, so the caller can fail this
// page alone.
PipelineOutcome OptimizeWorkingText(std::string& workingText, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted = {});

struct OptimizedPage {
    PipelineOutcome outcome = PipelineOutcome::Failed;
    std::string bytes; // the page to write, when the outcome is Completed
    std::string problem; // why the source is no page at all (then nothing is to be written)
};

// A whole page: from the source file's bytes to the bytes to write. Lines end
// as the source's first line end when cbKeepLineEnds is on (the platform's
// when the source has none), and cut fragments (scripts, server code,
// ColdFusion tags) then come back with their own line ends, byte for byte;
// with it off every line ends with CR LF.
OptimizedPage OptimizePageBytes(std::string_view source, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted = {});
// The same, taking the source's buffer: a long page then never lives in
// memory three times over (source, working text, a pass's new text).
OptimizedPage OptimizePageBytes(std::string&& source, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted = {});

} // namespace qm
