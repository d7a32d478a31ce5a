#pragma once
// The main window's "Color and effect editor" button: at most one editor at a time, an
// open one brought to the front on a second click. Accept replaces the working list;
// Cancel or closing the window leaves it as it is.

#include <QObject>
#include <QPointer>

#include "model/color_segment.h"
#include "model/user_dialogs.h"

class QWidget;

namespace orvane {

class ColorForm;

class ColorEditorOpener : public QObject {
  Q_OBJECT
 public:
  // `editSegments` and `dialogs` must outlive the opener; the editors are `owner`'s children.
  ColorEditorOpener(QWidget* owner, SegmentList& editSegments, UserDialogs& dialogs);

  // The button's click.
  void Open();

  // 1 while an editor is open, 0 otherwise (the button's tag).
  int Tag() const { return tag_; }
  ColorForm* Editor() const { return editor_; }

 signals:
  // After Accept has replaced the working list.
  void SegmentsAccepted();

 private:
  QWidget* owner_;
  SegmentList& editSegments_;
  UserDialogs& dialogs_;
  QPointer<ColorForm> editor_;
  int tag_ = 0;
};

}  // namespace orvane
