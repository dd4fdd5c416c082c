#include "workspace/toothchart.h"

#include <iterator>

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QToolButton>

#include "platform/help.h"
#include "platform/hints.h"

namespace orvela {

namespace {

struct TChartColumn {
  const char* Upper;
  const char* Lower;
  int Tag;  // 0: not modelled, shown disabled
  const char* Hint;
};

constexpr TChartColumn ToothChart[] = {
    {"16", "46", 46, "Add a lower right first molar."},
    {"15", "45", 45, "Add a lower right second premolar."},
    {"14", "44", 44, "Add a lower right first premolar."},
    {"13", "43", 43, "Add a lower right canine."},
    {"12", "42", 0, nullptr},
    {"11", "41", 0, nullptr},
    {"21", "31", 0, nullptr},
    {"22", "32", 0, nullptr},
    {"23", "33", 33, "Add a lower left canine."},
    {"24", "34", 34, "Add a lower left first premolar."},
    {"25", "35", 35, "Add a lower left second premolar."},
    {"26", "36", 36, "Add a lower left first molar."},
};

constexpr int MidlineColumn = 6;

QToolButton* ChartButton(QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setAutoRaise(true);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setMinimumWidth(button->fontMetrics().horizontalAdvance("000") + 8);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

// The chart as the menu shows it: the arrow keys walk the modelled teeth like menu items,
// the current one shown in the menu's highlight, and Enter (or Space) picks it. Keys it
// does not use go on to the menu, so Escape and Left at the first tooth close it as usual.
class TToothChart : public QWidget {
 public:
  explicit TToothChart(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }

  void AddTooth(QToolButton* button) { FTeeth.push_back(button); }

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QWidget::focusInEvent(event);
    if (FCurrent < 0 && !FTeeth.empty()) FCurrent = 0;
    ShowCurrent();
  }
  void focusOutEvent(QFocusEvent* event) override {
    QWidget::focusOutEvent(event);
    ShowCurrent();
  }
  // Like a menu, the chart starts on its first tooth each time it opens.
  void hideEvent(QHideEvent* event) override {
    QWidget::hideEvent(event);
    FCurrent = -1;
  }
  void keyPressEvent(QKeyEvent* event) override {
    const int count = static_cast<int>(FTeeth.size());
    switch (event->key()) {
      case Qt::Key_Left:
      case Qt::Key_Up:
        if (FCurrent > 0) {
          --FCurrent;
          ShowCurrent();
          return;
        }
        break;
      case Qt::Key_Right:
      case Qt::Key_Down:
        if (FCurrent + 1 < count) {
          ++FCurrent;
          ShowCurrent();
        }
        return;
      case Qt::Key_Home:
        FCurrent = 0;
        ShowCurrent();
        return;
      case Qt::Key_End:
        FCurrent = count - 1;
        ShowCurrent();
        return;
      case Qt::Key_F1:
        // The open menu takes the keys, so the window's F1 never sees this one.
        ShowHelp();
        return;
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Space:
        if (FCurrent >= 0 && FCurrent < count) {
          FTeeth[static_cast<std::size_t>(FCurrent)]->click();
          return;
        }
        break;
      default:
        break;
    }
    QWidget::keyPressEvent(event);
  }

 private:
  // The menus close and the help opens beside the window they belong to.
  void ShowHelp() {
    QWidget* window = nullptr;
    for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
      if (auto* menu = qobject_cast<QMenu*>(w)) {
        menu->hide();
      } else if (w->isWindow()) {
        window = w;
        break;
      }
    }
    ShowHelpTopic(window != nullptr ? window : this, QLatin1String(HelpAddTooth));
  }

  void ShowCurrent() {
    for (int i = 0; i < static_cast<int>(FTeeth.size()); ++i) {
      QToolButton* button = FTeeth[static_cast<std::size_t>(i)];
      const bool current = i == FCurrent && hasFocus();
      // Only the current tooth fills its background: the others show the menu's own.
      button->setAutoFillBackground(current);
      button->setBackgroundRole(current ? QPalette::Highlight : QPalette::Window);
      button->setForegroundRole(current ? QPalette::HighlightedText : QPalette::ButtonText);
    }
  }

  std::vector<QToolButton*> FTeeth;
  int FCurrent = -1;
};

}  // namespace

TToothChartAction::TToothChartAction(QObject* parent) : QWidgetAction(parent) {
  for (const TChartColumn& c : ToothChart) {
    if (c.Tag == 0) continue;
    auto* action = new QAction(QString::fromUtf8(c.Lower), this);
    action->setObjectName(QString("MenuTooth%1").arg(c.Tag));
    action->setData(c.Tag);
    SetHint(*action, QString::fromUtf8(c.Hint));
    FToothActions.push_back(action);
  }
}

QWidget* TToothChartAction::createWidget(QWidget* parent) {
  auto* chart = new TToothChart(parent);
  chart->setObjectName(QStringLiteral("ToothChart"));
  auto* grid = new QGridLayout(chart);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setHorizontalSpacing(0);
  grid->setVerticalSpacing(2);
  std::size_t next = 0;
  for (int column = 0; column < static_cast<int>(std::size(ToothChart)); ++column) {
    const TChartColumn& c = ToothChart[column];
    // The midline takes a grid column of its own.
    const int at = column < MidlineColumn ? column : column + 1;
    QToolButton* upper = ChartButton(chart);
    upper->setText(QString::fromUtf8(c.Upper));
    upper->setEnabled(false);
    grid->addWidget(upper, 0, at);
    QToolButton* lower = ChartButton(chart);
    if (c.Tag != 0) {
      lower->setDefaultAction(FToothActions[next++]);
      chart->AddTooth(lower);
      // Picking a tooth closes the menus like any menu item.
      connect(lower, &QToolButton::triggered, chart, [chart] {
        for (QWidget* w = chart->parentWidget(); w != nullptr; w = w->parentWidget()) {
          if (auto* menu = qobject_cast<QMenu*>(w)) menu->hide();
        }
      });
    } else {
      lower->setText(QString::fromUtf8(c.Lower));
      lower->setEnabled(false);
    }
    grid->addWidget(lower, 2, at);
  }
  auto* midline = new QFrame(chart);
  midline->setFrameShape(QFrame::VLine);
  midline->setFrameShadow(QFrame::Sunken);
  grid->addWidget(midline, 0, MidlineColumn, 3, 1);
  // The menu makes the chart its current item (opened by keyboard, or under the mouse) but
  // gives it no keyboard focus of its own.
  connect(this, &QAction::hovered, chart, [chart] { chart->setFocus(Qt::TabFocusReason); });
  auto* separator = new QFrame(chart);
  separator->setFrameShape(QFrame::HLine);
  separator->setFrameShadow(QFrame::Sunken);
  grid->addWidget(separator, 1, 0, 1, static_cast<int>(std::size(ToothChart)) + 1);
  return chart;
}

}  // namespace orvela
