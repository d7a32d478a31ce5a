#include "ui/cue_table_model.h"

#include <QBrush>
#include <QColor>

#include "show/calibre_rule.h"

namespace orvane {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

bool OffRule(const Product* row, const ShowMeasures& measures) {
  if (row == nullptr || !row->CalibreMm) return false;
  const auto f = measures.Figures.find(row->Code);
  return f != measures.Figures.end() && CalibreRuleApplies(*row, f->second) &&
         OffCalibreRule(f->second.BreakHeight, *row->CalibreMm);
}

}  // namespace

CueTableModel::CueTableModel(const ShowProject& project, Edit edit, QObject* parent)
    : QAbstractTableModel(parent), project_(project), edit_(std::move(edit)) {}

int CueTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(project_.Cues().size());
}

int CueTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kCueColumnCount; }

QVariant CueTableModel::ToolTip(const Cue& cue, CueColumn column) const {
  if (CueDeviceMissing(cue, project_.Devices().Devices()))
    return QStringLiteral("No device has code %1.").arg(cue.Code);
  if (column != CueColumn::Product && column != CueColumn::Break) return {};
  const ShowMeasures& measures = project_.Measures();
  const Product* row = FindProduct(project_.Products(), cue.Code);
  std::string text = "Device " + std::to_string(cue.Code);
  if (row != nullptr && !row->Colours.empty()) text += ", " + row->Colours;
  if (const auto f = measures.Figures.find(cue.Code); f != measures.Figures.end())
    text += ": " + ProductFiguresText(row, f->second);
  else if (const auto why = measures.Failed.find(cue.Code); why != measures.Failed.end())
    text += ": not measured: " + why->second;
  return Q(text);
}

QVariant CueTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= kCueColumnCount) return {};
  const Cue& cue = project_.Cues()[static_cast<size_t>(index.row())];
  const auto column = static_cast<CueColumn>(index.column());
  const bool refused = index.row() == refusedRow_ && index.column() == refusedColumn_;
  const bool missing = CueDeviceMissing(cue, project_.Devices().Devices());
  // A cue without an address shows the one a script would give it, in grey.
  const bool address = column == CueColumn::Module || column == CueColumn::Pin;
  const std::optional<std::pair<int32_t, int32_t>> assigned =
      address && !cue.Module ? project_.TableContext().Assigned(static_cast<size_t>(index.row())) : std::nullopt;
  switch (role) {
    case Qt::DisplayRole:
      if (assigned) return column == CueColumn::Module ? assigned->first : assigned->second;
      return Q(CueColumnText(cue, column, project_.TableContext()));
    case Qt::ForegroundRole: return assigned ? QVariant(QBrush(QColor(128, 128, 128))) : QVariant();
    case Qt::EditRole: return Q(CueColumnEditText(cue, column, project_.TableContext()));
    case Qt::ToolTipRole:
      if (refused) return Q(*refusal_);
      if (assigned)
        return QStringLiteral("Assigned by the profile \"%1\"; type a number to keep an address")
            .arg(Q(project_.ScriptProfile().Name));
      return ToolTip(cue, column);
    case Qt::BackgroundRole:
      if (refused) return QBrush(QColor(255, 200, 200));
      if (missing) return QBrush(QColor(255, 230, 160));
      if (column == CueColumn::Product && OffRule(FindProduct(project_.Products(), cue.Code), project_.Measures()))
        return QBrush(QColor(255, 245, 190));
      return {};
    case Qt::TextAlignmentRole:
      return CueColumnIsNumber(column) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default: return {};
  }
}

QVariant CueTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  return section >= 0 && section < kCueColumnCount
             ? QString::fromLatin1(CueColumnHeader(static_cast<CueColumn>(section)))
             : QVariant();
}

Qt::ItemFlags CueTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool CueTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()) return false;
  const int row = index.row(), column = index.column();
  std::optional<std::string> refusal =
      edit_(static_cast<size_t>(row), static_cast<CueColumn>(column), value.toString().toStdString());
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
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, kCueColumnCount - 1));
}

}  // namespace orvane
