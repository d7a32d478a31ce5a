#include "model/color_editor.h"

#include <string>

#include "model/color_editor_percent.h"

namespace orvane {
namespace {

constexpr const char* kTooManySegments = "It's not possible to create more than 5 color and effect segments.";
constexpr const char* kCreateTitle = "Creation of color and effect segment";
constexpr const char* kEditTitle = "Editing of color and effect segment";
constexpr const char* kInitialPrompt = "Enter initial position in star's life percentage (%)";
constexpr const char* kFinalPrompt = "Enter final position in star's life percentage (%)";
constexpr const char* kFadeOutQuestion = "Does the star in this segment feature a FadeOut effect?";
constexpr const char* kMixColorQuestion = "Does the star in this segment feature a color transition (MixColor) effect?";
constexpr const char* kBlinkQuestion = "Does the star in this segment feature a Blink effect?";
constexpr const char* kSelectToEdit = "Select from the list the item to be edited.";
constexpr const char* kSelectToDelete = "Select from the list the item to be deleted.";

std::string DeleteQuestion(const ColorRowTexts& texts) {
  return "Are you sure you wish to delete the color and effect segment in position (" + texts.Caption + "%," +
         texts.SubItems[0] + "%)?";
}

}  // namespace

ColorEditor::ColorEditor(UserDialogs& dialogs, const SegmentList& segments) : dialogs_(dialogs) {
  for (const ColorSegment& s : segments) {
    AddSegmentRow(s.InitialPos, s.FinalPos, s.Flags, s.InitialColor, s.FinalColor);
  }
}

void ColorEditor::AddSegmentRow(uint8_t initialPos, uint8_t finalPos, uint8_t flags, uint32_t initialColor,
                                uint32_t finalColor) {
  rows_.push_back({initialPos, finalPos, flags, initialColor, finalColor});
}

bool ColorEditor::Add() {
  if (rows_.size() >= kMaxColorSegments) {
    dialogs_.Message(DialogKind::Information, DialogButtons::Ok, kTooManySegments);
    return false;
  }
  const bool first = rows_.empty();
  const std::optional<ColorRow> e = AskSegment(kCreateTitle, first ? "0" : "", first ? "100" : "", std::nullopt);
  if (!e) return false;
  AddSegmentRow(e->InitialPos, e->FinalPos, e->Flags, e->InitialColor, e->FinalColor);
  DrawGraph();
  return true;
}

bool ColorEditor::Modify() {
  if (!selected_) {
    dialogs_.Message(DialogKind::Information, DialogButtons::Ok, kSelectToEdit);
    return false;
  }
  const size_t index = *selected_;
  const ColorRow old = rows_[index];
  const ColorRowTexts texts = RowTexts(old);
  dialogColor_ = old.InitialColor;
  const std::optional<ColorRow> e = AskSegment(kEditTitle, texts.Caption, texts.SubItems[0], old.FinalColor);
  // The boxes are modal; still, never write through an index a nested event made stale.
  if (!e || index >= rows_.size()) return false;
  rows_[index] = *e;
  DrawGraph();
  // Keep the frame on the row's new span rather than where the row used to be.
  FrameSelected();
  return true;
}

bool ColorEditor::Delete() {
  if (!selected_) {
    dialogs_.Message(DialogKind::Information, DialogButtons::Ok, kSelectToDelete);
    return false;
  }
  const size_t index = *selected_;
  if (!Ask(DeleteQuestion(RowTexts(rows_[index])))) return false;
  if (index >= rows_.size()) return false;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
  selected_.reset();
  selection_ = {};
  DrawGraph();
  return true;
}

void ColorEditor::MoveRows(const std::vector<size_t>& selected, std::optional<size_t> target) {
  std::vector<bool> moving(rows_.size(), false);
  std::vector<ColorRow> moved;
  for (size_t i : selected) {
    if (i < rows_.size()) moving[i] = true;
  }
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (moving[i]) moved.push_back(rows_[i]);
  }
  if (moved.empty()) return;
  const size_t insertAt = target && *target < rows_.size() ? *target : rows_.size();

  std::vector<ColorRow> reordered;
  reordered.reserve(rows_.size());
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (i == insertAt) reordered.insert(reordered.end(), moved.begin(), moved.end());
    if (!moving[i]) reordered.push_back(rows_[i]);
  }
  if (insertAt == rows_.size()) reordered.insert(reordered.end(), moved.begin(), moved.end());
  rows_ = std::move(reordered);
  selected_.reset();
  selection_ = {};
  DrawGraph();
}

void ColorEditor::Select(std::optional<size_t> row) {
  if (row && *row >= rows_.size()) row.reset();
  if (row == selected_) return;
  if (selected_) {
    selected_.reset();
    selection_ = {};
    DrawGraph();
  }
  selected_ = row;
  FrameSelected();
}

SegmentList ColorEditor::Accept() const {
  SegmentList segments;
  segments.reserve(rows_.size());
  for (const ColorRow& r : rows_) {
    segments.push_back(NewColorSegment(r.InitialPos, r.FinalPos, r.Flags, r.InitialColor, r.FinalColor));
  }
  return segments;
}

void ColorEditor::DrawGraph() { orvane::DrawGraph(graph_, rows_); }

void ColorEditor::TickAnts() {
  antsPhase_ = NextAntsPhase(antsPhase_);
  DrawAntsFrame(graph_, selection_, antsPhase_);
}

std::optional<ColorRow> ColorEditor::AskSegment(const char* title, const std::string& initialText,
                                                const std::string& finalText, std::optional<uint32_t> finalStart) {
  ColorRow e;
  const std::optional<uint8_t> initialPos = AskPercent(title, kInitialPrompt, initialText);
  if (!initialPos) return std::nullopt;
  const std::optional<uint8_t> finalPos = AskPercent(title, kFinalPrompt, finalText);
  if (!finalPos) return std::nullopt;
  e.InitialPos = *initialPos;
  e.FinalPos = *finalPos;
  if (Ask(kFadeOutQuestion)) e.Flags |= kFadeOut;
  if (Ask(kMixColorQuestion)) e.Flags |= kMixColor;
  if (Ask(kBlinkQuestion)) e.Flags |= kBlink;

  const std::optional<uint32_t> initialColor = PickColor();
  if (!initialColor) return std::nullopt;
  e.InitialColor = *initialColor;
  e.FinalColor = e.InitialColor;
  if (finalStart) dialogColor_ = *finalStart;
  if (e.Flags & kMixColor) {
    // A cancelled second dialog keeps the transition bit with a single colour.
    if (const std::optional<uint32_t> finalColor = PickColor()) {
      e.FinalColor = *finalColor;
      if (e.FinalColor == e.InitialColor) e.Flags &= static_cast<uint8_t>(~kMixColor);
    }
  }
  return e;
}

std::optional<uint8_t> ColorEditor::AskPercent(const char* title, const char* prompt, const std::string& initial) {
  const std::optional<std::string> answer = dialogs_.InputText(title, prompt, initial);
  if (!answer) return std::nullopt;
  return CheckPercent(*answer, dialogs_);
}

bool ColorEditor::Ask(const std::string& question) {
  return dialogs_.Message(DialogKind::Confirmation, DialogButtons::YesNo, question) == DialogAnswer::Yes;
}

std::optional<uint32_t> ColorEditor::PickColor() {
  const std::optional<uint32_t> picked = dialogs_.PickColor(dialogColor_);
  if (picked) dialogColor_ = *picked;
  return picked;
}

void ColorEditor::FrameSelected() {
  selection_ = selected_ ? SelectionRectFor(rows_[*selected_], graph_.Width(), graph_.Height()) : SelectionRect{};
}

}  // namespace orvane
