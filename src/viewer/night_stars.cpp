#include "viewer/night_stars.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "compiler/show_record.h"
#include "viewer/particle_record.h"

namespace orvane {
namespace {

struct RawStar {
  int32_t X = 0, Y = 0, Z = 0;
  uint8_t Size = 0;
};

RawStar RawOf(const uint8_t* bytes) {
  const ParticleRecord r = DecodeRecord(bytes);
  return {r.X, r.Y, r.Z, r.SizeLevel()};
}

int64_t Distance2(const RawStar& a, const RawStar& b) {
  const int64_t dx = a.X - b.X, dy = a.Y - b.Y, dz = a.Z - b.Z;
  return dx * dx + dy * dy + dz * dz;
}

constexpr int64_t kGate2 = int64_t{kMaxRecordStepPerFrame} * kMaxRecordStepPerFrame;
// Around the expected place: a few stars that died before it, more born after it.
constexpr int64_t kBehind = 4, kAhead = 12;

int64_t CellOf(int32_t v) { return (static_cast<int64_t>(v) + 32768) / kMaxRecordStepPerFrame; }
// Cells run 0 ... 43 on each axis; neighbours one further either way stay apart.
int64_t CellKey(int64_t cx, int64_t cy, int64_t cz) { return ((cx + 1) * 128 + (cy + 1)) * 128 + (cz + 1); }

// The previous frame's stars by grid cell of the gate's size, built on first need.
class PreviousStars {
 public:
  explicit PreviousStars(std::span<const uint8_t> records) {
    stars_.reserve(records.size() / kRecordSize);
    for (size_t at = 0; at + kRecordSize <= records.size(); at += kRecordSize) stars_.push_back(RawOf(&records[at]));
  }

  size_t Count() const { return stars_.size(); }

  // The nearest star of the same size within the gate, first by index on a tie; -1 for none.
  int64_t NearestInWindow(const RawStar& star, int64_t from, int64_t to) const {
    int64_t best = -1, bestD = kGate2 + 1;
    for (int64_t k = std::max<int64_t>(from, 0); k < std::min<int64_t>(to, static_cast<int64_t>(Count())); ++k) {
      Consider(star, k, best, bestD);
    }
    return best;
  }

  int64_t NearestAnywhere(const RawStar& star) {
    if (cells_.empty() && !stars_.empty()) BuildCells();
    int64_t best = -1, bestD = kGate2 + 1;
    const int64_t cx = CellOf(star.X), cy = CellOf(star.Y), cz = CellOf(star.Z);
    for (int64_t dx = -1; dx <= 1; ++dx) {
      for (int64_t dy = -1; dy <= 1; ++dy) {
        for (int64_t dz = -1; dz <= 1; ++dz) {
          const int64_t key = CellKey(cx + dx, cy + dy, cz + dz);
          auto it = std::lower_bound(cells_.begin(), cells_.end(), std::pair{key, int64_t{0}});
          for (; it != cells_.end() && it->first == key; ++it) Consider(star, it->second, best, bestD);
        }
      }
    }
    return best;
  }

  const RawStar& operator[](int64_t k) const { return stars_[static_cast<size_t>(k)]; }

 private:
  void Consider(const RawStar& star, int64_t k, int64_t& best, int64_t& bestD) const {
    const RawStar& p = stars_[static_cast<size_t>(k)];
    if (p.Size != star.Size) return;
    const int64_t d = Distance2(star, p);
    if (d < bestD || (d == bestD && k < best)) {
      best = k;
      bestD = d;
    }
  }

  void BuildCells() {
    cells_.reserve(stars_.size());
    for (size_t k = 0; k < stars_.size(); ++k) {
      const RawStar& s = stars_[k];
      cells_.emplace_back(CellKey(CellOf(s.X), CellOf(s.Y), CellOf(s.Z)), static_cast<int64_t>(k));
    }
    std::sort(cells_.begin(), cells_.end());
  }

  std::vector<RawStar> stars_;
  std::vector<std::pair<int64_t, int64_t>> cells_;  // cell key, index; sorted
};

}  // namespace

Vec3 UnitsToMetres(float x, float y, float z, const NightSite& site) {
  const float m = site.MetresPerUnit;
  return {x * m, (y - site.GroundY) * m, z * m};
}

std::vector<NightStar> NightStarsOf(std::span<const uint8_t> records, std::span<const uint8_t> previous,
                                    const NightSite& site) {
  PreviousStars before(previous);
  std::vector<NightStar> stars;
  stars.reserve(records.size() / kRecordSize);
  int64_t offset = 0;  // where the previous frame's match of star i was, less i
  for (size_t at = 0; at + kRecordSize <= records.size(); at += kRecordSize) {
    const int64_t i = static_cast<int64_t>(at / kRecordSize);
    const DecodedParticle p = DecodeParticle(&records[at]);
    NightStar star;
    star.Position = UnitsToMetres(p.X, p.Y, p.Z, site);
    star.Light = {p.Red * p.Alpha, p.Green * p.Alpha, p.Blue * p.Alpha};
    star.HalfSize = p.HalfSize * site.MetresPerUnit;
    if (before.Count() > 0) {
      const RawStar raw = RawOf(&records[at]);
      const int64_t expected = i + offset;
      int64_t match = before.NearestInWindow(raw, expected - kBehind, expected + kAhead + 1);
      if (match < 0) match = before.NearestAnywhere(raw);
      if (match >= 0) {
        offset = match - i;
        const RawStar& from = before[match];
        const float share = kNightShutterShare * site.MetresPerUnit / 3000.0f;
        star.Motion = {static_cast<float>(raw.X - from.X) * share, static_cast<float>(raw.Y - from.Y) * share,
                       static_cast<float>(raw.Z - from.Z) * share};
      }
    }
    stars.push_back(star);
  }
  return stars;
}

}  // namespace orvane
