#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

// Memory a program is about to fill, backed by pages in one call rather than
// one fault per 4 KiB page as it is written (a long log's chart points are
// tens of megabytes), in large pages where the range holds whole ones. Only
// hints: where the kernel cannot (before Linux 5.14), the pages come one
// fault at a time as before.
namespace korv::platform {

inline void populate_for_writing(void* begin, std::size_t bytes) {
#if defined(__linux__)
    constexpr int kPopulateWrite = 23;  // MADV_POPULATE_WRITE, missing from older headers
    constexpr std::uintptr_t kPage = 4096;
    const auto first = reinterpret_cast<std::uintptr_t>(begin);
    const std::uintptr_t start = (first + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t end = (first + bytes) & ~(kPage - 1);
    if (end > start) {
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
        ::madvise(reinterpret_cast<void*>(start), end - start, kPopulateWrite);
    }
#else
    (void)begin;
    (void)bytes;
#endif
}

}  // namespace korv::platform
