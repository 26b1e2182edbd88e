// The steps of a page's optimization, in their fixed order, for any set of passes that follows them.
#pragma once

#include <algorithm>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "engine/html_rules.h"
#include "engine/messages.h"
#include "engine/pipeline_outcome.h"
#include "engine/tag_call.h"
#include "options/option_set.h"

namespace qm {

// Passes is a type whose static members run each pass over a Page; see
// engine/passes/pipeline.cpp. Each step reads its option when it is reached,
// so a change made while the run waits at an interrupt check applies.
template<class Passes, class Page, class Context>
PipelineOutcome RunPipelineSteps(Page& page, const Context& context, const InterruptCheck& interrupted)
{
    const TOptionSet& options = context.options;
    MessageSink& messages = context.messages;
    // A pass with a handler of its own reports its failure (or stays silent
    // when it has no message) and the pipeline goes on with what it did.
    auto handled = [&](const std::string& message, auto&& pass) {
        try {
            pass();
        } catch (const std::bad_alloc&) {
            throw; // out of memory fails the page, not just this pass
        } catch (const std::exception&) {
            if (!message.empty()) messages.report(MessageKind::Error, message);
            Passes::AfterFailure(page);
        }
    };
    auto stop = [&] { return interrupted && interrupted(); };
    auto tagMessage = [](const std::string& tag) { return "Error during removal of the tag " + tag; };
    // A tag text holding a NUL byte is no text a page could contain; it is passed over.
    auto usable = [](const std::string& text) { return text.find('\0') == std::string::npos; };

    // A pair whose element the page's own style sheets style would change how the page shows.
    const std::vector<std::string> styled = StyleSheetElementNames(Passes::Text(page));
    auto styledByThePage = [&](const std::string& tagText) {
        const std::string name = ElementNameOf(tagText);
        return std::find(styled.begin(), styled.end(), name) != styled.end();
    };

    try {
        handled(options.flag(Opt::cbShowInfo) ? "Error during scripts cutting" : "",
            [&] { Passes::CutScripts(page, context); });
        Passes::CutQuestionBlocks(page, context);
        Passes::CutPercentBlocks(page, context);
        Passes::CutCfTags(page, context);
        // Text that shows as written is taken out too, and so comes back byte for byte.
        if (options.flag(Opt::cbKeepPre)) Passes::CutKeptText(page);
        if (options.flag(Opt::cbDelCRLF)) handled("", [&] { Passes::DelCRLF(page); });
        if (options.flag(Opt::cbDelComments))
            handled("Error during comments removal <!-- -->", [&] { Passes::DelComments(page, context); });
        handled("Error during spaces removal", [&] { Passes::DelTagSpaces(page); });
        if (options.flag(Opt::cbDelKav)) handled("Error during quotes removal", [&] { Passes::DelKav(page, context); });
        if (stop()) return PipelineOutcome::Interrupted;

        // Each list is read when its step is reached: the user may edit them while a run waits at a check.
        // The replacements as they stand before it let the removal step find their changes too.
        auto removalCalls = [&] {
            std::vector<TagCall> calls;
            for (const TTagRemoval& entry : options.listDeleteTags) {
                if (!entry.Active || !usable(entry.Tag)) continue;
                calls.push_back({entry.Tag, ""});
                if (entry.Tag.compare(0, 6, "name=\"") == 0) {
                    std::string unquoted = entry.Tag;
                    std::erase(unquoted, '"');
                    calls.push_back({std::move(unquoted), ""});
                }
            }
            return calls;
        };
        auto replacementCalls = [&] {
            std::vector<TagCall> calls;
            for (const TTagReplacement& entry : options.listReplaceTags) {
                if (!entry.Active) continue;
                const std::string& from = entry.FromTag;
                const std::string& to = entry.ToTag;
                if (!usable(from) || !usable(to) || styledByThePage(from) || styledByThePage(to)) continue;
                calls.push_back({from, to});
                if (options.flag(Opt::cbClosedTagsAlso)) calls.push_back({"/" + from, "/" + to});
            }
            return calls;
        };
        auto treat = [&](const std::vector<TagCall>& calls, const std::vector<TagCall>& next) {
            Passes::TreatTags(page, context, calls, next, [&](const TagCall& call) {
                handled(tagMessage(call.tag), [&] { Passes::TreatTag(page, context, call.tag, call.replacement); });
            });
        };
        treat(removalCalls(), replacementCalls());
        if (stop()) return PipelineOutcome::Interrupted;
        treat(replacementCalls(), {});
        if (stop()) return PipelineOutcome::Interrupted;

        if (options.flag(Opt::cbReplaceDoubleNbsp))
            handled("Error during &nbsp; removal", [&] { Passes::ReplaceDoubleNbsp(page, context); });
        if (options.flag(Opt::cbDelAllTabs)) Passes::DelAllTabs(page);
        if (options.flag(Opt::cbDelTabLine)) handled("", [&] { Passes::DelTabLine(page); });
        if (options.flag(Opt::cbReplaceDoubleSpaces))
            handled("Error during double spaces removal", [&] { Passes::ReplaceDoubleSpaces(page, context); });
        if (stop()) return PipelineOutcome::Interrupted;

        if (options.flag(Opt::cbDelBegEndSpace)) Passes::DelBegEndSpace(page);
        if (options.flag(Opt::cbDelEmptyLine) && !options.flag(Opt::cbDelCRLF))
            handled("", [&] { Passes::DelEmptyLine(page); });
        handled("Error during spaces removal", [&] { Passes::DelSpaceBetweenTags(page); });
        handled("Error during scripts pasting", [&] { Passes::PasteScripts(page); });
    } catch (const std::bad_alloc&) {
        throw; // the caller fails this page and goes on with the next
    } catch (const std::exception&) {
        return PipelineOutcome::Failed;
    }
    // A fragment that failed to come back must not leave its placeholder in a written file.
    if (!Passes::AllFragmentsBack(page)) return PipelineOutcome::Failed;
    return PipelineOutcome::Completed;
}

} // namespace qm
