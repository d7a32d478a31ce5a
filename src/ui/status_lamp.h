#pragma once
// A small vertical status lamp: lit in its colour, or dark; it reports clicks.

#include <QColor>
#include <QWidget>

namespace orvane {

class StatusLamp : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 4;
  static constexpr int kHeight = 26;

  // `color` is a 0x00BBGGRR value.
  explicit StatusLamp(uint32_t color, QWidget* parent = nullptr);

  bool Lit() const { return lit_; }
  void SetLit(bool lit);
  QColor LitColor() const { return color_; }

 signals:
  void Clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QColor color_;
  bool lit_ = false;
};

}  // namespace orvane
