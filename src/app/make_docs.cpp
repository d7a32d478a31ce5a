// Writes the manual pages (gzip-compressed, as Debian keeps them) and the bash completion
// into a folder; the build runs it and the install rules take the results:
//   orvane-make-docs <folder>   ->  <folder>/man1/*.1.gz, <folder>/completions/orvane-cli

#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "app/manuals.h"
#include "util/safe_file.h"

namespace {

// Like `gzip -9n`: best compression, no name and no time stamp, so builds repeat exactly.
bool Gzip(std::string_view text, std::string& out) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK) return false;
  out.resize(deflateBound(&z, static_cast<uLong>(text.size())) + 32);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  z.avail_in = static_cast<uInt>(text.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return status == Z_STREAM_END;
}

bool Write(const std::filesystem::path& path, std::string_view content) {
  const std::string error = orvane::WriteFileSafely(path, content);
  if (!error.empty()) std::fprintf(stderr, "orvane-make-docs: %s: %s\n", path.c_str(), error.c_str());
  return error.empty();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::error_code error;
  // Pages of commands that no longer exist must not linger into the package.
  std::filesystem::remove_all(out / "man1", error);
  std::filesystem::create_directories(out / "man1", error);
  std::filesystem::create_directories(out / "completions", error);
  if (error) {
    std::fprintf(stderr, "orvane-make-docs: %s: %s\n", out.c_str(), error.message().c_str());
    return 1;
  }
  for (const orvane::cli::ManPage& page : orvane::cli::ManPages()) {
    std::string packed;
    if (!Gzip(page.Text, packed)) {
      std::fprintf(stderr, "orvane-make-docs: cannot compress %s\n", page.Name.c_str());
      return 1;
    }
    if (!Write(out / "man1" / (page.Name + ".1.gz"), packed)) return 1;
  }
  return Write(out / "completions" / "orvane-cli", orvane::cli::BashCompletion()) ? 0 : 1;
}
