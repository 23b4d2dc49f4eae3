#pragma once
// Counts one thread's heap bytes in a test. Linking korv_allocation_counter
// replaces the binary's global allocation functions, which count the bytes
// (as malloc_usable_size reports them) the armed thread holds. Works the same
// under the address sanitizer, where an address-space limit does not.
#include <cstddef>

namespace korv::testsupport {

// The most bytes this thread held at once while alive, from its start.
class PeakAllocationCounter {
public:
    PeakAllocationCounter();
    ~PeakAllocationCounter();
    PeakAllocationCounter(const PeakAllocationCounter&) = delete;
    PeakAllocationCounter& operator=(const PeakAllocationCounter&) = delete;

    long long peak() const;
};

// A memory limit for this thread while alive: a request that would take it
// past the budget is refused (std::bad_alloc, or null from the nothrow forms).
class AllocationBudget {
public:
    explicit AllocationBudget(std::size_t bytes);
    ~AllocationBudget();
    AllocationBudget(const AllocationBudget&) = delete;
    AllocationBudget& operator=(const AllocationBudget&) = delete;

    // Whether a request was refused while armed.
    bool refused() const;
};

}  // namespace korv::testsupport
