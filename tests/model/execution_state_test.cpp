#include "model/execution_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "compiler/compile_messages.h"

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

CompileEnd Complete() { return {CompileEndKind::Complete, ""}; }
CompileEnd Stopped() { return {CompileEndKind::Stopped, ""}; }

TEST(ExecutionState, FollowsTheTableThroughACompileAndAShow) {
  ExecutionState s;
  EXPECT_EQ(s.Buttons(), Expect(false, false, false, false, false));  // start
  s.ItemSelected();
  EXPECT_EQ(s.Buttons(), Expect(true, false, true, false, false));
  s.CompileStarted();
  EXPECT_EQ(s.Buttons(), Expect(false, false, false, true, false));
  EXPECT_TRUE(s.Compiling());
  EXPECT_FALSE(s.CompileFinished(Complete(), true).StartPlayback);
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
  s.CompileFinished(Complete(), true);
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
  s.CompileFinished(Complete(), true);
  s.PlaybackStarting();
  s.ItemDeselected();
  s.ItemSelected();
  EXPECT_EQ(s.Buttons(), Expect(false, false, false, false, true));
}

TEST(ExecutionState, PlaybackDoneEnablesCompileOnlyWithASelection) {
  ExecutionState s;
  s.ItemSelected();
  s.CompileStarted();
  s.CompileFinished(Complete(), true);
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
  EXPECT_TRUE(s.CompileFinished(Complete(), true).StartPlayback);
  EXPECT_FALSE(s.RenderAndVisualizeMarked());

  s.MarkRenderAndVisualize();
  s.CompileStarted();
  EXPECT_FALSE(s.CompileFinished({CompileEndKind::Failed, "The disk is full."}, true).StartPlayback);
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
  EXPECT_FALSE(s.CompileFinished(Stopped(), true).StartPlayback);
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
    s.CompileFinished(Complete(), true);
  };
  EXPECT_FALSE(s.ConfirmStopCompile(dialogs));
  EXPECT_EQ(dialogs.asked.size(), 1u);
  EXPECT_FALSE(s.StopRequested());
  EXPECT_EQ(s.Buttons(), Expect(true, true, true, false, false));
}

// ---- compile decisions

CompileRequest Request(size_t items, std::optional<std::string> selectedCode, bool compilerBusy = false) {
  return {items, std::move(selectedCode), compilerBusy};
}

TEST(ExecutionState, ACompileRequestIsRefusedWithItsMessageAndDropsTheMark) {
  struct Case {
    CompileRequest Request;
    const char* Message;
  };
  const Case cases[] = {
      {Request(0, std::nullopt),
       "No devices have been created, please configure the parameters and press <Create>, then press "
       "<Compile> again."},
      {Request(0, "7"),  // a stale selection in an emptied list
       "No devices have been created, please configure the parameters and press <Create>, then press "
       "<Compile> again."},
      {Request(3, std::nullopt), "Select from the list the device you wish to visualize."},
      // The refusal wins over the busy drop: a click always gets its answer.
      {Request(3, std::nullopt, true), "Select from the list the device you wish to visualize."},
  };
  for (const Case& c : cases) {
    ExecutionState s;
    s.ItemSelected();
    s.MarkRenderAndVisualize();
    const Result<CompileRoot> root = s.RequestCompile(c.Request);
    ASSERT_FALSE(root.Ok()) << c.Message;
    EXPECT_EQ(root.Message(), c.Message);
    EXPECT_FALSE(s.RenderAndVisualizeMarked());
    EXPECT_EQ(s.Buttons(), Expect(true, false, true, false, false));  // a refusal changes no button
  }
}

TEST(ExecutionState, ACompileRequestWhileBusyIsDroppedAndKeepsTheMark) {
  ExecutionState compiling;
  compiling.ItemSelected();
  compiling.CompileStarted();
  ExecutionState playing;
  playing.ItemSelected();
  playing.CompileStarted();
  (void)playing.CompileFinished(Complete(), true);
  ASSERT_TRUE(playing.PlaybackStarting());
  ExecutionState joining;  // the last compile's thread not yet joined
  joining.ItemSelected();

  for (ExecutionState* s : {&compiling, &playing, &joining}) {
    const ExecutionButtons before = s->Buttons();
    s->MarkRenderAndVisualize();
    EXPECT_TRUE(s->CompileBlocked(s == &joining));
    const Result<CompileRoot> root = s->RequestCompile(Request(2, "5", s == &joining));
    ASSERT_TRUE(root.Ok()) << root.Message();
    EXPECT_FALSE(root.Value().has_value());
    EXPECT_TRUE(s->RenderAndVisualizeMarked());
    EXPECT_EQ(s->Buttons(), before);
  }
}

TEST(ExecutionState, AnIdleRequestCompilesTheSelectedCode) {
  ExecutionState s;
  s.ItemSelected();
  EXPECT_FALSE(s.CompileBlocked(false));
  s.MarkRenderAndVisualize();
  EXPECT_EQ(s.RequestCompile(Request(2, "1234")).Value(), CompileRoot{1234});
  EXPECT_TRUE(s.RenderAndVisualizeMarked());  // kept for the compile's end
  EXPECT_EQ(s.RequestCompile(Request(1, "-3")).Value(), CompileRoot{-3});
  EXPECT_EQ(s.RequestCompile(Request(1, "$1F")).Value(), CompileRoot{31});
  // No number: code 0, which no device has, so the compiler refuses it with its own message.
  EXPECT_EQ(s.RequestCompile(Request(1, "rocket")).Value(), CompileRoot{0});
  EXPECT_EQ(s.Buttons(), Expect(true, false, true, false, false));  // the start lights the lamp
}

TEST(ExecutionState, EachCompileEndGetsItsMessageAndPlaysOnlyAWrittenShow) {
  struct Case {
    const char* Name;
    CompileEnd End;
    std::optional<Notice> Message;
    bool Visualize;
  };
  const std::string cut = ShowCutMessage(1500);
  const std::string tooLong = ShowTooLongMessage(90000);
  const std::string failed = ShowWriteFailedMessage("/shows/ovcompile.dat", "Permission denied");
  const std::string diskFull = NotEnoughDiskSpaceMessage(uint64_t{3} << 20);
  const Case cases[] = {
      {"written", {CompileEndKind::Complete, ""}, std::nullopt, true},
      {"cut at the size bound", {CompileEndKind::Cut, cut}, Notice{DialogKind::Warning, cut}, true},
      {"cut at the length bound", {CompileEndKind::Cut, tooLong}, Notice{DialogKind::Warning, tooLong}, true},
      {"not written", {CompileEndKind::Failed, failed}, Notice{DialogKind::Error, failed}, false},
      {"disk full", {CompileEndKind::Failed, diskFull}, Notice{DialogKind::Error, diskFull}, false},
      {"out of memory",
       {CompileEndKind::OutOfMemory, kCompileOutOfMemory},
       Notice{DialogKind::Error, kCompileOutOfMemory},
       false},
      {"stopped", {CompileEndKind::Stopped, "stopped"}, std::nullopt, false},
  };
  for (const Case& c : cases) {
    for (const bool marked : {false, true}) {
      SCOPED_TRACE(std::string(c.Name) + (marked ? ", compile and visualize" : ", compile"));
      ExecutionState s;
      s.ItemSelected();
      if (marked) s.MarkRenderAndVisualize();
      s.CompileStarted();
      const AfterCompile after = s.CompileFinished(c.End, true);
      EXPECT_EQ(after.Message, c.Message);
      EXPECT_EQ(after.StartPlayback, marked && c.Visualize);
      EXPECT_FALSE(s.RenderAndVisualizeMarked());
      EXPECT_EQ(s.Buttons(), Expect(true, c.Visualize, true, false, false));
      EXPECT_EQ(s.PlaybackStarting(), c.Visualize);
    }
  }
}

TEST(ExecutionState, ACompileEndingAfterAStopWasAskedPlaysNothing) {
  ExecutionState s;
  AnsweringDialogs dialogs;
  s.ItemSelected();
  s.MarkRenderAndVisualize();
  s.CompileStarted();
  ASSERT_TRUE(s.ConfirmStopCompile(dialogs));
  // The compile got to its end before the stop reached it: the show is there to visualize.
  const AfterCompile after = s.CompileFinished(Complete(), false);
  EXPECT_FALSE(after.StartPlayback);
  EXPECT_FALSE(after.Message.has_value());
  EXPECT_FALSE(s.StopRequested());
  EXPECT_EQ(s.Buttons(), Expect(false, true, false, false, false));
}

}  // namespace
}  // namespace orvane
