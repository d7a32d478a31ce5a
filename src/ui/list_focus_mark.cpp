#include "ui/list_focus_mark.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

namespace orvane {

void DropFocusMarkWithSelection(QAbstractItemView& view) {
  QItemSelectionModel* selection = view.selectionModel();
  QObject::connect(selection, &QItemSelectionModel::selectionChanged, &view, [selection] {
    if (!selection->hasSelection() && selection->currentIndex().isValid()) selection->clearCurrentIndex();
  });
}

}  // namespace orvane
