#pragma once
// A cue's two times: "fire", its ignition (what cues.csv keeps and the compile uses), and
// "break", fire + the prefire of its product, when the effect opens in the sky.

#include <cstdint>
#include <optional>

#include "show/product_list.h"
#include "util/result.h"

namespace orvane {

// The product's typed prefire, else the measured one, else 0 (the cue breaks as it fires).
int64_t PrefireMs(const Product* product, std::optional<int64_t> measuredMs);

inline int64_t BreakTimeMs(int64_t fireMs, int64_t prefireMs) { return fireMs + prefireMs; }

// The fire time that gives this break: break - prefire, refused when it falls before the
// show's start or after the last time a cue may have. The refusal is worded to follow the
// cue's place ("cues.csv line 7: a break at ...").
Result<int64_t> FireTimeForBreak(int64_t breakMs, int64_t prefireMs);

}  // namespace orvane
