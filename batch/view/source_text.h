// The round trip between a page's bytes and the source view's text: UTF-8 pages as they are, any other byte as Latin-1.
#pragma once

#include <string>
#include <string_view>

#include "base/status.h"
#include "batch/model/source_view_state.h"

namespace qm {

// The view's text (UTF-8, lines broken by "\n") for a file's bytes. With
// keepLineEnds the file's own line end is kept for saving, otherwise CR LF.
struct SourceText {
    std::string text;
    SourceTextFormat format;
};
SourceText SourceTextOf(std::string_view bytes, bool keepLineEnds);

// The bytes to save for the view's text; a failure when the text holds a
// character that the file's single-byte form cannot store.
Expected<std::string> SourceBytesOf(std::string_view text, const SourceTextFormat& format);

} // namespace qm
