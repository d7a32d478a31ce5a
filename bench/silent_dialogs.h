#pragma once
// Benchmarks load devices through the same code as the program; any box it would show is
// answered at once and dropped.

#include <cstdint>
#include <optional>
#include <string>

#include "model/user_dialogs.h"

namespace orvane {

class SilentDialogs : public UserDialogs {
 public:
  DialogAnswer Message(DialogKind, DialogButtons, const std::string&, const std::string&) override {
    return DialogAnswer::Ok;
  }
  std::optional<std::string> InputText(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<uint32_t> PickColor(uint32_t) override { return std::nullopt; }
  std::optional<std::string> PickFolder(const std::string&, const std::string&) override { return std::nullopt; }
};

}  // namespace orvane
