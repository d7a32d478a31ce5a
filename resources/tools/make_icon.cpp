// Writes the program's icon into a hicolor theme folder: the scalable SVG and PNG sizes.
//   orvane-make-icon <folder> <name>  ->  <folder>/scalable/apps/<name>.svg, <folder>/NxN/apps/<name>.png

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "icon_drawing.h"
#include "util/safe_file.h"

int main(int argc, char** argv) {
  using namespace orvane::tools;
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s THEME_FOLDER ICON_NAME\n", argv[0]);
    return 2;
  }
  const std::filesystem::path theme = argv[1];
  const std::string name = argv[2];
  const std::vector<IconShape> icon = OrvaneIcon();
  auto fail = [](const std::filesystem::path& path, const std::string& error) {
    std::fprintf(stderr, "orvane-make-icon: %s: %s\n", path.c_str(), error.c_str());
    return 1;
  };
  std::error_code error;
  const std::filesystem::path scalable = theme / "scalable" / "apps";
  std::filesystem::create_directories(scalable, error);
  if (error) return fail(scalable, error.message());
  if (const std::string e = orvane::WriteFileSafely(scalable / (name + ".svg"), IconSvg(icon, 256)); !e.empty())
    return fail(scalable / (name + ".svg"), e);
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::filesystem::path folder = theme / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
    std::filesystem::create_directories(folder, error);
    if (error) return fail(folder, error.message());
    const std::filesystem::path png = folder / (name + ".png");
    if (const std::string e = WritePngRgba(png.string(), RasteriseIcon(icon, size), size, size); !e.empty())
      return fail(png, e);
  }
  return 0;
}
