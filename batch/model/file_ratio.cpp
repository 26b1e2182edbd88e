// The ratio in exact integer arithmetic, so that no page's figure depends on floating point.
#include "batch/model/file_ratio.h"

namespace qm {

std::optional<int> FileRatio(std::int64_t initialSize, std::int64_t optimizedSize)
{
    if (initialSize == 0) return std::nullopt;
    // Exact rational rounding: optimized * 100 / initial to the nearest
    // integer, halves to the even neighbour, for either sign.
    std::int64_t numerator = optimizedSize * 100;
    std::int64_t denominator = initialSize;
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    std::int64_t quotient = numerator / denominator;
    std::int64_t remainder = numerator % denominator;
    if (remainder < 0) {
        quotient -= 1;
        remainder += denominator;
    }
    // Now numerator = quotient * denominator + remainder with 0 <= remainder < denominator.
    if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0)) quotient += 1;
    return static_cast<int>(100 - quotient);
}

} // namespace qm
