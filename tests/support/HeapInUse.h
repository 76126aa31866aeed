// The heap a test program has in use, for tests that run the same work again and again and
// compare what is left held.
#pragma once

#include <cstddef>

// The sanitizers' allocator's count under them, else malloc's.
size_t HeapBytesInUse();
