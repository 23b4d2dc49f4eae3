#include "platform/core/page_populator.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "platform/core/memory_pages.h"

namespace korv::platform {

namespace {

// Bytes of each range per turn: a few blocks of a feed ahead of it.
constexpr std::size_t kSlice = std::size_t{256} << 10;

void populate(const std::vector<PagePopulator::Range>& ranges) {
    for (std::size_t offset = 0;; offset += kSlice) {
        bool more = false;
        for (const PagePopulator::Range& r : ranges) {
            if (offset >= r.bytes) continue;
            populate_for_writing(static_cast<char*>(r.begin) + offset, std::min(kSlice, r.bytes - offset));
            more = more || offset + kSlice < r.bytes;
        }
        if (!more) return;
    }
}

}  // namespace

PagePopulator::PagePopulator(std::vector<Range> ranges) {
    if (ranges.empty()) return;
    try {
        thread_ = std::thread([ranges = std::move(ranges)] { populate(ranges); });
    } catch (const std::system_error&) {
        // Without a thread the pages come as the memory is written.
    }
}

PagePopulator::~PagePopulator() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace korv::platform
