#pragma once
// UserDialogs with Qt's standard dialogs, parented to a window of the caller's choice.

#include <QPointer>
#include <QWidget>

#include "model/user_dialogs.h"

namespace orvane {

class QtUserDialogs : public UserDialogs {
 public:
  explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}

  // The window the boxes are centred on and modal to.
  void SetParent(QWidget* parent) { parent_ = parent; }

  DialogAnswer Message(DialogKind kind, DialogButtons buttons, const std::string& text,
                       const std::string& caption = {}) override;
  std::optional<std::string> InputText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override;
  std::optional<uint32_t> PickColor(uint32_t initial) override;
  std::optional<std::string> PickFolder(const std::string& title, const std::string& start) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace orvane
