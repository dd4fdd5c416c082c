#pragma once

#include <QString>

class QAction;
class QWidget;

namespace orvela {

// A hint is "short|long": the short text is the tooltip, the long text goes to the status
// line; a hint without a bar is both. "##" in the tooltip is a line break.
QString HintTooltip(const QString& hint);
QString HintStatus(const QString& hint);

// Sets tooltip and status tip of a widget or an action from a hint.
void SetHint(QWidget& widget, const QString& hint);
void SetHint(QAction& action, const QString& hint);

}  // namespace orvela
