#pragma once
// Every message, question and picker the toolkit-free code shows goes through this
// interface: the Qt layer answers with real dialogs, tests with a scripted recorder.

#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

enum class DialogKind { Information, Warning, Error, Confirmation };

// Which buttons the box offers. Several information boxes carry a single Yes button.
enum class DialogButtons { Ok, Yes, YesNo, YesNoCancel };

enum class DialogAnswer { Ok, Yes, No, Cancel };

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // A message box. An empty caption means the toolkit's caption for the kind.
  virtual DialogAnswer Message(DialogKind kind, DialogButtons buttons, const std::string& text,
                               const std::string& caption = {}) = 0;

  // A text input box; nothing when cancelled.
  virtual std::optional<std::string> InputText(const std::string& title, const std::string& prompt,
                                               const std::string& initial) = 0;

  // The colour dialog starting on `initial` (0x00BBGGRR); nothing when cancelled.
  virtual std::optional<uint32_t> PickColor(uint32_t initial) = 0;

  // A folder browser; the chosen folder, nothing when cancelled.
  virtual std::optional<std::string> PickFolder(const std::string& title, const std::string& start) = 0;
};

}  // namespace orvane
