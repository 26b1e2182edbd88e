// The eighteen steps of a page's optimization.
#include "engine/plain/pipeline.h"

#include <exception>
#include <string>

#include "engine/plain/comments.h"
#include "engine/plain/protected_fragments.h"
#include "engine/plain/quotes.h"
#include "engine/plain/tags.h"
#include "engine/plain/whitespace.h"

namespace qm::plain {
namespace {

// A pass with a handler of its own reports its failure (or stays silent when
// it has no message) and the pipeline goes on; the working text keeps what
// the pass did and the mirror is brought back in step.
template<class Pass> void Handled(Page& page, MessageSink& messages, const std::string& message, Pass&& pass)
{
    try {
        pass();
    } catch (const std::exception&) {
        if (!message.empty()) messages.report(MessageKind::Error, message);
        page.refreshMirror();
    }
}

std::string TagMessage(const std::string& tag) { return "Error during removal of the tag " + tag; }

bool Interrupted(const InterruptCheck& interrupted) { return interrupted && interrupted(); }

} // namespace

PipelineOutcome RunPasses(Page& page, const PassContext& context, const InterruptCheck& interrupted)
{
    const TOptionSet& options = context.options;
    MessageSink& messages = context.messages;
    try {
        Handled(page, messages, options.flag(Opt::cbShowInfo) ? "Error during scripts cutting" : "",
            [&] { CutScripts(page, context); });
        CutServerCode(page, context, U"<?", U"?>");
        CutServerCode(page, context, U"<%", U"%>");
        CutCfTags(page, context);
        if (options.flag(Opt::cbDelCRLF)) Handled(page, messages, "", [&] { DelCRLF(page); });
        if (options.flag(Opt::cbDelComments))
            Handled(page, messages, "Error during comments removal <!-- -->", [&] { DelComments(page, context); });
        Handled(page, messages, "Error during spaces removal", [&] { DelTagSpaces(page); });
        if (options.flag(Opt::cbDelKav))
            Handled(page, messages, "Error during quotes removal", [&] { DelKav(page, context); });
        if (Interrupted(interrupted)) return PipelineOutcome::Interrupted;

        // The lists are read entry by entry: the user may edit them while a run waits on the hook.
        for (std::size_t i = 0; i < options.listDeleteTags.size(); ++i) {
            if (!options.listDeleteTags[i].Active) continue;
            const std::string tag = options.listDeleteTags[i].Tag;
            Handled(page, messages, TagMessage(tag), [&] { TreatTag(page, tag, ""); });
            if (tag.compare(0, 6, "name=\"") == 0) {
                std::string unquoted = tag;
                std::erase(unquoted, '"');
                Handled(page, messages, TagMessage(unquoted), [&] { TreatTag(page, unquoted, ""); });
            }
        }
        if (Interrupted(interrupted)) return PipelineOutcome::Interrupted;

        for (std::size_t i = 0; i < options.listReplaceTags.size(); ++i) {
            if (!options.listReplaceTags[i].Active) continue;
            const std::string from = options.listReplaceTags[i].FromTag;
            const std::string to = options.listReplaceTags[i].ToTag;
            Handled(page, messages, TagMessage(from), [&] { TreatTag(page, from, to); });
            if (options.flag(Opt::cbClosedTagsAlso))
                Handled(page, messages, TagMessage("/" + from), [&] { TreatTag(page, "/" + from, "/" + to); });
        }
        if (Interrupted(interrupted)) return PipelineOutcome::Interrupted;

        if (options.flag(Opt::cbReplaceDoubleNbsp))
            Handled(page, messages, "Error during &nbsp; removal", [&] { ReplaceDoubleNbsp(page, context); });
        if (options.flag(Opt::cbDelAllTabs)) DelAllTabs(page);
        if (options.flag(Opt::cbDelTabLine)) Handled(page, messages, "", [&] { DelTabLine(page); });
        if (options.flag(Opt::cbReplaceDoubleSpaces))
            Handled(page, messages, "Error during double spaces removal", [&] { ReplaceDoubleSpaces(page, context); });
        if (Interrupted(interrupted)) return PipelineOutcome::Interrupted;

        if (options.flag(Opt::cbDelBegEndSpace)) DelBegEndSpace(page);
        if (options.flag(Opt::cbDelEmptyLine) && !options.flag(Opt::cbDelCRLF))
            Handled(page, messages, "", [&] { DelEmptyLine(page); });
        Handled(page, messages, "Error during spaces removal", [&] { DelSpaceBetweenTags(page); });
        Handled(page, messages, "Error during scripts pasting", [&] { PasteScripts(page); });
    } catch (const std::exception&) {
        return PipelineOutcome::Failed;
    }
    // A fragment that failed to come back must not leave its placeholder in a written file.
    for (Unit u : page.text)
        if (u > 0xFF) return PipelineOutcome::Failed;
    return PipelineOutcome::Completed;
}

} // namespace qm::plain
