#include "project/script_time.h"

namespace orvane {
namespace {

int64_t RoundDivideHalfAway(int64_t n, int64_t d) {
  const int64_t magnitude = ((n < 0 ? -n : n) * 2 + d) / (2 * d);
  return n < 0 ? -magnitude : magnitude;
}

std::string Padded(int64_t value, int width) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), '0');
  return text;
}

// "hh:mm:ss" of whole seconds.
std::string Clock(int64_t seconds) {
  return Padded(seconds / 3600, 2) + ":" + Padded(seconds / 60 % 60, 2) + ":" + Padded(seconds % 60, 2);
}

std::optional<int64_t> Digits(std::string_view text, size_t maxDigits = 12) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// "hh:mm:ss" followed by `separator` and the rest, which is returned.
std::optional<std::pair<int64_t, std::string_view>> ReadClock(std::string_view text, char separator) {
  if (text.size() < 9 || text[2] != ':' || text[5] != ':' || text[8] != separator) return std::nullopt;
  const auto h = Digits(text.substr(0, 2)), m = Digits(text.substr(3, 2)), s = Digits(text.substr(6, 2));
  if (!h || !m || !s || *m >= 60 || *s >= 60) return std::nullopt;
  return std::pair{(*h * 3600 + *m * 60 + *s), text.substr(9)};
}

}  // namespace

ScriptTick ProfileTick(const FiringProfile& profile) {
  if (profile.TimeFormat == ScriptTimeFormat::kFrames) return {1000, profile.FramesPerSecond};
  return {profile.ResolutionMs, 1};
}

int64_t RoundToTicks(int64_t ms, ScriptTick tick) { return RoundDivideHalfAway(ms * tick.Denominator, tick.Numerator); }

double TicksToMs(int64_t ticks, ScriptTick tick) {
  return static_cast<double>(ticks) * static_cast<double>(tick.Numerator) / static_cast<double>(tick.Denominator);
}

std::string ScriptTimeText(int64_t ticks, const FiringProfile& profile) {
  const std::string sign = ticks < 0 ? "-" : "";
  const int64_t t = ticks < 0 ? -ticks : ticks;
  if (profile.TimeFormat == ScriptTimeFormat::kFrames) {
    const int64_t fps = profile.FramesPerSecond;
    return sign + Clock(t / fps) + ":" + Padded(t % fps, fps > 100 ? 3 : 2);
  }
  // Every other format's tick is a whole number of milliseconds.
  const int64_t ms = t * profile.ResolutionMs;
  switch (profile.TimeFormat) {
    case ScriptTimeFormat::kMilliseconds: return sign + std::to_string(ms);
    case ScriptTimeFormat::kSeconds: {
      std::string text = sign + std::to_string(ms / 1000);
      if (profile.TimeDecimals > 0)
        text += profile.DecimalSeparator + Padded(ms % 1000, 3).substr(0, profile.TimeDecimals);
      return text;
    }
    case ScriptTimeFormat::kHundredths: return sign + Clock(ms / 1000) + "." + Padded(ms % 1000 / 10, 2);
    case ScriptTimeFormat::kSubtitleClock: return sign + Clock(ms / 1000) + "," + Padded(ms % 1000, 3);
    case ScriptTimeFormat::kFrames: break;
  }
  return {};
}

std::optional<int64_t> ParseScriptTime(std::string_view text, const FiringProfile& profile) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  std::optional<int64_t> ms;
  switch (profile.TimeFormat) {
    case ScriptTimeFormat::kMilliseconds: ms = Digits(text); break;
    case ScriptTimeFormat::kSeconds: {
      const size_t dot = text.find(profile.DecimalSeparator);
      const auto whole = Digits(text.substr(0, dot), 9);
      std::string fraction(dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1));
      if (dot != std::string_view::npos && (fraction.empty() || fraction.size() > 3)) return std::nullopt;
      fraction.resize(3, '0');
      const auto thousandths = Digits(fraction);
      if (whole && thousandths) ms = *whole * 1000 + *thousandths;
      break;
    }
    case ScriptTimeFormat::kHundredths:
    case ScriptTimeFormat::kSubtitleClock: {
      const bool hundredths = profile.TimeFormat == ScriptTimeFormat::kHundredths;
      const auto clock = ReadClock(text, hundredths ? '.' : ',');
      const size_t digits = hundredths ? 2 : 3;
      if (!clock || clock->second.size() != digits) return std::nullopt;
      if (const auto part = Digits(clock->second)) ms = clock->first * 1000 + *part * (hundredths ? 10 : 1);
      break;
    }
    case ScriptTimeFormat::kFrames: {
      const auto clock = ReadClock(text, ':');
      const auto frame = clock ? Digits(clock->second, 4) : std::nullopt;
      if (!frame || *frame >= profile.FramesPerSecond) return std::nullopt;
      ms = RoundDivideHalfAway((clock->first * profile.FramesPerSecond + *frame) * 1000, profile.FramesPerSecond);
      break;
    }
  }
  if (!ms) return std::nullopt;
  return negative ? -*ms : *ms;
}

}  // namespace orvane
