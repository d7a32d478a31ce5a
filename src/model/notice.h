#pragma once
// A message box to show later, when the code that has something to say is not the code
// that talks to the user.

#include <string>

#include "model/user_dialogs.h"

namespace orvane {

struct Notice {
  DialogKind Kind = DialogKind::Information;
  std::string Text;
  // The button it is shown with: some information boxes carry a single Yes.
  DialogButtons Buttons = DialogButtons::Ok;

  bool operator==(const Notice&) const = default;
};

}  // namespace orvane
