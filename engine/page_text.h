// From a file's bytes to the working text and back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"

namespace qm {

enum class LineEnd { CrLf, Lf, Cr };

std::string_view LineEndText(LineEnd lineEnd);

// The first line end in the bytes; the fallback when there is none.
LineEnd DetectLineEnd(std::string_view bytes, LineEnd fallback);

// The line end this platform writes when a page has none of its own.
LineEnd PlatformLineEnd();

// A page is single-byte text: a NUL byte, or a UTF-16 byte-order mark, means
// it is something else and must not be rewritten; the failure says which.
Status CheckSingleBytePage(std::string_view bytes);

// The working text: lines joined with CR LF after every line (a page that
// CheckSingleBytePage refuses is refused here too).
Expected<std::string> WorkingTextFromBytes(std::string_view bytes);

// Every line break (CR LF, CR or LF) becomes `lineEnd`; unlike
// TextForWriting, nothing is added after an unterminated last line.
void ConvertLineEnds(std::string& text, std::string_view lineEnd);

// The working text split at CR LF, CR or LF, each line followed by the line end.
std::string TextForWriting(std::string_view workingText, std::string_view lineEnd);
// The same, in the text's own buffer where no line grows (a long page then needs no second copy).
void MakeTextForWriting(std::string& workingText, std::string_view lineEnd);

} // namespace qm
