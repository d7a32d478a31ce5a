#pragma once
// Whole-file check of a compiled show with the figures `orvane-cli info` prints.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stop_token>

#include "compiler/show_reader.h"

namespace orvane {

struct ShowSummary {
  uint64_t Blocks = 0;
  uint64_t Frames = 0;
  uint64_t Records = 0;
  uint64_t MinRecordsPerFrame = 0;
  uint64_t MaxRecordsPerFrame = 0;
  double MeanRecordsPerFrame = 0;
  double Seconds = 0;  // frames at 25 per second
  // Bounding box of every particle, in scene units; only meaningful when Records > 0.
  std::array<float, 3> Min{};
  std::array<float, 3> Max{};
  // `stop` came before the end: the figures cover the blocks read so far.
  bool Stopped = false;
};

// Reads every block to the end; the first fault stops it, and so does `stop` (between blocks).
std::optional<ShowFault> SummarizeShow(ShowFileReader& reader, ShowSummary& summary, std::stop_token stop = {});
std::optional<ShowFault> SummarizeShowFile(const std::filesystem::path& path, ShowSummary& summary,
                                           std::stop_token stop = {});

}  // namespace orvane
