#pragma once
// The display's playback as its window runs it: every render tick of a show timed to its
// end, and how many stayed within the window's 40 ms.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "viewer/gl_headers.h"
#include "viewer/headless/headless_display.h"

namespace orvane {

// Adds the milliseconds of each tick until the started show ends.
inline void TimeRenderTicks(HeadlessDisplay& display, std::vector<double>& ticks) {
  const ShowPlayer& player = display.Model().Player();
  while (player.Active()) {
    display.Pump();
    const auto start = std::chrono::steady_clock::now();
    display.Core().RenderTick();
    glFinish();
    ticks.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
}

inline void ReportTicks(benchmark::State& state, std::vector<double> ticks) {
  std::sort(ticks.begin(), ticks.end());
  const auto met = std::upper_bound(ticks.begin(), ticks.end(), 40.0) - ticks.begin();
  state.counters["ticks"] = static_cast<double>(ticks.size());
  state.counters["met 40ms"] = ticks.empty() ? 0.0 : static_cast<double>(met) / static_cast<double>(ticks.size());
  state.counters["median ms"] = ticks.empty() ? 0.0 : ticks[ticks.size() / 2];
  state.counters["p95 ms"] = ticks.empty() ? 0.0 : ticks[ticks.size() * 95 / 100];
}

}  // namespace orvane
