// The processors of the process's affinity mask.
#include "cli/processor_count.h"

#include <algorithm>
#include <cerrno>
#include <sched.h>
#include <thread>

namespace qm {

unsigned UsableProcessorCount()
{
    // A mask of the fixed size covers 1024 processors; larger machines need a larger one.
    for (int processors = CPU_SETSIZE; processors <= 1 << 16; processors *= 2) {
        cpu_set_t* mask = CPU_ALLOC(processors);
        if (!mask) break;
        const std::size_t size = CPU_ALLOC_SIZE(processors);
        CPU_ZERO_S(size, mask);
        const bool read = ::sched_getaffinity(0, size, mask) == 0;
        const int count = read ? CPU_COUNT_S(size, mask) : 0;
        CPU_FREE(mask);
        if (read) return static_cast<unsigned>(std::max(count, 1));
        if (errno != EINVAL) break;
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

} // namespace qm
