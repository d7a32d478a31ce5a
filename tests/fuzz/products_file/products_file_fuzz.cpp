// Feeds any bytes to the products.csv reader and checks that what it reads is written
// back to a text that reads to the same table, and that the text is then stable.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "show/product_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  orvane::Result<orvane::ProductTable> read = orvane::ReadProducts(bytes, "products.csv", nullptr);
  if (!read) {
    if (read.Message().empty()) std::abort();
    return 0;
  }
  const std::string text = orvane::ProductsText(read.Value());
  orvane::Result<orvane::ProductTable> again = orvane::ReadProducts(text, "products.csv", nullptr);
  if (!again) std::abort();
  orvane::ProductTable a = std::move(read.Value()), b = std::move(again.Value());
  if (a.Rows.size() != b.Rows.size()) std::abort();
  for (size_t i = 0; i < a.Rows.size(); ++i) a.Rows[i].Line = b.Rows[i].Line = 0;
  if (!(a == b) || orvane::ProductsText(b) != text) std::abort();
  return 0;
}
