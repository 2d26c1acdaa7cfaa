#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

long allocations = 0;
long releases = 0;

void release(void* memory) {
    releases += memory != nullptr ? 1 : 0;
    std::free(memory);
}

} // namespace

void* operator new(std::size_t size) {
    ++allocations;
    void* memory = std::malloc(size == 0 ? 1 : size);
    return memory != nullptr ? memory : throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    release(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    release(memory);
}

namespace korvath::test {

long allocationCount() {
    return allocations;
}

long releaseCount() {
    return releases;
}

} // namespace korvath::test
