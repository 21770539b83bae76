#include "refused_allocations.hpp"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> allocationLimit{std::numeric_limits<std::size_t>::max()};

void* allocate(std::size_t size) {
    if (size > allocationLimit.load()) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

} // namespace

namespace pal4::testing {

RefusedAllocations::RefusedAllocations(std::size_t limit) : previous_(allocationLimit.load()) {
    allocationLimit.store(limit);
}

RefusedAllocations::~RefusedAllocations() {
    allocationLimit.store(previous_);
}

} // namespace pal4::testing

// The replaceable global allocation functions, for this test exe only.
void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
