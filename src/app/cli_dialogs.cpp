#include "app/cli_dialogs.h"

#include "util/terminal_text.h"

namespace orvane::cli {

DialogAnswer StderrDialogs::Message(DialogKind, DialogButtons buttons, const std::string& text, const std::string&) {
  err_ << "orvane-cli: " << TerminalText(text) << "\n";
  switch (buttons) {
    case DialogButtons::Ok: return DialogAnswer::Ok;
    case DialogButtons::Yes: return DialogAnswer::Yes;
    case DialogButtons::YesNo: return DialogAnswer::No;
    case DialogButtons::YesNoCancel: return DialogAnswer::Cancel;
  }
  return DialogAnswer::No;
}

}  // namespace orvane::cli
