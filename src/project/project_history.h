#pragma once
// The one history of a show's edits: the commands done, in order, with the place undo has
// reached. It only keeps them; the project applies them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "project/project_command.h"

namespace orvane {

class ProjectHistory {
 public:
  // Older edits are let go beyond this many, so a long session's memory stays bounded.
  static constexpr size_t kMaxSteps = 1000;

  // Keeps a command that has been applied; the edits undone before it are dropped.
  void Push(std::unique_ptr<ProjectCommand> done);
  // The command to take back (the index moves below it), or null.
  ProjectCommand* StepBack();
  // The command to do again (the index moves past it), or null.
  ProjectCommand* StepForward();

  bool CanUndo() const { return index_ > 0; }
  bool CanRedo() const { return index_ < steps_.size(); }
  // The names of the next undo and redo; empty when there is none.
  std::string UndoText() const;
  std::string RedoText() const;
  size_t Index() const { return index_; }
  size_t Count() const { return steps_.size(); }

  // Names the state the edits have reached: equal again after an undo and a redo back,
  // different after any other edit.
  uint64_t StateId() const { return index_ == 0 ? baseId_ : steps_[index_ - 1].Id; }
  // The current state is the saved one.
  void SetClean() { cleanId_ = StateId(); }
  bool IsClean() const { return cleanId_ == StateId(); }
  // Forgets every edit; the state reached becomes clean.
  void Clear();

 private:
  struct Step {
    std::unique_ptr<ProjectCommand> Command;
    uint64_t Id = 0;
  };
  std::vector<Step> steps_;
  size_t index_ = 0;
  uint64_t nextId_ = 1;
  uint64_t baseId_ = 0;  // the state before the oldest kept step
  uint64_t cleanId_ = 0;
};

}  // namespace orvane
