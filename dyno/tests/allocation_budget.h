#pragma once
// A memory limit for one thread of a test. The test binary's global
// allocation functions count the bytes the armed thread holds and refuse
// (std::bad_alloc) a request that would take it past the budget. Works the
// same under the address sanitizer, where an address-space limit does not.
#include <cstddef>

namespace korv::dyno::testing_support {

class AllocationBudget {
public:
    explicit AllocationBudget(std::size_t bytes);
    ~AllocationBudget();
    AllocationBudget(const AllocationBudget&) = delete;
    AllocationBudget& operator=(const AllocationBudget&) = delete;

    // Whether a request was refused while armed.
    bool refused() const;
};

}  // namespace korv::dyno::testing_support
