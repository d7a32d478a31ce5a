#include "model/execution_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace orvane {
namespace {

// Answers every question with `answer`, running `during` while the box would be open.
struct AnsweringDialogs : UserDialogs {
  DialogAnswer answer = DialogAnswer::Yes;
  std::function<void()> during;
  std::vector<std::string> asked;

  DialogAnswer Message(DialogKind, DialogButtons buttons, const std::string& text, const std::string&) override {
    EXPECT_EQ(buttons, DialogButtons::YesNo);
    asked.push_back(text);
    if (during) during();
    return answer;
  }
  std::optional<std::string> InputText(const std::string&, const std::string&, const std::string&) override {
    return {};
  }
  std::optional<uint32_t> PickColor(uint32_t) override { return {}; }
  std::optional<std::string> PickFolder(const std::string&, const std::string&) override { return {}; }
};

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

TEST(ExecutionState, StoppingAsksOnlyWhileACompileRunsAndOnlyOnce) {
  ExecutionState s;
  AnsweringDialogs dialogs;
  s.ItemSelected();
  EXPECT_FALSE(s.ConfirmStopCompile(dialogs));  // idle: nothing to stop, no question
  EXPECT_TRUE(dialogs.asked.empty());

  s.MarkRenderAndVisualize();
  s.CompileStarted();
  dialogs.answer = DialogAnswer::No;
  EXPECT_FALSE(s.ConfirmStopCompile(dialogs));
  EXPECT_FALSE(s.StopRequested());
  EXPECT_TRUE(s.RenderAndVisualizeMarked());
  dialogs.answer = DialogAnswer::Yes;
  EXPECT_TRUE(s.ConfirmStopCompile(dialogs));
  EXPECT_EQ(dialogs.asked, (std::vector<std::string>{kStopCompileQuestion, kStopCompileQuestion}));
  EXPECT_TRUE(s.StopRequested());
  EXPECT_FALSE(s.RenderAndVisualizeMarked());
  EXPECT_FALSE(s.ConfirmStopCompile(dialogs));  // a stop is pending: not asked again
  EXPECT_EQ(dialogs.asked.size(), 2u);

  // The stopped compile leaves no show: back to idle with Visualize off, nothing to play.
  EXPECT_FALSE(s.CompileFinished(CompileEnd::NoShow, true));
  EXPECT_EQ(s.Buttons(), Expect(true, false, true, false, false));
  EXPECT_FALSE(s.StopRequested());
}

TEST(ExecutionState, ACompileThatEndsWhileTheQuestionIsOpenIsNotStopped) {
  ExecutionState s;
  AnsweringDialogs dialogs;
  s.ItemSelected();
  s.CompileStarted();
  dialogs.during = [&] {
    EXPECT_FALSE(s.ConfirmStopCompile(dialogs));  // a second Escape meanwhile asks nothing
    s.CompileFinished(CompileEnd::ShowWritten, true);
  };
  EXPECT_FALSE(s.ConfirmStopCompile(dialogs));
  EXPECT_EQ(dialogs.asked.size(), 1u);
  EXPECT_FALSE(s.StopRequested());
  EXPECT_EQ(s.Buttons(), Expect(true, true, true, false, false));
}

}  // namespace
}  // namespace orvane
