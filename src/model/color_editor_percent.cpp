#include "model/color_editor_percent.h"

#include <charconv>
#include <string>

namespace orvane {
namespace {

std::optional<int> WholeNumber(const std::string& s) {
  const char* first = s.data();
  const char* last = s.data() + s.size();
  if (first != last && *first == '+') ++first;  // from_chars reads '-' but not '+'
  if (first != last && *first == '-' && first != s.data()) return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

}  // namespace

std::optional<uint8_t> CheckPercent(std::string_view text, UserDialogs& dialogs) {
  std::string cleaned;
  for (char c : text) {
    if (c != '%' && c != ' ') cleaned.push_back(c);
  }
  const std::optional<int> value = WholeNumber(cleaned);
  if (!value || *value < 0 || *value > 100) {
    dialogs.Message(DialogKind::Warning, DialogButtons::Ok, kInvalidPercentMessage);
    return std::nullopt;
  }
  return static_cast<uint8_t>(*value);
}

}  // namespace orvane
