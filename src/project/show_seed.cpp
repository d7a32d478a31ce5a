#include "project/show_seed.h"

#include <random>

namespace orvane {

uint32_t SeedFromCueText(std::string_view cueFileBytes) {
  uint32_t hash = 2166136261u;
  for (const char c : cueFileBytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

uint32_t DrawShowSeed() {
  std::random_device source;
  return static_cast<uint32_t>(source());
}

}  // namespace orvane
