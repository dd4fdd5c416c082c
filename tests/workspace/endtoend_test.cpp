// The whole job through the user interface, with real mouse events only: two teeth placed
// from the chart, one dragged, a wire tied by its end handles, a tooth turned, a run that
// stops by itself, and the settings written at exit.

#include <cmath>
#include <gtest/gtest.h>

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include "qt/gui_driver.h"
#include "qt/mainform_fixture.h"
#include "scenes.h"
#include "tools/tools.h"
#include "util/startup.h"
#include "workspace/view.h"

namespace orvela {
namespace {

class EndToEndTest : public test::MainFormTest {};

double Degrees(double radians) { return radians * 180.0 / Pi; }

TEST_F(EndToEndTest, PlaceTieTurnAndRunUntilTheWireIsPassive) {
  TMainForm& form = CreateForm();
  SetDisplaySize(804, 506);
  test::TGuiDriver gui(form);
  TSetup& setup = form.Setup();

  gui.AddTooth(33);
  gui.AddTooth(34);
  ASSERT_EQ(setup.ToothList().size(), 2U);
  TTooth* canine = setup.ToothList()[0].get();
  TTooth* premolar = setup.ToothList()[1].get();

  // The premolar, added last, is picked where the two overlap; its centre goes 10 mm right,
  // onto whole millimetres.
  const TPointDouble p0 = premolar->cRes();
  gui.Click(p0);
  ASSERT_EQ(setup.SelectedTooth(), premolar);
  gui.Drag(p0, MakePointDouble(p0.x + 100, p0.y));
  EXPECT_DOUBLE_EQ(premolar->cRes().x, 10 * std::nearbyint((p0.x + 100) / 10));
  EXPECT_DOUBLE_EQ(premolar->cRes().y, 10 * std::nearbyint(p0.y / 10));

  // A new wire, picked between its free ends; its ends dragged onto the two brackets.
  gui.ChooseMenu("&Edit", "Add &Wire");
  ASSERT_EQ(setup.WireList().size(), 1U);
  TWireStraight* wire = setup.WireList()[0].get();
  const TPointDouble freeA = wire->Attachments[0]->Origin();
  const TPointDouble freeB = wire->Attachments[1]->Origin();
  gui.Click(MakePointDouble((freeA.x + freeB.x) / 2, (freeA.y + freeB.y) / 2));
  ASSERT_EQ(setup.SelectedWire(), wire);
  TAttachment& mesial = test::AttachmentOf(*canine, "Mesial");
  TAttachment& distal = test::AttachmentOf(*premolar, "Distal");
  gui.Drag(freeA, mesial.Origin());
  ASSERT_EQ(wire->Attachments[0], &mesial);
  ASSERT_EQ(setup.MarkerList().size(), 2U);
  gui.Drag(wire->Attachments[1]->Origin(), distal.Origin());
  ASSERT_EQ(wire->Attachments[1], &distal);

  // The canine turned 5° by its cusp handle.
  gui.Click(canine->cRes());
  ASSERT_EQ(setup.SelectedTooth(), canine);
  const double tip = canine->Tip();
  const TPointDouble c = canine->cRes();
  const double r = PointDistance(canine->cusp, c);
  const double to = LineAngle(c, canine->cusp) + 5.0 * Pi / 180.0;
  gui.Drag(canine->cusp, MakePointDouble(c.x + r * std::cos(to), c.y + r * std::sin(to)), 1);
  EXPECT_NEAR(Degrees(canine->Tip() - tip), 5.0, 1e-9);
  EXPECT_EQ(form.PanelBottom()->text().toStdString(), AngulationReadout(canine->Tip()));

  // The wire's information line.
  gui.Click(mesial.Origin());
  ASSERT_EQ(setup.SelectedWire(), wire);
  EXPECT_EQ(form.PanelInfo()->text().toStdString(), wire->Info());
  EXPECT_TRUE(form.PanelInfo()->text().contains(QString::fromStdString(wire->MaterialName())));
  EXPECT_GT(wire->Force(), 1.0);

  // Run with Auto Stop; a guard stops a run that would never end.
  ASSERT_TRUE(form.Preferences().AutoStop);
  const TPointDouble canineBefore = canine->cRes();
  const TPointDouble premolarBefore = premolar->cRes();
  auto* guard = new QTimer(&form);
  guard->setInterval(0);
  bool guardStopped = false;
  QObject::connect(guard, &QTimer::timeout, guard, [&] {
    if (form.RunSteps() < 20000) return;
    guardStopped = true;
    form.ActionStop()->trigger();
  });
  guard->start();
  gui.ClickToolButton(form.ActionRun());
  WaitForRunEnd();
  guard->stop();
  EXPECT_FALSE(guardStopped);
  EXPECT_FALSE(setup.Running());
  EXPECT_GT(form.RunSteps(), 10);
  RecordProperty("run_steps", static_cast<int>(form.RunSteps()));

  const TThresholds thresholds{form.Preferences().ThresholdForce,
                               form.Preferences().ThresholdMoment};
  for (const auto& tooth : setup.ToothList()) {
    const TForceMoment fm = tooth->TotalForce();
    EXPECT_LE(fm.Magnitude(), thresholds.Force);
    EXPECT_LE(std::fabs(fm.m), thresholds.Moment);
  }
  EXPECT_GT(PointDistance(canine->cRes(), canineBefore), 1.0);
  EXPECT_GT(PointDistance(premolar->cRes(), premolarBefore), 1.0);
  // Both slots lie in line with the chord.
  const TPointDouble a = mesial.Origin();
  const TPointDouble b = distal.Origin();
  const double chord = LineAngle(a, b);
  EXPECT_LT(std::fabs(Degrees(AngleDifference(mesial.Direction(), chord))), 0.5);
  EXPECT_LT(std::fabs(Degrees(AngleDifference(distal.Direction(), LineAngle(b, a)))), 0.5);

  // File > Exit asks about the unsaved setup, then writes the settings file.
  FAnswer = QMessageBox::Discard;
  const QString settings = QString::fromStdString(FStartup.SettingsIniPath);
  ASSERT_FALSE(QFileInfo::exists(settings));
  gui.ChooseMenu("&File", "E&xit");
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(QFileInfo::exists(settings));
}

}  // namespace
}  // namespace orvela
