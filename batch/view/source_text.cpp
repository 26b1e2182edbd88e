// The round trip between a page's bytes and the source view's UTF-8 text, which gives back unchanged bytes.
#include "batch/view/source_text.h"

#include <cstdint>

namespace qm {
namespace {

// The length of the UTF-8 sequence starting at `at`, or 0 when it is not one.
std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > bytes.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are no UTF-8.
    static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

bool IsUtf8(std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = Utf8SequenceAt(bytes, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

std::string Latin1ToUtf8(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

std::optional<std::string> Utf8ToLatin1(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            bytes += text[at];
        } else if ((lead & 0xFE) == 0xC2 && at + 1 < text.size()) {
            bytes += static_cast<char>(((lead & 0x03) << 6) | (static_cast<unsigned char>(text[++at]) & 0x3F));
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}

} // namespace

SourceText SourceTextOf(std::string_view bytes, bool keepLineEnds)
{
    SourceText result;
    result.format.utf8 = IsUtf8(bytes);
    result.format.lineEnd = keepLineEnds ? DetectLineEnd(bytes, PlatformLineEnd()) : LineEnd::CrLf;
    const std::string text = result.format.utf8 ? std::string(bytes) : Latin1ToUtf8(bytes);
    result.format.finalLineEnd = !text.empty() && (text.back() == '\n' || text.back() == '\r');
    // Every line end becomes "\n"; the final one is remembered instead of shown as an empty last line.
    std::string& shown = result.text;
    shown.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\r') {
            if (at + 1 < text.size() && text[at + 1] == '\n') ++at;
            shown += '\n';
        } else {
            shown += text[at];
        }
    }
    if (result.format.finalLineEnd) shown.pop_back();
    return result;
}

Expected<std::string> SourceBytesOf(std::string_view text, const SourceTextFormat& format)
{
    const std::string_view lineEnd = LineEndText(format.lineEnd);
    std::string joined;
    joined.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n')
            joined += lineEnd;
        else
            joined += c;
    }
    if (format.finalLineEnd) joined += lineEnd;
    if (format.utf8) return joined;
    if (std::optional<std::string> bytes = Utf8ToLatin1(joined)) return *bytes;
    return Status::Fail("The text holds characters that this file's single-byte encoding cannot store; "
                        "the file was left as it was");
}

} // namespace qm
