#pragma once
// The cue table over the show's cue list: one row per cue, columns as cues.csv has them.
// Edits go to the window (which makes them undoable); a refused text keeps the cue and
// shows the reader's message on the cell until the next accepted edit.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QAbstractTableModel>

#include "model/device_lookup.h"
#include "show/cue.h"
#include "show/cue_edit.h"

namespace orvane {

class CueTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // edit(row, field, text): the refusal message, or nothing when accepted.
  using Edit = std::function<std::optional<std::string>(size_t row, CueField field, const std::string& text)>;
  CueTableModel(const std::vector<Cue>& cues, const DeviceRecords& devices, Edit edit, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The list or the devices changed: everything is shown again.
  void Reload();
  // The devices changed: marks and colours are shown again, the selection stays.
  void Refresh();
  const std::optional<std::string>& Refusal() const { return refusal_; }

 private:
  const std::vector<Cue>& cues_;
  const DeviceRecords& devices_;
  Edit edit_;
  std::optional<std::string> refusal_;
  int refusedRow_ = -1, refusedColumn_ = -1;
};

}  // namespace orvane
