#include <functional>
#include <gtest/gtest.h>
#include <limits>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "qt/mainform_fixture.h"
#include "scenes.h"
#include "workspace/view.h"

namespace orvela {
namespace {

// A solid black square handle at the tooth's centre of resistance.
void AddVisibleHandle(TSetup& setup) {
  auto marker = std::make_unique<TMarkerExtended>();
  marker->ShapeType = oglmSquare;
  marker->pen.Style = TPenStyle::Solid;
  marker->pen.Mode = TPenMode::Copy;
  marker->origin = RoundPoint(setup.ToothList()[0]->cRes());
  setup.MarkerList().push_back(std::move(marker));
}

class RunTest : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    CreateForm();
  }
  // Calls check between two steps of the run, until it returns true.
  void During(std::function<bool()> check) {
    auto* timer = new QTimer(FForm.get());
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, check] {
      if (check()) timer->deleteLater();
    });
    timer->start();
  }
  bool MenusGreyed() const {
    return !FForm->MenuFile()->menuAction()->isEnabled() &&
           !FForm->MenuEdit()->menuAction()->isEnabled() &&
           !FForm->MenuView()->menuAction()->isEnabled() && !FForm->ActionPrint()->isEnabled() &&
           !FForm->ActionRun()->isEnabled() && FForm->ActionStop()->isEnabled();
  }
  TPointDouble CResOf(std::size_t i) const { return FForm->Setup().ToothList()[i]->cRes(); }
};

TEST_F(RunTest, WithAutoStopAndNoTeethTheRunEndsAfterOneStep) {
  ASSERT_TRUE(FForm->Preferences().AutoStop);
  RunToEnd();
  EXPECT_EQ(FForm->RunSteps(), 1);
  EXPECT_EQ(FForm->PanelBottom()->text(), "Step 1");
  EXPECT_FALSE(FForm->Setup().Running());
  EXPECT_TRUE(FForm->ActionRun()->isEnabled());
  EXPECT_FALSE(FForm->ActionStop()->isEnabled());
  EXPECT_TRUE(FForm->MenuFile()->menuAction()->isEnabled());
}

TEST_F(RunTest, WithoutAutoStopARunWithoutWiresGoesOnUntilStop) {
  FForm->PanelAutoDblClick();
  ASSERT_FALSE(FForm->Preferences().AutoStop);
  test::AddTooth(FForm->Setup(), 33, MakePointDouble(0, 0));
  test::AddTooth(FForm->Setup(), 34, MakePointDouble(80, 0));
  const TPointDouble before = CResOf(1);
  FForm->Setup().Select(FForm->Setup().ToothList()[0].get());

  bool greyed = false;
  bool handlesGone = false;
  During([&] {
    greyed = MenusGreyed();
    handlesGone = FForm->Setup().MarkerList().empty() && !FForm->Setup().HasSelection();
    if (FForm->RunSteps() < 40) return false;
    FForm->ActionStop()->trigger();
    return true;
  });
  RunToEnd();
  EXPECT_TRUE(greyed);
  EXPECT_TRUE(handlesGone);
  EXPECT_GE(FForm->RunSteps(), 40);
  EXPECT_EQ(CResOf(1), before);
  EXPECT_FALSE(MenusGreyed());
  EXPECT_TRUE(FForm->ActionRun()->isEnabled());
}

TEST_F(RunTest, AutoStopHoldsTheRunWhileForcesExceedTheThresholdsAndStopsUnderThem) {
  test::AddCanineAndPremolarScene(FForm->Setup());
  const TPointDouble before = CResOf(0);
  // Thresholds nothing can exceed: the first step meets them.
  FForm->Preferences().ThresholdForce = std::numeric_limits<double>::max();
  FForm->Preferences().ThresholdMoment = std::numeric_limits<double>::max();
  RunToEnd();
  EXPECT_EQ(FForm->RunSteps(), 1);
  EXPECT_NE(CResOf(0), before);

  // Thresholds no force meets: only Stop ends the run.
  FForm->Preferences().ThresholdForce = -1.0;
  During([&] {
    if (FForm->RunSteps() < 5) return false;
    FForm->ActionStop()->trigger();
    return true;
  });
  RunToEnd();
  EXPECT_EQ(FForm->RunSteps(), 5);
}

TEST_F(RunTest, SwitchingToAutoStopDuringARunUnderTheThresholdsEndsItWithTheNextStep) {
  FForm->PanelAutoDblClick();
  std::int64_t stepsAtSwitch = -1;
  During([&] {
    if (FForm->RunSteps() < 3) return false;
    stepsAtSwitch = FForm->RunSteps();
    QTest::mouseDClick(FForm->PanelAuto(), Qt::LeftButton);
    return true;
  });
  RunToEnd();
  EXPECT_EQ(FForm->PanelAuto()->text(), "Auto Stop");
  EXPECT_EQ(FForm->RunSteps(), stepsAtSwitch + 1);
}

TEST_F(RunTest, StopAndRunAgainBetweenTwoStepsStartsANewRun) {
  FForm->PanelAutoDblClick();
  bool restarted = false;
  During([&] {
    if (!restarted && FForm->RunSteps() >= 3) {
      FForm->ActionStop()->trigger();
      EXPECT_TRUE(FForm->ActionRun()->isEnabled());
      FForm->ActionRun()->trigger();
      restarted = true;
      EXPECT_TRUE(MenusGreyed());
      return false;
    }
    if (FForm->RunSteps() < 6) return false;
    FForm->ActionStop()->trigger();
    return true;
  });
  RunToEnd();
  EXPECT_TRUE(restarted);
  EXPECT_EQ(FForm->RunSteps(), 6);
  EXPECT_FALSE(FForm->Setup().Running());
  EXPECT_FALSE(MenusGreyed());
}

TEST_F(RunTest, NewDuringARunDiscardsTheSetupAndTheRunGoesOn) {
  FForm->PanelAutoDblClick();
  test::AddLowerArchScene(FForm->Setup());
  std::int64_t stepsAtNew = -1;
  During([&] {
    if (stepsAtNew < 0 && FForm->RunSteps() >= 3) {
      EXPECT_TRUE(FForm->ActionNew()->isEnabled());
      FForm->ActionNew()->trigger();
      stepsAtNew = FForm->RunSteps();
      return false;
    }
    if (stepsAtNew < 0 || FForm->RunSteps() < stepsAtNew + 3) return false;
    FForm->ActionStop()->trigger();
    return true;
  });
  RunToEnd();
  EXPECT_TRUE(FForm->Setup().ToothList().empty());
  EXPECT_TRUE(FForm->Setup().WireList().empty());
  EXPECT_GE(FForm->RunSteps(), stepsAtNew + 3);
}

TEST_F(RunTest, ClosingDuringARunEndsTheRunThenWritesTheSettingsAndCloses) {
  FForm->PanelAutoDblClick();
  test::AddLowerArchScene(FForm->Setup());
  During([&] {
    if (FForm->RunSteps() < 3) return false;
    // The run ends with the window (its changes are not to be saved).
    FAnswer = QMessageBox::Discard;
    EXPECT_TRUE(FForm->close());
    EXPECT_FALSE(FForm->Setup().Running());
    return true;
  });
  RunToEnd();
  EXPECT_FALSE(FForm->Setup().Running());
  EXPECT_FALSE(FForm->isVisible());
  EXPECT_NE(ReadSettingsFile().find("Auto Stop=0"), std::string::npos);
  // The setup is freed with the window, not before.
  EXPECT_EQ(FForm->Setup().ToothList().size(), 8U);
  FForm.reset();
}

TEST_F(RunTest, NoHandlesAreDrawnDuringARun) {
  FForm->PanelAutoDblClick();
  test::AddCanineAndPremolarScene(FForm->Setup());
  TSetup& setup = FForm->Setup();
  FForm->View().FitAll();
  QImage withHandles;
  QImage withoutHandles;
  During([&] {
    if (FForm->RunSteps() < 2) return false;
    // Handles offered between two steps (as a click on the display does).
    AddVisibleHandle(setup);
    FForm->View().DrawDisplay();
    withHandles = FForm->View().BackBuffer().copy();
    setup.ClearMarkers();
    FForm->View().DrawDisplay();
    withoutHandles = FForm->View().BackBuffer().copy();
    AddVisibleHandle(setup);
    FForm->ActionStop()->trigger();
    return true;
  });
  RunToEnd();
  EXPECT_EQ(withHandles, withoutHandles);
  // The first repaint after Stop shows them again.
  FForm->View().DrawDisplay();
  EXPECT_NE(FForm->View().BackBuffer(), withoutHandles);
}

}  // namespace
}  // namespace orvela
