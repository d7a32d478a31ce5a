#pragma once
// Comma-separated text with RFC 4180 quoting: a field in double quotes may hold commas,
// line breaks and doubled quotes. Records end at CR LF, LF or a lone CR.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct CsvRecord {
  int Line = 0;  // the line the record starts on, from 1
  std::vector<std::string> Fields;
};

struct CsvSplit {
  std::vector<CsvRecord> Records;
  // Set when a quoted field is not closed or runs into text after its closing quote;
  // ErrorLine is that field's line.
  std::string Error;
  int ErrorLine = 0;
};

// Records of the text; blank records (no field holds anything but blanks) are left out.
// More than maxRecords records is an error on the line of the first one too many.
CsvSplit SplitCsv(std::string_view text, size_t maxRecords = SIZE_MAX);

// The text after a UTF-8 byte order mark, if it starts with one.
std::string_view WithoutByteOrderMark(std::string_view text);

// The text without blanks (spaces, tabs) at either end.
std::string_view TrimBlanks(std::string_view text);
// A header field as columns are matched: trimmed, in lower case.
std::string ColumnName(std::string_view header);

// The field as one CSV field: quoted when it holds a comma, a quote, a line break or
// blanks at either end, so it reads back unchanged.
std::string CsvField(std::string_view text);

// CsvField for a file made to be opened in a spreadsheet, never read back: a text that
// starts with "=", "+", "-", "@", a tab or a CR would be taken for a formula, so it gets
// the leading "'" spreadsheets read as "text follows".
std::string SpreadsheetField(std::string_view text);

}  // namespace orvane
