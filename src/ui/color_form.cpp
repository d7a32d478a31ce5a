#include "ui/color_form.h"

#include <QFrame>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include "ui/color_graph_box.h"
#include "ui/color_list_view.h"
#include "ui/color_row_delegate.h"

namespace orvane {
namespace {

constexpr int kMargin = 8;
constexpr int kAntsIntervalMs = 100;
const QColor kPanelGray(0x80, 0x80, 0x80);

// The list's columns: positions, three flags, then the two drawn colour cells.
constexpr int kInitialColorColumn = 5;
constexpr int kFinalColorColumn = 6;

QToolButton* MakeSpeedButton(const char* name, const char* caption, int x, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(caption);
  button->setGeometry(x, 6, 70, 24);
  return button;
}

QPushButton* MakeButton(const char* name, const char* caption, int x, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(x, 214, 75, 25);
  return button;
}

}  // namespace

ColorForm::ColorForm(const SegmentList& segments, UserDialogs& dialogs, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), editor_(dialogs, segments) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Color and effect editor");
  setFixedSize(kClientWidth, kClientHeight);
  BuildControls();
  RefreshList();
  timer_->start();
}

void ColorForm::BuildControls() {
  addBt_ = MakeSpeedButton("AddBt", "Add", kMargin, this);
  modifyBt_ = MakeSpeedButton("ModifyBt", "Modify", kMargin + 72, this);
  deleteBt_ = MakeSpeedButton("DeleteBt", "Delete", kMargin + 144, this);

  graphPanel_ = new QFrame(this);
  graphPanel_->setObjectName("GraphPanel");
  graphPanel_->setFrameStyle(QFrame::Box | QFrame::Plain);
  graphPanel_->setLineWidth(1);
  graphPanel_->setGeometry(kMargin, 36, kGraphWidth + 6, kGraphHeight + 6);
  graphPanel_->setAutoFillBackground(true);
  QPalette panelPalette = graphPanel_->palette();
  panelPalette.setColor(QPalette::Window, kPanelGray);
  graphPanel_->setPalette(panelPalette);

  paintBox_ = new ColorGraphBox(editor_.Graph(), graphPanel_);
  paintBox_->setObjectName("PaintBox");
  paintBox_->move(3, 3);

  colorView_ = new ColorListView(this);
  colorView_->setObjectName("ColorView");
  colorView_->setItemDelegate(new ColorRowDelegate(colorView_));
  colorView_->setGeometry(kMargin, 96, kGraphWidth + 6, 112);

  acceptBt_ = MakeButton("AcceptBt", "Accept", kClientWidth - kMargin - 156, this);
  cancelBt_ = MakeButton("CancelBt", "Cancel", kClientWidth - kMargin - 75, this);

  timer_ = new QTimer(this);
  timer_->setObjectName("Timer");
  timer_->setInterval(kAntsIntervalMs);

  connect(addBt_, &QToolButton::clicked, this, &ColorForm::AddBtClick);
  connect(modifyBt_, &QToolButton::clicked, this, &ColorForm::ModifyBtClick);
  connect(deleteBt_, &QToolButton::clicked, this, &ColorForm::DeleteBtClick);
  connect(acceptBt_, &QPushButton::clicked, this, &ColorForm::AcceptBtClick);
  connect(cancelBt_, &QPushButton::clicked, this, &ColorForm::CancelBtClick);
  connect(timer_, &QTimer::timeout, this, &ColorForm::TimerTimer);
  connect(colorView_, &QTreeWidget::itemSelectionChanged, this, &ColorForm::ColorViewSelectionChanged);
  connect(colorView_, &ColorListView::RowsDropped, this, &ColorForm::ColorViewRowsDropped);
  connect(colorView_, &ColorListView::DragEnded, this, &ColorForm::ColorViewDragEnded);
}

void ColorForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!centred_) {
    CenterOnScreen();
    centred_ = true;
  }
  editor_.DrawGraph();
  paintBox_->update();
}

void ColorForm::CenterOnScreen() {
  const QScreen* s = screen();
  if (s == nullptr) return;
  const QRect area = s->geometry();
  move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void ColorForm::RefreshList() {
  const QSignalBlocker block(colorView_);
  colorView_->clear();
  for (size_t i = 0; i < editor_.Rows().size(); ++i) {
    const ColorRowTexts texts = editor_.Texts(i);
    auto* item = new QTreeWidgetItem(colorView_);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled);
    item->setText(0, QString::fromStdString(texts.Caption));
    for (int column = 1; column < kInitialColorColumn; ++column) {
      item->setText(column, QString::fromStdString(texts.SubItems[static_cast<size_t>(column - 1)]));
    }
    item->setData(kInitialColorColumn, kColorTextRole, QString::fromStdString(texts.SubItems[kInitialColorSubItem]));
    item->setData(kFinalColorColumn, kColorTextRole, QString::fromStdString(texts.SubItems[kFinalColorSubItem]));
    for (int column = 0; column < colorView_->columnCount(); ++column) {
      item->setTextAlignment(column, column < 2 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    }
    item->setSelected(editor_.Selected() == i);
  }
  paintBox_->update();
}

void ColorForm::AddBtClick() {
  if (editor_.Add()) RefreshList();
}

void ColorForm::ModifyBtClick() {
  if (editor_.Modify()) RefreshList();
}

void ColorForm::DeleteBtClick() {
  if (editor_.Delete()) RefreshList();
}

void ColorForm::AcceptBtClick() {
  emit Accepted(editor_.Accept());
  close();
}

void ColorForm::CancelBtClick() { close(); }

void ColorForm::TimerTimer() {
  editor_.TickAnts();
  paintBox_->update();
}

void ColorForm::ColorViewSelectionChanged() {
  const std::vector<size_t> rows = colorView_->SelectedRows();
  editor_.Select(rows.empty() ? std::nullopt : std::optional<size_t>(rows.front()));
  paintBox_->update();
}

void ColorForm::ColorViewRowsDropped(const std::vector<size_t>& selected, std::optional<size_t> target) {
  editor_.MoveRows(selected, target);
  RefreshList();
}

void ColorForm::ColorViewDragEnded() {
  editor_.DrawGraph();
  paintBox_->update();
}

}  // namespace orvane
