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

namespace {

bool EndsWithLineBreak(const std::string& text)
{
    return !text.empty() && (text.back() == '\r' || text.back() == '\n');
}

// cbKeepLineEnds: the passes get the page's own bytes, so the fragments they
// cut keep their own line ends; the rest takes the page's first line end.
OptimizedPage OptimizeKeepingLineEnds(std::string&& source, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted)
{
    OptimizedPage page;
    if (Status single = CheckSingleBytePage(source); !single) {
        page.problem = single.reason();
        return page;
    }
    const std::string_view lineEnd = LineEndText(DetectLineEnd(source, PlatformLineEnd()));
    // As in the working text, the last line ends with a line break.
    if (!source.empty() && !EndsWithLineBreak(source)) source += lineEnd;
    page.outcome = passes::RunPasses(source, passes::PassContext {options, data, messages}, interrupted, lineEnd);
    if (page.outcome != PipelineOutcome::Completed) return page;
    if (!source.empty() && !EndsWithLineBreak(source)) source += lineEnd;
    page.bytes = std::move(source);
    return page;
}

} // namespace

OptimizedPage OptimizePageBytes(std::string&& source, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted)
{
    if (options.flag(Opt::cbKeepLineEnds))
        return OptimizeKeepingLineEnds(std::move(source), options, data, messages, interrupted);
    OptimizedPage page;
    const LineEnd lineEnd = LineEnd::CrLf;
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
