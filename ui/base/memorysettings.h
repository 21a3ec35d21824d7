#pragma once

// Sets how the C library's allocator keeps memory for the window's process;
// called first thing in main. The pictures the window keeps (the graph's, the
// icons) are large blocks made anew when the window changes size or the
// message line takes a row. Left to itself, the allocator takes a large
// block from the heap once one of its size was freed, and the heap keeps
// that space after it is freed in turn. Here a block of 128 KiB or more has
// a mapping of its own, given back when it is freed, and the heap keeps at
// most 512 KiB free at its top.
void settleWindowMemory();
