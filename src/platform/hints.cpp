#include "platform/hints.h"

#include <QAction>
#include <QWidget>

#include "platform/tooltips.h"

namespace orvela {

QString HintTooltip(const QString& hint) {
  return THintHandler::ShownTooltip(hint.section(QLatin1Char('|'), 0, 0));
}

QString HintStatus(const QString& hint) {
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetHint(QWidget& widget, const QString& hint) {
  widget.setToolTip(HintTooltip(hint));
  widget.setStatusTip(HintStatus(hint));
}

void SetHint(QAction& action, const QString& hint) {
  action.setToolTip(HintTooltip(hint));
  action.setStatusTip(HintStatus(hint));
}

}  // namespace orvela
