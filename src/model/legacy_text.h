#pragma once
// Texts of device files: files written on Windows hold ANSI (Windows-1252) text, the
// files this program writes hold UTF-8. Everything in memory is UTF-8.

#include <string>
#include <string_view>

namespace orvane {

bool IsValidUtf8(std::string_view text);

// The text itself when it is valid UTF-8, otherwise its bytes read as Windows-1252.
std::string TextAsUtf8(std::string_view text);

}  // namespace orvane
