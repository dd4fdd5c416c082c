#include "workspace/historydock.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QChartView>
#include <QTableWidget>
#include <QTest>

#include "qt/mainform_fixture.h"
#include "scenes.h"
#include "workspace/view.h"

namespace orvela {
namespace {

class HistoryDockTest : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    CreateForm();
  }
};

TEST_F(HistoryDockTest, PointsArriveDuringARunAndTheTableShowsTheLastStep) {
  test::AddCanineAndPremolarScene(FForm->Setup());
  // Looser thresholds: a shorter run.
  FForm->Preferences().ThresholdForce = 20.0;
  FForm->Preferences().ThresholdMoment = 2000.0;
  FForm->show();
  QAction* menu = FForm->findChild<QAction*>(QStringLiteral("MenuViewHistory"));
  ASSERT_NE(menu, nullptr);
  menu->trigger();
  THistoryDock& dock = FForm->HistoryDock();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dock));

  // While the run goes the plot follows it.
  FForm->ActionRun()->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return dock.ShownStep() > 0; }, 10000));
  WaitForRunEnd();
  const auto steps = static_cast<std::uint64_t>(FForm->RunSteps());
  ASSERT_GT(steps, 1u);
  EXPECT_TRUE(QTest::qWaitFor([&] { return dock.ShownStep() == steps; }, 2000));

  const std::vector<QPointF> line = dock.LinePoints(0);
  ASSERT_FALSE(line.empty());
  EXPECT_EQ(line.front().x(), 1.0);
  EXPECT_EQ(line.back().x(), static_cast<double>(steps));
  QTableWidget& table = *dock.ToothTable();
  ASSERT_EQ(table.rowCount(), 2);
  EXPECT_EQ(table.item(0, 0)->text().toStdString(), FForm->Setup().ToothList()[0]->Name());
  EXPECT_EQ(table.item(1, 1)->text(), QString::number(steps));
  ASSERT_NE(table.item(0, table.columnCount() - 1), nullptr);
  EXPECT_EQ(table.horizontalHeaderItem(table.columnCount() - 1)->text(), "Clinical time");
  EXPECT_EQ(dock.WireTable()->rowCount(), 1);

  // Undo of the run takes its steps out of the plot too.
  FForm->ActionUndoLast()->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return dock.ShownStep() == 0; }, 2000));
  EXPECT_TRUE(dock.LinePoints(0).empty());
}

}  // namespace
}  // namespace orvela
