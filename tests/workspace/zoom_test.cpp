#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "mechanics/forcedraw.h"
#include "qt/mainform_fixture.h"
#include "scenes.h"
#include "workspace/view.h"

namespace orvela {
namespace {

class ZoomTest : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    CreateForm();
    SetDisplaySize(600, 400);
  }
  TView& View() { return FForm->View(); }
  QComboBox& Box() { return *View().ZoomCB(); }
  // Keys go where the keyboard sends them: to the box, which has the focus and hands
  // them to its edit line.
  void Type(const QString& keys) {
    Box().lineEdit()->clear();
    Box().setFocus();
    QTest::keyClicks(&Box(), keys);
  }
  void Key(Qt::Key key) { QTest::keyClick(&Box(), key); }
  void Choose(const QString& item) {
    const int index = Box().findText(item);
    ASSERT_GE(index, 0);
    Box().setCurrentIndex(index);
    emit Box().activated(index);
    QApplication::processEvents();
  }
  TPoint TopLeft() { return View().PixelToModel(TPoint{0, 0}); }
};

TEST_F(ZoomTest, StartsAt150PercentWithTheModelsUpperLeftCornerAtTheDisplaysUpperLeft) {
  QApplication::processEvents();
  EXPECT_EQ(Box().currentText(), "150%");
  EXPECT_EQ(TopLeft(), (TPoint{0, 1000}));
  EXPECT_EQ(View().ScrollBarHorz()->value(), 0);
  EXPECT_EQ(View().ScrollBarVert()->value(), 0);
  EXPECT_TRUE(View().ScrollBarHorz()->isEnabled());
}

TEST_F(ZoomTest, TypedZoomIsAppliedOnEnterAndRejectedOutsideTheRange) {
  Type("35");
  Key(Qt::Key_Return);
  EXPECT_EQ(View().ZoomValue(), 350);
  EXPECT_EQ(Box().currentText(), "35%");
  EXPECT_TRUE(FMessages.empty());

  for (const char* bad : {"24", "601"}) {
    FMessages.clear();
    Type(bad);
    Key(Qt::Key_Return);
    ASSERT_EQ(FMessages.size(), 1U) << bad;
    EXPECT_EQ(FMessages[0],
              "This is not a valid zoom value.\r\nUse an integer number in the range 25 - 600.");
    EXPECT_EQ(View().ZoomValue(), 350);
    EXPECT_EQ(Box().currentText(), bad);
  }

  // A letter beeps and is not inserted; the accepted characters are.
  Type("12");
  Key(Qt::Key_A);
  EXPECT_EQ(FBeeps, 1);
  QTest::keyClicks(&Box(), "5%");
  EXPECT_EQ(Box().currentText(), "125%");
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Box().currentText(), "125");
  EXPECT_EQ(FBeeps, 1);
}

TEST_F(ZoomTest, MenuStepsAndItemsZoomAboutTheDisplaysCentre) {
  View().ZoomCenterInDisplay(2000, 500, 500);
  const TPoint centre = View().CentreModelPoint();
  EXPECT_NEAR(centre.x, 500, 1);
  EXPECT_NEAR(centre.y, 500, 1);
  FForm->MenuViewZoomIn()->trigger();
  EXPECT_EQ(View().ZoomValue(), 3000);
  EXPECT_EQ(Box().currentText(), "300%");
  EXPECT_NEAR(View().CentreModelPoint().x, 500, 1);
  EXPECT_NEAR(View().CentreModelPoint().y, 500, 1);
  FForm->MenuViewZoomOut()->trigger();
  FForm->MenuViewZoomOut()->trigger();
  EXPECT_EQ(View().ZoomValue(), 1500);

  Choose("75%");
  EXPECT_EQ(View().ZoomValue(), 750);
  EXPECT_EQ(Box().currentText(), "75%");

  const double scale = ForceScale;
  FForm->MenuViewZoomForcesIn()->trigger();
  FForm->MenuViewZoomForcesIn()->trigger();
  EXPECT_EQ(ForceScale, scale / 4.0);
  FForm->MenuViewZoomForcesOut()->trigger();
  EXPECT_EQ(ForceScale, scale / 2.0);
}

TEST_F(ZoomTest, BestFitOfAnEmptySetupIs600PercentOnTheLowerLeftCorner) {
  Choose("Best Fit");
  EXPECT_EQ(View().ZoomValue(), 6000);
  EXPECT_EQ(Box().currentText(), "600%");
  EXPECT_EQ(View().ScrollBarHorz()->value(), 0);
  EXPECT_EQ(View().ScrollBarVert()->value(), View().ScrollBarVert()->maximum());
  const TPoint bottomLeft = View().PixelToModel(TPoint{0, 399});
  EXPECT_EQ(bottomLeft.x, 0);
  EXPECT_NEAR(bottomLeft.y, 0, 1);
}

TEST_F(ZoomTest, BestFitShowsEveryToothAndWire) {
  test::AddLowerArchScene(FForm->Setup());
  Choose("Best Fit");
  const TPoint a = View().PixelToModel(TPoint{0, 0});
  const TPoint b = View().PixelToModel(TPoint{599, 399});
  for (const TRect& r : FForm->Setup().Bounds()) {
    EXPECT_GE(r.Left, a.x);
    EXPECT_LE(r.Right, b.x);
    EXPECT_GE(r.Top, b.y);
    EXPECT_LE(r.Bottom, a.y);
  }
  EXPECT_GT(View().ZoomValue(), 250);
}

// The corner button between the scroll bars gives the same view as the box's item.
TEST_F(ZoomTest, BestFitCornerButtonZoomsAsTheBoxItemDoes) {
  test::AddLowerArchScene(FForm->Setup());
  Choose("Best Fit");
  const std::int32_t fitZoom = View().ZoomValue();
  const TPoint fitTopLeft = TopLeft();
  const QString fitText = Box().currentText();
  ASSERT_NE(fitZoom, 1500);

  View().ZoomCenterInDisplay(1500, 100, 900);
  ASSERT_NE(TopLeft(), fitTopLeft);
  QToolButton* button = View().ScrollBestFitSB();
  ASSERT_TRUE(button->isVisible());
  QTest::mouseClick(button, Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(View().ZoomValue(), fitZoom);
  EXPECT_EQ(TopLeft(), fitTopLeft);
  EXPECT_EQ(Box().currentText(), fitText);
}

// Zoom Forces In and Out show the new arrows at once, without waiting for the event loop.
TEST_F(ZoomTest, ZoomForcesRedrawsTheDisplayAtOnce) {
  test::AddLowerArchScene(FForm->Setup());
  View().BestFit();
  QApplication::processEvents();
  const QImage before = View().BackBuffer().copy();
  FForm->MenuViewZoomForcesIn()->trigger();
  const QImage larger = View().BackBuffer().copy();
  EXPECT_NE(larger, before);
  FForm->MenuViewZoomForcesOut()->trigger();
  EXPECT_EQ(View().BackBuffer(), before);
  FForm->MenuViewZoomForcesOut()->trigger();
  EXPECT_NE(View().BackBuffer(), before);
  EXPECT_NE(View().BackBuffer(), larger);
}

TEST_F(ZoomTest, FitAllIsNotBoundedAndDisablesTheBarsThatNeedNoScrolling) {
  SetDisplaySize(300, 100);
  Choose("Fit All");
  EXPECT_EQ(View().ZoomValue(), 87);
  EXPECT_EQ(Box().currentText(), "9%");
  EXPECT_FALSE(View().ScrollBarVert()->isEnabled());
  EXPECT_FALSE(View().ScrollBarHorz()->isEnabled());
  EXPECT_EQ(View().ScrollBarVert()->value(), 0);
  EXPECT_EQ(TopLeft(), (TPoint{0, 1000}));
  // Zooming in from below the items' range takes the smallest item.
  View().ZoomIn();
  EXPECT_EQ(View().ZoomValue(), 250);
}

TEST_F(ZoomTest, ScrollPositionsStayWithinMaximumMinusPage) {
  View().ZoomCenterInDisplay(6000, 1000, 0);
  QScrollBar& h = *View().ScrollBarHorz();
  QScrollBar& v = *View().ScrollBarVert();
  EXPECT_EQ(h.value(), h.maximum());
  EXPECT_EQ(v.value(), v.maximum());
  EXPECT_EQ(h.maximum() + h.pageStep(), 1000);
  EXPECT_EQ(v.maximum() + v.pageStep(), 1000);
  const TPoint bottomRight = View().PixelToModel(TPoint{599, 399});
  EXPECT_NEAR(bottomRight.x, 1000, 1);
  EXPECT_NEAR(bottomRight.y, 0, 1);

  // Scrolling by the user: clamped and redrawn.
  h.setValue(-50);
  EXPECT_EQ(h.value(), 0);
  EXPECT_EQ(TopLeft().x, 0);
  v.setValue(5000);
  EXPECT_EQ(v.value(), v.maximum());
  View().ZoomCenterInDisplay(6000, -400, 2000);
  EXPECT_EQ(TopLeft(), (TPoint{0, 1000}));
}

}  // namespace
}  // namespace orvela
