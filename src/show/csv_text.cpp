#include "show/csv_text.h"

#include <algorithm>
#include <cctype>

namespace orvane {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool AllBlank(const std::vector<std::string>& fields) {
  for (const std::string& f : fields)
    for (char c : f)
      if (!IsBlank(c)) return false;
  return true;
}

class CsvScanner {
 public:
  CsvScanner(std::string_view text, size_t maxRecords) : text_(text), maxRecords_(maxRecords) {}

  CsvSplit Run() {
    CsvSplit split;
    while (pos_ < text_.size()) {
      CsvRecord record;
      record.Line = line_;
      if (!ReadRecord(record.Fields, split)) return split;
      if (AllBlank(record.Fields)) continue;
      if (split.Records.size() == maxRecords_) {
        split.Error = "the list has more than " + std::to_string(maxRecords_) + " lines";
        split.ErrorLine = record.Line;
        return split;
      }
      split.Records.push_back(std::move(record));
    }
    return split;
  }

 private:
  // Consumes a line end at pos_, if there is one.
  bool TakeLineEnd() {
    if (text_[pos_] == '\r') {
      ++pos_;
      if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    } else if (text_[pos_] == '\n') {
      ++pos_;
    } else {
      return false;
    }
    ++line_;
    return true;
  }

  bool ReadRecord(std::vector<std::string>& fields, CsvSplit& split) {
    for (;;) {
      std::string field;
      if (pos_ < text_.size() && text_[pos_] == '"') {
        if (!ReadQuoted(field, split)) return false;
      } else {
        while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\r' && text_[pos_] != '\n')
          field += text_[pos_++];
      }
      fields.push_back(std::move(field));
      if (pos_ >= text_.size()) return true;
      if (text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      TakeLineEnd();
      return true;
    }
  }

  bool ReadQuoted(std::string& field, CsvSplit& split) {
    const int startLine = line_;
    ++pos_;
    for (;;) {
      if (pos_ >= text_.size()) {
        split.Error = "a quoted field is not closed";
        split.ErrorLine = startLine;
        return false;
      }
      const char c = text_[pos_];
      if (c == '"') {
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
          field += '"';
          pos_ += 2;
          continue;
        }
        ++pos_;
        break;
      }
      if (c == '\r' || c == '\n') {
        // Kept as written; the line count follows the text.
        const size_t from = pos_;
        TakeLineEnd();
        field.append(text_.substr(from, pos_ - from));
        continue;
      }
      field += c;
      ++pos_;
    }
    if (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\r' && text_[pos_] != '\n') {
      split.Error = "a quoted field must end at a comma or at the end of the line";
      split.ErrorLine = line_;
      return false;
    }
    return true;
  }

  std::string_view text_;
  size_t maxRecords_;
  size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

std::string_view WithoutByteOrderMark(std::string_view text) {
  const std::string_view bom = "\xEF\xBB\xBF";
  if (text.substr(0, bom.size()) == bom) text.remove_prefix(bom.size());
  return text;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string ColumnName(std::string_view header) {
  std::string out(TrimBlanks(header));
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

CsvSplit SplitCsv(std::string_view text, size_t maxRecords) { return CsvScanner(text, maxRecords).Run(); }

std::string CsvField(std::string_view text) {
  bool quote = !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
  for (char c : text)
    if (c == ',' || c == '"' || c == '\r' || c == '\n') quote = true;
  if (!quote) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string SpreadsheetField(std::string_view text) {
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
    return CsvField("'" + std::string(text));
  return CsvField(text);
}

}  // namespace orvane
