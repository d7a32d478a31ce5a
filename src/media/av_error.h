#pragma once
// FFmpeg's error codes as text, for messages, and its log kept off the terminal.

#include <string>

namespace orvane {

// "No space left on device" for AVERROR(ENOSPC).
std::string AvErrorText(int code);

// FFmpeg prints its own notes on stderr; ours say what failed, so its log stays quiet.
void QuietAvLog();

}  // namespace orvane
