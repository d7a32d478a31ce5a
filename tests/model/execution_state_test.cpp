#include "model/execution_state.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

ExecutionButtons Expect(bool compile, bool visualize, bool renAndVis, bool compileLed, bool visualLed) {
  return {compile, visualize, renAndVis, compileLed, visualLed};
}

TEST(ExecutionState, FollowsTheTableThroughACompileAndAShow) {
  ExecutionState s;
  EXPECT_EQ(s.Buttons(), Expect(false, false, false, false, false));  // start
  s.ItemSelected();
  EXPECT_EQ(s.Buttons(), Expect(true, false, true, false, false));
  s.CompileStarted();
  EXPECT_EQ(s.Buttons(), Expect(false, false, false, true, false));
  EXPECT_TRUE(s.Compiling());
  EXPECT_FALSE(s.CompileFinished(CompileEnd::ShowWritten, true));
  EXPECT_EQ(s.Buttons(), Expect(true, true, true, false, false));  // compile done
  EXPECT_TRUE(s.PlaybackStarting());
  EXPECT_EQ(s.Buttons(), Expect(false, false, false, false, true));  // playing
  s.PlaybackFinished(true);
  EXPECT_EQ(s.Buttons(), Expect(true, true, true, false, false));
}

TEST(ExecutionState, DeselectingKeepsVisualizeAndTheLamps) {
  ExecutionState s;
  s.ItemSelected();
  s.CompileStarted();
  s.CompileFinished(CompileEnd::ShowWritten, true);
  s.ItemDeselected();
  EXPECT_EQ(s.Buttons(), Expect(false, true, false, false, false));
  s.CompileStarted();
  s.ItemDeselected();
  EXPECT_EQ(s.Buttons(), Expect(false, false, false, true, false));
}

TEST(ExecutionState, SelectingDuringACompileOrAShowEnablesNothing) {
  ExecutionState s;
  s.ItemSelected();
  s.CompileStarted();
  s.ItemSelected();
  EXPECT_EQ(s.Buttons(), Expect(false, false, false, true, false));
  s.CompileFinished(CompileEnd::ShowWritten, true);
  s.PlaybackStarting();
  s.ItemDeselected();
  s.ItemSelected();
  EXPECT_EQ(s.Buttons(), Expect(false, false, false, false, true));
}

TEST(ExecutionState, PlaybackDoneEnablesCompileOnlyWithASelection) {
  ExecutionState s;
  s.ItemSelected();
  s.CompileStarted();
  s.CompileFinished(CompileEnd::ShowWritten, true);
  s.PlaybackStarting();
  s.ItemDeselected();
  s.PlaybackFinished(false);
  EXPECT_EQ(s.Buttons(), Expect(false, true, false, false, false));
}

TEST(ExecutionState, VisualizeIsIgnoredUntilACompileHasWrittenAShow) {
  ExecutionState s;
  s.ItemSelected();
  EXPECT_FALSE(s.PlaybackStarting());
  EXPECT_EQ(s.Buttons(), Expect(true, false, true, false, false));
  s.CompileStarted();
  EXPECT_FALSE(s.PlaybackStarting());
}

TEST(ExecutionState, RenderAndVisualizePlaysOnlyAfterAWrittenShow) {
  ExecutionState s;
  s.ItemSelected();
  s.MarkRenderAndVisualize();
  s.CompileStarted();
  EXPECT_TRUE(s.CompileFinished(CompileEnd::ShowWritten, true));
  EXPECT_FALSE(s.RenderAndVisualizeMarked());

  s.MarkRenderAndVisualize();
  s.CompileStarted();
  EXPECT_FALSE(s.CompileFinished(CompileEnd::NoShow, true));
  EXPECT_FALSE(s.RenderAndVisualizeMarked());
  // A failed compile returns to idle; the file it removed cannot be played.
  EXPECT_EQ(s.Buttons(), Expect(true, false, true, false, false));
}

}  // namespace
}  // namespace orvane
