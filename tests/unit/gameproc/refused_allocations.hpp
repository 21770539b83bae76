#pragma once

#include <cstddef>
#include <limits>

namespace pal4::testing {

// While one of these lives, operator new refuses (throws std::bad_alloc for) every request
// larger than the limit, as a 32-bit process does when its address space has no room for a
// buffer of hundreds of megabytes. The replacement operator new of this test exe honours it.
class RefusedAllocations {
public:
    explicit RefusedAllocations(std::size_t limit);
    RefusedAllocations(const RefusedAllocations&) = delete;
    RefusedAllocations& operator=(const RefusedAllocations&) = delete;
    ~RefusedAllocations();

private:
    std::size_t previous_;
};

} // namespace pal4::testing
