#include "viewer/night_lights.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace orvane {
namespace {

struct Cluster {
  double Weight = 0;
  std::array<double, 3> WeightedPosition{};
  std::array<double, 3> Power{};
};

using CellKey = std::tuple<int64_t, int64_t, int64_t>;

int64_t CellOf(float metres) {
  return static_cast<int64_t>(std::clamp(std::floor(metres / kLightCellMetres), -1e9f, 1e9f));
}

}  // namespace

std::vector<NightLight> BurstLights(const std::vector<NightStar>& stars) {
  // Ordered by cell, so equal clusters come out the same way every time.
  std::map<CellKey, Cluster> cells;
  for (const NightStar& s : stars) {
    if (!(s.Position[1] >= 0) || !std::isfinite(s.Position[0]) || !std::isfinite(s.Position[1]) ||
        !std::isfinite(s.Position[2]))
      continue;
    const double area = static_cast<double>(s.HalfSize) * s.HalfSize;
    const double weight = (static_cast<double>(s.Light[0]) + s.Light[1] + s.Light[2]) * area;
    if (!(weight > 0)) continue;
    Cluster& c = cells[{CellOf(s.Position[0]), CellOf(s.Position[1]), CellOf(s.Position[2])}];
    c.Weight += weight;
    for (int k = 0; k < 3; ++k) {
      c.WeightedPosition[k] += s.Position[k] * weight;
      c.Power[k] += s.Light[k] * area;
    }
  }
  std::vector<const Cluster*> order;
  order.reserve(cells.size());
  for (const auto& [key, cluster] : cells) order.push_back(&cluster);
  std::stable_sort(order.begin(), order.end(),
                   [](const Cluster* a, const Cluster* b) { return a->Weight > b->Weight; });
  std::vector<NightLight> lights;
  for (size_t i = 0; i < order.size() && i < static_cast<size_t>(kMaxNightLights); ++i) {
    NightLight light;
    for (int k = 0; k < 3; ++k) {
      light.Position[k] = static_cast<float>(order[i]->WeightedPosition[k] / order[i]->Weight);
      light.Power[k] = static_cast<float>(order[i]->Power[k]);
    }
    lights.push_back(light);
  }
  return lights;
}

}  // namespace orvane
