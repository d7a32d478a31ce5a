#include "viewer/frame_memory.h"

#include <malloc.h>

namespace orvane {

void KeepFrameMemory() {
  static const bool kept = mallopt(M_TRIM_THRESHOLD, 256 << 20) == 1 && mallopt(M_MMAP_THRESHOLD, 64 << 20) == 1;
  (void)kept;
}

}  // namespace orvane
