#include "ui/color_editor_opener.h"

#include "ui/color_form.h"

namespace orvane {

ColorEditorOpener::ColorEditorOpener(QWidget* owner, SegmentList& editSegments, UserDialogs& dialogs)
    : QObject(owner), owner_(owner), editSegments_(editSegments), dialogs_(dialogs) {}

void ColorEditorOpener::Open() {
  if (tag_ != 0 && editor_) {
    editor_->raise();
    editor_->activateWindow();
    return;
  }
  // Owned by the main window; frees itself when it closes.
  editor_ = new ColorForm(editSegments_, dialogs_, owner_);
  tag_ = 1;
  connect(editor_, &ColorForm::Accepted, this, [this](const SegmentList& segments) {
    editSegments_ = segments;
    emit SegmentsAccepted();
  });
  connect(editor_, &QObject::destroyed, this, [this] { tag_ = 0; });
  editor_->show();
}

}  // namespace orvane
