#include "ui/cue_table_model.h"

#include <QBrush>
#include <QColor>

namespace orvane {
namespace {

const char* const kHeaders[kCueFieldCount] = {"Time", "Code", "X", "Y", "Z", "Label"};

}  // namespace

CueTableModel::CueTableModel(const std::vector<Cue>& cues, const DeviceRecords& devices, Edit edit, QObject* parent)
    : QAbstractTableModel(parent), cues_(cues), devices_(devices), edit_(std::move(edit)) {}

int CueTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(cues_.size());
}

int CueTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kCueFieldCount; }

QVariant CueTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= kCueFieldCount) return {};
  const Cue& cue = cues_[static_cast<size_t>(index.row())];
  const auto field = static_cast<CueField>(index.column());
  const bool refused = index.row() == refusedRow_ && index.column() == refusedColumn_;
  const bool missing = CueDeviceMissing(cue, devices_);
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(CueFieldText(cue, field));
    case Qt::EditRole: return QString::fromStdString(CueFieldEditText(cue, field));
    case Qt::ToolTipRole:
      if (refused) return QString::fromStdString(*refusal_);
      if (missing) return QStringLiteral("No device has code %1.").arg(cue.Code);
      return {};
    case Qt::BackgroundRole:
      if (refused) return QBrush(QColor(255, 200, 200));
      if (missing) return QBrush(QColor(255, 230, 160));
      return {};
    case Qt::TextAlignmentRole:
      return field == CueField::Label ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default: return {};
  }
}

QVariant CueTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  return section >= 0 && section < kCueFieldCount ? QString::fromLatin1(kHeaders[section]) : QVariant();
}

Qt::ItemFlags CueTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool CueTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()) return false;
  const int row = index.row(), column = index.column();
  std::optional<std::string> refusal =
      edit_(static_cast<size_t>(row), static_cast<CueField>(column), value.toString().toStdString());
  if (!refusal) {
    refusedRow_ = refusedColumn_ = -1;
    refusal_.reset();
    return true;
  }
  refusal_ = std::move(refusal);
  refusedRow_ = row;
  refusedColumn_ = column;
  emit dataChanged(index, index);
  return false;
}

void CueTableModel::Reload() {
  beginResetModel();
  if (refusedRow_ >= rowCount()) refusedRow_ = refusedColumn_ = -1;
  endResetModel();
}

void CueTableModel::Refresh() {
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, kCueFieldCount - 1));
}

}  // namespace orvane
