#pragma once
// Memory a program is about to fill, backed by pages on a thread of its own
// while the program goes on: the kernel's work for tens of megabytes of
// fresh chart points then overlaps the reading that fills them instead of
// coming before it. The ranges are taken a slice of each in turn, as a
// feed fills them all from their starts, so the filling rarely meets a page
// not there yet (and where it does, the kernel backs it then, as ever).
#include <cstddef>
#include <thread>
#include <vector>

namespace korv::platform {

class PagePopulator {
public:
    struct Range {
        void* begin = nullptr;
        std::size_t bytes = 0;
    };

    // Starts on `ranges` at once; an empty list starts no thread.
    explicit PagePopulator(std::vector<Range> ranges);
    // Waits for the pages: the ranges must outlive it.
    ~PagePopulator();
    PagePopulator(const PagePopulator&) = delete;
    PagePopulator& operator=(const PagePopulator&) = delete;

private:
    std::thread thread_;
};

}  // namespace korv::platform
