#include "app/cli_dialogs.h"

namespace orvane::cli {

DialogAnswer StderrDialogs::Message(DialogKind, DialogButtons buttons, const std::string& text, const std::string&) {
  err_ << "orvane-cli: " << text << "\n";
  switch (buttons) {
    case DialogButtons::Ok: return DialogAnswer::Ok;
    case DialogButtons::Yes: return DialogAnswer::Yes;
    case DialogButtons::YesNo: return DialogAnswer::No;
    case DialogButtons::YesNoCancel: return DialogAnswer::Cancel;
  }
  return DialogAnswer::No;
}

}  // namespace orvane::cli
