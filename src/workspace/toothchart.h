#pragma once

#include <vector>

#include <QWidgetAction>

class QAction;

namespace orvela {

// The Add Tooth submenu's dental chart: twelve columns, each an upper tooth number over a
// lower one, with the midline before column 7. Only the eight lower teeth the program
// models are enabled; each has an action carrying its FDI number as data and its hint.
class TToothChartAction : public QWidgetAction {
  Q_OBJECT

 public:
  explicit TToothChartAction(QObject* parent);

  // The actions of the eight modelled teeth, in chart order (46 … 43, 33 … 36).
  const std::vector<QAction*>& ToothActions() const { return FToothActions; }

 protected:
  QWidget* createWidget(QWidget* parent) override;

 private:
  std::vector<QAction*> FToothActions;
};

}  // namespace orvela
