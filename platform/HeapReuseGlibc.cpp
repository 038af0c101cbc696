#include "platform/HeapReuse.h"

#include <malloc.h>

namespace {

// Far above a frame's needs, even on the largest level.
constexpr int TRIM_THRESHOLD = 64 << 20;

}  // namespace

void KeepFreedHeapForReuse() { mallopt(M_TRIM_THRESHOLD, TRIM_THRESHOLD); }
