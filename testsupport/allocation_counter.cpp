#include "testsupport/allocation_counter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {

// Plain values only: these are read inside operator new.
thread_local bool t_counting = false;
thread_local bool t_limited = false;
thread_local bool t_refused = false;
thread_local long long t_held = 0;
thread_local long long t_peak = 0;
thread_local long long t_budget = 0;

void* allocate(std::size_t size) noexcept {
    if (size == 0) size = 1;
    if (t_limited && t_held + static_cast<long long>(size) > t_budget) {
        t_refused = true;
        return nullptr;
    }
    void* p = std::malloc(size);
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

void start_counting() {
    t_held = 0;
    t_peak = 0;
    t_counting = true;
}

}  // namespace

namespace korv::testsupport {

PeakAllocationCounter::PeakAllocationCounter() { start_counting(); }

PeakAllocationCounter::~PeakAllocationCounter() { t_counting = false; }

long long PeakAllocationCounter::peak() const { return t_peak; }

AllocationBudget::AllocationBudget(std::size_t bytes) {
    start_counting();
    t_budget = static_cast<long long>(bytes);
    t_refused = false;
    t_limited = true;
}

AllocationBudget::~AllocationBudget() {
    t_limited = false;
    t_counting = false;
}

bool AllocationBudget::refused() const { return t_refused; }

}  // namespace korv::testsupport

// Every form the runtime would pair with another; the aligned forms stay the
// runtime's, as they pair only with each other.
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
