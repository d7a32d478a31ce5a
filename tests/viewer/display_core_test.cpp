// The display core as a host drives it: keys, joystick buttons, render ticks, capture and
// playback through the offscreen context.

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

class DisplayCoreTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    font_ = FreeTypeFontService::OverlayFont();
    ASSERT_NE(font_, nullptr);
    DisplayServices services;
    services.Panel = context_.get();
    services.Font = font_.get();
    services.Sprite = &textures_;
    services.Poster = &poster_;
    services.Timers = &timers_;
    services.MainWindow = &main_window_;
    services.Dialogs = &dialogs_;
    services.Capture = CaptureBuffer::Current;
    core_ = std::make_unique<DisplayCore>(services, dir_.Folder());
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
      poster_.RunUntil([this] { return !core_->Player().LoaderRunning(); }, std::chrono::seconds(10));
      poster_.RunPending();
    }
    core_->RenderTick();
  }

  ScratchDir dir_;
  std::unique_ptr<FreeTypeFontService> font_;
  QueuedPoster poster_;
  SteppedTimerService timers_;
  RecordingMainWindow main_window_;
  ScriptedDialogs dialogs_;
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
  EXPECT_EQ(main_window_.start_visualize_posts, 1);
  core_->FormKeyDown(kKeyEscape);
  EXPECT_EQ(main_window_.close_requests, 1);
  core_->FormKeyDown(kKeyF1);
  core_->FormKeyDown(kKeyF3);
  core_->FormKeyDown(kKeyF4);
  EXPECT_TRUE(core_->OverviewMode);
  EXPECT_FALSE(core_->ShowSightLine);
  EXPECT_FALSE(core_->ModelScenery);
  core_->FormKeyDown(kKeyF4);
  EXPECT_TRUE(core_->ModelScenery);
  core_->FormKeyDown(kKeyUp);
  EXPECT_TRUE(core_->Camera.KeyUp);
  core_->FormKeyUp(kKeyUp);
  EXPECT_FALSE(core_->Camera.KeyUp);
  core_->Camera.Eye = {1, 2, 3};
  core_->FormKeyDown(kKeyF2);
  EXPECT_FLOAT_EQ(core_->Camera.Eye.z, 8);

  core_->FormKeyDown(kKeySpace);
  EXPECT_TRUE(core_->Player().Paused());
  ASSERT_NE(core_->PauseText, nullptr);
  EXPECT_EQ(core_->PauseText->Text, "PAUSE");
  EXPECT_EQ(core_->PauseText->X, 10);
  EXPECT_EQ(core_->PauseText->Y, 25);
  EXPECT_FLOAT_EQ(core_->PauseText->Step, 0.2f);
  core_->FormKeyDown(kKeyPause);
  EXPECT_FALSE(core_->Player().Paused());
  EXPECT_EQ(core_->PauseText, nullptr);
  EXPECT_TRUE(core_->Overlays.At(0).FadingOut);
}

TEST_F(DisplayCoreTest, JoystickButtonsNeedTheChangedAndTheDownBit) {
  core_->JoystickButtonDown(kJoyButton1 | kJoyButton2 | kJoyButton3 | kJoyButton4);  // nothing changed
  EXPECT_FALSE(core_->Player().Paused());
  EXPECT_FALSE(core_->OverviewMode);
  core_->JoystickButtonDown(kJoyButton1Changed | kJoyButton1);
  EXPECT_EQ(main_window_.visualize_clicks, 0) << "Visualize is disabled";
  main_window_.visualize_enabled = true;
  core_->Camera.Yaw = 10;
  core_->JoystickButtonDown(kJoyButton1Changed | kJoyButton1 | kJoyButton2Changed | kJoyButton2 |
                            kJoyButton3Changed | kJoyButton3 | kJoyButton4Changed | kJoyButton4);
  EXPECT_EQ(main_window_.visualize_clicks, 1);
  EXPECT_TRUE(core_->Player().Paused());
  EXPECT_TRUE(core_->OverviewMode);
  EXPECT_FLOAT_EQ(core_->Camera.Yaw, 180);
  core_->JoystickButtonDown(kJoyButton2Changed);  // released
  EXPECT_TRUE(core_->Player().Paused());
}

TEST_F(DisplayCoreTest, RotatedFrameStillShowsTheOldViewThenMoves) {
  core_->ModelScenery = false;
  core_->DrawFrame();
  const std::vector<uint8_t> still = context_->Pixels();
  core_->View.RotateCamera = true;
  core_->DrawFrame();
  EXPECT_EQ(context_->Pixels(), still) << "the eye moves after the view was set";
  EXPECT_FLOAT_EQ(core_->Camera.Yaw, 181);
  core_->RenderTick();
  EXPECT_NE(context_->Pixels(), still);
}

TEST_F(DisplayCoreTest, UntickedSceneryDrawsNeitherScenario) {
  core_->View.ShowScenery = false;
  for (bool model : {true, false}) {
    core_->ModelScenery = model;
    core_->DrawFrame();
    EXPECT_EQ(CountNonBlack(), 0);
  }
  core_->View.ShowScenery = true;
  core_->DrawFrame();
  EXPECT_GT(CountNonBlack(), 0) << "the grid shows";
}

TEST_F(DisplayCoreTest, F5WritesTheShownPictureUpright) {
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir_.Path());
  core_->ModelScenery = false;
  core_->View.ShowProjection = true;
  core_->AddOverlay("TOP LEFT", 0, kPanelHeight - 10, 1, 1, 1, 1, 0, core_->CompileText);
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
  core_->AddOverlay("Compiling...", 0, 0, 1, 0.5f, 0.5f, 0, 0.05f, core_->CompileText);
  core_->OpenGLPanelResize();
  const int32_t width = font_->Extent("Compiling...").Width;
  EXPECT_EQ(core_->CompileText->X, (kPanelWidth - width) / 2);
  EXPECT_EQ(core_->CompileText->Y, kPanelHeight / 2);
}

TEST_F(DisplayCoreTest, PlaysAShowWithCreditsAndRestoresTheButtons) {
  TestShow show{40};
  show.particles_in = [](int f) { return f == 20 ? 1 : 0; };
  const std::vector<uint8_t> bytes = BuildShow(show);
  std::ofstream(dir_.Path() / kShowFileName, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  core_->View.ShowScenery = false;
  core_->TogglePause();  // paused with no show: a new show starts unpaused and drops the text
  ASSERT_TRUE(core_->StartPlayback());
  EXPECT_FALSE(core_->Player().Paused());
  EXPECT_EQ(core_->PauseText, nullptr);
  bool lit = false, credits = false;
  for (int i = 0; i < 80 && core_->Player().Active(); ++i) {
    Tick();
    credits |= core_->CreditTop != nullptr;
    if (core_->CreditTop != nullptr) {
      EXPECT_EQ(core_->CreditTop->Y, kPanelHeight - 20);
      EXPECT_EQ(core_->CreditBottom->Y, 10);
    }
    // The particle sits at x = 20 / 3000, a hair right of the centre.
    lit |= PixelRed(Pixel({kPanelWidth / 2, kPanelHeight / 2})) == 255;
  }
  EXPECT_FALSE(core_->Player().Active());
  EXPECT_TRUE(lit);
  EXPECT_TRUE(credits);
  EXPECT_EQ(core_->CreditTop, nullptr);
  EXPECT_TRUE(main_window_.visualize_enabled);
}

TEST_F(DisplayCoreTest, MissingShowFileGivesAnErrorAndUsableButtons) {
  EXPECT_FALSE(core_->StartPlayback());
  ASSERT_EQ(dialogs_.Messages.size(), 1u);
  EXPECT_NE(dialogs_.Messages[0].Text.find("ovcompile.dat"), std::string::npos);
  EXPECT_TRUE(main_window_.visualize_enabled);
  EXPECT_FALSE(timers_.Running());
}

}  // namespace
}  // namespace orvane::testing
