#include "model/integer_text.h"

namespace orvane {
namespace {

std::optional<uint32_t> ParseHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    const int d = HexDigitValue(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

// The magnitude of a decimal text, up to 2^31 (the magnitude of INT32_MIN).
std::optional<uint32_t> ParseDecimal(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > 0x80000000u) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

}  // namespace

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<int32_t> ParseInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::string_view rest = text.substr(i);
  if (rest.starts_with('$') || rest.starts_with("0x") || rest.starts_with("0X")) {
    const auto hex = ParseHex(rest.substr(rest.front() == '$' ? 1 : 2));
    if (!hex) return std::nullopt;
    const uint32_t bits = negative ? 0u - *hex : *hex;
    return static_cast<int32_t>(bits);
  }
  const auto magnitude = ParseDecimal(rest);
  if (!magnitude) return std::nullopt;
  if (negative) return static_cast<int32_t>(0u - *magnitude);
  if (*magnitude > 0x7FFFFFFFu) return std::nullopt;
  return static_cast<int32_t>(*magnitude);
}

}  // namespace orvane
