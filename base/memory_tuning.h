// Keeps freed page buffers in the process: every file needs a few buffers the size of the page.
#pragma once

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace qm {

// glibc hands large blocks back to the system on every free and maps fresh
// pages for the next one; for a program that optimizes page after page, the
// faults cost about as much as the passes. Called once from a program's main.
inline void KeepFreedPageBuffers()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
#endif
}

} // namespace qm
