#pragma once
// The cue table over the show project's cues: one row per cue, in the designer's words
// (fire and break, the product, the position, metres). Edits go to the window (which makes
// them undoable); a refused text keeps the cue and shows the message on the cell until the
// next accepted edit.

#include <functional>
#include <optional>
#include <string>

#include <QAbstractTableModel>

#include "project/show_project.h"
#include "show/cue_table.h"

namespace orvane {

class CueTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // edit(row, column, text): the refusal message, or nothing when accepted.
  using Edit = std::function<std::optional<std::string>(size_t row, CueColumn column, const std::string& text)>;
  CueTableModel(const ShowProject& project, Edit edit, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The list or the devices changed: everything is shown again.
  void Reload();
  // The devices, products or site changed: texts, marks and colours are shown again, the
  // selection stays.
  void Refresh();
  const std::optional<std::string>& Refusal() const { return refusal_; }

 private:
  QVariant ToolTip(const Cue& cue, CueColumn column) const;

  const ShowProject& project_;
  Edit edit_;
  std::optional<std::string> refusal_;
  int refusedRow_ = -1, refusedColumn_ = -1;
};

}  // namespace orvane
