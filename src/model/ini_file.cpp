#include "model/ini_file.h"

#include "model/integer_text.h"

namespace orvane {

std::string_view TrimIniBlanks(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

namespace {

// Splits at CR, LF or CR LF; a lone CR ends a line as well.
template <typename Fn>
void ForEachLine(std::string_view bytes, Fn&& fn) {
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    fn(bytes.substr(start, end - start));
    start = end + 1;
    if (end < bytes.size() && bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
}

}  // namespace

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

IniFile::IniFile(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  KeyMap* current = nullptr;  // null before the first section and inside a repeated one
  ForEachLine(bytes, [&](std::string_view raw) {
    const std::string_view line = TrimIniBlanks(raw);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') {
      const size_t close = line.rfind(']');
      if (close == std::string_view::npos) return;  // not a header: junk
      const auto [it, added] = sections_.try_emplace(AsciiLower(TrimIniBlanks(line.substr(1, close - 1))));
      current = added ? &it->second : nullptr;
      return;
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos || current == nullptr) return;
    current->try_emplace(AsciiLower(TrimIniBlanks(line.substr(0, eq))),
                         std::string(TrimIniBlanks(line.substr(eq + 1))));
  });
}

bool IniFile::HasSection(std::string_view section) const { return sections_.contains(AsciiLower(section)); }

const std::string* IniFile::RawValue(std::string_view section, std::string_view key) const {
  const auto s = sections_.find(AsciiLower(section));
  if (s == sections_.end()) return nullptr;
  const auto k = s->second.find(AsciiLower(key));
  return k == s->second.end() ? nullptr : &k->second;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  const std::string* raw = RawValue(section, key);
  if (raw == nullptr) return std::string(fallback);
  const std::string& v = *raw;
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
  if (RawValue(section, key) == nullptr) return fallback;
  return ParseInteger(ReadString(section, key)).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::vector<uint8_t> IniFile::ReadBinary(std::string_view section, std::string_view key) const {
  const std::string text = ReadString(section, key);
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 2);
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    const int hi = HexDigitValue(text[i]);
    const int lo = HexDigitValue(text[i + 1]);
    if (hi < 0 || lo < 0) break;
    bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  return bytes;
}

}  // namespace orvane
