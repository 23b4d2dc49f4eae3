// The peak memory of loading a review document, counted by this binary's
// own allocation functions for the loading thread.
#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdlib>
#include <filesystem>
#include <new>

#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/vxmlog_doc.h"
#include "common/core/vxm_document_writer.h"
#include "testsupport/temp_folder.h"

namespace {

// Plain values only: these are read inside operator new.
thread_local bool t_counting = false;
thread_local long long t_held = 0;
thread_local long long t_peak = 0;

void* allocate(std::size_t size) noexcept {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p && t_counting) {
        t_held += static_cast<long long>(malloc_usable_size(p));
        if (t_held > t_peak) t_peak = t_held;
    }
    return p;
}

void release(void* p) noexcept {
    if (!p) return;
    if (t_counting) t_held -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}

void* allocate_or_throw(std::size_t size) {
    void* p = allocate(size);
    if (!p) throw std::bad_alloc();
    return p;
}

// The most bytes this thread held at once while alive, from its start.
class PeakCounter {
public:
    PeakCounter() {
        t_held = 0;
        t_peak = 0;
        t_counting = true;
    }
    ~PeakCounter() { t_counting = false; }
    long long peak() const { return t_peak; }
};

}  // namespace

void* operator new(std::size_t size) { return allocate_or_throw(size); }
void* operator new[](std::size_t size) { return allocate_or_throw(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }

namespace korv::boxlogger {
namespace {

// Samples with no channels cost the least on disk (4 bytes each) and, kept
// one vector per sample, the most in memory.
TEST(LoadMemory, ALoadedDocumentPeaksWithinTwiceItsFile) {
    ResetChannelTable();
    testsupport::TempFolder dir;
    const std::string path = dir.file("long.vxg");
    for (const std::size_t channels : {std::size_t{0}, std::size_t{1}, std::size_t{20}}) {
        SCOPED_TRACE(channels);
        VxmDocument stored;
        stored.channels.resize(channels);
        for (std::size_t c = 0; c < channels; ++c) stored.channels[c].id = static_cast<std::int32_t>(c);
        stored.samples.reset(channels);
        stored.samples.resize(std::size_t{4'000'000} / (channels + 1));
        ASSERT_EQ(write_vxm_document(path, stored), std::nullopt);
        const auto file_bytes = static_cast<long long>(std::filesystem::file_size(path));

        CVXMlogDoc doc{DocumentPrompts{}};
        long long peak = 0;
        {
            PeakCounter counter;
            ASSERT_EQ(doc.Load(path), std::nullopt);
            peak = counter.peak();
        }
        EXPECT_EQ(doc.samples().size(), stored.samples.size());
        EXPECT_LE(peak, 2 * file_bytes) << "file " << file_bytes << " bytes";
    }
}

}  // namespace
}  // namespace korv::boxlogger
