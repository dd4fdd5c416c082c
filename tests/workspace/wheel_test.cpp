#include <cmath>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QWheelEvent>

#include "qt/mainform_fixture.h"
#include "workspace/view.h"

namespace orvela {
namespace {

class WheelTest : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    CreateForm();
    SetDisplaySize(600, 400);
  }
  TView& View() { return FForm->View(); }
  QScrollBar& Horz() { return *View().ScrollBarHorz(); }
  QScrollBar& Vert() { return *View().ScrollBarVert(); }
  // A wheel event over a pixel of the display. The display leaves wheel events to the view;
  // Qt passes only the system's own events on to the parent, so the test sends it there.
  void Wheel(QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             QPointF at = QPointF(300, 200), QPoint pixels = QPoint()) {
    QWidget* display = View().Display();
    const QPointF inView = at + QPointF(display->pos());
    QWheelEvent event(inView, display->mapToGlobal(at), pixels, angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&View(), &event);
  }
  // The model point under a pixel, unrounded.
  TPointDouble ModelAt(QPointF pixel) {
    const TViewMapping& m = View().Mapping();
    return MakePointDouble((pixel.x() - m.Dx()) / m.PixelsPerUnit(),
                           (pixel.y() - m.Dy()) / -m.PixelsPerUnit());
  }
};

TEST_F(WheelTest, TheWheelScrollsThreeLinesANotchAndStopsAtTheEnds) {
  QApplication::setWheelScrollLines(3);
  ASSERT_EQ(View().ZoomValue(), 1500);
  ASSERT_EQ(Vert().value(), 0);
  // 3 lines of 20 pixels at 1.70076 pixels per unit: 35.28 units; the rest adds up.
  Wheel(QPoint(0, -120));
  EXPECT_EQ(Vert().value(), 35);
  Wheel(QPoint(0, -120));
  EXPECT_EQ(Vert().value(), 70);
  EXPECT_EQ(Horz().value(), 0);
  const TPoint top = View().PixelToModel(TPoint{0, 0});
  EXPECT_EQ(top.y, 1000 - 70);  // the frame shows the new position

  // Up past the top stops at 0; Shift turns the wheel sideways.
  for (int i = 0; i < 3; ++i) Wheel(QPoint(0, 120));
  EXPECT_EQ(Vert().value(), 0);
  Wheel(QPoint(0, -120), Qt::ShiftModifier);
  EXPECT_EQ(Horz().value(), 35);
  EXPECT_EQ(Vert().value(), 0);
  // A tilting wheel scrolls sideways by itself.
  Wheel(QPoint(120, 0));
  EXPECT_EQ(Horz().value(), 0);

  // The far ends: never past maximum − page.
  Vert().setValue(Vert().maximum() - 10);
  Horz().setValue(Horz().maximum() - 10);
  Wheel(QPoint(0, -120));
  Wheel(QPoint(0, -120), Qt::ShiftModifier);
  EXPECT_EQ(Vert().value(), Vert().maximum());
  EXPECT_EQ(Horz().value(), Horz().maximum());
  // Turning back responds at once: no rest from the end is carried.
  Wheel(QPoint(0, 120));
  EXPECT_EQ(Vert().value(), Vert().maximum() - 35);
}

TEST_F(WheelTest, TouchpadPixelDeltasAddUpToSmoothScrolling) {
  ASSERT_EQ(Vert().value(), 0);
  // Twenty one-pixel moves: 20 / 1.70076 = 11.76 units, none lost to rounding.
  for (int i = 0; i < 20; ++i) Wheel(QPoint(0, -8), Qt::NoModifier, QPointF(300, 200), {0, -1});
  EXPECT_EQ(Vert().value(), 11);
  for (int i = 0; i < 20; ++i) Wheel(QPoint(-8, 0), Qt::NoModifier, QPointF(300, 200), {-1, 0});
  EXPECT_EQ(Horz().value(), 11);
}

TEST_F(WheelTest, CtrlWheelZoomsOneStepAboutThePointerKeepingItsModelPoint) {
  View().ZoomCenterInDisplay(1000, 500, 500);
  const QPointF pointer(170.0, 130.0);
  for (const auto& [notch, zoom] :
       {std::pair{120, 1500}, std::pair{120, 2000}, std::pair{-120, 1500}, std::pair{-120, 1000},
        std::pair{-120, 750}}) {
    const TPointDouble before = ModelAt(pointer);
    Wheel(QPoint(0, notch), Qt::ControlModifier, pointer);
    ASSERT_EQ(View().ZoomValue(), zoom);
    const TPointDouble shown = View().Mapping().ModelToPixel(before);
    // Scroll positions are whole model units: half a unit of error at most.
    const double tolerance = std::max(1.0, 0.5 * View().Mapping().PixelsPerUnit());
    EXPECT_NEAR(shown.x, pointer.x(), tolerance) << zoom;
    EXPECT_NEAR(shown.y, pointer.y(), tolerance) << zoom;
    if (zoom <= 1500) {
      EXPECT_NEAR(shown.x, pointer.x(), 1.0) << zoom;
      EXPECT_NEAR(shown.y, pointer.y(), 1.0) << zoom;
    }
  }
  EXPECT_EQ(View().ZoomCB()->currentText(), "75%");

  // A high-resolution wheel: a step per whole notch.
  Wheel(QPoint(0, 60), Qt::ControlModifier, pointer);
  EXPECT_EQ(View().ZoomValue(), 750);
  Wheel(QPoint(0, 60), Qt::ControlModifier, pointer);
  EXPECT_EQ(View().ZoomValue(), 1000);

  // Near the model's corner the scroll range holds the view: positions stay in range.
  for (int i = 0; i < 4; ++i) Wheel(QPoint(0, -120), Qt::ControlModifier, QPointF(5, 5));
  EXPECT_EQ(View().ZoomValue(), 250);
  EXPECT_EQ(Vert().value(), 0);
  EXPECT_FALSE(Vert().isEnabled());
  EXPECT_EQ(View().PixelToModel(TPoint{0, 0}), (TPoint{0, 1000}));
}

}  // namespace
}  // namespace orvela
