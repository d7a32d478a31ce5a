#pragma once
// The device list view: one "Code" column, whole-row single selection kept visible
// without focus, and local files dropped onto it from a file manager.

#include <filesystem>
#include <vector>

#include <QTreeWidget>

namespace orvane {

class DevicesListView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit DevicesListView(QWidget* parent = nullptr);

  // The font colour: red while the list holds a chaining cycle.
  void SetRedFont(bool red);
  bool RedFont() const { return red_; }

 signals:
  void FilesDropped(const std::vector<std::filesystem::path>& files);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool red_ = false;
};

// The local files of a drop, in the order given; anything that is not a local file is left out.
std::vector<std::filesystem::path> DroppedLocalFiles(const QList<QUrl>& urls);

}  // namespace orvane
