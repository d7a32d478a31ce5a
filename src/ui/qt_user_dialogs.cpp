#include "ui/qt_user_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "ui/qt_rgb_image.h"

namespace orvane {
namespace {

QMessageBox::Icon IconFor(DialogKind kind) {
  switch (kind) {
    case DialogKind::Information: return QMessageBox::Information;
    case DialogKind::Warning: return QMessageBox::Warning;
    case DialogKind::Error: return QMessageBox::Critical;
    case DialogKind::Confirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QString CaptionFor(DialogKind kind) {
  switch (kind) {
    case DialogKind::Information: return QStringLiteral("Information");
    case DialogKind::Warning: return QStringLiteral("Warning");
    case DialogKind::Error: return QStringLiteral("Error");
    case DialogKind::Confirmation: return QStringLiteral("Confirm");
  }
  return {};
}

QMessageBox::StandardButtons ButtonsFor(DialogButtons buttons) {
  switch (buttons) {
    case DialogButtons::Ok: return QMessageBox::Ok;
    case DialogButtons::Yes: return QMessageBox::Yes;
    case DialogButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case DialogButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

}  // namespace

DialogAnswer QtUserDialogs::Message(DialogKind kind, DialogButtons buttons, const std::string& text,
                                    const std::string& caption) {
  const QString title = caption.empty() ? CaptionFor(kind) : QString::fromStdString(caption);
  QMessageBox box(IconFor(kind), title, QString::fromStdString(text), ButtonsFor(buttons), parent_);
  if (buttons == DialogButtons::YesNo) box.setEscapeButton(QMessageBox::No);
  if (buttons == DialogButtons::YesNoCancel) box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes: return DialogAnswer::Yes;
    case QMessageBox::No: return DialogAnswer::No;
    case QMessageBox::Ok: return DialogAnswer::Ok;
    case QMessageBox::Cancel: return DialogAnswer::Cancel;
    default: break;
  }
  // Closed from the title bar: a question counts as No, a one-button box as its button.
  switch (buttons) {
    case DialogButtons::Ok: return DialogAnswer::Ok;
    case DialogButtons::Yes: return DialogAnswer::Yes;
    case DialogButtons::YesNo: return DialogAnswer::No;
    case DialogButtons::YesNoCancel: return DialogAnswer::Cancel;
  }
  return DialogAnswer::Cancel;
}

std::optional<std::string> QtUserDialogs::InputText(const std::string& title, const std::string& prompt,
                                                    const std::string& initial) {
  bool ok = false;
  const QString text = QInputDialog::getText(parent_, QString::fromStdString(title), QString::fromStdString(prompt),
                                             QLineEdit::Normal, QString::fromStdString(initial), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

std::optional<uint32_t> QtUserDialogs::PickColor(uint32_t initial) {
  // Qt's own dialog always shows the custom colours; a native one may not.
  QColorDialog dialog(ToQColor(initial), parent_);
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return FromQColor(dialog.selectedColor());
}

std::optional<std::string> QtUserDialogs::PickFolder(const std::string& title, const std::string& start) {
  const QString folder =
      QFileDialog::getExistingDirectory(parent_, QString::fromStdString(title), QString::fromStdString(start));
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
}

}  // namespace orvane
