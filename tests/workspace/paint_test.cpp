#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QPalette>

#include "allocation_counter.h"
#include "qt/dark_palette.h"
#include "qt/mainform_fixture.h"
#include "qtgraphics/qtcanvas.h"
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
    form.Setup().Select(form.Setup().ToothList()[3].get());
    form.View().DrawDisplay();
    form.grab().save(QString::fromLocal8Bit(dir) + "/main_window.png");
    form.MenuToothAdd()->popup(form.mapToGlobal(QPoint(40, 40)));
    QApplication::processEvents();
    form.MenuToothAdd()->grab().save(QString::fromLocal8Bit(dir) + "/add_tooth.png");
    form.MenuToothAdd()->hide();
    // The chart again under a dark palette.
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(test::DarkPalette());
    form.MenuToothAdd()->popup(form.mapToGlobal(QPoint(40, 40)));
    QApplication::processEvents();
    form.MenuToothAdd()->grab().save(QString::fromLocal8Bit(dir) + "/add_tooth_dark.png");
    form.MenuToothAdd()->hide();
    form.grab().save(QString::fromLocal8Bit(dir) + "/main_window_dark.png");
    QApplication::setPalette(saved);
  }
}

// An empty display says what to do first, on the screen only: the frame and Copy as Picture
// hold no such words, and the first tooth takes them away.
TEST_F(MainFormTest, AnEmptyDisplayTellsWhatToDoFirstOnTheScreenOnly) {
  TMainForm& form = CreateForm();
  SetDisplaySize(804, 506);
  if (form.ShowGrid()) form.MenuViewShowGrid()->trigger();
  QApplication::processEvents();
  TDisplay& display = *form.View().Display();
  EXPECT_EQ(display.EmptyHint(), "Add a tooth with Edit > Add Tooth");
  const QImage frame = form.View().BackBuffer().copy();
  EXPECT_EQ(CountPixels(frame, qRgb(255, 255, 255)), 804 * 506);
  const QImage shown = display.grab().toImage().convertToFormat(frame.format());
  EXPECT_LT(CountPixels(shown, qRgb(255, 255, 255)), 804 * 506 - 200);  // the words

  ASSERT_TRUE(form.CopyPicture());
  if (const QMimeData* copied = QGuiApplication::clipboard()->mimeData(); copied != nullptr) {
    EXPECT_FALSE(copied->data("image/svg+xml").contains("Add a tooth"));
    const QImage picture =
        qvariant_cast<QImage>(copied->imageData()).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(CountPixels(picture, qRgb(255, 255, 255)), picture.width() * picture.height());
  }

  form.MenuAddToothClick(43);
  EXPECT_TRUE(display.EmptyHint().isEmpty());
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

// A repaint after the first makes at most 20 heap allocations, grid, arrows and handles
// included: pens, brushes, point buffers and the grid's picture are kept.
TEST_F(MainFormTest, RepaintAllocatesAlmostNothing) {
  TMainForm& form = CreateArchFormWithHandles();
  form.View().ZoomCenterInDisplay(1500, 370, 500);
  form.View().DrawDisplay();
  const test::AllocationCounter counter;
  form.View().DrawDisplay();
  EXPECT_LE(counter.Count(), 20U);
}

// Three copies of the arch, the middle one on screen: the teeth and wires skipped above and
// below change no pixel, also where a skipped tooth hands its pen to the next figure (the
// wires take the colour the last tooth left).
TEST_F(MainFormTest, SkippingWhatIsOffScreenChangesNoPixel) {
  TMainForm& form = CreateForm();
  SetDisplaySize(500, 300);
  if (form.ShowGrid()) form.MenuViewShowGrid()->trigger();
  test::AddLargeScene(form.Setup(), 3);
  form.Setup().ToothList()[9]->SetOriginalOutline();
  for (const std::int32_t zoom : {1500, 6000}) {
    form.View().ZoomCenterInDisplay(zoom, 330, 200);
    // The view's surface keeps its pen and brush from one frame to the next.
    TQtImageCanvas full(QSize(500, 300));
    full.Pen() = form.View().DisplayCanvas().Pen();
    full.Brush() = form.View().DisplayCanvas().Brush();
    full.SetTransparentBackground(form.View().DisplayCanvas().TransparentBackground());
    form.View().DrawDisplay();
    const QImage culled = form.View().BackBuffer().copy();

    const TViewMapping& m = form.View().Mapping();
    full.SetMapping(QTransform(m.M11(), 0, 0, m.M22(), m.Dx(), m.Dy()));
    full.Begin();
    full.FillRectWhite(TRect{-100000, -100000, 100000, 100000});
    form.Setup().DrawAll(full, form.ForceDrawing());
    full.End();
    EXPECT_EQ(culled, full.Image()) << zoom;
  }
}

}  // namespace
}  // namespace orvela
