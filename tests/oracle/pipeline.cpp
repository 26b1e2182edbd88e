// The oracle's passes bound to the fixed order of steps.
#include "tests/oracle/pipeline.h"

#include "engine/pipeline_steps.h"
#include "tests/oracle/comments.h"
#include "tests/oracle/protected_fragments.h"
#include "tests/oracle/quotes.h"
#include "tests/oracle/tags.h"
#include "tests/oracle/whitespace.h"

namespace qm::oracle {
namespace {

struct OraclePasses {
    static std::string Text(const Page& page) { return Narrow(page.text); }
    static void CutScripts(Page& page, const PassContext& c) { oracle::CutScripts(page, c); }
    static void CutQuestionBlocks(Page& page, const PassContext& c) { oracle::CutServerCode(page, c, U"<?", U"?>"); }
    static void CutPercentBlocks(Page& page, const PassContext& c) { oracle::CutServerCode(page, c, U"<%", U"%>"); }
    static void CutCfTags(Page& page, const PassContext& c) { oracle::CutCfTags(page, c); }
    static void CutKeptText(Page& page) { oracle::CutKeptText(page); }
    static void DelCRLF(Page& page) { oracle::DelCRLF(page); }
    static void DelComments(Page& page, const PassContext& c) { oracle::DelComments(page, c); }
    static void DelTagSpaces(Page& page) { oracle::DelTagSpaces(page); }
    static void DelKav(Page& page, const PassContext& c) { oracle::DelKav(page, c); }
    static void TreatTag(Page& page, const PassContext&, const std::string& tag, const std::string& to)
    {
        oracle::TreatTag(page, tag, to);
    }
    template<class Each>
    static void TreatTags(
        Page&, const PassContext&, const std::vector<TagCall>& calls, const std::vector<TagCall>&, Each&& each)
    {
        for (const TagCall& call : calls) each(call);
    }
    static void ReplaceDoubleNbsp(Page& page, const PassContext& c) { oracle::ReplaceDoubleNbsp(page, c); }
    static void DelAllTabs(Page& page) { oracle::DelAllTabs(page); }
    static void DelTabLine(Page& page) { oracle::DelTabLine(page); }
    static void ReplaceDoubleSpaces(Page& page, const PassContext& c) { oracle::ReplaceDoubleSpaces(page, c); }
    static void DelBegEndSpace(Page& page) { oracle::DelBegEndSpace(page); }
    static void DelEmptyLine(Page& page) { oracle::DelEmptyLine(page); }
    static void DelSpaceBetweenTags(Page& page) { oracle::DelSpaceBetweenTags(page); }
    static void PasteScripts(Page& page) { oracle::PasteScripts(page); }
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
    return RunPipelineSteps<OraclePasses>(page, context, interrupted);
}

PipelineOutcome OptimizeWorkingText(std::string& workingText, const TOptionSet& options, const EngineData& data,
    MessageSink& messages, const InterruptCheck& interrupted)
{
    Page page;
    page.text = Widen(workingText);
    page.refreshMirror();
    PipelineOutcome outcome = RunPasses(page, PassContext {options, data, messages}, interrupted);
    if (outcome == PipelineOutcome::Completed) workingText = Narrow(page.text);
    return outcome;
}

} // namespace qm::oracle
