// Runs single oracle passes over byte strings and shows placeholders and markers readably.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tests/oracle/unit_text.h"

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

// Everything one pass needs, with the defaults of a first start.
struct PassHarness {
    TOptionSet options;
    EngineData data;
    RecordingSink sink;
    oracle::Page page;

    oracle::PassContext context() { return oracle::PassContext {options, data, sink}; }

    void load(std::string_view bytes)
    {
        page = oracle::Page {};
        page.text = oracle::Widen(bytes);
        page.refreshMirror();
    }

    // The working text with placeholders as {N} and markers as {#}.
    std::string shown() const
    {
        std::string out;
        for (oracle::Unit u : page.text) {
            if (oracle::IsPlaceholder(u))
                out += "{" + std::to_string(u - oracle::kPlaceholderBase) + "}";
            else if (u > 0xFF)
                out += "{#}";
            else
                out += static_cast<char>(u);
        }
        return out;
    }

    std::string fragment(std::size_t i) const { return oracle::Narrow(page.fragments.at(i).text); }
};

} // namespace qm::test
