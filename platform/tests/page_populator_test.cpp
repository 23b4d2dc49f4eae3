// Pages backed on a thread of their own while the memory is being filled.
#include "platform/core/page_populator.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace korv::platform {
namespace {

// How many of the pages of [begin, begin + bytes) are resident.
std::size_t resident_pages(void* begin, std::size_t bytes) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident((bytes + page - 1) / page);
    if (::mincore(begin, bytes, resident.data()) != 0) return 0;
    std::size_t n = 0;
    for (unsigned char r : resident) n += r & 1u;
    return n;
}

TEST(PagePopulator, BacksEveryRangeWhileItIsWrittenAndKeepsWhatWasWritten) {
    constexpr std::size_t kBytes = std::size_t{4} << 20;
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    std::vector<char*> ranges;
    for (int i = 0; i < 3; ++i) {
        void* m = ::mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(m, MAP_FAILED);
        ranges.push_back(static_cast<char*>(m));
    }
    {
        std::vector<PagePopulator::Range> list;
        for (char* r : ranges) list.push_back({r, kBytes});
        const PagePopulator pages(std::move(list));
        for (char* r : ranges) std::memset(r, 7, kBytes / 2);  // the filling goes on meanwhile
    }
    for (char* r : ranges) {
        EXPECT_EQ(resident_pages(r, kBytes), kBytes / page);
        EXPECT_EQ(r[kBytes / 2 - 1], 7);
        EXPECT_EQ(r[kBytes - 1], 0);
        ::munmap(r, kBytes);
    }
    const PagePopulator nothing({});  // starts no thread
}

}  // namespace
}  // namespace korv::platform
