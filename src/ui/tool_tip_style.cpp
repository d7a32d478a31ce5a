#include "ui/tool_tip_style.h"

namespace orvane {

int ToolTipStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
  if (hint == QStyle::SH_ToolTip_WakeUpDelay) return kToolTipDelayMs;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace orvane
