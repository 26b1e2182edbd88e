// The engine's passes bound to the fixed order of steps.
#include "engine/passes/pipeline.h"

#include "engine/page_text.h"
#include "engine/passes/passes.h"
#include "engine/pipeline_steps.h"

namespace qm::passes {
namespace {

// Every tag text the two lists may bring to the tag passes, with the forms
// the pipeline derives from them.
std::vector<std::string> TagTextsOf(const TOptionSet& options)
{
    std::vector<std::string> texts;
    for (const TTagRemoval& entry : options.listDeleteTags) {
        if (!entry.Active) continue;
        texts.push_back(entry.Tag);
        if (entry.Tag.compare(0, 6, "name=\"") == 0) {
            std::string unquoted = entry.Tag;
            std::erase(unquoted, '"');
            texts.push_back(std::move(unquoted));
        }
    }
    for (const TTagReplacement& entry : options.listReplaceTags) {
        if (!entry.Active) continue;
        texts.push_back(entry.FromTag);
        texts.push_back("/" + entry.FromTag);
    }
    return texts;
}

struct EnginePasses {
    static std::string_view Text(const Page& page) { return page.text; }
    static void CutScripts(Page& page, const PassContext& c) { passes::CutScripts(page, c); }
    static void CutQuestionBlocks(Page& page, const PassContext& c) { passes::CutServerCode(page, c, "<?", "?>"); }
    static void CutPercentBlocks(Page& page, const PassContext& c) { passes::CutServerCode(page, c, "<%", "%>"); }
    static void CutCfTags(Page& page, const PassContext& c)
    {
        passes::CutCfTags(page, c);
        // The last fragments are out: the text around them takes the working text's line ends.
        if (!page.pageLineEnd.empty()) ConvertLineEnds(page.text, "\r\n");
    }
    static void CutKeptText(Page& page) { passes::CutKeptText(page); }
    static void DelCRLF(Page& page) { passes::DelCRLF(page); }
    static void DelComments(Page& page, const PassContext& c) { passes::DelComments(page, c); }
    static void DelTagSpaces(Page& page) { passes::DelTagSpaces(page); }
    static void DelKav(Page& page, const PassContext& c) { passes::DelKav(page, c); }
    static void TreatTag(Page& page, const PassContext& c, const std::string& tag, const std::string& to)
    {
        if (!page.tagIndex.built) IndexTagTexts(page, TagTextsOf(c.options));
        passes::TreatTag(page, tag, to);
    }
    // All the calls in one sweep where the lists and the page allow it, else one by one.
    template<class Each>
    static void TreatTags(Page& page, const PassContext&, const std::vector<TagCall>& calls,
        const std::vector<TagCall>& next, Each&& each)
    {
        if (calls.empty() || TreatTagsTogether(page, calls, next)) return;
        for (const TagCall& call : calls) each(call);
    }
    static void ReplaceDoubleNbsp(Page& page, const PassContext& c) { passes::ReplaceDoubleNbsp(page, c); }
    static void DelAllTabs(Page& page) { passes::DelAllTabs(page); }
    static void DelTabLine(Page& page) { passes::DelTabLine(page); }
    static void ReplaceDoubleSpaces(Page& page, const PassContext& c) { passes::ReplaceDoubleSpaces(page, c); }
    static void DelBegEndSpace(Page& page) { passes::DelBegEndSpace(page); }
    static void DelEmptyLine(Page& page) { passes::DelEmptyLine(page); }
    static void DelSpaceBetweenTags(Page& page) { passes::DelSpaceBetweenTags(page); }
    static void PasteScripts(Page& page)
    {
        if (!page.pageLineEnd.empty()) {
            ConvertLineEnds(page.text, page.pageLineEnd);
            // Text kept as written was cut after the line ends became CR LF: it takes the page's, as before.
            for (Fragment& fragment : page.fragments)
                if (fragment.kind == FragmentKind::KeptText) ConvertLineEnds(fragment.text, page.pageLineEnd);
        }
        passes::PasteScripts(page);
    }
    // Every pass rewrites the text whole or not at all, so nothing needs mending after a failure.
    static void AfterFailure(Page&) { }
    static bool AllFragmentsBack(const Page& page) { return page.placeholders.empty(); }
};

} // namespace

PipelineOutcome RunPasses(std::string& workingText, const PassContext& context, const InterruptCheck& interrupted,
    std::string_view pageLineEnd)
{
    Page page;
    page.text = std::move(workingText);
    page.pageLineEnd = pageLineEnd;
    PipelineOutcome outcome = RunPipelineSteps<EnginePasses>(page, context, interrupted);
    workingText = std::move(page.text);
    return outcome;
}

} // namespace qm::passes
