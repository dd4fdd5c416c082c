// File > Print and File > Export Picture through the functions the commands call; the PDFs
// are checked with poppler's tools.

#include "workspace/export.h"

#include <cmath>
#include <gtest/gtest.h>

#include <QDateTime>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "document/setup.h"
#include "scenes.h"

namespace orvela {
namespace {

// Output of a poppler tool; nullopt when it is not installed or fails.
std::optional<QByteArray> Poppler(const QString& tool, const QStringList& arguments) {
  if (QStandardPaths::findExecutable(tool).isEmpty()) return std::nullopt;
  QProcess process;
  process.start(tool, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return std::nullopt;
  return process.readAllStandardOutput();
}

bool HavePoppler() {
  return !QStandardPaths::findExecutable("pdftoppm").isEmpty() &&
         !QStandardPaths::findExecutable("pdftotext").isEmpty();
}

// The smallest rectangle holding every pixel that is not white.
QRect InkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xffffff) != 0xffffff) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

int Pixels(double mm, double dpi) { return static_cast<int>(std::nearbyint(mm / 25.4 * dpi)); }

TEST(PrintTest, APrintedPdfShowsTheTitleTheDrawingAndEveryWiresLine) {
  if (!HavePoppler()) GTEST_SKIP() << "pdftoppm and pdftotext (poppler-utils) are not installed";
  TSetup setup;
  test::AddLowerArchScene(setup);
  QTemporaryDir dir;
  const QString pdf = dir.filePath("print.pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  printer.setResolution(PrintDpi);
  printer.setPageSize(QPageSize(QPageSize::A4));
  TPrintout printout;
  printout.Title = "Untitled";
  printout.Printed = QDateTime(QDate(2024, 3, 5), QTime(14, 30));
  ASSERT_TRUE(PrintSetup(printer, setup, printout));

  const auto text = Poppler("pdftotext", {"-layout", pdf, "-"});
  ASSERT_TRUE(text.has_value());
  const QString printed = QString::fromUtf8(*text).simplified();
  EXPECT_TRUE(printed.startsWith("Untitled")) << printed.toStdString();
  ASSERT_EQ(setup.WireList().size(), 7U);
  for (std::size_t i = 0; i < setup.WireList().size(); ++i) {
    const QString line = QStringLiteral("Wire %1: %2")
                             .arg(i + 1)
                             .arg(QString::fromStdString(setup.WireList()[i]->Info()).simplified());
    EXPECT_TRUE(printed.contains(line)) << line.toStdString();
  }

  // One A4 page at 50 per inch: the model square fills the width, with ink in it.
  ASSERT_TRUE(Poppler("pdftoppm", {"-r", "50", "-png", pdf, dir.filePath("page")}).has_value());
  EXPECT_FALSE(QFile::exists(dir.filePath("page-2.png")));
  const QImage page(dir.filePath("page-1.png"));
  ASSERT_FALSE(page.isNull());
  EXPECT_NEAR(page.width(), 413, 1);
  EXPECT_NEAR(page.height(), 585, 1);
  const QRect ink = InkBounds(page);
  // The grid spans the square: wider than 170 mm of the page's 210, centred.
  EXPECT_GT(ink.width(), Pixels(170.0, 50.0));
  EXPECT_NEAR(ink.center().x(), page.width() / 2, 3);
  EXPECT_LT(ink.bottom(), page.height() - Pixels(5.0, 50.0));
}

TEST(ExportTest, AnExportIsCroppedToTheDrawingWithAMarginAndWrittenInEachFormat) {
  // Wider than high, as a PDF page must be too.
  TSetup setup;
  test::AddLowerArchScene(setup);
  TSetupPicture picture;
  picture.ShowGrid = false;
  const TModelArea drawn = DrawnArea(setup, picture.ForceDrawing);
  ASSERT_GT(drawn.Width(), 2 * drawn.Height());
  const double widthMm = drawn.Width() * PictureMmPerUnit + 2 * ExportMarginMm;
  const double heightMm = drawn.Height() * PictureMmPerUnit + 2 * ExportMarginMm;

  // PNG: the content's size at 2:1 plus the margins, at 300 per inch; the drawing reaches
  // the margin on every side.
  QImage png;
  ASSERT_TRUE(png.loadFromData(ExportedPicture(picture, setup, TPictureFormat::Png), "PNG"));
  EXPECT_EQ(png.size(), QSize(Pixels(widthMm, 300.0), Pixels(heightMm, 300.0)));
  EXPECT_EQ(png.dotsPerMeterX(), 11811);
  const int margin = Pixels(ExportMarginMm, 300.0);
  const QRect ink = InkBounds(png);
  EXPECT_NEAR(ink.left(), margin, 3);
  EXPECT_NEAR(ink.top(), margin, 3);
  EXPECT_NEAR(png.width() - 1 - ink.right(), margin, 3);
  EXPECT_NEAR(png.height() - 1 - ink.bottom(), margin, 3);

  // SVG and PDF files of the same size that parse.
  QTemporaryDir dir;
  const QString svgFile = dir.filePath("setup.svg");
  ASSERT_TRUE(ExportPicture(picture, setup, TPictureFormat::Svg, svgFile));
  QFile svg(svgFile);
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&svg);
  ASSERT_TRUE(xml.readNextStartElement());
  EXPECT_NEAR(xml.attributes().value("width").chopped(2).toDouble(), widthMm, 1e-6);
  EXPECT_NEAR(xml.attributes().value("height").chopped(2).toDouble(), heightMm, 1e-6);
  while (!xml.atEnd()) xml.readNext();
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();

  const QString pdf = dir.filePath("setup.pdf");
  ASSERT_TRUE(ExportPicture(picture, setup, TPictureFormat::Pdf, pdf));
  if (HavePoppler()) {
    ASSERT_TRUE(
        Poppler("pdftoppm", {"-r", "100", "-png", "-singlefile", pdf, dir.filePath("pdf")}));
    const QImage rendered(dir.filePath("pdf.png"));
    EXPECT_NEAR(rendered.width(), Pixels(widthMm, 100.0), 1);
    EXPECT_NEAR(rendered.height(), Pixels(heightMm, 100.0), 1);
    EXPECT_FALSE(InkBounds(rendered).isEmpty());
  }

  // The extension names the format; an empty setup exports the whole square; a file that
  // cannot be written says why.
  EXPECT_EQ(PictureFormatOf("a/b.PNG"), TPictureFormat::Png);
  EXPECT_EQ(PictureFormatOf("b.pdf"), TPictureFormat::Pdf);
  EXPECT_EQ(PictureFormatOf("b.jpg"), std::nullopt);
  const TSetup empty;
  const TModelArea whole = ExportArea(empty, picture.ForceDrawing);
  EXPECT_EQ(whole.Width(), ModelExtent);
  EXPECT_EQ(whole.Left, 0.0);
  QString error;
  EXPECT_FALSE(ExportPicture(picture, setup, TPictureFormat::Png,
                             dir.filePath("missing/folder/setup.png"), &error));
  EXPECT_FALSE(error.isEmpty());

  // Attachments without wires draw their zero systems at the model origin, below the arch;
  // the crop leaves them out.
  TForceDrawing everywhere;
  everywhere.Places = {true, true, true};
  const TModelArea withArrows = DrawnArea(setup, everywhere);
  EXPECT_NEAR(withArrows.Bottom, drawn.Bottom, 30.0);
}

}  // namespace
}  // namespace orvela
