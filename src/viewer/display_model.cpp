#include "viewer/display_model.h"

#include "util/base64.h"

namespace orvane {
namespace {

constexpr const char* kCreditBottomBase64 = "T3J2YW5lIC0gZmlyZXdvcmtzIHBsYXllZCBpbiByZWFsIHRpbWU=";
constexpr const char* kCreditTopBase64 = "U2hvdyBjb21waWxlZCBhbmQgc2ltdWxhdGVkIGJ5IE9ydmFuZQ==";
constexpr const char* kPauseText = "PAUSE";

}  // namespace

std::string CreditLineBottom() { return Base64Decode(kCreditBottomBase64); }
std::string CreditLineTop() { return Base64Decode(kCreditTopBase64); }

double PlaybackClock::Seconds() const { return Frame < 0 ? 0.0 : static_cast<double>(Frame) / kFramesPerSecond; }

DisplayModel::DisplayModel(const DisplayModelServices& services, std::filesystem::path show_file)
    : services_(services), showFile_(std::move(show_file)), player_(*services.Poster, *services.Timers, *this) {}

DisplayModel::~DisplayModel() = default;

int32_t DisplayModel::PanelWidth() const { return services_.Panel ? services_.Panel->PanelWidth() : 0; }
int32_t DisplayModel::PanelHeight() const { return services_.Panel ? services_.Panel->PanelHeight() : 0; }

TextSize DisplayModel::TextExtent(const std::string& text) const {
  return services_.Font ? services_.Font->Extent(text) : TextSize{};
}

// ---- input

void DisplayModel::KeyDown(int32_t key) {
  if (SetArrowKey(camera_, key, true)) return;
  switch (key) {
    case kKeyReturn:
      if (services_.Events) services_.Events->VisualizeRequested();
      break;
    case kKeySpace:
    case kKeyPause: TogglePause(); break;
    case kKeyEscape:
      if (services_.Events) services_.Events->CloseRequested();
      break;
    case kKeyF1: modes_.Overview = !modes_.Overview; break;
    case kKeyF2: ResetCamera(camera_); break;
    case kKeyF3: modes_.SightLine = !modes_.SightLine; break;
    case kKeyF4: modes_.ModelScenery = !modes_.ModelScenery; break;
    default: break;
  }
}

void DisplayModel::KeyUp(int32_t key) { SetArrowKey(camera_, key, false); }

void DisplayModel::MouseDown(int32_t x, int32_t y, MouseButtons buttons) { PanelMouseDown(camera_, x, y, buttons); }

void DisplayModel::MouseMove(int32_t x, int32_t y, MouseButtons buttons) { PanelMouseMove(camera_, x, y, buttons); }

void DisplayModel::MouseUp() { PanelMouseUp(camera_); }

void DisplayModel::DoubleClick() { ResetCamera(camera_); }

void DisplayModel::JoystickMove(uint32_t x, uint32_t y) { orvane::JoystickMove(camera_, x, y); }

void DisplayModel::JoystickZMove(uint32_t z) { orvane::JoystickZMove(camera_, z); }

void DisplayModel::JoystickButtonDown(uint32_t b) {
  auto pressed = [b](uint32_t changed, uint32_t down) { return (b & changed) != 0 && (b & down) != 0; };
  // Whether a show may start now is the main window's to decide.
  if (pressed(kJoyButton1Changed, kJoyButton1) && services_.Events) services_.Events->VisualizeRequested();
  if (pressed(kJoyButton2Changed, kJoyButton2)) TogglePause();
  if (pressed(kJoyButton3Changed, kJoyButton3)) modes_.Overview = !modes_.Overview;
  if (pressed(kJoyButton4Changed, kJoyButton4)) ResetCamera(camera_);
}

// ---- texts

void DisplayModel::ShowCompileText() {
  const std::string text = kCompilingText;
  const OverlayPlace at = CentredPlace(PanelWidth(), PanelHeight(), TextExtent(text).Width);
  overlays_.AddOverlay(text, at.X, at.Y, 1.0f, 0.5f, 0.5f, 0.0f, 0.05f, compileText_);
}

void DisplayModel::HideCompileText() { overlays_.RemoveOverlay(compileText_); }

void DisplayModel::ShowAboutLines() {
  aboutShown_ = true;
  for (int i = 0; i < kAboutLineCount; ++i) {
    const orvane::AboutLine& line = kAboutLines[static_cast<size_t>(i)];
    const std::string text = DecodedAboutLine(i);
    const OverlayPlace at = AboutLinePlace(i, PanelWidth(), PanelHeight(), TextExtent(text).Width);
    overlays_.AddOverlay(text, at.X, at.Y, line.Color[0], line.Color[1], line.Color[2], 0.0f, line.Step,
                         aboutLines_[static_cast<size_t>(i)]);
  }
}

void DisplayModel::HideAboutLines() {
  aboutShown_ = false;
  for (OverlaySlot& slot : aboutLines_) overlays_.RemoveOverlay(slot);
}

const TTextAtt* DisplayModel::AboutLine(int index) const {
  return index >= 0 && index < kAboutLineCount ? aboutLines_[static_cast<size_t>(index)] : nullptr;
}

void DisplayModel::TogglePause() {
  player_.SetPaused(!player_.Paused());
  if (player_.Paused()) {
    overlays_.AddOverlay(kPauseText, 10, 25, 0, 1, 0, 0, 0.2f, pauseText_);
  } else {
    overlays_.RemoveOverlay(pauseText_);
  }
}

void DisplayModel::Centre(OverlaySlot slot, int32_t y) {
  if (slot == nullptr || !overlays_.Contains(slot)) return;
  slot->X = (PanelWidth() - TextExtent(slot->Text).Width) / 2;
  slot->Y = y;
}

void DisplayModel::PanelResized(int32_t height) {
  if (creditTop_ != nullptr && overlays_.Contains(creditTop_)) creditTop_->Y = height - 20;
  Centre(compileText_, CentredPlace(0, height, 0).Y);
  if (!aboutShown_) return;
  for (int i = 0; i < kAboutLineCount; ++i) {
    Centre(aboutLines_[static_cast<size_t>(i)], AboutLinePlace(i, 0, height, 0).Y);
  }
}

void DisplayModel::ClearTexts() {
  overlays_.Clear();
  compileText_ = pauseText_ = creditTop_ = creditBottom_ = nullptr;
  aboutLines_.fill(nullptr);
}

// ---- playback

Result<> DisplayModel::StartPlayback(uint32_t first_frame) { return StartPlaybackOf(showFile_, first_frame); }

Result<> DisplayModel::StartPlaybackOf(const std::filesystem::path& show_file, uint32_t first_frame) {
  Result<> started = player_.StartPlayback(show_file, first_frame);
  // A new show starts unpaused, so a "PAUSE" left from before would be wrong.
  if (started && !player_.Paused()) overlays_.RemoveOverlay(pauseText_);
  return started;
}

void DisplayModel::StopPlayback() { player_.StopPlayback(); }

PlaybackClock DisplayModel::Clock() const {
  if (!player_.Active()) return {};
  return {true, player_.Playing(), player_.Paused(), player_.CurrentFrame()};
}

void DisplayModel::SetTimerResolution(int32_t ms) {
  timerResolution_ = ms;
  player_.SetTimerResolution(ms);
}

const std::vector<uint8_t>* DisplayModel::TakeFrame() {
  const std::vector<uint8_t>* frame = player_.FrameData();
  if (frame == nullptr || !player_.Playing()) return nullptr;
  player_.MarkFrameConsumed();
  return frame;
}

void DisplayModel::AdvanceFrame() { player_.AdvanceFrame(); }

void DisplayModel::PlaybackProgress(int32_t percent) {
  if (services_.Events) services_.Events->PlaybackProgress(percent);
}

void DisplayModel::ShowEndReached() {
  overlays_.AddOverlay(CreditLineBottom(), 10, 10, 0.8f, 0.8f, 1.0f, 0, 0.05f, creditBottom_);
  overlays_.AddOverlay(CreditLineTop(), 10, PanelHeight() - 20, 0.8f, 1.0f, 0.8f, 0, 0.05f, creditTop_);
}

void DisplayModel::PlaybackEnded(const Result<>& end) {
  overlays_.RemoveOverlay(creditTop_);
  overlays_.RemoveOverlay(creditBottom_);
  // Shown after the pump handler has returned, so the message box never runs inside it.
  if (!end && services_.Dialogs != nullptr) {
    services_.Poster->Post([alive = std::weak_ptr<int>(alive_), dialogs = services_.Dialogs, text = end.Message()] {
      if (!alive.expired()) dialogs->Message(DialogKind::Warning, DialogButtons::Ok, text);
    });
  }
  if (services_.Events) services_.Events->PlaybackEnded(end);
}

}  // namespace orvane
