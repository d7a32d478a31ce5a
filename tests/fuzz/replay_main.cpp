// Runs a fuzz target without libFuzzer: every seed of the corpus, then deterministic
// damaged copies of it (truncations, flipped bytes, extreme words), so the normal build
// keeps exercising the readers on bad input.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Run(const std::vector<uint8_t>& bytes) { LLVMFuzzerTestOneInput(bytes.data(), bytes.size()); }

void RunVariants(std::vector<uint8_t> seed) {
  Run(seed);
  for (size_t cut = 0; cut < seed.size(); cut += 1 + seed.size() / 64) {
    Run(std::vector<uint8_t>(seed.begin(), seed.begin() + static_cast<std::ptrdiff_t>(cut)));
  }
  uint32_t state = 0x12345678u;
  for (int round = 0; round < 256 && !seed.empty(); ++round) {
    std::vector<uint8_t> copy = seed;
    for (int k = 0; k < 1 + round % 4; ++k) {
      state = state * 1664525u + 1013904223u;
      const size_t at = state % copy.size();
      switch (round % 3) {
        case 0: copy[at] ^= static_cast<uint8_t>(1u << (state >> 29)); break;
        case 1: copy[at] = 0xFF; break;
        default:
          for (size_t j = at; j < copy.size() && j < at + 4; ++j) copy[j] = (state & 1) ? 0xFF : 0x00;
      }
    }
    Run(copy);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
    return 2;
  }
  size_t seeds = 0;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const auto& f : files) {
    std::ifstream in(f, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    RunVariants(std::move(bytes));
    ++seeds;
  }
  Run({});
  std::printf("replayed %zu seeds with their variants\n", seeds);
  return seeds > 0 ? 0 : 1;
}
