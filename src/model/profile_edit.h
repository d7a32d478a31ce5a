#pragma once
// Changing values in profile (INI) text while keeping every other byte of it: comments,
// order, blank lines, unknown keys and sections, the spelling of names and the line ends.
// Values are set where the reader (IniFile) reads them: in the first section of a name,
// at the first key of a name in it.

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct ProfileValue {
  std::string Section;
  std::string Key;
  std::string Value;  // as it stands after "=", quotes and all
  bool operator==(const ProfileValue&) const = default;
};

// The values of the text in order, one per key line of a section (repeats included).
std::vector<ProfileValue> ProfileValues(std::string_view text);

// The text with each value set: a key line that is there gets the new value after its
// "="; a key the section lacks goes after the section's last key line; a section the text
// lacks is added at its end.
std::string SetProfileValues(std::string_view text, const std::vector<ProfileValue>& values);

}  // namespace orvane
