#include "util/base64.h"

#include <cstdint>

namespace orvane {
namespace {

int AlphabetPosition(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;  // stray characters decode as -1; the arithmetic below stays signed
}

char LowByte(int value) { return static_cast<char>(static_cast<uint8_t>(value & 0xFF)); }

}  // namespace

std::string Base64Decode(std::string_view text) {
  const size_t zero = text.find('\0');
  const size_t n = zero == std::string_view::npos ? text.size() : zero;
  std::string out;
  if (n < 4) return out;
  out.reserve(n / 4 * 3);
  for (size_t g = 0; g + 4 <= n; g += 4) {
    const int p1 = AlphabetPosition(text[g]);
    const int p2 = AlphabetPosition(text[g + 1]);
    const bool pad3 = text[g + 2] == '=';
    const bool pad4 = text[g + 3] == '=';
    const int p3 = pad3 ? 0 : AlphabetPosition(text[g + 2]);
    const int p4 = pad4 ? 0 : AlphabetPosition(text[g + 3]);
    // C++ division and remainder truncate toward zero, as the format requires.
    out.push_back(LowByte(p1 * 4 + p2 / 16));
    if (!pad3) out.push_back(LowByte((p2 % 16) * 16 + p3 / 4));
    if (!pad4) out.push_back(LowByte((p3 % 4) * 64 + p4));
  }
  return out;
}

}  // namespace orvane
