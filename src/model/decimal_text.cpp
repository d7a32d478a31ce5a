#include "model/decimal_text.h"

#include <locale.h>
#include <cctype>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace orvane {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// strtod in the "C" locale, whatever the process locale is.
double StrtodC(const std::string& s, char** end) {
  static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return strtod_l(s.c_str(), end, cLocale);
}

}  // namespace

char LocaleDecimalSeparator() {
  const lconv* lc = std::localeconv();
  if (lc == nullptr || lc->decimal_point == nullptr || lc->decimal_point[0] == '\0') return '.';
  return lc->decimal_point[0];
}

std::string NormalizeNumber(std::string_view text, char separator) {
  std::string s(text);
  bool negative = false;
  if (!s.empty() && s.front() == '-') {
    negative = true;
    s.erase(0, 1);
  }
  if (s.empty()) return "0";
  for (char& c : s) {
    if (separator != '.') {
      if (c == '.') c = separator;
    } else if (c == ',') {
      c = '.';
    }
  }
  if (s.back() == separator) s.push_back('0');
  if (s.front() == separator) s.insert(s.begin(), '0');
  if (negative) s.insert(s.begin(), '-');
  return s;
}

std::optional<double> TextToFloat(std::string_view text, char separator) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  std::string plain;  // the same number with "." as separator, for the C-locale parse
  if (i < n && (text[i] == '+' || text[i] == '-')) plain.push_back(text[i++]);
  size_t digits = 0;
  while (i < n && IsDigit(text[i])) {
    plain.push_back(text[i++]);
    ++digits;
  }
  if (i < n && text[i] == separator) {
    plain.push_back('.');
    ++i;
    while (i < n && IsDigit(text[i])) {
      plain.push_back(text[i++]);
      ++digits;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    plain.push_back('e');
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) plain.push_back(text[i++]);
    size_t expDigits = 0;
    while (i < n && IsDigit(text[i])) {
      plain.push_back(text[i++]);
      ++expDigits;
    }
    if (expDigits == 0) return std::nullopt;
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const double value = StrtodC(plain, &end);
  if (errno == ERANGE && std::isinf(value)) return std::nullopt;  // overflow; underflow reads as tiny/0
  return value;
}

std::string InvalidFloatMessage(std::string_view text) {
  return "'" + std::string(text) + "' is not a valid floating point value";
}

std::optional<double> ReadDecimal(std::string_view text, char separator) {
  return TextToFloat(NormalizeNumber(text, separator), separator);
}

}  // namespace orvane
