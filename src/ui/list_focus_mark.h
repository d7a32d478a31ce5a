#pragma once
// Item views keep their current item when the selection goes away and go on drawing its
// focus frame; a deselected row must lose that mark too.

class QAbstractItemView;

namespace orvane {

// From now on, whenever `view` is left with nothing selected, it has no current item either.
void DropFocusMarkWithSelection(QAbstractItemView& view);

}  // namespace orvane
