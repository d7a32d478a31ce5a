#pragma once
// FFmpeg's I/O on a file descriptor the program opened itself, so FFmpeg never opens a
// file by name: a name swapped for a link, a FIFO or a device between the program's checks
// and the open cannot redirect it. Reads and writes go through pread/pwrite at a position of
// each context's own, so a reading and a writing context may share one descriptor.

struct AVIOContext;

namespace orvane {

// Reading and seeking; the descriptor stays the caller's. Null when out of memory.
AVIOContext* OpenReadIo(int fd);
// Writing, reading back and seeking, as a muxer that moves its index needs.
AVIOContext* OpenWriteIo(int fd);
// Flushes a writing context and frees either kind; `io` becomes null.
void CloseIo(AVIOContext*& io);

}  // namespace orvane
