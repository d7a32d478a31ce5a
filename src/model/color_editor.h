#pragma once
// The colour-and-effect editor without its window: the rows it edits (a copy of the
// caller's segments), the Add, Modify and Delete dialogs, drag reordering, the graph
// bitmap with its selection frame, and Accept. The window only forwards clicks, the
// selection, drops and timer ticks here, and shows Rows(), Graph().

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/color_editor_ants.h"
#include "model/color_editor_graph.h"
#include "model/color_editor_image.h"
#include "model/color_editor_row.h"
#include "model/color_segment.h"
#include "model/user_dialogs.h"

namespace orvane {

inline constexpr size_t kMaxColorSegments = 5;

class ColorEditor {
 public:
  // One row per segment, in list order. The dialogs must outlive the editor.
  explicit ColorEditor(UserDialogs& dialogs, const SegmentList& segments = {});

  void AddSegmentRow(uint8_t initialPos, uint8_t finalPos, uint8_t flags, uint32_t initialColor, uint32_t finalColor);

  // The button flows; each returns true when it changed the rows.
  bool Add();
  bool Modify();
  bool Delete();

  // Moves every selected row before `target`, or to the end when the drop was not on a
  // row. The moved rows end unselected, as the rows they replace are gone.
  void MoveRows(const std::vector<size_t>& selected, std::optional<size_t> target);

  // Selecting frames the row in the graph; changing or clearing the selection first
  // redraws the graph, which erases the old frame.
  void Select(std::optional<size_t> row);
  std::optional<size_t> Selected() const { return selected_; }

  // The segments the rows describe, in row order, made by NewColorSegment.
  SegmentList Accept() const;

  void DrawGraph();
  // Every 100 ms: the next phase, and the frame drawn with it.
  void TickAnts();

  const std::vector<ColorRow>& Rows() const { return rows_; }
  ColorRowTexts Texts(size_t row) const { return RowTexts(rows_.at(row)); }
  const RgbImage& Graph() const { return graph_; }
  const SelectionRect& Selection() const { return selection_; }
  uint8_t AntsPhase() const { return antsPhase_; }
  // The colour the colour dialog opens on next.
  uint32_t DialogColor() const { return dialogColor_; }

 private:
  // The dialogs shared by Add and Modify; nothing when one was cancelled or refused.
  std::optional<ColorRow> AskSegment(const char* title, const std::string& initialText, const std::string& finalText,
                                     std::optional<uint32_t> finalStart);
  std::optional<uint8_t> AskPercent(const char* title, const char* prompt, const std::string& initial);
  bool Ask(const std::string& question);
  std::optional<uint32_t> PickColor();
  void FrameSelected();

  UserDialogs& dialogs_;
  std::vector<ColorRow> rows_;
  std::optional<size_t> selected_;
  RgbImage graph_{kGraphWidth, kGraphHeight, kWhite};
  SelectionRect selection_;
  uint8_t antsPhase_ = kFirstAntsPhase;
  uint32_t dialogColor_ = 0;
};

}  // namespace orvane
