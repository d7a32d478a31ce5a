#pragma once
// The colour-and-effect editor window. It works on a copy of the segments it is given and
// hands its rows back only through Accepted; every rule lives in ColorEditor.

#include <QWidget>

#include "model/color_editor.h"
#include "model/color_segment.h"
#include "model/user_dialogs.h"

class QFrame;
class QPushButton;
class QTimer;
class QToolButton;

namespace orvane {

class ColorGraphBox;
class ColorListView;

class ColorForm : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 552;
  static constexpr int kClientHeight = 246;

  // A tool window over `owner`, freed when it closes. `dialogs` must outlive it.
  ColorForm(const SegmentList& segments, UserDialogs& dialogs, QWidget* owner = nullptr);

  const ColorEditor& Editor() const { return editor_; }

 signals:
  // Accept pressed: the rows as new segments, in list order. The window closes next.
  void Accepted(const orvane::SegmentList& segments);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void AddBtClick();
  void ModifyBtClick();
  void DeleteBtClick();
  void AcceptBtClick();
  void CancelBtClick();
  void TimerTimer();
  void ColorViewSelectionChanged();
  void ColorViewRowsDropped(const std::vector<size_t>& selected, std::optional<size_t> target);
  void ColorViewDragEnded();

  void BuildControls();
  void RefreshList();
  void CenterOnScreen();

  ColorEditor editor_;
  QToolButton* addBt_ = nullptr;
  QToolButton* modifyBt_ = nullptr;
  QToolButton* deleteBt_ = nullptr;
  QFrame* graphPanel_ = nullptr;
  ColorGraphBox* paintBox_ = nullptr;
  ColorListView* colorView_ = nullptr;
  QPushButton* acceptBt_ = nullptr;
  QPushButton* cancelBt_ = nullptr;
  QTimer* timer_ = nullptr;
  bool centred_ = false;
};

}  // namespace orvane
