// The display model without a window or GL: where its texts stand, what input does, and
// playback as its owner hears of it.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "model/about_text.h"
#include "playback_rig.h"
#include "support/scripted_dialogs.h"
#include "viewer/display_model.h"

namespace orvane::testing {
namespace {

// Seven pixels a character, so every width is known.
class FixedFont : public FontService {
 public:
  std::optional<GlyphBitmap> Glyph(unsigned char) override { return std::nullopt; }
  TextSize Extent(std::string_view text) override { return {7 * static_cast<int32_t>(text.size()), 11}; }
};

class Panel : public PanelSizeSource {
 public:
  int32_t PanelWidth() const override { return width; }
  int32_t PanelHeight() const override { return height; }
  int32_t width = 400, height = 300;
};

class ModelRig {
 public:
  ModelRig() {
    DisplayModelServices services;
    services.Panel = &panel;
    services.Font = &font;
    services.Poster = &poster;
    services.Timers = &timers;
    services.Dialogs = &dialogs;
    services.Events = &events;
    model = std::make_unique<DisplayModel>(services, dir.Path() / kShowFileName);
  }

  void WriteShow(const std::vector<uint8_t>& bytes) {
    std::ofstream(dir.Path() / kShowFileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  // Two pump periods and one drawn frame, as a host's render tick does it.
  void Tick() {
    for (int i = 0; i < 2; ++i) {
      timers.Tick();
      poster.RunPending();
      poster.RunUntil([this] { return !model->Player().LoaderRunning(); }, std::chrono::seconds(10));
      poster.RunPending();
    }
    if (const std::vector<uint8_t>* frame = model->TakeFrame(); frame != nullptr && !frame->empty()) {
      drawn.push_back(static_cast<int16_t>((*frame)[0] | (*frame)[1] << 8));
      clock_at_draw.push_back(model->Clock().Frame);
    }
    model->AdvanceFrame();
  }

  bool PlayToEnd(int limit) {
    for (int i = 0; i < limit && model->Clock().Active; ++i) Tick();
    return !model->Clock().Active;
  }

  ScratchDir dir;
  Panel panel;
  FixedFont font;
  QueuedPoster poster;
  SteppedTimerService timers;
  ScriptedDialogs dialogs;
  RecordingEvents events;
  std::unique_ptr<DisplayModel> model;
  std::vector<int> drawn;              // the x field of each drawn frame's first record
  std::vector<int64_t> clock_at_draw;  // the clock's frame when each was drawn
};

int32_t Width(const std::string& text) { return 7 * static_cast<int32_t>(text.size()); }

TEST(DisplayModelTexts, CompilingAndAboutLinesAreCentredAndFollowThePanel) {
  ModelRig rig;
  DisplayModel& m = *rig.model;
  m.ShowCompileText();
  ASSERT_NE(m.CompileText(), nullptr);
  EXPECT_EQ(m.CompileText()->Text, "Compiling...");
  EXPECT_EQ(m.CompileText()->X, (400 - Width("Compiling...")) / 2);
  EXPECT_EQ(m.CompileText()->Y, 150);
  EXPECT_EQ(m.CompileText()->Alpha, 0.0f) << "fades in";

  m.ShowAboutLines();
  EXPECT_TRUE(m.AboutShown());
  const int32_t offsets[kAboutLineCount] = {45, 30, 15, -15, -30, -45};
  for (int i = 0; i < kAboutLineCount; ++i) {
    const TTextAtt* line = m.AboutLine(i);
    ASSERT_NE(line, nullptr) << i;
    EXPECT_EQ(line->Text, DecodedAboutLine(i));
    EXPECT_EQ(line->X, (400 - Width(line->Text)) / 2) << i;
    EXPECT_EQ(line->Y, 150 + offsets[i]) << i;
    EXPECT_EQ(line->Step, kAboutLines[static_cast<size_t>(i)].Step);
  }
  EXPECT_EQ(m.AboutLine(kAboutLineCount), nullptr);

  rig.panel.width = 501;
  rig.panel.height = 200;
  m.PanelResized(201);  // the height as drawn may differ from the panel's
  EXPECT_EQ(m.CompileText()->X, (501 - Width("Compiling...")) / 2);
  EXPECT_EQ(m.CompileText()->Y, 100);
  for (int i = 0; i < kAboutLineCount; ++i) {
    EXPECT_EQ(m.AboutLine(i)->X, (501 - Width(m.AboutLine(i)->Text)) / 2) << i;
    EXPECT_EQ(m.AboutLine(i)->Y, 100 + offsets[i]) << i;
  }

  m.HideAboutLines();
  m.HideCompileText();
  EXPECT_FALSE(m.AboutShown());
  EXPECT_EQ(m.AboutLine(0), nullptr);
  EXPECT_EQ(m.CompileText(), nullptr);
  ASSERT_EQ(m.Overlays().Size(), 7u) << "hidden lines fade out first";
  for (size_t i = 0; i < m.Overlays().Size(); ++i) EXPECT_TRUE(m.Overlays().At(i).FadingOut);
  const int32_t fading_y = m.Overlays().At(1).Y;
  m.PanelResized(400);
  EXPECT_EQ(m.Overlays().At(1).Y, fading_y) << "fading lines stay where they are";
  m.ShowAboutLines();
  EXPECT_EQ(m.Overlays().Size(), 13u);
  m.ClearTexts();
  EXPECT_TRUE(m.Overlays().Empty());
  EXPECT_EQ(m.AboutLine(0), nullptr);
}

TEST(DisplayModelInput, KeysAndJoystickSwitchModesAndAskTheOwner) {
  ModelRig rig;
  DisplayModel& m = *rig.model;
  const DisplayModes start = m.Modes();
  EXPECT_FALSE(start.Overview);
  EXPECT_TRUE(start.SightLine);
  EXPECT_TRUE(start.ModelScenery);
  EXPECT_TRUE(start.Billboards3D);
  EXPECT_EQ(m.Switches(), DisplaySwitches{});
  EXPECT_EQ(m.Switches().OpenXY, 360);
  EXPECT_EQ(m.Switches().OpenXZ, 180);

  for (int32_t key : {kKeyF1, kKeyF3, kKeyF4, kKeyF5}) m.KeyDown(key);
  EXPECT_TRUE(m.Modes().Overview);
  EXPECT_FALSE(m.Modes().SightLine);
  EXPECT_FALSE(m.Modes().ModelScenery);
  EXPECT_TRUE(m.Overlays().Empty()) << "F5 is the drawing's";
  m.KeyDown(kKeyReturn);
  m.KeyDown(kKeyEscape);
  EXPECT_EQ(rig.events.visualize_requests, 1);
  EXPECT_EQ(rig.events.close_requests, 1);
  m.KeyDown(kKeyLeft);
  EXPECT_TRUE(m.Camera().KeyLeft);
  m.KeyUp(kKeyLeft);
  EXPECT_FALSE(m.Camera().KeyLeft);

  m.JoystickButtonDown(kJoyButton1);  // held, not newly pressed
  EXPECT_EQ(rig.events.visualize_requests, 1);
  m.JoystickButtonDown(kJoyButton1Changed | kJoyButton1 | kJoyButton3Changed | kJoyButton3);
  EXPECT_EQ(rig.events.visualize_requests, 2);
  EXPECT_FALSE(m.Modes().Overview);
}

TEST(DisplayModelTexts, PauseShowsItsTextAndANewShowStartsUnpaused) {
  ModelRig rig;
  DisplayModel& m = *rig.model;
  m.TogglePause();
  ASSERT_NE(m.PauseText(), nullptr);
  EXPECT_EQ(m.PauseText()->Text, "PAUSE");
  EXPECT_EQ(m.PauseText()->X, 10);
  EXPECT_EQ(m.PauseText()->Y, 25);
  EXPECT_FALSE(m.Clock().Paused) << "no show: the clock stands";
  rig.WriteShow(BuildShow({40}));
  ASSERT_TRUE(m.StartPlayback());
  EXPECT_EQ(m.PauseText(), nullptr);
  EXPECT_TRUE(m.Clock().Active);
  EXPECT_FALSE(m.Clock().Paused);
  while (rig.drawn.size() < 3) rig.Tick();
  m.TogglePause();
  EXPECT_TRUE(m.Clock().Paused);
  const int64_t held = m.Clock().Frame;
  for (int i = 0; i < 5; ++i) rig.Tick();
  EXPECT_EQ(m.Clock().Frame, held) << "a paused clock stands still";
  m.TogglePause();
  EXPECT_EQ(m.PauseText(), nullptr);
  ASSERT_TRUE(rig.PlayToEnd(200));
}

TEST(DisplayModelPlayback, CreditsProgressAndOneEndEvent) {
  ModelRig rig;
  DisplayModel& m = *rig.model;
  rig.WriteShow(BuildShow({8 * 25}));
  ASSERT_TRUE(m.StartPlayback());
  bool credits = false;
  for (int i = 0; i < 400 && m.Clock().Active; ++i) {
    rig.Tick();
    if (m.CreditTop() != nullptr && !credits) {
      credits = true;
      EXPECT_EQ(m.CreditTop()->Y, 300 - 20);
      EXPECT_EQ(m.CreditTop()->Text, CreditLineTop());
      ASSERT_NE(m.CreditBottom(), nullptr);
      EXPECT_EQ(m.CreditBottom()->Y, 10);
      EXPECT_EQ(m.CreditBottom()->Text, CreditLineBottom());
      m.PanelResized(250);
      EXPECT_EQ(m.CreditTop()->Y, 230) << "the top line keeps to the top edge";
      EXPECT_TRUE(rig.events.ends.empty()) << "credits come before the end";
    }
  }
  EXPECT_FALSE(m.Clock().Active);
  EXPECT_TRUE(credits);
  EXPECT_EQ(m.CreditTop(), nullptr);
  EXPECT_EQ(m.CreditBottom(), nullptr);
  EXPECT_EQ(rig.drawn.size(), 200u);
  ASSERT_EQ(rig.events.ends.size(), 1u);
  EXPECT_TRUE(rig.events.ends[0].Ok());
  EXPECT_EQ(rig.events.progress.size(), 8u) << "one report per block";
  EXPECT_EQ(rig.events.progress.back(), 100);
  m.StopPlayback();  // nothing left to stop
  EXPECT_EQ(rig.events.ends.size(), 1u);
  rig.poster.RunPending();
  EXPECT_TRUE(rig.dialogs.Messages.empty());
}

TEST(DisplayModelPlayback, ADamagedShowEndsWithItsFailureShownOnce) {
  ModelRig rig;
  const std::vector<uint8_t> whole = BuildShow({3 * 25 + 10});
  rig.WriteShow(std::vector<uint8_t>(whole.begin(), whole.end() - 50));
  ASSERT_TRUE(rig.model->StartPlayback());
  ASSERT_TRUE(rig.PlayToEnd(300));
  ASSERT_EQ(rig.events.ends.size(), 1u);
  ASSERT_FALSE(rig.events.ends[0]);
  EXPECT_NE(rig.events.ends[0].Message().find("damaged"), std::string::npos);
  rig.poster.RunPending();
  ASSERT_EQ(rig.dialogs.Messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.Messages[0].Kind, DialogKind::Warning);
  EXPECT_EQ(rig.dialogs.Messages[0].Text, rig.events.ends[0].Message());
}

TEST(DisplayModelPlayback, SeekPlaysFromTheFrameAndTheClockCountsFromTheShowsStart) {
  ModelRig rig;
  DisplayModel& m = *rig.model;
  rig.WriteShow(BuildShow({8 * 25}));
  ASSERT_TRUE(m.StartPlayback(137));
  ASSERT_TRUE(rig.PlayToEnd(400));
  ASSERT_EQ(rig.drawn.size(), 200u - 137u);
  for (size_t i = 0; i < rig.drawn.size(); ++i) {
    EXPECT_EQ(rig.drawn[i], 137 + static_cast<int>(i));
    EXPECT_EQ(rig.clock_at_draw[i], rig.drawn[i]) << "the clock names the frame being drawn";
  }
  EXPECT_EQ(rig.events.ends.size(), 1u);

  PlaybackClock clock;
  clock.Frame = 50;
  EXPECT_DOUBLE_EQ(clock.Seconds(), 2.0);
  clock.Frame = -1;
  EXPECT_DOUBLE_EQ(clock.Seconds(), 0.0);
}

TEST(DisplayModelPlayback, StopEndsAtOnceAndAMissingFileStartsNothing) {
  ModelRig rig;
  DisplayModel& m = *rig.model;
  const Result<> missing = m.StartPlayback();
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.Message().find("ovcompile.dat"), std::string::npos);
  EXPECT_FALSE(m.Clock().Active);
  EXPECT_EQ(m.Clock().Frame, -1);
  EXPECT_TRUE(rig.events.ends.empty());
  EXPECT_TRUE(rig.dialogs.Messages.empty()) << "the caller shows the failure";

  rig.WriteShow(BuildShow({8 * 25}));
  ASSERT_TRUE(m.StartPlayback());
  while (rig.drawn.size() < 10) rig.Tick();
  EXPECT_TRUE(m.Clock().Playing);
  m.StopPlayback();
  EXPECT_FALSE(m.Clock().Active);
  EXPECT_EQ(m.Clock().Frame, -1);
  EXPECT_EQ(m.TakeFrame(), nullptr);
  ASSERT_EQ(rig.events.ends.size(), 1u);
  EXPECT_TRUE(rig.events.ends[0].Ok());
  EXPECT_FALSE(rig.timers.Running());
}

}  // namespace
}  // namespace orvane::testing
