#include "ui/product_browser_dock.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane {
namespace fs = std::filesystem;

namespace {

constexpr int kProductRole = Qt::UserRole;

QComboBox* FilterBox(const char* name) {
  auto* box = new QComboBox;
  box->setObjectName(QString::fromLatin1(name));
  box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return box;
}

// Fills a filter with "All ..." and the choices, keeping the one chosen when it is still there.
void Refill(QComboBox* box, const QString& all, const std::vector<std::pair<QString, QVariant>>& choices) {
  const QVariant chosen = box->currentData();
  box->blockSignals(true);
  box->clear();
  box->addItem(all, QVariant());
  for (const auto& [text, data] : choices) box->addItem(text, data);
  const int keep = chosen.isValid() ? box->findData(chosen) : 0;
  box->setCurrentIndex(keep < 0 ? 0 : keep);
  box->blockSignals(false);
}

QPixmap Blank() {
  QPixmap blank(kThumbnailWidth, kThumbnailHeight);
  blank.fill(Qt::black);
  return blank;
}

}  // namespace

ProductBrowserDock::ProductBrowserDock(ProductSource source, QWidget* parent)
    : QDockWidget(QStringLiteral("Products"), parent), source_(std::move(source)) {
  setObjectName(QStringLiteral("ProductBrowserDock"));
  auto* body = new QWidget;
  auto* layout = new QVBoxLayout(body);
  auto* filters = new QHBoxLayout;
  TypeBox = FilterBox("ProductTypeBox");
  CalibreBox = FilterBox("ProductCalibreBox");
  ColourBox = FilterBox("ProductColourBox");
  for (QComboBox* box : {TypeBox, CalibreBox, ColourBox}) {
    filters->addWidget(box);
    connect(box, &QComboBox::currentIndexChanged, this, [this] { ApplyFilters(); });
  }
  filters->addStretch(1);
  layout->addLayout(filters);
  List = new QListWidget;
  List->setObjectName(QStringLiteral("ProductList"));
  List->setViewMode(QListView::IconMode);
  List->setIconSize(QSize(kThumbnailWidth, kThumbnailHeight));
  List->setGridSize(QSize(kThumbnailWidth + 24, kThumbnailHeight + 48));
  List->setResizeMode(QListView::Adjust);
  List->setMovement(QListView::Static);
  List->setWordWrap(true);
  List->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(List, &QListWidget::itemDoubleClicked, this, [this] { AddSelected(); });
  layout->addWidget(List, 1);
  auto* bottom = new QHBoxLayout;
  Count = new QLabel;
  bottom->addWidget(Count);
  bottom->addStretch(1);
  AddBt = new QPushButton(QStringLiteral("Add to show"));
  AddBt->setObjectName(QStringLiteral("AddProductBt"));
  AddBt->setEnabled(false);
  connect(AddBt, &QPushButton::clicked, this, [this] { AddSelected(); });
  connect(List, &QListWidget::currentRowChanged, this, [this](int row) { AddBt->setEnabled(row >= 0); });
  bottom->addWidget(AddBt);
  layout->addLayout(bottom);
  setWidget(body);
}

ProductBrowserDock::~ProductBrowserDock() {
  if (process_ != nullptr) {
    process_->disconnect(this);
    process_->kill();
    process_->waitForFinished(5000);
  }
}

void ProductBrowserDock::Reload() {
  products_ = source_.List();
  thumbnailNames_.clear();
  for (const BrowsedProduct& p : products_) thumbnailNames_.push_back(ThumbnailFileName(source_.Chain(p)));
  const FilterChoices choices = ChoicesOf(products_);
  auto words = [](const std::vector<std::string>& all) {
    std::vector<std::pair<QString, QVariant>> out;
    for (const std::string& w : all) out.emplace_back(QString::fromStdString(w), QString::fromStdString(w));
    return out;
  };
  std::vector<std::pair<QString, QVariant>> calibres;
  for (double c : choices.Calibres) calibres.emplace_back(QString::fromStdString(CalibreChoiceText(c)), c);
  Refill(TypeBox, QStringLiteral("All types"), words(choices.Types));
  Refill(CalibreBox, QStringLiteral("All calibres"), calibres);
  Refill(ColourBox, QStringLiteral("All colours"), words(choices.Colours));
  ApplyFilters();
  pending_.clear();
  for (size_t i = 0; i < products_.size(); ++i) {
    const auto file = ThumbnailFile(i);
    if (file && !fs::exists(*file)) pending_.push_back(i);
  }
  if (process_ == nullptr) NextThumbnail();
}

void ProductBrowserDock::ApplyFilters() {
  ProductFilter filter;
  if (TypeBox->currentData().isValid()) filter.Type = TypeBox->currentData().toString().toStdString();
  if (CalibreBox->currentData().isValid()) filter.CalibreMm = CalibreBox->currentData().toDouble();
  if (ColourBox->currentData().isValid()) filter.Colour = ColourBox->currentData().toString().toStdString();
  shown_.clear();
  List->clear();
  for (size_t i = 0; i < products_.size(); ++i) {
    if (!filter.Matches(products_[i])) continue;
    shown_.push_back(i);
    auto* item = new QListWidgetItem(QString::fromStdString(products_[i].Name), List);
    item->setData(kProductRole, QVariant::fromValue(static_cast<qulonglong>(i)));
    item->setToolTip(QString::fromStdString(products_[i].Name + " (" + products_[i].Shelf + ", code " +
                                            std::to_string(products_[i].Code) + ")"));
    item->setIcon(QIcon(Blank()));
    ShowThumbnail(i);
  }
  Count->setText(QStringLiteral("%1 of %2 products").arg(shown_.size()).arg(products_.size()));
  AddBt->setEnabled(false);
}

void ProductBrowserDock::AddSelected() {
  const QListWidgetItem* item = List->currentItem();
  if (item == nullptr) return;
  const size_t index = static_cast<size_t>(item->data(kProductRole).toULongLong());
  if (index >= products_.size()) return;
  const BrowsedProduct& product = products_[index];
  if (const std::optional<std::string> failure = source_.Add(product)) {
    emit AddFailed(QString::fromStdString(*failure));
  } else {
    emit ProductAdded(QString::fromStdString(product.Name));
  }
}

std::optional<fs::path> ProductBrowserDock::ThumbnailFile(size_t index) const {
  if (!cacheFolder_ || index >= thumbnailNames_.size()) return std::nullopt;
  return *cacheFolder_ / thumbnailNames_[index];
}

bool ProductBrowserDock::HasThumbnail(int row) const {
  const QListWidgetItem* item = List->item(row);
  if (item == nullptr) return false;
  const auto file = ThumbnailFile(static_cast<size_t>(item->data(kProductRole).toULongLong()));
  return file && fs::exists(*file) && item->data(Qt::UserRole + 1).toBool();
}

void ProductBrowserDock::ShowThumbnail(size_t index) {
  const auto file = ThumbnailFile(index);
  if (!file || !fs::exists(*file)) return;
  QPixmap picture;
  if (!picture.load(QString::fromStdString(file->string()))) return;
  for (int row = 0; row < List->count(); ++row) {
    QListWidgetItem* item = List->item(row);
    if (static_cast<size_t>(item->data(kProductRole).toULongLong()) != index) continue;
    item->setIcon(QIcon(picture));
    item->setData(Qt::UserRole + 1, true);
  }
}

void ProductBrowserDock::NextThumbnail() {
  while (!pending_.empty()) {
    const size_t index = pending_.front();
    pending_.pop_front();
    const auto file = ThumbnailFile(index);
    if (!file || fs::exists(*file)) {
      ShowThumbnail(index);
      continue;
    }
    std::error_code ec;
    fs::create_directories(file->parent_path(), ec);
    QStringList arguments;
    for (const std::string& a : ThumbnailArguments(products_[index], *file)) arguments << QString::fromStdString(a);
    process_ = new QProcess(this);
    process_->setStandardOutputFile(QProcess::nullDevice());
    process_->setStandardErrorFile(QProcess::nullDevice());
    connect(process_, &QProcess::finished, this, [this, index, file = *file] { ThumbnailDone(index, file); });
    connect(process_, &QProcess::errorOccurred, this, [this, index, file = *file](QProcess::ProcessError error) {
      if (error == QProcess::FailedToStart) ThumbnailDone(index, file);
    });
    process_->start(QString::fromStdString(cliProgram_.string()), arguments);
    return;
  }
}

void ProductBrowserDock::ThumbnailDone(size_t index, const fs::path&) {
  if (process_ != nullptr) {
    process_->disconnect(this);
    process_->deleteLater();
    process_ = nullptr;
  }
  // A product that cannot be drawn keeps its blank picture.
  if (index < products_.size()) ShowThumbnail(index);
  NextThumbnail();
}

}  // namespace orvane
