#pragma once
// Decoder for the program's stored texts (title and credit lines). It follows the
// RFC 4648 alphabet but is deliberately lenient: characters are neither checked nor
// skipped, padding inside the text does not stop decoding, and a trailing group of
// fewer than four characters is ignored.

#include <string>
#include <string_view>

namespace orvane {

std::string Base64Decode(std::string_view text);

}  // namespace orvane
