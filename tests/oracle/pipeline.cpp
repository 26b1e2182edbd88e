// The plain passes bound to the fixed order of steps.
#include "tests/oracle/pipeline.h"

#include "engine/pipeline_steps.h"
#include "tests/oracle/comments.h"
#include "tests/oracle/protected_fragments.h"
#include "tests/oracle/quotes.h"
#include "tests/oracle/tags.h"
#include "tests/oracle/whitespace.h"

namespace qm::plain {
namespace {

struct PlainPasses {
    static void CutScripts(Page& page, const PassContext& c) { plain::CutScripts(page, c); }
    static void CutQuestionBlocks(Page& page, const PassContext& c) { plain::CutServerCode(page, c, U"<?", U"?>"); }
    static void CutPercentBlocks(Page& page, const PassContext& c) { plain::CutServerCode(page, c, U"<%", U"%>"); }
    static void CutCfTags(Page& page, const PassContext& c) { plain::CutCfTags(page, c); }
    static void DelCRLF(Page& page) { plain::DelCRLF(page); }
    static void DelComments(Page& page, const PassContext& c) { plain::DelComments(page, c); }
    static void DelTagSpaces(Page& page) { plain::DelTagSpaces(page); }
    static void DelKav(Page& page, const PassContext& c) { plain::DelKav(page, c); }
    static void TreatTag(Page& page, const PassContext&, const std::string& tag, const std::string& to)
    {
        plain::TreatTag(page, tag, to);
    }
    static void ReplaceDoubleNbsp(Page& page, const PassContext& c) { plain::ReplaceDoubleNbsp(page, c); }
    static void DelAllTabs(Page& page) { plain::DelAllTabs(page); }
    static void DelTabLine(Page& page) { plain::DelTabLine(page); }
    static void ReplaceDoubleSpaces(Page& page, const PassContext& c) { plain::ReplaceDoubleSpaces(page, c); }
    static void DelBegEndSpace(Page& page) { plain::DelBegEndSpace(page); }
    static void DelEmptyLine(Page& page) { plain::DelEmptyLine(page); }
    static void DelSpaceBetweenTags(Page& page) { plain::DelSpaceBetweenTags(page); }
    static void PasteScripts(Page& page) { plain::PasteScripts(page); }
    static void AfterFailure(Page& page) { page.refreshMirror(); }
    static bool AllFragmentsBack(const Page& page)
    {
        for (Unit u : page.text)
            if (u > 0xFF) return false;
        return true;
    }
};

} // namespace

PipelineOutcome RunPasses(Page& page, const PassContext& context, const InterruptCheck& interrupted)
{
    return RunPipelineSteps<PlainPasses>(page, context, interrupted);
}

PipelineOutcome OptimizeWorkingText(std::string& workingText, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted)
{
    Page page;
    page.text = Widen(workingText);
    page.refreshMirror();
    PipelineOutcome outcome = RunPasses(page, PassContext{options, data, messages}, interrupted);
    if (outcome == PipelineOutcome::Completed) workingText = Narrow(page.text);
    return outcome;
}

} // namespace qm::plain
