#include "effects/effect_library.h"

#include <set>

#include "effects/calibration.h"
#include "effects/effect_recipe.h"
#include "effects/effect_targets.h"
#include "effects/product_row.h"
#include "model/device_file_writer.h"
#include "show/product_list.h"

namespace orvane {
namespace fs = std::filesystem;
namespace {

// A generated shelf holds a few hundred small files.
constexpr uintmax_t kMaxShelfFileBytes = 1 << 20;

bool IsDeviceFile(const fs::path& path) {
  const std::string ext = path.extension().string();
  return ext == ".odev" || ext == ".osub";
}

}  // namespace

std::vector<std::string> GeneratedCatalogue() {
  std::vector<std::string> catalogue;
  for (EffectType type : kEffectTypes)
    for (int calibre : kCalibrationCalibres)
      catalogue.push_back(DescriptionText(CalibrationDescription(type, calibre)));
  const char* variants[] = {
      "75mm green peony",
      "75mm blue peony",
      "75mm purple peony",
      "75mm yellow peony",
      "100mm pink peony",
      "100mm red to green peony",
      "100mm blue to white peony",
      "100mm red and white and blue peony",
      "125mm dense silver peony with trails",
      "100mm red chrysanthemum",
      "125mm gold to blue chrysanthemum",
      "100mm silver willow",
      "125mm gold to red willow",
      "100mm green palm",
      "75mm red ring",
      "100mm blue horizontal ring",
      "125mm purple to yellow ring",
      "100mm red to green crossette",
      "75mm green strobe",
      "100mm red and white strobe",
      "100mm silver crackle",
      "75mm red comet",
      "75mm silver comet",
      "50mm red mine",
      "75mm green and gold mine",
      "50mm silver fountain",
      "30mm red and green peony cake 10 shots",
      "30mm gold willow cake 20 shots",
      "50mm silver crossette cake 9 shots",
      "40mm blue strobe cake 12 shots",
  };
  catalogue.insert(catalogue.end(), std::begin(variants), std::end(variants));
  return catalogue;
}

Result<ShelfContent> BuildGeneratedShelf() {
  ShelfContent shelf;
  std::string products = std::string(kProductsCsvHeader) + "\n";
  int32_t next = kGeneratedFirstCode;
  for (const std::string& text : GeneratedCatalogue()) {
    const Result<EffectDescription> description = ParseEffectDescription(text);
    if (!description) return description.Error();
    Result<EffectChain> chain = MakeEffect(
        description.Value(), [](int32_t) { return false; }, next);
    if (!chain) return chain.Error();
    const Result<MeasuredProduct> measured = MeasureGeneratedProduct(chain.Value());
    if (!measured) return Fail(text + ": " + measured.Message());
    for (const TBaseDevice& d : chain.Value().Devices) shelf.Files.push_back({DeviceFileName(d), DeviceFileText(d)});
    next = chain.Value().Devices.back().Definition.Code + 1;
    products += ProductRowCsv(measured.Value().Row) + "\n";
    ++shelf.Products;
  }
  shelf.Files.push_back({std::string(kProductFileName), products});
  return shelf;
}

Result<> WriteShelf(const fs::path& folder, const ShelfContent& shelf) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder, ec)) return Fail("The folder \"" + folder.string() + "\" cannot be made.");
  if (Result<> written = WriteFilesTogether(folder, shelf.Files); !written) return written;
  std::set<std::string> names;
  for (const FileContent& file : shelf.Files) names.insert(file.Name);
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (IsDeviceFile(entry.path()) && names.count(name) == 0 && entry.is_regular_file(ec)) {
      if (!fs::remove(entry.path(), ec))
        return Fail("The old file \"" + entry.path().string() + "\" could not be removed: " + ec.message() + ".");
    }
  }
  if (ec) return Fail("The folder \"" + folder.string() + "\" could not be read: " + ec.message() + ".");
  return {};
}

std::vector<std::string> ShelfDifferences(const fs::path& folder, const ShelfContent& shelf) {
  std::vector<std::string> differences;
  std::set<std::string> names;
  for (const FileContent& file : shelf.Files) {
    names.insert(file.Name);
    const Result<std::string> bytes = ReadSmallFile(folder / file.Name, kMaxShelfFileBytes);
    if (!bytes) {
      differences.push_back(file.Name + " is missing");
    } else if (bytes.Value() != file.Bytes) {
      differences.push_back(file.Name + " differs");
    }
  }
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if ((IsDeviceFile(entry.path()) || name == kProductFileName) && names.count(name) == 0)
      differences.push_back(name + " is not generated");
  }
  if (ec) differences.push_back(folder.string() + " cannot be read: " + ec.message());
  return differences;
}

}  // namespace orvane
