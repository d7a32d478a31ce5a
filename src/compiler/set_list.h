#pragma once
// The ordered list of live particle sets. It owns its sets; a set's address is its
// identity. It also keeps the count of star slots held, for the compile's size bound.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "compiler/particle_set.h"

namespace orvane {

class SetList {
 public:
  size_t Count() const { return sets_.size(); }
  bool Empty() const { return sets_.empty(); }
  CSet& operator[](size_t i) const { return *sets_[i]; }

  // New sets go to the end. Sets never move in memory, so a set may append while it steps.
  CSet& Append(std::unique_ptr<CSet> set);
  // Frees the set and deletes its entry; later entries move up by one. False when absent.
  bool Remove(const CSet* set);
  // Removes every Finished set in one pass; the others keep their order.
  void RemoveFinished();
  void Clear();

  // Star slots of the sets in the list, plus one per set.
  uint64_t HeldParticles() const { return held_; }

 private:
  static uint64_t Weight(const CSet& set) { return uint64_t{set.StarCount} + 1; }

  std::vector<std::unique_ptr<CSet>> sets_;
  uint64_t held_ = 0;
};

}  // namespace orvane
