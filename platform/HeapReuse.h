#pragma once

// The software renderer gathers each frame's work in several MB of heap that
// it frees at the swap. glibc hands the free top of the heap back to the
// kernel once more than 128 KiB lie there, so every frame faulted those pages
// in again, each one cleared by the kernel: a tenth of the game thread's time.
// Call before the window opens.
void KeepFreedHeapForReuse();
