#pragma once
// The program's style: the platform's own, with tooltips that appear after 100 ms.

#include <QProxyStyle>

namespace orvane {

class ToolTipStyle : public QProxyStyle {
 public:
  static constexpr int kToolTipDelayMs = 100;
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                QStyleHintReturn* returnData = nullptr) const override;
};

}  // namespace orvane
