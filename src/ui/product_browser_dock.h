#pragma once
// The show window's product browser: the library's products with a thumbnail each, three
// filters (type, calibre, colour) and "Add to show". Thumbnails are drawn one at a time by
// orvane-cli in a child process (the offscreen renderer lives there) and kept in a cache;
// the dock stays usable meanwhile. Where products come from and what adding does are the
// source's; the dock only wires widgets to it.

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QDockWidget>

#include "project/product_browser.h"

class QComboBox;
class QLabel;
class QListWidget;
class QProcess;
class QPushButton;

namespace orvane {

struct ProductSource {
  // The library's products, read again.
  std::function<std::vector<BrowsedProduct>()> List;
  // A product's devices, root first: what its thumbnail's cache name is made from.
  std::function<std::vector<TBaseDevice>(const BrowsedProduct&)> Chain;
  // Adds the product to the show; the failure's message, or nothing.
  std::function<std::optional<std::string>(const BrowsedProduct&)> Add;
};

class ProductBrowserDock : public QDockWidget {
  Q_OBJECT
 public:
  ProductBrowserDock(ProductSource source, QWidget* parent = nullptr);
  // Stops a thumbnail still being drawn and waits for it.
  ~ProductBrowserDock() override;

  // orvane-cli and the thumbnail cache; set before Reload. Without a cache folder no
  // thumbnails are drawn.
  void SetCliProgram(const std::filesystem::path& program) { cliProgram_ = program; }
  void SetCacheFolder(std::optional<std::filesystem::path> folder) { cacheFolder_ = std::move(folder); }

  // Reads the products again and queues the thumbnails the cache does not hold.
  void Reload();
  // The products the filters let through, in list order.
  const std::vector<size_t>& Shown() const { return shown_; }
  const std::vector<BrowsedProduct>& Products() const { return products_; }
  // The list row's product has its thumbnail.
  bool HasThumbnail(int row) const;
  bool DrawingThumbnails() const { return process_ != nullptr; }

  QComboBox* TypeBox = nullptr;
  QComboBox* CalibreBox = nullptr;
  QComboBox* ColourBox = nullptr;
  QListWidget* List = nullptr;
  QPushButton* AddBt = nullptr;
  QLabel* Count = nullptr;

 signals:
  // A product went into the show: its name.
  void ProductAdded(const QString& name);
  void AddFailed(const QString& message);

 private:
  void ApplyFilters();
  void AddSelected();
  void NextThumbnail();
  void ThumbnailDone(size_t index, const std::filesystem::path& file);
  std::optional<std::filesystem::path> ThumbnailFile(size_t index) const;
  void ShowThumbnail(size_t index);

  ProductSource source_;
  std::vector<BrowsedProduct> products_;
  std::vector<std::string> thumbnailNames_;  // one per product
  std::vector<size_t> shown_;
  std::filesystem::path cliProgram_;
  std::optional<std::filesystem::path> cacheFolder_;
  std::deque<size_t> pending_;
  QProcess* process_ = nullptr;
};

}  // namespace orvane
