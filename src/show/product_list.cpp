#include "show/product_list.h"

#include <array>
#include <cmath>
#include <map>

#include "model/decimal_text.h"
#include "model/integer_text.h"
#include "model/record_decimals.h"
#include "show/csv_text.h"
#include "show/cue_list.h"

namespace orvane {
namespace {

constexpr std::array<const char*, kProductTypeCount> kTypeNames = {"shell",  "comet",    "mine",   "cake",
                                                                   "candle", "fountain", "rocket", "other"};

enum Column { kCode, kName, kType, kCalibre, kShots, kDuration, kPrefire, kColours, kMaker, kPart, kPrice, kStock };
constexpr int kColumnCount = kStock + 1;
constexpr std::array<const char*, kColumnCount> kColumnNames = {"code",  "name",        "type",      "calibre_mm",
                                                                "shots", "duration_s",  "prefire_s", "colours",
                                                                "maker", "part_number", "price",     "stock"};

struct Layout {
  std::array<int, kColumnCount> Known;  // field index of each known column, -1 when absent
  std::vector<int> Extra;               // field indexes of the other columns
};

Layout FindColumns(const std::vector<std::string>& header) {
  Layout layout;
  layout.Known.fill(-1);
  for (int i = 0; i < static_cast<int>(header.size()); ++i) {
    const std::string name = ColumnName(header[i]);
    int known = -1;
    for (int c = 0; c < kColumnCount; ++c)
      if (name == kColumnNames[c]) known = c;
    // A second column of a known name is kept as an unknown one.
    if (known >= 0 && layout.Known[known] < 0) layout.Known[known] = i;
    else layout.Extra.push_back(i);
  }
  return layout;
}

class RowReader {
 public:
  RowReader(std::string_view fileName, const CsvRecord& record, const Layout& layout)
      : fileName_(fileName), record_(record), layout_(layout) {}

  // Views into the record, which outlives every read of a row.
  std::string_view Field(Column column) const { return FieldAt(layout_.Known[column]); }

  Result<Product> Read(const DeviceRecords* devices) {
    Product p;
    p.Line = record_.Line;
    if (!ReadCode(devices, p.Code) || !ReadType(p.Type) ||
        !ReadNumber(kCalibre, "a number of millimetres above 0", false, p.CalibreMm) ||
        !ReadCount(kShots, "a whole number above 0", 1, p.Shots) ||
        !ReadNumber(kDuration, "a number of seconds from 0", true, p.DurationS) || !ReadPrefire(p.PrefireMs) ||
        !ReadNumber(kPrice, "a price from 0 (digits with \".\" for the decimals)", true, p.Price) ||
        !ReadCount(kStock, "a whole number from 0", 0, p.Stock))
      return Fail(error_);
    p.Name = std::string(Field(kName));
    p.Colours = std::string(Field(kColours));
    p.Maker = std::string(Field(kMaker));
    p.PartNumber = std::string(Field(kPart));
    for (int column : layout_.Extra) p.Extra.emplace_back(FieldAt(column));
    return p;
  }

 private:
  std::string_view FieldAt(int index) const {
    if (index < 0 || index >= static_cast<int>(record_.Fields.size())) return {};
    return record_.Fields[index];
  }

  bool Refuse(const std::string& what) {
    error_ = std::string(fileName_) + " line " + std::to_string(record_.Line) + ": " + what + ".";
    return false;
  }

  bool Refuse(Column column, std::string_view text, const char* expected) {
    return Refuse(std::string(kColumnNames[column]) + " \"" + std::string(text) + "\" is not " + expected);
  }

  bool ReadCode(const DeviceRecords* devices, int32_t& code) {
    const std::string_view text = TrimBlanks(Field(kCode));
    if (text.empty()) return Refuse("code is empty");
    const std::optional<int32_t> value = ParseInteger(text);
    if (!value) return Refuse(kCode, text, "a device code");
    if (devices != nullptr && !FindByCode(*devices, *value))
      return Refuse("code " + std::to_string(*value) + " names no device of the show");
    code = *value;
    return true;
  }

  bool ReadType(ProductType& type) {
    const std::string_view text = TrimBlanks(Field(kType));
    if (text.empty()) return true;
    const std::optional<ProductType> value = ProductTypeFromName(text);
    if (!value) return Refuse(kType, text, "shell, comet, mine, cake, candle, fountain, rocket or other");
    type = *value;
    return true;
  }

  bool ReadNumber(Column column, const char* expected, bool zeroAllowed, std::optional<double>& out) {
    const std::string_view text = TrimBlanks(Field(column));
    if (text.empty()) return true;
    const std::optional<double> value = ReadDecimal(text);
    if (!value || !std::isfinite(*value) || *value < 0 || (!zeroAllowed && *value == 0))
      return Refuse(column, text, expected);
    out = *value;
    return true;
  }

  bool ReadCount(Column column, const char* expected, int32_t least, std::optional<int32_t>& out) {
    const std::string_view text = TrimBlanks(Field(column));
    if (text.empty()) return true;
    const std::optional<int32_t> value = ParseInteger(text);
    if (!value || *value < least || text.find_first_of("$xX") != std::string_view::npos)
      return Refuse(column, text, expected);
    out = *value;
    return true;
  }

  bool ReadPrefire(std::optional<int64_t>& out) {
    const std::string_view text = TrimBlanks(Field(kPrefire));
    if (text.empty()) return true;
    const std::optional<int64_t> ms = ParseCueTime(text);
    if (!ms || *ms < 0 || *ms > kMaxCueTimeMs)
      return Refuse(kPrefire, text, "a number of seconds from 0 (empty: measured)");
    out = *ms;
    return true;
  }

  std::string_view fileName_;
  const CsvRecord& record_;
  const Layout& layout_;
  std::string error_;
};

std::string OptionalNumber(const std::optional<double>& v) { return v ? Float64Text(*v) : std::string(); }
std::string OptionalCount(const std::optional<int32_t>& v) { return v ? std::to_string(*v) : std::string(); }

}  // namespace

const char* ProductTypeName(ProductType type) {
  const auto index = static_cast<size_t>(type);
  return index < kTypeNames.size() ? kTypeNames[index] : "other";
}

std::optional<ProductType> ProductTypeFromName(std::string_view name) {
  const std::string lower = ColumnName(name);
  for (size_t i = 0; i < kTypeNames.size(); ++i)
    if (lower == kTypeNames[i]) return static_cast<ProductType>(i);
  return std::nullopt;
}

const Product* FindProduct(const ProductTable& table, int32_t code) {
  for (const Product& p : table.Rows)
    if (p.Code == code) return &p;
  return nullptr;
}

Result<ProductTable> ReadProducts(std::string_view text, std::string_view fileName, const DeviceRecords* devices) {
  const CsvSplit split = SplitCsv(WithoutByteOrderMark(text), kMaxProducts + 2);
  auto refuse = [&](int line, const std::string& what) {
    return Fail(std::string(fileName) + " line " + std::to_string(line) + ": " + what + ".");
  };
  if (split.Records.empty()) {
    if (!split.Error.empty()) return refuse(split.ErrorLine, split.Error);
    return refuse(1, "the header line naming the columns is missing");
  }
  const CsvRecord& header = split.Records.front();
  const Layout layout = FindColumns(header.Fields);
  if (layout.Known[kCode] < 0) return refuse(header.Line, "the header has no \"code\" column");
  if (split.Records.size() > kMaxProducts + 1)
    return refuse(split.Records[kMaxProducts + 1].Line,
                  "the table holds more than " + std::to_string(kMaxProducts) + " products");
  ProductTable table;
  for (int column : layout.Extra) table.ExtraColumns.push_back(std::string(TrimBlanks(header.Fields[column])));
  std::map<int32_t, int> lines;  // code -> the line that gave it first
  for (size_t i = 1; i < split.Records.size(); ++i) {
    Result<Product> row = RowReader(fileName, split.Records[i], layout).Read(devices);
    if (!row) return row.Error();
    const auto [first, fresh] = lines.emplace(row.Value().Code, row.Value().Line);
    if (!fresh)
      return refuse(row.Value().Line, "code " + std::to_string(row.Value().Code) + " has a product on line " +
                                          std::to_string(first->second) + " already");
    table.Rows.push_back(std::move(row.Value()));
  }
  if (!split.Error.empty()) return refuse(split.ErrorLine, split.Error);
  return table;
}

std::string ProductsText(const ProductTable& table) {
  std::string text;
  for (int c = 0; c < kColumnCount; ++c) text += std::string(c == 0 ? "" : ",") + kColumnNames[c];
  for (const std::string& extra : table.ExtraColumns) text += "," + CsvField(extra);
  text += "\n";
  for (const Product& p : table.Rows) {
    text += std::to_string(p.Code) + "," + CsvField(p.Name) + "," + ProductTypeName(p.Type) + "," +
            OptionalNumber(p.CalibreMm) + "," + OptionalCount(p.Shots) + "," + OptionalNumber(p.DurationS) + "," +
            (p.PrefireMs ? CueTimeText(*p.PrefireMs) : std::string()) + "," + CsvField(p.Colours) + "," +
            CsvField(p.Maker) + "," + CsvField(p.PartNumber) + "," + OptionalNumber(p.Price) + "," +
            OptionalCount(p.Stock);
    for (size_t i = 0; i < table.ExtraColumns.size(); ++i)
      text += "," + CsvField(i < p.Extra.size() ? p.Extra[i] : std::string());
    text += "\n";
  }
  return text;
}

}  // namespace orvane
