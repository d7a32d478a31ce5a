#include "project/project_history.h"

#include <cassert>

namespace orvane {

void ProjectHistory::Push(std::unique_ptr<ProjectCommand> done) {
  assert(done != nullptr);
  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(index_), steps_.end());
  steps_.push_back({std::move(done), nextId_++});
  if (steps_.size() > kMaxSteps) {
    baseId_ = steps_.front().Id;
    steps_.erase(steps_.begin());
  }
  index_ = steps_.size();
}

ProjectCommand* ProjectHistory::StepBack() {
  if (!CanUndo()) return nullptr;
  return steps_[--index_].Command.get();
}

ProjectCommand* ProjectHistory::StepForward() {
  if (!CanRedo()) return nullptr;
  return steps_[index_++].Command.get();
}

std::string ProjectHistory::UndoText() const { return CanUndo() ? steps_[index_ - 1].Command->Text() : std::string(); }

std::string ProjectHistory::RedoText() const { return CanRedo() ? steps_[index_].Command->Text() : std::string(); }

void ProjectHistory::Clear() {
  steps_.clear();
  index_ = 0;
  baseId_ = nextId_++;
  cleanId_ = baseId_;
}

}  // namespace orvane
