#pragma once

#include <cstddef>

namespace orvela::test {

// Counts global operator new calls made on this thread while a scope is alive.
class AllocationCounter {
 public:
  AllocationCounter();
  ~AllocationCounter();
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;

  std::size_t Count() const;

 private:
  std::size_t FStart;
};

}  // namespace orvela::test
