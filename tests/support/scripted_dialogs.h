#pragma once
// A UserDialogs that records every box and answers from scripted queues, so tests can
// check each message (kind, buttons, exact text) and drive questions and pickers.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "model/user_dialogs.h"

namespace orvane::testing {

struct ShownMessage {
  DialogKind Kind;
  DialogButtons Buttons;
  std::string Text;
  std::string Caption;
};

struct AskedInput {
  std::string Title;
  std::string Prompt;
  std::string Initial;
};

class ScriptedDialogs : public UserDialogs {
 public:
  // Answers, consumed in order. A box with only OK or only Yes needs no script; an
  // unscripted Yes/No question or picker is a test failure (answered No / cancelled).
  std::deque<DialogAnswer> Answers;
  std::deque<std::optional<std::string>> Texts;
  std::deque<std::optional<uint32_t>> Colors;
  std::deque<std::optional<std::string>> Folders;

  std::vector<ShownMessage> Messages;
  std::vector<AskedInput> Inputs;
  std::vector<uint32_t> ColorStarts;

  DialogAnswer Message(DialogKind kind, DialogButtons buttons, const std::string& text,
                       const std::string& caption) override;
  std::optional<std::string> InputText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override;
  std::optional<uint32_t> PickColor(uint32_t initial) override;
  std::optional<std::string> PickFolder(const std::string& title, const std::string& start) override;

  // The only message shown so far; fails the test when there is not exactly one.
  const ShownMessage& OnlyMessage() const;
  void Clear();
};

}  // namespace orvane::testing
