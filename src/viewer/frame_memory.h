#pragma once
// A software GL takes tens of megabytes of working memory for a big frame and frees it at
// the frame's end; handed back to the kernel each time, it comes back as page faults on
// the next frame (measured: a third of a night frame's time). Blocks of up to 64 MB come
// from the heap instead of fresh mappings, and up to 256 MB of freed memory stays with the
// process. Process-wide, set once.

namespace orvane {

void KeepFrameMemory();

}  // namespace orvane
