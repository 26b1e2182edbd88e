// Runs single passes over byte strings through the shipped passes and the oracle alike, and shows their texts readably.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/passes/passes.h"
#include "tests/oracle/comments.h"
#include "tests/oracle/protected_fragments.h"
#include "tests/oracle/quotes.h"
#include "tests/oracle/tags.h"
#include "tests/oracle/unit_text.h"
#include "tests/oracle/whitespace.h"

namespace qm::test {

struct RecordedMessage {
    MessageKind kind;
    std::string text;
};

class RecordingSink : public MessageSink {
public:
    void report(MessageKind kind, std::string_view text) override { messages.push_back({kind, std::string(text)}); }
    std::vector<RecordedMessage> messages;
};

enum class Engine { Passes, Oracle };

inline const char* NameOf(Engine engine) { return engine == Engine::Passes ? "shipped passes" : "oracle"; }

// Everything one pass needs, with the defaults of a first start, for one of the two engines.
class PassHarness {
public:
    explicit PassHarness(Engine engine)
        : engine_(engine)
    {
    }

    TOptionSet options;
    EngineData data;
    RecordingSink sink;

    Engine engine() const { return engine_; }

    void load(std::string_view bytes)
    {
        page_ = passes::Page {};
        page_.text = std::string(bytes);
        oracle_ = oracle::Page {};
        oracle_.text = oracle::Widen(bytes);
        oracle_.refreshMirror();
    }

    // The working text with placeholders as {N} (N the fragment's number, in cutting order) and markers as {#}.
    std::string shown() const
    {
        return engine_ == Engine::Passes ? ShowBytes(page_.text, page_.placeholders) : ShowUnits(oracle_.text);
    }
    std::size_t fragmentCount() const
    {
        return engine_ == Engine::Passes ? page_.fragments.size() : oracle_.fragments.size();
    }
    std::string fragment(std::size_t i) const
    {
        if (engine_ == Engine::Passes) return ShowBytes(page_.fragments.at(i).text, page_.fragments.at(i).children);
        return ShowUnits(oracle_.fragments.at(i).text);
    }
    // The oracle keeps a lower-case mirror beside its text; it must be in step after every pass.
    bool mirrorInStep() const { return engine_ == Engine::Passes || oracle_.mirror == oracle::Lower(oracle_.text); }
    // Drops the first unit of the text, as a pass that removed a placeholder would.
    void dropFirstPlaceholder()
    {
        if (engine_ == Engine::Oracle) {
            oracle_.text.erase(0, 1);
            oracle_.refreshMirror();
        } else {
            page_.text.erase(0, 1);
            page_.placeholders.erase(page_.placeholders.begin());
        }
    }

    // The passes, each through the engine under test.
    void cutScripts()
    {
        run([&] { passes::CutScripts(page_, ctx()); }, [&] { oracle::CutScripts(oracle_, octx()); });
    }
    void cutServerCode(std::string_view start, std::string_view end)
    {
        run([&] { passes::CutServerCode(page_, ctx(), start, end); },
            [&] { oracle::CutServerCode(oracle_, octx(), oracle::Widen(start), oracle::Widen(end)); });
    }
    void cutCfTags()
    {
        run([&] { passes::CutCfTags(page_, ctx()); }, [&] { oracle::CutCfTags(oracle_, octx()); });
    }
    void cutKeptText()
    {
        run([&] { passes::CutKeptText(page_); }, [&] { oracle::CutKeptText(oracle_); });
    }
    void pasteScripts()
    {
        run([&] { passes::PasteScripts(page_); }, [&] { oracle::PasteScripts(oracle_); });
    }
    void delComments()
    {
        run([&] { passes::DelComments(page_, ctx()); }, [&] { oracle::DelComments(oracle_, octx()); });
    }
    void delTagSpaces()
    {
        run([&] { passes::DelTagSpaces(page_); }, [&] { oracle::DelTagSpaces(oracle_); });
    }
    void delSpaceBetweenTags()
    {
        run([&] { passes::DelSpaceBetweenTags(page_); }, [&] { oracle::DelSpaceBetweenTags(oracle_); });
    }
    void delCRLF()
    {
        run([&] { passes::DelCRLF(page_); }, [&] { oracle::DelCRLF(oracle_); });
    }
    void replaceDoubleNbsp()
    {
        run([&] { passes::ReplaceDoubleNbsp(page_, ctx()); }, [&] { oracle::ReplaceDoubleNbsp(oracle_, octx()); });
    }
    void delAllTabs()
    {
        run([&] { passes::DelAllTabs(page_); }, [&] { oracle::DelAllTabs(oracle_); });
    }
    void delTabLine()
    {
        run([&] { passes::DelTabLine(page_); }, [&] { oracle::DelTabLine(oracle_); });
    }
    void replaceDoubleSpaces()
    {
        run([&] { passes::ReplaceDoubleSpaces(page_, ctx()); }, [&] { oracle::ReplaceDoubleSpaces(oracle_, octx()); });
    }
    void delBegEndSpace()
    {
        run([&] { passes::DelBegEndSpace(page_); }, [&] { oracle::DelBegEndSpace(oracle_); });
    }
    void delEmptyLine()
    {
        run([&] { passes::DelEmptyLine(page_); }, [&] { oracle::DelEmptyLine(oracle_); });
    }
    void delKav()
    {
        run([&] { passes::DelKav(page_, ctx()); }, [&] { oracle::DelKav(oracle_, octx()); });
    }
    void treatTag(const std::string& tag, const std::string& replacement)
    {
        run([&] { passes::TreatTag(page_, tag, replacement); }, [&] { oracle::TreatTag(oracle_, tag, replacement); });
    }
    // The calls of one tag step: the shipped passes make them in one sweep
    // where the list and the page allow it (then this returns true), the
    // oracle one by one.
    bool treatTags(const std::vector<TagCall>& calls, const std::vector<TagCall>& next = {})
    {
        bool swept = false;
        run(
            [&] {
                swept = passes::TreatTagsTogether(page_, calls, next);
                if (!swept)
                    for (const TagCall& call : calls) passes::TreatTag(page_, call.tag, call.replacement);
            },
            [&] {
                for (const TagCall& call : calls) oracle::TreatTag(oracle_, call.tag, call.replacement);
            });
        return swept;
    }

private:
    passes::PassContext ctx() { return passes::PassContext {options, data, sink}; }
    oracle::PassContext octx() { return oracle::PassContext {options, data, sink}; }

    template<class OnPasses, class OnOracle> void run(OnPasses&& onPasses, OnOracle&& onOracle)
    {
        if (engine_ == Engine::Passes)
            onPasses();
        else
            onOracle();
    }

    static std::string ShowBytes(const std::string& text, const std::vector<std::uint32_t>& fragments)
    {
        std::string out;
        std::size_t next = 0;
        for (char c : text) {
            if (c == passes::kPlaceholder)
                out += "{" + std::to_string(next < fragments.size() ? fragments[next++] : 9999) + "}";
            else
                out += c;
        }
        return out;
    }
    static std::string ShowUnits(const oracle::UnitText& text)
    {
        std::string out;
        for (oracle::Unit u : text) {
            if (oracle::IsPlaceholder(u))
                out += "{" + std::to_string(u - oracle::kPlaceholderBase) + "}";
            else if (u > 0xFF)
                out += "{#}";
            else
                out += static_cast<char>(u);
        }
        return out;
    }

    Engine engine_;
    passes::Page page_;
    oracle::Page oracle_;
};

// Runs `body` once through each engine, each with a fresh harness; a failure
// names the row and the engine that failed.
template<class Body> void ForBothEngines(const std::string& row, Body&& body)
{
    for (Engine engine : {Engine::Passes, Engine::Oracle}) {
        SCOPED_TRACE("row \"" + row + "\" on the " + NameOf(engine));
        PassHarness h(engine);
        body(h);
    }
}

} // namespace qm::test
