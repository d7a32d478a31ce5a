#include "util/terminal_text.h"

#include <cstdint>

namespace orvane {
namespace {

void AppendEscaped(std::string& out, uint8_t byte) {
  constexpr char kHex[] = "0123456789abcdef";
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

// The length of the well-formed UTF-8 sequence at `at`, 0 when there is none.
size_t SequenceLength(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(at);
  size_t length = 0;
  uint32_t low = 0;  // smallest code point of that length: shorter forms are malformed
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, low = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, low = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, low = 0x10000;
  else return 0;
  if (at + length > text.size()) return 0;
  uint32_t point = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    point = (point << 6) | (byte(at + i) & 0x3F);
  }
  const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
  if (point < low || point > 0x10FFFF || surrogate) return 0;
  // The C1 controls act like escape sequences on many terminals.
  if (point >= 0x80 && point <= 0x9F) return 0;
  return length;
}

}  // namespace

std::string TerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<uint8_t>(text[i]);
    if (c < 0x80) {
      if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F) AppendEscaped(out, c);
      else out += static_cast<char>(c);
      ++i;
      continue;
    }
    const size_t length = SequenceLength(text, i);
    if (length == 0) {
      AppendEscaped(out, c);
      ++i;
      continue;
    }
    out.append(text.substr(i, length));
    i += length;
  }
  return out;
}

}  // namespace orvane
