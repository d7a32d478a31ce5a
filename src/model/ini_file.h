#pragma once
// A reader for Windows profile (INI) text with the profile functions' rules, which device
// files rely on: section and key names compared without case, the first section of a
// name and the first key in it win, blanks around names and values ignored, a value in
// matching quotes read without them. Any bytes are accepted: CR/LF or LF line ends, blank,
// comment (";") and junk lines, NULs and lines of any length.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvane {

// ASCII letters to lower case, as section and key names are compared.
std::string AsciiLower(std::string_view text);
// The text without the blanks (space, tab, VT, FF) the reader ignores around names and values.
std::string_view TrimIniBlanks(std::string_view text);

class IniFile {
 public:
  IniFile() = default;
  explicit IniFile(std::string_view bytes);

  bool HasSection(std::string_view section) const;

  // The value as written (blanks trimmed), or null when the key is missing.
  const std::string* RawValue(std::string_view section, std::string_view key) const;

  // `fallback` only when the key is missing; "Key=" reads as an empty text.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback = {}) const;

  // Integer text of ParseInteger; a missing or unparseable value gives `fallback`.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;

  // An integer: 0 is false, any other value true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  // Hexadecimal digit pairs (either case) up to the first character that is not a digit
  // or a lone last digit; empty when the key is missing.
  std::vector<uint8_t> ReadBinary(std::string_view section, std::string_view key) const;

 private:
  using KeyMap = std::unordered_map<std::string, std::string>;  // lower-case key -> first value
  std::unordered_map<std::string, KeyMap> sections_;            // lower-case name -> first section
};

}  // namespace orvane
