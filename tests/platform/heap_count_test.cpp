// The counting operator new: every form counts once, a failed allocation throws or returns
// null as the standard says, and aligned allocations honour their alignment.
#include "platform/heap_count.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>

namespace skerrow::platform {
namespace {

// Pointers escape through here so the compiler cannot drop a new/delete pair.
void* volatile g_sink = nullptr;

struct alignas(256) Wide {
  char bytes[256];
};

TEST(HeapAllocations, EveryFormOfNewCountsOnce) {
  if (HeapAllocations() < 0) GTEST_SKIP() << "this build does not count heap allocations";
  int64_t before = HeapAllocations();
  g_sink = new int(3);
  delete static_cast<int*>(g_sink);
  g_sink = new int[5];
  delete[] static_cast<int*>(g_sink);
  g_sink = new (std::nothrow) int(4);
  delete static_cast<int*>(g_sink);
  Wide* wide = new Wide;
  g_sink = wide;
  EXPECT_EQ(reinterpret_cast<uintptr_t>(wide) % 256, 0u);
  delete wide;
  g_sink = new Wide[3];
  delete[] static_cast<Wide*>(g_sink);
  EXPECT_EQ(HeapAllocations() - before, 5);
}

TEST(HeapAllocations, FailedAllocationThrowsOrReturnsNull) {
  if (HeapAllocations() < 0) GTEST_SKIP() << "this build does not count heap allocations";
  // More than any address space holds: malloc fails without touching memory.
  volatile size_t huge = SIZE_MAX / 2;
  EXPECT_THROW(g_sink = ::operator new(huge), std::bad_alloc);
  EXPECT_EQ(::operator new(huge, std::nothrow), nullptr);
  EXPECT_EQ(::operator new (huge, std::align_val_t{64}, std::nothrow), nullptr);
}

}  // namespace
}  // namespace skerrow::platform
