#include "media/fd_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

namespace orvane {
namespace {

constexpr int kBufferBytes = 64 * 1024;

struct FdPosition {
  int Fd = -1;
  int64_t At = 0;
};

int ReadPacket(void* opaque, uint8_t* buffer, int size) {
  auto& f = *static_cast<FdPosition*>(opaque);
  for (;;) {
    const ssize_t n = pread(f.Fd, buffer, static_cast<size_t>(size), static_cast<off_t>(f.At));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return AVERROR(errno);
    if (n == 0) return AVERROR_EOF;
    f.At += n;
    return static_cast<int>(n);
  }
}

int WritePacket(void* opaque, uint8_t* buffer, int size) {
  auto& f = *static_cast<FdPosition*>(opaque);
  int done = 0;
  while (done < size) {
    const ssize_t n = pwrite(f.Fd, buffer + done, static_cast<size_t>(size - done), static_cast<off_t>(f.At));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return AVERROR(errno);
    if (n == 0) return AVERROR(EIO);
    f.At += n;
    done += static_cast<int>(n);
  }
  return size;
}

int64_t Seek(void* opaque, int64_t offset, int whence) {
  auto& f = *static_cast<FdPosition*>(opaque);
  struct stat info {};
  if ((whence & ~AVSEEK_FORCE) == AVSEEK_SIZE) return fstat(f.Fd, &info) == 0 ? info.st_size : AVERROR(errno);
  switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET: break;
    case SEEK_CUR: offset += f.At; break;
    case SEEK_END:
      if (fstat(f.Fd, &info) != 0) return AVERROR(errno);
      offset += info.st_size;
      break;
    default: return AVERROR(EINVAL);
  }
  if (offset < 0) return AVERROR(EINVAL);
  f.At = offset;
  return offset;
}

AVIOContext* Open(int fd, bool write) {
  auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferBytes));
  if (buffer == nullptr) return nullptr;
  auto* position = new FdPosition{fd, 0};
  AVIOContext* io = avio_alloc_context(buffer, kBufferBytes, write ? 1 : 0, position, ReadPacket,
                                       write ? WritePacket : nullptr, Seek);
  if (io == nullptr) {
    av_free(buffer);
    delete position;
  }
  return io;
}

}  // namespace

AVIOContext* OpenReadIo(int fd) { return Open(fd, false); }
AVIOContext* OpenWriteIo(int fd) { return Open(fd, true); }

void CloseIo(AVIOContext*& io) {
  if (io == nullptr) return;
  if (io->write_flag) avio_flush(io);
  delete static_cast<FdPosition*>(io->opaque);
  av_freep(&io->buffer);
  avio_context_free(&io);
}

}  // namespace orvane
