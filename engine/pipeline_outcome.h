// How a page's passes ended, and the hook through which the user may stop them.
#pragma once

#include <functional>

namespace qm {

enum class PipelineOutcome {
    Completed, // every pass ran; the text is the result
    Interrupted, // the interrupt hook asked to stop; the text is to be dropped
    Failed, // a pass without a handler of its own failed; the run ends
};

// Called after the quote pass, the tag removals, the tag replacements and the
// space pass; returns true when the work is to stop now.
using InterruptCheck = std::function<bool()>;

} // namespace qm
