// The display core and its model as a host drives them: keys, joystick buttons, render
// ticks, capture and playback through the offscreen context.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gl_fixture.h"
#include "playback_rig.h"
#include "support/scripted_dialogs.h"
#include "viewer/display_core.h"
#include "viewer/freetype_font_service.h"
#include "viewer/gl_headers.h"

namespace orvane::testing {
namespace {

// The panel as the model sees it; the test shrinks it to place texts for another size.
class SizedPanel : public PanelSizeSource {
 public:
  int32_t PanelWidth() const override { return width; }
  int32_t PanelHeight() const override { return height; }
  int32_t width = kPanelWidth, height = kPanelHeight;
};

class DisplayCoreTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    font_ = FreeTypeFontService::OverlayFont();
    ASSERT_NE(font_, nullptr);
    DisplayModelServices model;
    model.Panel = &panel_;
    model.Font = font_.get();
    model.Poster = &poster_;
    model.Timers = &timers_;
    model.Dialogs = &dialogs_;
    model.Events = &events_;
    model_ = std::make_unique<DisplayModel>(model, dir_.Path() / kShowFileName);
    DisplayServices services;
    services.Panel = context_.get();
    services.Font = font_.get();
    services.Sprite = &textures_;
    services.Dialogs = &dialogs_;
    services.Capture = CaptureBuffer::Current;
    core_ = std::make_unique<DisplayCore>(services, *model_);
    core_->InitScene();
    core_->OpenGLPanelResize();
  }
  void TearDown() override {
    if (core_) core_->Shutdown();
  }

  void Tick() {
    for (int i = 0; i < 2; ++i) {
      timers_.Tick();
      poster_.RunPending();
      poster_.RunUntil([this] { return !model_->Player().LoaderRunning(); }, std::chrono::seconds(10));
      poster_.RunPending();
    }
    core_->RenderTick();
  }

  ScratchDir dir_;
  std::unique_ptr<FreeTypeFontService> font_;
  QueuedPoster poster_;
  SteppedTimerService timers_;
  SizedPanel panel_;
  RecordingEvents events_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<DisplayModel> model_;
  std::unique_ptr<DisplayCore> core_;
};

TEST_F(DisplayCoreTest, InitSceneLeavesTheDocumentedGlobalState) {
  EXPECT_EQ(textures_.calls, 2) << "fixture and InitScene each load the sprite";
  EXPECT_NE(core_->GridList(), 0u);
  EXPECT_NE(core_->SceneList(), 0u);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLint src = 0, dst = 0;
  glGetIntegerv(GL_BLEND_SRC, &src);
  glGetIntegerv(GL_BLEND_DST, &dst);
  EXPECT_EQ(src, GL_SRC_ALPHA);
  EXPECT_EQ(dst, GL_ONE);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], kPanelWidth);
  EXPECT_EQ(viewport[3], kPanelHeight);
}

TEST_F(DisplayCoreTest, KeysSwitchViewsPauseAndReachTheMainWindow) {
  core_->FormKeyDown(kKeyReturn);
  EXPECT_EQ(events_.visualize_requests, 1);
  core_->FormKeyDown(kKeyEscape);
  EXPECT_EQ(events_.close_requests, 1);
  core_->FormKeyDown(kKeyF1);
  core_->FormKeyDown(kKeyF3);
  core_->FormKeyDown(kKeyF4);
  EXPECT_TRUE(model_->Modes().Overview);
  EXPECT_FALSE(model_->Modes().SightLine);
  EXPECT_FALSE(model_->Modes().ModelScenery);
  core_->FormKeyDown(kKeyF4);
  EXPECT_TRUE(model_->Modes().ModelScenery);
  core_->FormKeyDown(kKeyUp);
  EXPECT_TRUE(model_->Camera().KeyUp);
  model_->KeyUp(kKeyUp);
  EXPECT_FALSE(model_->Camera().KeyUp);
  model_->Camera().Eye = {1, 2, 3};
  core_->FormKeyDown(kKeyF2);
  EXPECT_FLOAT_EQ(model_->Camera().Eye.z, 8);

  core_->FormKeyDown(kKeySpace);
  EXPECT_TRUE(model_->Player().Paused());
  const TTextAtt* pause = model_->PauseText();
  ASSERT_NE(pause, nullptr);
  EXPECT_EQ(pause->Text, "PAUSE");
  EXPECT_EQ(pause->X, 10);
  EXPECT_EQ(pause->Y, 25);
  EXPECT_FLOAT_EQ(pause->Step, 0.2f);
  core_->FormKeyDown(kKeyPause);
  EXPECT_FALSE(model_->Player().Paused());
  EXPECT_EQ(model_->PauseText(), nullptr);
  EXPECT_TRUE(model_->Overlays().At(0).FadingOut);
}

TEST_F(DisplayCoreTest, JoystickButtonsNeedTheChangedAndTheDownBit) {
  model_->JoystickButtonDown(kJoyButton1 | kJoyButton2 | kJoyButton3 | kJoyButton4);  // nothing changed
  EXPECT_FALSE(model_->Player().Paused());
  EXPECT_FALSE(model_->Modes().Overview);
  EXPECT_EQ(events_.visualize_requests, 0);
  model_->JoystickButtonDown(kJoyButton1Changed);  // released
  EXPECT_EQ(events_.visualize_requests, 0);
  model_->Camera().Yaw = 10;
  model_->JoystickButtonDown(kJoyButton1Changed | kJoyButton1 | kJoyButton2Changed | kJoyButton2 | kJoyButton3Changed |
                             kJoyButton3 | kJoyButton4Changed | kJoyButton4);
  // Whether Visualize is enabled is the main window's to decide.
  EXPECT_EQ(events_.visualize_requests, 1);
  EXPECT_TRUE(model_->Player().Paused());
  EXPECT_TRUE(model_->Modes().Overview);
  EXPECT_FLOAT_EQ(model_->Camera().Yaw, 180);
  model_->JoystickButtonDown(kJoyButton2Changed);  // released
  EXPECT_TRUE(model_->Player().Paused());
}

TEST_F(DisplayCoreTest, RotatedFrameStillShowsTheOldViewThenMoves) {
  model_->Modes().ModelScenery = false;
  core_->DrawFrame();
  const std::vector<uint8_t> still = context_->Pixels();
  model_->Switches().RotateCamera = true;
  core_->DrawFrame();
  EXPECT_EQ(context_->Pixels(), still) << "the eye moves after the view was set";
  EXPECT_FLOAT_EQ(model_->Camera().Yaw, 181);
  core_->RenderTick();
  EXPECT_NE(context_->Pixels(), still);
}

TEST_F(DisplayCoreTest, UntickedSceneryDrawsNeitherScenario) {
  model_->Switches().ShowScenery = false;
  for (bool model : {true, false}) {
    model_->Modes().ModelScenery = model;
    core_->DrawFrame();
    EXPECT_EQ(CountNonBlack(), 0);
  }
  model_->Switches().ShowScenery = true;
  core_->DrawFrame();
  EXPECT_GT(CountNonBlack(), 0) << "the grid shows";
}

TEST_F(DisplayCoreTest, F5WritesTheShownPictureUpright) {
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir_.Path());
  model_->Modes().ModelScenery = false;
  model_->Switches().ShowProjection = true;
  OverlaySlot text = nullptr;
  model_->Overlays().AddOverlay("TOP LEFT", 0, kPanelHeight - 10, 1, 1, 1, 1, 0, text);
  core_->RenderTick();
  core_->FormKeyDown(kKeyF5);
  std::filesystem::current_path(cwd);
  const std::string file = ReadFileBytes(dir_.Path() / kCaptureFileName);
  ASSERT_EQ(file.size(), 54u + static_cast<size_t>(kPanelWidth) * kPanelHeight * 3);
  const std::vector<uint8_t> shown = context_->RgbTopDown();
  // File rows run bottom to top in blue, green, red.
  size_t mismatches = 0;
  for (int32_t y = 0; y < kPanelHeight; ++y) {
    for (int32_t x = 0; x < kPanelWidth; ++x) {
      const size_t f = 54 + (static_cast<size_t>(kPanelHeight - 1 - y) * kPanelWidth + static_cast<size_t>(x)) * 3;
      const size_t s = (static_cast<size_t>(y) * kPanelWidth + static_cast<size_t>(x)) * 3;
      mismatches += static_cast<uint8_t>(file[f]) != shown[s + 2] || static_cast<uint8_t>(file[f + 2]) != shown[s];
    }
  }
  EXPECT_EQ(mismatches, 0u);
  EXPECT_TRUE(dialogs_.Messages.empty());
}

TEST_F(DisplayCoreTest, ResizeKeepsSizeBoundTextsInPlace) {
  panel_.width = 100;
  panel_.height = 40;
  model_->ShowCompileText();
  ASSERT_NE(model_->CompileText(), nullptr);
  ASSERT_EQ(model_->CompileText()->Y, 20);
  panel_.width = kPanelWidth;
  panel_.height = kPanelHeight;
  core_->OpenGLPanelResize();
  const int32_t width = font_->Extent("Compiling...").Width;
  EXPECT_EQ(model_->CompileText()->X, (kPanelWidth - width) / 2);
  EXPECT_EQ(model_->CompileText()->Y, kPanelHeight / 2);
}

TEST_F(DisplayCoreTest, PlaysAShowWithCreditsAndRestoresTheButtons) {
  TestShow show{40};
  show.particles_in = [](int f) { return f == 20 ? 1 : 0; };
  const std::vector<uint8_t> bytes = BuildShow(show);
  std::ofstream(dir_.Path() / kShowFileName, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  model_->Switches().ShowScenery = false;
  model_->TogglePause();  // paused with no show: a new show starts unpaused and drops the text
  ASSERT_TRUE(model_->StartPlayback());
  EXPECT_FALSE(model_->Player().Paused());
  EXPECT_EQ(model_->PauseText(), nullptr);
  bool lit = false, credits = false;
  for (int i = 0; i < 80 && model_->Clock().Active; ++i) {
    Tick();
    credits |= model_->CreditTop() != nullptr;
    if (model_->CreditTop() != nullptr) {
      EXPECT_EQ(model_->CreditTop()->Y, kPanelHeight - 20);
      EXPECT_EQ(model_->CreditBottom()->Y, 10);
    }
    // The particle sits at x = 20 / 3000, a hair right of the centre.
    lit |= PixelRed(Pixel({kPanelWidth / 2, kPanelHeight / 2})) == 255;
  }
  EXPECT_FALSE(model_->Clock().Active);
  EXPECT_TRUE(lit);
  EXPECT_TRUE(credits);
  EXPECT_EQ(model_->CreditTop(), nullptr);
  ASSERT_EQ(events_.ends.size(), 1u);
  EXPECT_TRUE(events_.ends[0].Ok());
}

TEST_F(DisplayCoreTest, MissingShowFileFailsWithItsNameAndStartsNothing) {
  const Result<> started = model_->StartPlayback();
  ASSERT_FALSE(started);
  EXPECT_NE(started.Message().find("ovcompile.dat"), std::string::npos);
  EXPECT_TRUE(dialogs_.Messages.empty()) << "the caller shows the failure";
  EXPECT_TRUE(events_.ends.empty());
  EXPECT_FALSE(timers_.Running());
}

}  // namespace
}  // namespace orvane::testing
