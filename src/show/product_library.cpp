#include "show/product_library.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <set>

#include "model/device_file.h"
#include "show/staged_files.h"

namespace orvane {
namespace fs = std::filesystem;
namespace {

const TBaseDevice* DeviceWithCode(const DeviceRecords& devices, int32_t code) {
  for (const auto& d : devices)
    if (d->Definition.Code == code) return d.get();
  return nullptr;
}

// The chain from `code`: the root, then the devices it reaches by ascending code, each once.
Result<std::vector<const TBaseDevice*>> ChainOf(const DeviceRecords& from, int32_t code) {
  std::vector<const TBaseDevice*> chain;
  std::set<int32_t> seen{code};
  std::deque<int32_t> next{code};
  while (!next.empty()) {
    const int32_t c = next.front();
    next.pop_front();
    const TBaseDevice* device = DeviceWithCode(from, c);
    if (device == nullptr)
      return Fail("The chain of device " + std::to_string(code) + " needs device " + std::to_string(c) +
                  ", which the library does not hold.");
    chain.push_back(device);
    for (const auto& [exists, link] :
         {std::pair{device->NextEffExists, device->NextEffCode}, std::pair{device->NextParExists, device->NextParCode}})
      if (exists && seen.insert(link).second) next.push_back(link);
  }
  std::sort(chain.begin() + 1, chain.end(),
            [](const TBaseDevice* a, const TBaseDevice* b) { return a->Definition.Code < b->Definition.Code; });
  return chain;
}

Result<std::map<int32_t, int32_t>> FreeCodes(const std::vector<const TBaseDevice*>& chain, const DeviceRecords& into) {
  std::map<int32_t, int32_t> codes;
  int64_t largest = 0;
  bool clash = false;
  for (const auto& d : into) largest = std::max<int64_t>(largest, d->Definition.Code);
  for (const TBaseDevice* d : chain) {
    clash = clash || DeviceWithCode(into, d->Definition.Code) != nullptr;
    codes[d->Definition.Code] = d->Definition.Code;
  }
  if (!clash) return codes;
  const int64_t base = (largest / 100 + 1) * 100;
  if (base + static_cast<int64_t>(chain.size()) > std::numeric_limits<int32_t>::max())
    return Fail("The show has no free device codes left above " + std::to_string(largest) + ".");
  for (size_t i = 0; i < chain.size(); ++i)
    codes[chain[i]->Definition.Code] = static_cast<int32_t>(base + 1 + static_cast<int64_t>(i));
  return codes;
}

}  // namespace

Result<std::vector<fs::path>> LibraryShelfFolders(const fs::path& library) {
  std::error_code ec;
  fs::directory_iterator it(library, ec);
  if (ec) return Fail("The library folder \"" + library.string() + "\" cannot be read: " + ec.message() + ".");
  std::vector<fs::path> shelves;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) return Fail("The library folder \"" + library.string() + "\" cannot be read: " + ec.message() + ".");
    if (it->is_directory(ec) && fs::is_regular_file(it->path() / kProductFileName, ec)) shelves.push_back(it->path());
  }
  std::sort(shelves.begin(), shelves.end());
  return shelves;
}

Result<LibraryShelf> OpenLibraryShelf(const fs::path& folder, const PrepareStep& prepare) {
  LibraryShelf shelf;
  shelf.Folder = folder;
  shelf.Name = (folder.has_filename() ? folder : folder.parent_path()).filename().string();
  const std::string where = "The library shelf \"" + shelf.Name + "\"";
  const Result<std::string> text = ReadSmallFile(folder / kProductFileName, kMaxProductFileBytes);
  if (!text) return text.Error();
  if (Result<ProductTable> syntax = ReadProducts(text.Value(), kProductFileName, nullptr); !syntax)
    return Fail(where + ": " + syntax.Message());
  const FolderLoadReport loaded = LoadDeviceFolder(folder, shelf.Devices, prepare);
  if (loaded.Error) return Fail(where + ": " + *loaded.Error);
  std::set<int32_t> codes;
  for (const auto& d : shelf.Devices)
    if (!codes.insert(d->Definition.Code).second)
      return Fail(where + " holds two devices with code " + std::to_string(d->Definition.Code) + ".");
  Result<ProductTable> products = ReadProducts(text.Value(), kProductFileName, &shelf.Devices);
  if (!products) return Fail(where + ": " + products.Message());
  shelf.Products = std::move(products.Value());
  return shelf;
}

Result<ChainCopy> CopyChainInto(const DeviceRecords& from, int32_t code, const DeviceRecords& into,
                                const PrepareStep& prepare) {
  Result<std::vector<const TBaseDevice*>> chain = ChainOf(from, code);
  if (!chain) return chain.Error();
  Result<std::map<int32_t, int32_t>> codes = FreeCodes(chain.Value(), into);
  if (!codes) return codes.Error();
  ChainCopy copy;
  copy.Codes = std::move(codes.Value());
  for (const TBaseDevice* source : chain.Value()) {
    auto device = std::make_unique<TBaseDevice>(*source);
    device->Compiled.reset();
    device->Definition.Code = copy.Codes.at(source->Definition.Code);
    if (device->NextEffExists) device->NextEffCode = copy.Codes.at(source->NextEffCode);
    if (device->NextParExists) device->NextParCode = copy.Codes.at(source->NextParCode);
    if (!prepare(*device))
      return Fail("Device " + std::to_string(source->Definition.Code) + " of the library could not be prepared.");
    copy.Devices.push_back(std::move(device));
  }
  return copy;
}

}  // namespace orvane
