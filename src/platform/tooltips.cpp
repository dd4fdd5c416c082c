#include "platform/tooltips.h"

#include <QHelpEvent>
#include <QPalette>
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

void MakeTooltipsReadable() {
  QPalette tips = QToolTip::palette();
  if (tips.color(QPalette::ToolTipBase) != QColor(0, 0, 0)) return;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    tips.setColor(group, QPalette::ToolTipBase, QColor(255, 255, 225));
    tips.setColor(group, QPalette::ToolTipText, QColor(0, 0, 0));
  }
  QToolTip::setPalette(tips);
}

}  // namespace orvela
