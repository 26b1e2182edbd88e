// The differences between a page's initial and optimized text, as runs of kept, removed and added text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm {

enum class DiffKind { Same, Removed, Added };

struct DiffRun {
    DiffKind kind = DiffKind::Same;
    std::string text;
    bool operator==(const DiffRun&) const = default;
};

// A shortest edit between the two texts, counted in tokens: words, runs of
// blanks, line breaks and single marks, so that a removed quote or space
// shows as such rather than as a changed line. The kept and removed runs give
// the first text back, the kept and added runs the second; neighbouring runs
// differ in kind. A page that differs everywhere costs too much to align
// token by token beyond a fixed budget: the rest is then one removed and one
// added run, which is still true, only coarser.
std::vector<DiffRun> TextDifferences(std::string_view before, std::string_view after);

// Bytes removed and added, and the number of places where the text changed.
struct DiffSummary {
    std::size_t removedBytes = 0;
    std::size_t addedBytes = 0;
    std::size_t places = 0;
};
DiffSummary SummaryOf(const std::vector<DiffRun>& runs);

} // namespace qm
