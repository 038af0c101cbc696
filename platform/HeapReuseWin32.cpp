#include "platform/HeapReuse.h"

// The GL driver's frame memory is the driver's own heap there, out of reach of
// the program's C runtime: nothing to tune.
void KeepFreedHeapForReuse() {}
