#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QDockWidget>

#include "document/runhistory.h"
#include "document/setup.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QTableWidget;
class QTimer;
class QValueAxis;

namespace orvela {

// View > History: the chosen quantity of the setup's run history over the steps, a line per
// tooth, with a table of every tooth's latest values and one of the wires' force systems at
// the centres of resistance. While shown it follows the setup at most ten times a second, so
// that plotting never holds a run back.
class THistoryDock : public QDockWidget {
 public:
  // The dock reads setup, which outlives it.
  THistoryDock(const TSetup& setup, QWidget* parent);

  // Shows the setup as it is now.
  void Refresh();
  // A plot and two short tables: the main window gives the dock this height at first.
  QSize sizeHint() const override { return {640, 420}; }

  QComboBox* Quantity() const { return FQuantity; }
  QChartView* ChartView() const { return FChartView; }
  QTableWidget* ToothTable() const { return FToothTable; }
  QTableWidget* WireTable() const { return FWireTable; }
  // The step of the history the plot and the table show.
  std::uint64_t ShownStep() const { return FShownStep; }
  // The points of tooth line k (in the history's order), gaps left out.
  std::vector<QPointF> LinePoints(std::size_t k) const;

 private:
  void RefreshIfChanged();
  // The tooth's name, marked "(removed)" once the tooth has left the setup.
  QString LineName(const TToothSeries& series) const;
  void RefreshChart();
  void RefreshToothTable();
  void RefreshWireTable();

  const TSetup& FSetup;
  QComboBox* FQuantity = nullptr;
  QChart* FChart = nullptr;
  QChartView* FChartView = nullptr;
  QValueAxis* FAxisX = nullptr;
  QValueAxis* FAxisY = nullptr;
  QTableWidget* FToothTable = nullptr;
  QTableWidget* FWireTable = nullptr;
  QLabel* FNote = nullptr;
  QTimer* FTimer = nullptr;
  // A tooth's line is one series per stretch of finite values, so that a value that is
  // not finite leaves a gap; the first carries the legend.
  std::vector<std::vector<QLineSeries*>> FLines;
  std::shared_ptr<const TRunHistory> FShownHistory;
  std::uint64_t FShownStep = 0;
  int FShownQuantity = -1;
};

}  // namespace orvela
