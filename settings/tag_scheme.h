// Tag scheme files (*.rep replacement pairs, *.rem removal tags) and the checks the tag editor makes on a pair.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "options/option_set.h"

namespace qm {

// One line per entry: "+" (active) or anything else (inactive), one
// character more that is skipped, then the tag texts. A line shorter than two
// characters gives an entry with empty texts.
TTagReplacement ReplacementFromLine(std::string_view line);
TTagRemoval RemovalFromLine(std::string_view line);

// Reading a scheme file into a list. A missing file leaves the list as it is.
// Otherwise the list is replaced by one entry per line, up to the first empty
// line, for at most kMaxTagEntries entries. A file that exists but cannot be
// read reports "Error" and leaves the list as it was.
Status ReadReplaceScheme(FileSystem& fs, const std::string& path, std::vector<TTagReplacement>& list);
Status ReadRemoveScheme(FileSystem& fs, const std::string& path, std::vector<TTagRemoval>& list);

// Writing a list into a scheme file, replacing it atomically: "+ from to" or
// "- tag", each line ending with CR LF, for at most kMaxTagEntries entries. An
// empty list writes nothing at all: an existing file keeps its lines and no
// file is created.
Status WriteReplaceScheme(FileSystem& fs, const std::string& path, const std::vector<TTagReplacement>& list);
Status WriteRemoveScheme(FileSystem& fs, const std::string& path, const std::vector<TTagRemoval>& list);

// Whether the pair from `from` to `to` may join the list (or replace the entry
// at `exceptedIndex`) without the result of one replacement being replaced
// again by another entry: it fails when any other entry has `to` as its
// FromTag or `from` as its ToTag, compared exactly.
bool CycleTestPasses(const std::vector<TTagReplacement>& list, std::string_view from, std::string_view to,
    std::optional<std::size_t> exceptedIndex);

// Whether the engine, matching without regard to case, would find the pair's
// FromTag again in its own result: `to` equals `from` ignoring ASCII case, or
// begins with it followed by a space.
bool ReplacementFindsItself(std::string_view from, std::string_view to);

} // namespace qm
