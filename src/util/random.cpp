#include "util/random.h"

#include <atomic>
#include <chrono>

namespace orvane {
namespace {

std::atomic<uint32_t> g_seed{0};
std::atomic<bool> g_seeded{false};
// The innermost ThreadRandomScope's seed on this thread, or null.
thread_local uint32_t* t_seed = nullptr;

}  // namespace

int32_t Random(int32_t n) {
  if (t_seed != nullptr) {
    *t_seed = NextRandomSeed(*t_seed);
    return DrawFromSeed(*t_seed, static_cast<uint32_t>(n));
  }
  uint32_t seed = g_seed.load(std::memory_order_relaxed);
  uint32_t next;
  do {
    next = NextRandomSeed(seed);
  } while (!g_seed.compare_exchange_weak(seed, next, std::memory_order_relaxed));
  return DrawFromSeed(next, static_cast<uint32_t>(n));
}

void ReseedFromClock() {
  if (t_seed != nullptr || g_seeded.load(std::memory_order_relaxed)) return;
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  g_seed.store(static_cast<uint32_t>(ticks), std::memory_order_relaxed);
}

void SetRandomSeed(uint32_t seed) {
  if (t_seed != nullptr) {
    *t_seed = seed;
    return;
  }
  g_seed.store(seed, std::memory_order_relaxed);
}

uint32_t RandomSeed() { return t_seed != nullptr ? *t_seed : g_seed.load(std::memory_order_relaxed); }

ThreadRandomScope::ThreadRandomScope(uint32_t seed) : seed_(seed), outer_(t_seed) { t_seed = &seed_; }

ThreadRandomScope::~ThreadRandomScope() { t_seed = outer_; }

void EnableSeededMode(uint32_t seed) {
  g_seed.store(seed, std::memory_order_relaxed);
  g_seeded.store(true, std::memory_order_relaxed);
}

void DisableSeededMode() { g_seeded.store(false, std::memory_order_relaxed); }

bool SeededModeEnabled() { return g_seeded.load(std::memory_order_relaxed); }

}  // namespace orvane
