// Edit distance and the nearest known name.
#include "base/nearest_name.h"

#include <algorithm>
#include <vector>

#include "base/ascii.h"

namespace qm {

std::size_t EditDistance(std::string_view a, std::string_view b)
{
    // Three rows of the optimal string alignment table are enough.
    std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const bool same = LowerAscii(a[i - 1]) == LowerAscii(b[j - 1]);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && LowerAscii(a[i - 1]) == LowerAscii(b[j - 2]) &&
                LowerAscii(a[i - 2]) == LowerAscii(b[j - 1]))
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[b.size()];
}

std::optional<std::string_view> NearestName(std::string_view word, std::span<const std::string_view> candidates)
{
    const std::size_t allowed = std::clamp<std::size_t>(word.size() / 3, 1, 3);
    std::optional<std::string_view> nearest;
    std::size_t best = allowed + 1;
    for (std::string_view candidate : candidates) {
        const std::size_t distance = EditDistance(word, candidate);
        if (distance == 0) return std::nullopt;
        if (distance < best) {
            best = distance;
            nearest = candidate;
        }
    }
    return nearest;
}

} // namespace qm
