#include "ui/devices_list_view.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>

#include "ui/list_focus_mark.h"

namespace orvane {
namespace {

bool HasLocalFiles(const QMimeData* data) { return data && !DroppedLocalFiles(data->urls()).empty(); }

}  // namespace

DevicesListView::DevicesListView(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(1);
  setHeaderLabels({QStringLiteral("Code")});
  setRootIsDecorated(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  setIconSize(QSize(16, 16));
  DropFocusMarkWithSelection(*this);
  // The selection stays as visible when the list has no focus.
  QPalette pal = palette();
  pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
  pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(pal);
}

void DevicesListView::SetRedFont(bool red) {
  red_ = red;
  QPalette pal = palette();
  const QColor text = red ? QColor(255, 0, 0) : QPalette().color(QPalette::Text);
  pal.setColor(QPalette::Active, QPalette::Text, text);
  pal.setColor(QPalette::Inactive, QPalette::Text, text);
  setPalette(pal);
}

void DevicesListView::dragEnterEvent(QDragEnterEvent* event) {
  if (HasLocalFiles(event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void DevicesListView::dragMoveEvent(QDragMoveEvent* event) {
  if (HasLocalFiles(event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void DevicesListView::dropEvent(QDropEvent* event) {
  const auto files =
      event->mimeData() ? DroppedLocalFiles(event->mimeData()->urls()) : std::vector<std::filesystem::path>{};
  if (files.empty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  emit FilesDropped(files);
}

std::vector<std::filesystem::path> DroppedLocalFiles(const QList<QUrl>& urls) {
  std::vector<std::filesystem::path> files;
  for (const QUrl& url : urls) {
    if (url.isLocalFile()) files.emplace_back(url.toLocalFile().toStdString());
  }
  return files;
}

}  // namespace orvane
