// How the engine and the layers above report to the user without knowing any window.
#pragma once

#include <string_view>

namespace qm {

enum class MessageKind { Warning, Error, Information };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void report(MessageKind kind, std::string_view text) = 0;
};

// Drops every message; for callers that only want the result.
class SilentSink final : public MessageSink {
public:
    void report(MessageKind, std::string_view) override { }
};

} // namespace qm
