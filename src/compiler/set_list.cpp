#include "compiler/set_list.h"

#include <algorithm>

namespace orvane {

CSet& SetList::Append(std::unique_ptr<CSet> set) {
  held_ += Weight(*set);
  sets_.push_back(std::move(set));
  return *sets_.back();
}

bool SetList::Remove(const CSet* set) {
  const auto it = std::find_if(sets_.begin(), sets_.end(), [set](const auto& p) { return p.get() == set; });
  if (it == sets_.end()) return false;
  held_ -= Weight(**it);
  sets_.erase(it);
  return true;
}

void SetList::RemoveFinished() {
  std::erase_if(sets_, [this](const std::unique_ptr<CSet>& s) {
    if (!s->Finished) return false;
    held_ -= Weight(*s);
    return true;
  });
}

void SetList::Clear() {
  sets_.clear();
  held_ = 0;
}

}  // namespace orvane
