// How many processors qmk's default --jobs uses.
#pragma once

namespace qm {

// The processors this process may run on (its affinity mask, which taskset,
// cgroups' cpusets and containers narrow), at least 1; the machine's count
// where the mask cannot be read.
unsigned UsableProcessorCount();

} // namespace qm
