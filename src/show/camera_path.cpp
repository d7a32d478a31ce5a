#include "show/camera_path.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "model/decimal_text.h"
#include "model/record_decimals.h"
#include "show/csv_text.h"
#include "show/cue_list.h"

namespace orvane {
namespace {

// The columns in file order, as CameraPathText writes them.
constexpr const char* kColumnNames[] = {"time", "eye_x", "eye_y", "eye_z", "target_x", "target_y", "target_z", "fov"};
constexpr int kColumnCount = 8;
enum Column { kTime, kEyeX, kEyeY, kEyeZ, kTargetX, kTargetY, kTargetZ, kFov };

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool SameWithoutCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

class KeyReader {
 public:
  KeyReader(std::string_view fileName, const CsvRecord& record, const std::array<int, kColumnCount>& columns)
      : fileName_(fileName), record_(record), columns_(columns) {}

  std::optional<CameraKey> Read(const std::optional<int64_t>& earlier) {
    CameraKey key;
    if (!ReadTime(key.TimeMs, earlier)) return std::nullopt;
    double* values[] = {&key.Pose.Eye[0],    &key.Pose.Eye[1],    &key.Pose.Eye[2],    &key.Pose.Target[0],
                        &key.Pose.Target[1], &key.Pose.Target[2], &key.Pose.FovDegrees};
    for (int c = kEyeX; c <= kFov; ++c) {
      if (!ReadNumber(static_cast<Column>(c), *values[c - kEyeX])) return std::nullopt;
    }
    if (key.Pose.Eye == key.Pose.Target) {
      Fail(std::nullopt, "the eye and the target are the same point");
      return std::nullopt;
    }
    return key;
  }

  const std::string& Error() const { return error_; }

 private:
  bool Fail(std::optional<Column> column, const std::string& what) {
    error_ = std::string(fileName_) + " line " + std::to_string(record_.Line);
    if (column) {
      error_ += ", column " + std::to_string(columns_[*column] + 1) + " (" + kColumnNames[*column] + ")";
    }
    error_ += ": " + what + ".";
    return false;
  }

  std::string_view Field(Column column) const {
    const int at = columns_[column];
    return at < static_cast<int>(record_.Fields.size()) ? Trimmed(record_.Fields[static_cast<size_t>(at)]) : "";
  }

  bool ReadTime(int64_t& ms, const std::optional<int64_t>& earlier) {
    const std::string_view text = Field(kTime);
    if (text.empty()) return Fail(kTime, "the time is empty");
    const std::optional<int64_t> read = ParseCueTime(text);
    if (!read) return Fail(kTime, "\"" + std::string(text) + "\" is not a time in seconds");
    if (*read < 0) return Fail(kTime, "the time " + std::string(text) + " is negative");
    if (*read > kMaxCueTimeMs) return Fail(kTime, "the time " + std::string(text) + " is later than a day");
    if (earlier && *read <= *earlier) {
      return Fail(kTime, "the time " + std::string(text) + " is not after the key before (" + CueTimeText(*earlier) +
                             "); keys go in time order");
    }
    ms = *read;
    return true;
  }

  bool ReadNumber(Column column, double& out) {
    const std::string_view text = Field(column);
    if (text.empty()) return Fail(column, "the value is empty");
    const std::optional<double> value = ReadDecimal(text, '.');
    if (!value || !std::isfinite(*value)) return Fail(column, "\"" + std::string(text) + "\" is not a number");
    if (column == kFov) {
      if (*value < kLowestCameraFov || *value > kHighestCameraFov) {
        return Fail(column, "the field of view " + std::string(text) + " is outside " + Float64Text(kLowestCameraFov) +
                                " to " + Float64Text(kHighestCameraFov) + " degrees");
      }
    } else if (std::fabs(*value) > kMaxCameraMetres) {
      return Fail(column, std::string(text) + " is farther than " +
                              std::to_string(static_cast<int64_t>(kMaxCameraMetres)) + " m");
    } else if (column == kEyeY && *value < 0) {
      return Fail(column, "the eye at " + std::string(text) + " m is below the ground");
    }
    out = *value;
    return true;
  }

  std::string_view fileName_;
  const CsvRecord& record_;
  const std::array<int, kColumnCount>& columns_;
  std::string error_;
};

// Centripetal Catmull-Rom through p1 (at u = 0) and p2 (at u = 1), with p0 and p3 beside
// them (Barry and Goldman's form, knots spaced by the square root of the distances).
Metres3 CentripetalPoint(const Metres3& p0, const Metres3& p1, const Metres3& p2, const Metres3& p3, double u) {
  auto gap = [](const Metres3& a, const Metres3& b) {
    const double d =
        std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
    // Keys at one place still give distinct knots; their weights then cancel exactly enough.
    return std::max(std::sqrt(d), 1e-6);
  };
  const double t0 = 0, t1 = t0 + gap(p0, p1), t2 = t1 + gap(p1, p2), t3 = t2 + gap(p2, p3);
  const double t = t1 + (t2 - t1) * u;
  auto lerp = [](const Metres3& a, const Metres3& b, double ta, double tb, double at) {
    const double wa = (tb - at) / (tb - ta), wb = (at - ta) / (tb - ta);
    return Metres3{a[0] * wa + b[0] * wb, a[1] * wa + b[1] * wb, a[2] * wa + b[2] * wb};
  };
  const Metres3 a1 = lerp(p0, p1, t0, t1, t), a2 = lerp(p1, p2, t1, t2, t), a3 = lerp(p2, p3, t2, t3, t);
  const Metres3 b1 = lerp(a1, a2, t0, t2, t), b2 = lerp(a2, a3, t1, t3, t);
  return lerp(b1, b2, t1, t2, t);
}

Metres3 Beyond(const Metres3& edge, const Metres3& inner) {
  return {2 * edge[0] - inner[0], 2 * edge[1] - inner[1], 2 * edge[2] - inner[2]};
}

}  // namespace

Result<std::vector<CameraKey>> ReadCameraPath(std::string_view text, std::string_view fileName) {
  std::vector<CameraKey> keys;
  text = WithoutByteOrderMark(text);
  // The header, the keys and one more to tell that there are too many.
  const CsvSplit split = SplitCsv(text, kMaxCameraKeys + 2);
  auto fail = [&](int line, const std::string& what) {
    return Fail(std::string(fileName) + " line " + std::to_string(line) + ": " + what + ".");
  };
  if (split.Records.empty()) {
    if (!split.Error.empty()) return fail(split.ErrorLine, split.Error);
    return fail(1, "the header line naming the columns is missing");
  }
  const CsvRecord& header = split.Records.front();
  std::array<int, kColumnCount> columns;
  columns.fill(-1);
  for (int i = 0; i < static_cast<int>(header.Fields.size()); ++i) {
    for (int c = 0; c < kColumnCount; ++c) {
      if (columns[static_cast<size_t>(c)] < 0 &&
          SameWithoutCase(Trimmed(header.Fields[static_cast<size_t>(i)]), kColumnNames[c])) {
        columns[static_cast<size_t>(c)] = i;
      }
    }
  }
  for (int c = 0; c < kColumnCount; ++c) {
    if (columns[static_cast<size_t>(c)] < 0) {
      return fail(header.Line, std::string("the header has no \"") + kColumnNames[c] + "\" column");
    }
  }
  if (split.Records.size() > kMaxCameraKeys + 1) {
    return fail(split.Records[kMaxCameraKeys + 1].Line,
                "the path holds more than " + std::to_string(kMaxCameraKeys) + " keys");
  }
  std::optional<int64_t> earlier;
  for (size_t i = 1; i < split.Records.size(); ++i) {
    KeyReader reader(fileName, split.Records[i], columns);
    std::optional<CameraKey> key = reader.Read(earlier);
    if (!key) return Fail(reader.Error());
    earlier = key->TimeMs;
    keys.push_back(*key);
  }
  if (!split.Error.empty()) return fail(split.ErrorLine, split.Error);
  return keys;
}

std::string CameraPathText(const std::vector<CameraKey>& keys) {
  std::string text;
  for (int c = 0; c < kColumnCount; ++c) text += std::string(c > 0 ? "," : "") + kColumnNames[c];
  text += "\n";
  for (const CameraKey& k : keys) {
    text += CueTimeText(k.TimeMs);
    for (double v : {k.Pose.Eye[0], k.Pose.Eye[1], k.Pose.Eye[2], k.Pose.Target[0], k.Pose.Target[1], k.Pose.Target[2],
                     k.Pose.FovDegrees}) {
      text += "," + Float64Text(v);
    }
    text += "\n";
  }
  return text;
}

CameraPathPose StorablePose(const CameraPathPose& pose) {
  // Rounded to 1 / steps; +0 for -0, which reads back the same but looks odd.
  auto keep = [](double v, double lowest, double highest, double steps) {
    const double inRange = std::isfinite(v) ? std::clamp(v, lowest, highest) : 0.0;
    return std::round(inRange * steps) / steps + 0.0;
  };
  CameraPathPose out;
  for (size_t k = 0; k < 3; ++k) {
    out.Eye[k] = keep(pose.Eye[k], k == 1 ? 0 : -kMaxCameraMetres, kMaxCameraMetres, 1000);
    out.Target[k] = keep(pose.Target[k], -kMaxCameraMetres, kMaxCameraMetres, 1000);
  }
  out.FovDegrees = keep(pose.FovDegrees, kLowestCameraFov, kHighestCameraFov, 100);
  // A target on the eye has no direction: a metre ahead along -z instead.
  if (out.Eye == out.Target) out.Target[2] = out.Eye[2] + (out.Eye[2] > 0 ? -1 : 1);
  return out;
}

std::vector<CameraKey> WithCameraKey(std::vector<CameraKey> keys, const CameraKey& key) {
  const auto at = std::lower_bound(keys.begin(), keys.end(), key.TimeMs,
                                   [](const CameraKey& k, int64_t ms) { return k.TimeMs < ms; });
  if (at != keys.end() && at->TimeMs == key.TimeMs) {
    *at = key;
  } else {
    keys.insert(at, key);
  }
  return keys;
}

CameraPathPose CameraPoseAt(const std::vector<CameraKey>& keys, double seconds) {
  const double ms = seconds * 1000;
  if (keys.size() == 1 || !(ms > static_cast<double>(keys.front().TimeMs))) return keys.front().Pose;
  if (ms >= static_cast<double>(keys.back().TimeMs)) return keys.back().Pose;
  const auto next = std::upper_bound(keys.begin(), keys.end(), ms,
                                     [](double at, const CameraKey& k) { return at < static_cast<double>(k.TimeMs); });
  const size_t i = static_cast<size_t>(next - keys.begin()) - 1;
  const CameraPathPose& a = keys[i].Pose;
  const CameraPathPose& b = keys[i + 1].Pose;
  const double u =
      (ms - static_cast<double>(keys[i].TimeMs)) / static_cast<double>(keys[i + 1].TimeMs - keys[i].TimeMs);
  // A key's own time gives the key exactly, not the curve's rounding of it.
  if (u <= 0) return a;
  const double eased = u * u * (3 - 2 * u);
  const bool first = i == 0, last = i + 2 == keys.size();
  CameraPathPose pose;
  pose.Eye = CentripetalPoint(first ? Beyond(a.Eye, b.Eye) : keys[i - 1].Pose.Eye, a.Eye, b.Eye,
                              last ? Beyond(b.Eye, a.Eye) : keys[i + 2].Pose.Eye, eased);
  pose.Target = CentripetalPoint(first ? Beyond(a.Target, b.Target) : keys[i - 1].Pose.Target, a.Target, b.Target,
                                 last ? Beyond(b.Target, a.Target) : keys[i + 2].Pose.Target, eased);
  pose.FovDegrees = a.FovDegrees + (b.FovDegrees - a.FovDegrees) * eased;
  return pose;
}

}  // namespace orvane
