#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMenu>

#include "qt/mainform_fixture.h"
#include "scenes.h"
#include "workspace/view.h"

namespace orvela {
namespace {

using test::MainFormTest;

int CountPixels(const QImage& image, QRgb colour, int rows = -1) {
  int count = 0;
  for (int y = 0; y < (rows < 0 ? image.height() : rows); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) count += (line[x] & 0xFFFFFFU) == (colour & 0xFFFFFFU);
  }
  return count;
}

// The whole window with the eight-tooth arch. With ORVELA_SNAPSHOT_DIR set the window is
// also saved as main_window.png there, to be looked at.
TEST_F(MainFormTest, PaintsTheGridTeethWiresAndForcesIntoTheBackBuffer) {
  TMainForm& form = CreateForm();
  SetDisplaySize(804, 506);
  test::AddLowerArchScene(form.Setup());
  form.View().BestFit();
  QApplication::processEvents();
  const QImage frame = form.View().BackBuffer().copy();
  EXPECT_EQ(frame.size(), QSize(804, 506));
  EXPECT_GT(CountPixels(frame, qRgb(128, 128, 128)), 1000);  // grid
  EXPECT_GT(CountPixels(frame, qRgb(0, 0, 0)), 1000);        // outlines and wires
  EXPECT_GT(CountPixels(frame, qRgb(0, 0, 255)), 10);        // force arrows

  // Without the grid the strip above the crowns is white; the display shows the frame.
  EXPECT_GT(CountPixels(frame, qRgb(128, 128, 128), 40), 500);
  form.MenuViewShowGrid()->trigger();
  const QImage bare = form.View().BackBuffer().copy();
  EXPECT_EQ(CountPixels(bare, qRgb(255, 255, 255), 40), 804 * 40);
  const QImage shown = form.View().Display()->grab().toImage().convertToFormat(bare.format());
  EXPECT_EQ(shown, bare);
  form.MenuViewShowGrid()->trigger();

  const QByteArray dir = qgetenv("ORVELA_SNAPSHOT_DIR");
  if (!dir.isEmpty()) {
    form.Setup().SetSelectedObject(form.Setup().ToothList()[3].get());
    form.Setup().RebuildSelectionMarkers();
    form.View().DrawDisplay();
    form.grab().save(QString::fromLocal8Bit(dir) + "/main_window.png");
    form.MenuToothAdd()->popup(form.mapToGlobal(QPoint(40, 40)));
    QApplication::processEvents();
    form.MenuToothAdd()->grab().save(QString::fromLocal8Bit(dir) + "/add_tooth.png");
    form.MenuToothAdd()->hide();
  }
}

// A repaint clears every pixel of the display, also the edge columns that a zoom leaves
// short of a whole model unit: nothing of the previous frame remains.
TEST_F(MainFormTest, EveryRepaintClearsTheWholeDisplay) {
  TMainForm& form = CreateForm();
  SetDisplaySize(600, 400);
  for (const std::int32_t zoom : {6000, 3000, 1764, 1500, 87}) {
    if (!form.ShowGrid()) form.MenuViewShowGrid()->trigger();
    form.View().ZoomCenterInDisplay(zoom, 500, 500);
    ASSERT_GT(CountPixels(form.View().BackBuffer(), qRgb(128, 128, 128)), 0) << zoom;
    form.MenuViewShowGrid()->trigger();
    EXPECT_EQ(CountPixels(form.View().BackBuffer(), qRgb(255, 255, 255)), 600 * 400) << zoom;
  }
}

}  // namespace
}  // namespace orvela
