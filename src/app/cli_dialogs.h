#pragma once
// The message boxes of the toolkit-free code on a command line: each message goes to
// stderr; nothing can be typed or picked, and questions are answered No.

#include <ostream>

#include "model/user_dialogs.h"

namespace orvane::cli {

class StderrDialogs : public UserDialogs {
 public:
  explicit StderrDialogs(std::ostream& err) : err_(err) {}
  DialogAnswer Message(DialogKind kind, DialogButtons buttons, const std::string& text,
                       const std::string& caption) override;
  std::optional<std::string> InputText(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<uint32_t> PickColor(uint32_t) override { return std::nullopt; }
  std::optional<std::string> PickFolder(const std::string&, const std::string&) override { return std::nullopt; }

 private:
  std::ostream& err_;
};

}  // namespace orvane::cli
