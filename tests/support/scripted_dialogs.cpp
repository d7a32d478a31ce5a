#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace orvane::testing {

DialogAnswer ScriptedDialogs::Message(DialogKind kind, DialogButtons buttons, const std::string& text,
                                      const std::string& caption) {
  Messages.push_back({kind, buttons, text, caption});
  if (!Answers.empty()) {
    const DialogAnswer a = Answers.front();
    Answers.pop_front();
    return a;
  }
  switch (buttons) {
    case DialogButtons::Ok: return DialogAnswer::Ok;
    case DialogButtons::Yes: return DialogAnswer::Yes;
    case DialogButtons::YesNo:
    case DialogButtons::YesNoCancel: break;
  }
  ADD_FAILURE() << "unscripted question: " << text;
  return buttons == DialogButtons::YesNo ? DialogAnswer::No : DialogAnswer::Cancel;
}

std::optional<std::string> ScriptedDialogs::InputText(const std::string& title, const std::string& prompt,
                                                      const std::string& initial) {
  Inputs.push_back({title, prompt, initial});
  if (Texts.empty()) {
    ADD_FAILURE() << "unscripted input: " << prompt;
    return std::nullopt;
  }
  auto t = Texts.front();
  Texts.pop_front();
  return t;
}

std::optional<uint32_t> ScriptedDialogs::PickColor(uint32_t initial) {
  ColorStarts.push_back(initial);
  if (Colors.empty()) {
    ADD_FAILURE() << "unscripted colour dialog";
    return std::nullopt;
  }
  auto c = Colors.front();
  Colors.pop_front();
  return c;
}

std::optional<std::string> ScriptedDialogs::PickFolder(const std::string& title, const std::string& start) {
  Inputs.push_back({title, "", start});
  if (Folders.empty()) {
    ADD_FAILURE() << "unscripted folder dialog: " << title;
    return std::nullopt;
  }
  auto f = Folders.front();
  Folders.pop_front();
  return f;
}

const ShownMessage& ScriptedDialogs::OnlyMessage() const {
  static const ShownMessage none{DialogKind::Information, DialogButtons::Ok, "<no message>", ""};
  EXPECT_EQ(Messages.size(), 1u);
  return Messages.empty() ? none : Messages.back();
}

void ScriptedDialogs::Clear() {
  Messages.clear();
  Inputs.clear();
  ColorStarts.clear();
}

}  // namespace orvane::testing
