#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QImage>

#include "mechanics/forcedraw.h"
#include "model/teeth.h"
#include "qt/mainform_fixture.h"
#include "recording_canvas.h"
#include "setup_scenes.h"
#include "workspace/view.h"

namespace orvela {
namespace {

using test::MainFormTest;

// A corner of an outline drawn with a pen wider than a pixel, and how far (in pixels) the
// way its segments meet may reach.
struct TJoin {
  TPointDouble Pixel;
  double Reach = 0.0;
};

// The corners of every outlined polygon of the setup, in display pixels.
std::vector<TJoin> OutlineJoins(const TSetup& setup, const TViewMapping& mapping) {
  test::TRecordingCanvas recorder;
  setup.DrawAll(recorder);
  std::vector<TJoin> joins;
  for (const test::TRecordedCall& call : recorder.CallsOf(test::TCallKind::Polygon)) {
    const double width = call.Pen.Width * mapping.PixelsPerUnit();
    if (call.Pen.Style == TPenStyle::Clear || width < 1.0) continue;
    // A miter reaches up to twice the half width past the corner; a square end the half
    // width; one more pixel for rounding to the pixel grid.
    const double reach = width + 1.5;
    for (const TPoint& p : call.Points) {
      joins.push_back({mapping.ModelToPixel(MakePointDouble(p.x, p.y)), reach});
    }
  }
  return joins;
}

bool NearJoin(const std::vector<TJoin>& joins, int x, int y) {
  for (const TJoin& j : joins) {
    if (std::hypot(j.Pixel.x - (x + 0.5), j.Pixel.y - (y + 0.5)) <= j.Reach) return true;
  }
  return false;
}

// The eight-tooth arch with grid, forces at the centres of resistance and at the
// attachments, and the handles of a selected tooth: every pixel matches the stored frame,
// except where the outline of a polygon turns a corner. With ORVELA_WRITE_GOLDEN set the
// frames are written instead (to be done only with a renderer known to be right).
TEST_F(MainFormTest, ArchFrameMatchesTheGoldenImageExceptAtOutlineJoins) {
  const TForceDrawPlaces savedPlaces = ForceDrawPlaces;
  ForceDrawPlaces = TForceDrawPlaces{true, true, false};
  TMainForm& form = CreateForm();
  SetDisplaySize(804, 506);
  if (!form.ShowGrid()) form.MenuViewShowGrid()->trigger();
  test::LoadScene(form.Setup(), test::MakeLowerArchScene());
  form.Setup().SetSelectedObject(form.Setup().ToothList()[3].get());
  form.Setup().RebuildSelectionMarkers();

  const QString dir = QStringLiteral(ORVELA_GOLDEN_DIR);
  const bool write = !qEnvironmentVariableIsEmpty("ORVELA_WRITE_GOLDEN");
  struct TFrame {
    const char* Name;
    std::int32_t Zoom;
    TPoint Centre;
  };
  for (const TFrame& f :
       {TFrame{"arch_150.png", 1500, {370, 500}}, TFrame{"arch_600.png", 6000, {330, 520}}}) {
    form.View().ZoomCenterInDisplay(f.Zoom, f.Centre.x, f.Centre.y);
    const QImage frame = form.View().BackBuffer().convertToFormat(QImage::Format_RGB32);
    const QString path = dir + "/" + f.Name;
    if (write) {
      QDir().mkpath(dir);
      ASSERT_TRUE(frame.save(path));
      continue;
    }
    const QImage golden = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << path.toStdString();
    ASSERT_EQ(golden.size(), frame.size()) << f.Name;
    const std::vector<TJoin> joins = OutlineJoins(form.Setup(), form.View().Mapping());
    ASSERT_FALSE(joins.empty());
    int differing = 0;
    int elsewhere = 0;
    for (int y = 0; y < frame.height(); ++y) {
      const auto* a = reinterpret_cast<const QRgb*>(golden.constScanLine(y));
      const auto* b = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
      for (int x = 0; x < frame.width(); ++x) {
        if (a[x] == b[x]) continue;
        ++differing;
        if (!NearJoin(joins, x, y)) {
          if (elsewhere++ < 10) ADD_FAILURE() << f.Name << ": pixel (" << x << ", " << y << ")";
        }
      }
    }
    EXPECT_EQ(elsewhere, 0) << f.Name;
    RecordProperty(std::string(f.Name) + "_differing_pixels", differing);
    std::printf("%s: %d pixels differ, all at outline joins\n", f.Name, differing);
  }
  ForceDrawPlaces = savedPlaces;
}

}  // namespace
}  // namespace orvela
