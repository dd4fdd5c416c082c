#include "platform/tooltips.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace orvela {

THintHandler::THintHandler(QObject* parent) : QObject(parent) {}

QString THintHandler::ShownTooltip(const QString& tooltip) {
  QString shown = tooltip;
  shown.replace("##", "\n");
  return shown;
}

bool THintHandler::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && widget->toolTip().contains("##")) {
      const auto* help = static_cast<QHelpEvent*>(event);
      QToolTip::showText(help->globalPos(), ShownTooltip(widget->toolTip()), widget);
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace orvela
