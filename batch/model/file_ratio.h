// The ratio the panel, the run's figures and qmk show for a page: how much of it a run removed.
#pragma once

#include <cstdint>
#include <optional>

namespace qm {

// 100 minus optimized/initial in percent, rounded half to even; none for an
// empty source, whose ratio means nothing.
std::optional<int> FileRatio(std::int64_t initialSize, std::int64_t optimizedSize);

} // namespace qm
