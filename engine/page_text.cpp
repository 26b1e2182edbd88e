// Reading a page into the working text, writing it back, and the per-file ratio.
#include "engine/page_text.h"

#include <algorithm>
#include <cstring>

#include "engine/passes/scan.h"

namespace qm {

std::string_view LineEndText(LineEnd lineEnd)
{
    switch (lineEnd) {
    case LineEnd::CrLf:
        return "\r\n";
    case LineEnd::Lf:
        return "\n";
    case LineEnd::Cr:
        return "\r";
    }
    return "\r\n";
}

LineEnd DetectLineEnd(std::string_view bytes, LineEnd fallback)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') return LineEnd::Lf;
        if (bytes[i] == '\r') return (i + 1 < bytes.size() && bytes[i + 1] == '\n') ? LineEnd::CrLf : LineEnd::Cr;
    }
    return fallback;
}

LineEnd PlatformLineEnd()
{
#ifdef _WIN32
    return LineEnd::CrLf;
#else
    return LineEnd::Lf;
#endif
}

namespace {

// Every line (ending at CR LF, CR or LF) followed by `lineEnd`, the last one
// included: what splitting into lines and joining them again gives, in one
// sweep that copies the text between line breaks whole.
std::string WithLineEnds(std::string_view text, std::string_view lineEnd)
{
    std::string out;
    out.reserve(text.size() + text.size() / 32 + lineEnd.size());
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t start = 0;
    while (start < size) {
        const std::size_t end = passes::FindAny<'\r', '\n'>(data, start, size);
        out.append(data + start, end - start);
        out.append(lineEnd);
        if (end == size) break;
        start = end + ((data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ? 2 : 1);
    }
    return out;
}

// The position after the last LF in [from, end), or `from` when there is none.
std::size_t AfterLastLf(const char* data, std::size_t from, std::size_t end)
{
#if defined(__GLIBC__)
    const void* found = end > from ? ::memrchr(data + from, '\n', end - from) : nullptr;
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - data) + 1 : from;
#else
    while (end > from && data[end - 1] != '\n') --end;
    return end;
#endif
}

// MakeTextForWriting for the rest of a text from `from` on whose line breaks
// are all LF and become two bytes each: where the buffer has room, the text
// is moved up from its end, line by line, so a long page needs no copy. The
// text written never overtakes the text still to read, since every break grows.
bool GrowLfIntoTwoByteEnds(std::string& text, std::size_t from, std::string_view lineEnd)
{
    const std::size_t size = text.size();
    const std::string_view rest = std::string_view(text).substr(from);
    if (lineEnd.size() != 2 || rest.find('\r') != std::string_view::npos) return false;
    const std::size_t lines = static_cast<std::size_t>(std::count(rest.begin(), rest.end(), '\n'));
    const bool unterminated = size > from && text.back() != '\n';
    const std::size_t grown = size + lines + (unterminated ? 2 : 0);
    if (grown > text.capacity()) return false;
    text.resize(grown);
    char* data = text.data();
    std::size_t w = grown;
    std::size_t r = size;
    if (unterminated) {
        w -= 2;
        std::memcpy(data + w, lineEnd.data(), 2);
    }
    while (r > from) {
        if (data[r - 1] == '\n') {
            --r;
            w -= 2;
            std::memcpy(data + w, lineEnd.data(), 2);
        }
        const std::size_t lineStart = AfterLastLf(data, from, r);
        w -= r - lineStart;
        std::memmove(data + w, data + lineStart, r - lineStart);
        r = lineStart;
    }
    return true;
}

} // namespace

Status CheckSingleBytePage(std::string_view bytes)
{
    if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
        return Status::Fail("it is UTF-16 text, not a single-byte page");
    if (bytes.find('\0') != std::string_view::npos)
        return Status::Fail("it holds NUL bytes, so it is not a single-byte page");
    return Status::Ok();
}

Expected<std::string> WorkingTextFromBytes(std::string_view bytes)
{
    if (Status page = CheckSingleBytePage(bytes); !page) return page;
    return WithLineEnds(bytes, "\r\n");
}

void ConvertLineEnds(std::string& text, std::string_view lineEnd)
{
    if (text.empty()) return;
    const char last = text.back();
    const bool terminated = last == '\r' || last == '\n';
    MakeTextForWriting(text, lineEnd);
    if (!terminated) text.resize(text.size() - lineEnd.size());
}

std::string TextForWriting(std::string_view workingText, std::string_view lineEnd)
{
    return WithLineEnds(workingText, lineEnd);
}

void MakeTextForWriting(std::string& text, std::string_view lineEnd)
{
    // In place while every line ending is at least as long as its new one and
    // the last line has one; otherwise a copy.
    const std::size_t size = text.size();
    char* data = text.data();
    std::size_t w = 0;
    for (std::size_t start = 0; start < size;) {
        const std::size_t end = passes::FindAny<'\r', '\n'>(data, start, size);
        const std::size_t breakLength = end == size                          ? 0
            : (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ? 2
                                                                             : 1;
        if (breakLength < lineEnd.size()) {
            if (w == start && GrowLfIntoTwoByteEnds(text, start, lineEnd)) return;
            std::string rest = TextForWriting(std::string_view(data + start, size - start), lineEnd);
            text.resize(w);
            text += rest;
            return;
        }
        passes::MoveDown(data, w, start, end);
        for (char c : lineEnd) data[w++] = c;
        start = end + breakLength;
    }
    text.resize(w);
}
} // namespace qm
