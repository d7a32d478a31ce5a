#include "media/waveform_envelope.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

namespace orvane {

WaveformEnvelope::WaveformEnvelope(AudioClip clip) : clip_(std::move(clip)) {
  assert(clip_.SampleRate > 0);
  const auto& samples = clip_.Samples;
  if (samples.empty()) return;
  std::vector<Bin> base((samples.size() + kEnvelopeBaseBin - 1) / kEnvelopeBaseBin);
  for (size_t b = 0; b < base.size(); ++b) {
    const size_t first = b * kEnvelopeBaseBin;
    const size_t end = std::min(samples.size(), first + kEnvelopeBaseBin);
    const auto [low, high] = std::minmax_element(samples.begin() + static_cast<ptrdiff_t>(first),
                                                 samples.begin() + static_cast<ptrdiff_t>(end));
    base[b] = Bin{*low, *high};
  }
  levels_.push_back(std::move(base));
  while (levels_.back().size() > 1) {
    const auto& below = levels_.back();
    std::vector<Bin> level((below.size() + 1) / 2);
    for (size_t b = 0; b < level.size(); ++b) {
      const Bin& left = below[2 * b];
      const Bin& right = 2 * b + 1 < below.size() ? below[2 * b + 1] : left;
      level[b] = Bin{std::min(left.Min, right.Min), std::max(left.Max, right.Max)};
    }
    levels_.push_back(std::move(level));
  }
}

EnvelopeColumn WaveformEnvelope::SampleRange(int64_t first, int64_t end) const {
  const auto count = static_cast<int64_t>(clip_.Samples.size());
  first = std::clamp<int64_t>(first, 0, count);
  end = std::clamp<int64_t>(end, 0, count);
  if (first >= end) return {};

  float low = std::numeric_limits<float>::infinity();
  float high = -std::numeric_limits<float>::infinity();
  auto scan = [&](int64_t from, int64_t to) {
    for (int64_t i = from; i < to; ++i) {
      low = std::min(low, clip_.Samples[static_cast<size_t>(i)]);
      high = std::max(high, clip_.Samples[static_cast<size_t>(i)]);
    }
  };
  int64_t position = std::min(end, (first + kEnvelopeBaseBin - 1) / kEnvelopeBaseBin * kEnvelopeBaseBin);
  scan(first, position);
  // Whole bins from here, each the largest that starts at the position and fits.
  const auto levelCount = static_cast<int32_t>(levels_.size());
  while (end - position >= kEnvelopeBaseBin) {
    int32_t level = 0;
    while (level + 1 < levelCount) {
      const int64_t wider = kEnvelopeBaseBin << (level + 1);
      if (position % wider != 0 || position + wider > end) break;
      ++level;
    }
    const int64_t width = kEnvelopeBaseBin << level;
    const Bin& bin = levels_[static_cast<size_t>(level)][static_cast<size_t>(position / width)];
    low = std::min(low, bin.Min);
    high = std::max(high, bin.Max);
    position += width;
  }
  scan(position, end);
  return EnvelopeColumn{low, high, true};
}

int64_t WaveformEnvelope::SampleAt(double seconds) const {
  // Clamped before the conversion so far-off times stay defined.
  const double limit = static_cast<double>(clip_.Samples.size()) + 1.0;
  if (std::isnan(seconds)) return -1;
  return static_cast<int64_t>(std::floor(std::clamp(seconds * clip_.SampleRate, -1.0, limit)));
}

void WaveformEnvelope::Columns(double startSeconds, double secondsPerColumn, std::span<EnvelopeColumn> out) const {
  assert(secondsPerColumn > 0.0);
  for (size_t i = 0; i < out.size(); ++i) {
    // Both edges from the column index, so neighbours share their edge exactly.
    const int64_t first = SampleAt(startSeconds + static_cast<double>(i) * secondsPerColumn);
    const int64_t end = std::max(first + 1, SampleAt(startSeconds + static_cast<double>(i + 1) * secondsPerColumn));
    out[i] = SampleRange(first, end);
  }
}

std::vector<EnvelopeColumn> WaveformEnvelope::Columns(double startSeconds, double secondsPerColumn,
                                                      int32_t count) const {
  std::vector<EnvelopeColumn> columns(static_cast<size_t>(std::max(count, 0)));
  Columns(startSeconds, secondsPerColumn, columns);
  return columns;
}

}  // namespace orvane
