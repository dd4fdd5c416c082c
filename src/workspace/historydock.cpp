#include "workspace/historydock.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QList>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include "model/wire.h"
#include "util/format.h"

namespace orvela {

namespace {

// More points than a plot has pixels across only cost time, and hold the run back.
constexpr std::size_t PlottedPoints = 600;
// Four refreshes a second: live enough to follow, and a plot costs the run little.
constexpr int RefreshMs = 250;
constexpr double MmPerUnit = 0.1;

// The colours of the lines, one a tooth, as distinct on the light plot as eight can be.
const QColor LineColours[] = {QColor(31, 119, 180),  QColor(214, 39, 40),   QColor(44, 160, 44),
                              QColor(255, 127, 14),  QColor(148, 103, 189), QColor(140, 86, 75),
                              QColor(227, 119, 194), QColor(23, 190, 207)};

QString Number(double value, const char* pattern = "0.000") {
  if (std::isnan(value)) return QStringLiteral("—");
  if (std::isinf(value)) return value > 0 ? QStringLiteral("∞") : QStringLiteral("−∞");
  return QString::fromStdString(FormatFloat(pattern, value));
}

void SetCell(QTableWidget& table, int row, int column, const QString& text) {
  // The table would not take an item outside it.
  if (row >= table.rowCount() || column >= table.columnCount()) return;
  QTableWidgetItem* item = table.item(row, column);
  if (!item) {
    item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    table.setItem(row, column, item);
  } else if (item->text() != text) {
    item->setText(text);
  }
  // Names to the left, numbers to the right.
  const Qt::Alignment alignment = (column > 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
  if (item->textAlignment() != static_cast<int>(alignment)) item->setTextAlignment(alignment);
}

QTableWidget* MakeTable(QWidget* parent, const char* name, const QStringList& headers) {
  auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  table->setObjectName(QString::fromLatin1(name));
  table->setHorizontalHeaderLabels(headers);
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The plot takes what room there is; a table scrolls.
  table->setMinimumHeight(60);
  table->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
  // Fitted to the contents when rows come and go, not at every change of a value: that would
  // lay out every cell's text at each refresh.
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  return table;
}

std::string ToothAt(const TWireStraight& wire, std::size_t end) {
  const TTooth* tooth = wire.ToothAt(end);
  return tooth ? tooth->Name() : std::string("free end");
}

}  // namespace

THistoryDock::THistoryDock(const TSetup& setup, QWidget* parent)
    : QDockWidget(QStringLiteral("History"), parent), FSetup(setup) {
  setObjectName(QStringLiteral("HistoryDock"));
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(4, 4, 4, 4);

  auto* quantityLabel = new QLabel(QStringLiteral("&Quantity:"), body);
  FQuantity = new QComboBox(body);
  FQuantity->setObjectName(QStringLiteral("HistoryQuantity"));
  for (std::size_t q = 0; q < HistoryQuantityCount; ++q) {
    FQuantity->addItem(QString::fromUtf8(HistoryQuantityCaption(static_cast<THistoryQuantity>(q))));
  }
  quantityLabel->setBuddy(FQuantity);
  auto* top = new QHBoxLayout;
  top->addWidget(quantityLabel);
  top->addWidget(FQuantity, 1);
  FNote = new QLabel(body);
  FNote->setObjectName(QStringLiteral("HistoryNote"));
  top->addWidget(FNote, 1);
  layout->addLayout(top);

  FChart = new QChart;
  // Its own light plot, as the display has, whatever the desktop's palette.
  FChart->setTheme(QChart::ChartThemeLight);
  FChart->legend()->setAlignment(Qt::AlignRight);
  // Small enough for the eight teeth of an arch beside a plot of modest height.
  QFont legendFont = FChart->legend()->font();
  legendFont.setPointSizeF(legendFont.pointSizeF() * 0.85);
  FChart->legend()->setFont(legendFont);
  FAxisX = new QValueAxis(FChart);
  FAxisX->setTitleText(QStringLiteral("Step"));
  FAxisX->setLabelFormat(QStringLiteral("%.0f"));
  FAxisY = new QValueAxis(FChart);
  FChart->addAxis(FAxisX, Qt::AlignBottom);
  FChart->addAxis(FAxisY, Qt::AlignLeft);
  FChartView = new QChartView(FChart, body);
  FChartView->setObjectName(QStringLiteral("HistoryChart"));
  // Without antialiasing a refresh costs a third less; the lines are one pixel and a half.
  FChartView->setRenderHint(QPainter::Antialiasing, false);
  FChartView->setMinimumHeight(160);

  FToothTable = MakeTable(
      body, "HistoryTable",
      {QStringLiteral("Tooth"), QStringLiteral("Step"), QStringLiteral("cRes x (mm)"),
       QStringLiteral("cRes y (mm)"), QStringLiteral("Angulation (°)"),
       QStringLiteral("Force (gf)"), QStringLiteral("Moment (gf·mm)"), QStringLiteral("M/F (mm)"),
       QStringLiteral("Transl. stress (gf/mm²)"), QStringLiteral("Rot. stress (gf/mm²)"),
       QStringLiteral("CRot along axis (mm)"), QStringLiteral("Clinical time")});
  FWireTable =
      MakeTable(body, "HistoryWireTable",
                {QStringLiteral("Wire"), QStringLiteral("Class"), QStringLiteral("Angle ratio"),
                 QStringLiteral("Class at cRes"), QStringLiteral("Ratio at cRes"),
                 QStringLiteral("Force at cRes A (gf)"), QStringLiteral("Moment at cRes A (gf·mm)"),
                 QStringLiteral("Moment at cRes B (gf·mm)")});

  auto* split = new QSplitter(Qt::Vertical, body);
  split->addWidget(FChartView);
  split->addWidget(FToothTable);
  split->addWidget(FWireTable);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  split->setStretchFactor(2, 1);
  split->setSizes({260, 110, 90});
  layout->addWidget(split, 1);
  setWidget(body);

  connect(FQuantity, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
  FTimer = new QTimer(this);
  FTimer->setInterval(RefreshMs);
  connect(FTimer, &QTimer::timeout, this, &THistoryDock::RefreshIfChanged);
  // Nothing to follow while hidden.
  connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (visible) {
      Refresh();
      FTimer->start();
    } else {
      FTimer->stop();
    }
  });
}

QString THistoryDock::LineName(const TToothSeries& series) const {
  const auto& teeth = FSetup.ToothList();
  const bool present = std::any_of(teeth.begin(), teeth.end(),
                                   [&](const auto& t) { return t->Key() == series.Key; });
  return QString::fromStdString(series.Name) + (present ? QString() : QStringLiteral(" (removed)"));
}

void THistoryDock::RefreshIfChanged() {
  const bool historyChanged = FSetup.History() != FShownHistory ||
                              FSetup.History()->Steps() != FShownStep ||
                              FQuantity->currentIndex() != FShownQuantity;
  if (historyChanged) {
    Refresh();
  } else {
    // The teeth may have been moved by hand: the wires' systems follow.
    RefreshWireTable();
  }
}

void THistoryDock::Refresh() {
  RefreshChart();
  RefreshToothTable();
  RefreshWireTable();
  FShownHistory = FSetup.History();
  FShownStep = FShownHistory->Steps();
  FShownQuantity = FQuantity->currentIndex();
  const auto& diverged = FShownHistory->DivergenceSteps();
  FNote->setText(diverged.empty() ? QString()
                                  : QStringLiteral("Diverged at step %1").arg(diverged.back()));
}

void THistoryDock::RefreshChart() {
  const TRunHistory& history = *FSetup.History();
  const auto quantity = static_cast<THistoryQuantity>(std::max(FQuantity->currentIndex(), 0));
  const auto& all = history.Series();
  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  for (std::size_t k = 0; k < all.size(); ++k) {
    const TToothSeries& series = all[k];
    const std::vector<TToothSample>& samples = series.Samples;
    const std::size_t every =
        std::max<std::size_t>(1, (samples.size() + PlottedPoints - 1) / PlottedPoints);
    std::vector<QList<QPointF>> stretches(1);
    const auto plot = [&](const TToothSample& s) {
      const double v = HistoryValue(s, quantity);
      if (!std::isfinite(v)) {
        if (!stretches.back().isEmpty()) stretches.emplace_back();
        return;
      }
      stretches.back().append(QPointF(static_cast<double>(s.Step), v));
      low = std::min(low, v);
      high = std::max(high, v);
    };
    for (std::size_t i = 0; i < samples.size(); i += every) plot(samples[i]);
    // The latest step is always on the plot.
    if (series.Last.Step != 0 && (samples.empty() || (samples.size() - 1) % every != 0 ||
                                  samples.back().Step < series.Last.Step)) {
      plot(series.Last);
    }
    if (stretches.back().isEmpty() && stretches.size() > 1) stretches.pop_back();
    if (FLines.size() <= k) FLines.emplace_back();
    std::vector<QLineSeries*>& lines = FLines[k];
    const QColor colour = LineColours[k % std::size(LineColours)];
    while (lines.size() < stretches.size()) {
      auto* line = new QLineSeries(FChart);
      line->setPen(QPen(colour, 1.5));
      FChart->addSeries(line);
      line->attachAxis(FAxisX);
      line->attachAxis(FAxisY);
      // One legend entry a tooth.
      if (!lines.empty()) FChart->legend()->markers(line).value(0)->setVisible(false);
      lines.push_back(line);
    }
    while (lines.size() > stretches.size()) {
      FChart->removeSeries(lines.back());
      delete lines.back();
      lines.pop_back();
    }
    const QString name = LineName(series);
    // A new name lays the legend out anew.
    if (lines.front()->name() != name) lines.front()->setName(name);
    for (std::size_t s = 0; s < stretches.size(); ++s) lines[s]->replace(stretches[s]);
  }
  // Lines of a history that has fewer teeth (after New or an undo) go.
  while (FLines.size() > all.size()) {
    for (QLineSeries* line : FLines.back()) {
      FChart->removeSeries(line);
      delete line;
    }
    FLines.pop_back();
  }
  if (!(low <= high)) {
    low = 0.0;
    high = 1.0;
  } else if (low == high) {
    low -= 0.5;
    high += 0.5;
  }
  FAxisX->setRange(0.0, std::max(1.0, static_cast<double>(history.Steps())));
  FAxisX->applyNiceNumbers();
  const double margin = (high - low) * 0.05;
  // A quantity that is never negative keeps its zero at the bottom.
  FAxisY->setRange(low >= 0.0 ? 0.0 : low - margin, high + margin);
  FAxisY->applyNiceNumbers();
  FAxisY->setTitleText(QString::fromUtf8(HistoryQuantityCaption(quantity)));
}

void THistoryDock::RefreshToothTable() {
  const TRunHistory& history = *FSetup.History();
  const auto& all = history.Series();
  const bool fit = FToothTable->rowCount() != static_cast<int>(all.size());
  FToothTable->setRowCount(static_cast<int>(all.size()));
  for (std::size_t k = 0; k < all.size(); ++k) {
    const TToothSeries& series = all[k];
    const TToothSample& s = series.Last;
    const int row = static_cast<int>(k);
    SetCell(*FToothTable, row, 0, LineName(series));
    SetCell(*FToothTable, row, 1, QString::number(s.Step));
    const double values[] = {s.CResX,
                             s.CResY,
                             s.Angulation,
                             s.Force(),
                             s.Moment,
                             s.MomentToForce(),
                             s.StressTranslation,
                             s.StressRotation,
                             s.CentreOfRotation()};
    for (std::size_t c = 0; c < std::size(values); ++c) {
      SetCell(*FToothTable, row, static_cast<int>(c) + 2, Number(values[c]));
    }
    SetCell(*FToothTable, row, static_cast<int>(std::size(values)) + 2,
            QString::fromStdString(series.ClinicalTime()));
  }
  if (fit) FToothTable->resizeColumnsToContents();
}

void THistoryDock::RefreshWireTable() {
  const auto& wires = FSetup.WireList();
  const bool fit = FWireTable->rowCount() != static_cast<int>(wires.size());
  FWireTable->setRowCount(static_cast<int>(wires.size()));
  for (std::size_t k = 0; k < wires.size(); ++k) {
    const TWireStraight& wire = *wires[k];
    const int row = static_cast<int>(k);
    SetCell(*FWireTable, row, 0,
            QString::fromStdString(wire.MaterialName() + " " + wire.SizeName() + " (" +
                                   ToothAt(wire, 0) + " – " + ToothAt(wire, 1) + ")"));
    SetCell(*FWireTable, row, 1, QString::fromStdString(wire.BurstoneClass()));
    SetCell(*FWireTable, row, 2, Number(wire.AngleRatio()));
    const std::optional<TCResSystems> atCRes = wire.ForcesAtCRes();
    SetCell(*FWireTable, row, 3,
            atCRes ? QString::fromStdString(atCRes->Class) : QStringLiteral("—"));
    SetCell(*FWireTable, row, 4,
            Number(atCRes ? atCRes->AngleRatio : std::numeric_limits<double>::quiet_NaN()));
    SetCell(*FWireTable, row, 5,
            Number(atCRes ? atCRes->A.Magnitude() : std::numeric_limits<double>::quiet_NaN()));
    SetCell(*FWireTable, row, 6,
            Number(atCRes ? atCRes->A.m * MmPerUnit : std::numeric_limits<double>::quiet_NaN()));
    SetCell(*FWireTable, row, 7,
            Number(atCRes ? atCRes->B.m * MmPerUnit : std::numeric_limits<double>::quiet_NaN()));
  }
  if (fit) FWireTable->resizeColumnsToContents();
}

std::vector<QPointF> THistoryDock::LinePoints(std::size_t k) const {
  std::vector<QPointF> points;
  if (k >= FLines.size()) return points;
  for (const QLineSeries* line : FLines[k]) {
    const QList<QPointF> p = line->points();
    points.insert(points.end(), p.begin(), p.end());
  }
  return points;
}

}  // namespace orvela
