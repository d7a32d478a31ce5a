#include "project/project_history.h"

#include <gtest/gtest.h>

#include "compiler/compiled_device_prep.h"

namespace orvane {
namespace {

// A command that adds its amount to the show's offset, so every step is visible.
class AddOffset : public ProjectCommand {
 public:
  explicit AddOffset(double amount) : ProjectCommand("Add " + std::to_string(amount)), amount_(amount) {}
  void Apply(ProjectData& data, bool forward, ProjectChange& change) override {
    data.Show.Settings.MusicOffsetSeconds += forward ? amount_ : -amount_;
    change.Add(ProjectPart::kSettings);
  }

 private:
  double amount_;
};

struct Applied {
  ProjectData Data{PrepareCompiledPart};
  ProjectHistory History;

  void Do(double amount) {
    auto command = std::make_unique<AddOffset>(amount);
    ProjectChange change;
    command->Apply(Data, true, change);
    History.Push(std::move(command));
  }
  bool Undo() {
    ProjectCommand* c = History.StepBack();
    ProjectChange change;
    if (c) c->Apply(Data, false, change);
    return c != nullptr;
  }
  bool Redo() {
    ProjectCommand* c = History.StepForward();
    ProjectChange change;
    if (c) c->Apply(Data, true, change);
    return c != nullptr;
  }
  double Offset() const { return Data.Show.Settings.MusicOffsetSeconds; }
};

TEST(ProjectHistory, UndoAndRedoWalkTheStepsAndANewEditDropsTheRedoTail) {
  Applied a;
  EXPECT_FALSE(a.History.CanUndo());
  EXPECT_FALSE(a.Undo());
  a.Do(1);
  a.Do(10);
  a.Do(100);
  EXPECT_EQ(a.Offset(), 111);
  EXPECT_EQ(a.History.UndoText(), AddOffset(100).Text());
  ASSERT_TRUE(a.Undo());
  ASSERT_TRUE(a.Undo());
  EXPECT_EQ(a.Offset(), 1);
  EXPECT_EQ(a.History.RedoText(), AddOffset(10).Text());
  ASSERT_TRUE(a.Redo());
  EXPECT_EQ(a.Offset(), 11);
  a.Do(1000);  // drops the undone 100
  EXPECT_FALSE(a.History.CanRedo());
  EXPECT_FALSE(a.Redo());
  EXPECT_EQ(a.History.Count(), 3u);
  while (a.Undo()) {
  }
  EXPECT_EQ(a.Offset(), 0);
}

TEST(ProjectHistory, StateIdAndCleanMarkFollowUndoRedoAndOtherEdits) {
  Applied a;
  EXPECT_TRUE(a.History.IsClean());
  a.Do(1);
  const uint64_t one = a.History.StateId();
  a.History.SetClean();
  a.Do(2);
  EXPECT_FALSE(a.History.IsClean());
  EXPECT_NE(a.History.StateId(), one);
  a.Undo();
  EXPECT_TRUE(a.History.IsClean());
  EXPECT_EQ(a.History.StateId(), one);
  a.Undo();
  EXPECT_FALSE(a.History.IsClean());
  a.Redo();
  EXPECT_TRUE(a.History.IsClean());
  // The same place reached by another edit is another state.
  a.Undo();
  a.Do(1);
  EXPECT_NE(a.History.StateId(), one);
  EXPECT_FALSE(a.History.IsClean());
  a.History.Clear();
  EXPECT_TRUE(a.History.IsClean());
  EXPECT_FALSE(a.History.CanUndo());
}

TEST(ProjectHistory, KeepsAtMostItsLimitAndTheOldestStateStaysDistinct) {
  Applied a;
  a.History.SetClean();  // the state before any edit
  for (size_t i = 0; i < ProjectHistory::kMaxSteps + 5; ++i) a.Do(1);
  EXPECT_EQ(a.History.Count(), ProjectHistory::kMaxSteps);
  size_t undone = 0;
  while (a.Undo()) ++undone;
  EXPECT_EQ(undone, ProjectHistory::kMaxSteps);
  EXPECT_EQ(a.Offset(), 5);
  // The saved state was let go: the oldest reachable one is not it.
  EXPECT_FALSE(a.History.IsClean());
}

}  // namespace
}  // namespace orvane
