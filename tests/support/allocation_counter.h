// Counts heap allocations made anywhere in the test process (plug-ins
// included) while a counter is alive. The test executable replaces the global
// operator new and delete; plug-ins loaded into it use them too.
#pragma once

#include <cstdint>

namespace testing_support {

class AllocationCounter {
public:
    AllocationCounter();
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    int64_t allocations() const;
};

}  // namespace testing_support
