// Count of heap allocations made through operator new, for the benchmark's steady-frame check.
#pragma once

#include <cstdint>

namespace skerrow::platform {

// Allocations through any global operator new since the program started, or -1 when the
// build does not count them (sanitizer builds keep their own operator new).
int64_t HeapAllocations();

}  // namespace skerrow::platform
