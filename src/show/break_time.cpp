#include "show/break_time.h"

#include "show/cue_list.h"

namespace orvane {

int64_t PrefireMs(const Product* product, std::optional<int64_t> measuredMs) {
  if (product != nullptr && product->PrefireMs) return *product->PrefireMs;
  return measuredMs.value_or(0);
}

Result<int64_t> FireTimeForBreak(int64_t breakMs, int64_t prefireMs) {
  const int64_t fire = breakMs - prefireMs;
  if (fire < 0)
    return Fail("a break at " + CueTimeText(breakMs) + " s would fire the cue before the show starts (its prefire is " +
                CueTimeText(prefireMs) + " s)");
  if (fire > kMaxCueTimeMs) return Fail("a break at " + CueTimeText(breakMs) + " s is later than a day into the show");
  return fire;
}

}  // namespace orvane
