#include "allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {
thread_local std::size_t allocations = 0;
thread_local int activeCounters = 0;

void* Allocate(std::size_t size) {
  if (activeCounters > 0) ++allocations;
  if (size == 0) size = 1;
  if (void* p = std::malloc(size)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace orvela::test {

AllocationCounter::AllocationCounter() : FStart(allocations) { ++activeCounters; }
AllocationCounter::~AllocationCounter() { --activeCounters; }
std::size_t AllocationCounter::Count() const { return allocations - FStart; }

}  // namespace orvela::test
