#include "model/profile_edit.h"

#include <optional>

#include "model/ini_file.h"

namespace orvane {
namespace {

// One line of the text: its content and the line end after it ("" for the last line).
struct Line {
  std::string_view Content;
  std::string_view End;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back({text.substr(start), {}});
      break;
    }
    const size_t endLength = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
    lines.push_back({text.substr(start, end - start), text.substr(end, endLength)});
    start = end + endLength;
  }
  return lines;
}

// What a line is to the reader: a section header (its lower-case name), a key line (its
// lower-case key and where "=" stands), or neither.
struct LineKind {
  std::optional<std::string> Section;
  std::optional<std::string> Key;
  size_t Equals = 0;
};

LineKind Classify(std::string_view raw) {
  LineKind kind;
  const std::string_view line = TrimIniBlanks(raw);
  if (line.empty() || line.front() == ';') return kind;
  if (line.front() == '[') {
    const size_t close = line.rfind(']');
    if (close != std::string_view::npos) kind.Section = AsciiLower(TrimIniBlanks(line.substr(1, close - 1)));
    return kind;
  }
  const size_t eq = raw.find('=');
  if (eq == std::string_view::npos) return kind;
  kind.Key = AsciiLower(TrimIniBlanks(raw.substr(0, eq)));
  kind.Equals = eq;
  return kind;
}

}  // namespace

std::vector<ProfileValue> ProfileValues(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<ProfileValue> values;
  std::optional<std::string> section;
  for (const Line& line : SplitLines(text)) {
    const LineKind kind = Classify(line.Content);
    if (kind.Section) {
      section =
          std::string(TrimIniBlanks(TrimIniBlanks(line.Content).substr(1, TrimIniBlanks(line.Content).rfind(']') - 1)));
    } else if (kind.Key && section) {
      values.push_back({*section, std::string(TrimIniBlanks(line.Content.substr(0, kind.Equals))),
                        std::string(TrimIniBlanks(line.Content.substr(kind.Equals + 1)))});
    }
  }
  return values;
}

std::string SetProfileValues(std::string_view text, const std::vector<ProfileValue>& values) {
  // The reader skips a byte-order mark before the first line; so does the edit, and keeps it.
  const std::string_view mark = text.starts_with("\xEF\xBB\xBF") ? text.substr(0, 3) : std::string_view();
  text.remove_prefix(mark.size());
  std::vector<Line> lines = SplitLines(text);
  std::string newLine = "\r\n";
  if (!lines.empty() && !lines.front().End.empty()) newLine = std::string(lines.front().End);
  // The replacement text of each line, and lines to add after a given line.
  std::vector<std::optional<std::string>> replaced(lines.size());
  std::vector<std::string> addedAfter(lines.size());
  std::string appended;

  for (const ProfileValue& value : values) {
    const std::string section = AsciiLower(value.Section);
    const std::string key = AsciiLower(value.Key);
    std::optional<size_t> header, lastKey, found;
    bool inFirst = false, seenSection = false;
    for (size_t i = 0; i < lines.size() && !found; ++i) {
      const LineKind kind = Classify(lines[i].Content);
      if (kind.Section) {
        // Only the first section of a name is read; a repeat of it is skipped.
        inFirst = *kind.Section == section && !seenSection;
        seenSection = seenSection || *kind.Section == section;
        if (inFirst) header = i;
        continue;
      }
      if (!inFirst || !kind.Key) continue;
      lastKey = i;
      if (*kind.Key == key) found = i;
    }
    if (found) {
      replaced[*found] =
          std::string(lines[*found].Content.substr(0, Classify(lines[*found].Content).Equals + 1)) + value.Value;
    } else if (header) {
      addedAfter[lastKey.value_or(*header)] += value.Key + "=" + value.Value + newLine;
    } else {
      // A section added earlier by this call takes the key too.
      const std::string head = "[" + value.Section + "]" + newLine;
      const size_t at = appended.find(head);
      const std::string line = value.Key + "=" + value.Value + newLine;
      if (at == std::string::npos) {
        appended += head + line;
      } else {
        const size_t next = appended.find("\n[", at + head.size());
        appended.insert(next == std::string::npos ? appended.size() : next + 1, line);
      }
    }
  }

  std::string out(mark);
  out.reserve(text.size() + appended.size() + 64);
  for (size_t i = 0; i < lines.size(); ++i) {
    out += replaced[i] ? *replaced[i] : std::string(lines[i].Content);
    // A last line without its end gets one when lines follow it.
    const bool more = !addedAfter[i].empty() || (i + 1 == lines.size() && !appended.empty());
    out += lines[i].End.empty() && more ? std::string_view(newLine) : lines[i].End;
    out += addedAfter[i];
  }
  return out + appended;
}

}  // namespace orvane
