#include "workspace/export.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QBuffer>
#include <QFileInfo>
#include <QFont>
#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPrinter>
#include <QSaveFile>

#include "document/setup.h"

namespace orvela {

namespace {

constexpr double MmPerInch = 25.4;
// An SVG states its size; 96 per inch is what viewers take a pixel to be.
constexpr double SvgDpi = 96.0;
// Device pixels per inch of a PDF page: thin lines are one device pixel wide.
constexpr double PdfDpi = 300.0;
// The drawing never takes less of the page than this, however many wires it has: the
// lines that do not fit go on to the next page.
constexpr double MinDrawingShare = 0.6;

TSetupPicture AtDpi(TSetupPicture picture, double dpi) {
  picture.DpiX = dpi;
  picture.DpiY = dpi;
  return picture;
}

QByteArray PngOf(const TSetupPicture& picture, const TSetup& setup) {
  QImage image = picture.Image(setup);
  const int dotsPerMetre = static_cast<int>(std::nearbyint(picture.DpiX / MmPerInch * 1000.0));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

QByteArray PdfOf(const TSetupPicture& picture, const TSetup& setup) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setCreator("Orvela");
    writer.setTitle("Orvela");
    writer.setResolution(static_cast<int>(picture.DpiX));
    const QSizeF mm(picture.Area.Width() * PictureMmPerUnit,
                    picture.Area.Height() * PictureMmPerUnit);
    writer.setPageLayout(
        QPageLayout(QPageSize(mm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF()));
    picture.Draw(writer, setup);
  }
  return bytes;
}

}  // namespace

std::optional<TPictureFormat> PictureFormatOf(const QString& fileName) {
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  if (suffix == "svg") return TPictureFormat::Svg;
  if (suffix == "png") return TPictureFormat::Png;
  if (suffix == "pdf") return TPictureFormat::Pdf;
  return std::nullopt;
}

QString PictureExtension(TPictureFormat format) {
  switch (format) {
    case TPictureFormat::Svg:
      return "svg";
    case TPictureFormat::Png:
      return "png";
    case TPictureFormat::Pdf:
      break;
  }
  return "pdf";
}

TModelArea ExportArea(const TSetup& setup, const TForceDrawing& drawing) {
  TModelArea area = DrawnArea(setup, drawing);
  if (area.Width() < 0.0) return TModelArea{};
  const double margin = ExportMarginMm / PictureMmPerUnit;
  return TModelArea{area.Left - margin, area.Bottom - margin, area.Right + margin,
                    area.Top + margin};
}

QByteArray ExportedPicture(const TSetupPicture& picture, const TSetup& setup,
                           TPictureFormat format) {
  TSetupPicture cropped = picture;
  cropped.Area = ExportArea(setup, picture.ForceDrawing);
  switch (format) {
    case TPictureFormat::Svg:
      return AtDpi(cropped, SvgDpi).Svg(setup);
    case TPictureFormat::Png:
      return PngOf(AtDpi(cropped, ExportPngDpi), setup);
    case TPictureFormat::Pdf:
      break;
  }
  return PdfOf(AtDpi(cropped, PdfDpi), setup);
}

bool ExportPicture(const TSetupPicture& picture, const TSetup& setup, TPictureFormat format,
                   const QString& fileName, QString* error) {
  const QByteArray bytes = ExportedPicture(picture, setup, format);
  QSaveFile file(fileName);
  const bool written = !bytes.isEmpty() && file.open(QIODevice::WriteOnly) &&
                       file.write(bytes) == bytes.size() && file.commit();
  if (!written && error != nullptr) {
    *error =
        bytes.isEmpty() ? QStringLiteral("The picture could not be made.") : file.errorString();
  }
  return written;
}

bool PrintSetup(QPrinter& printer, const TSetup& setup, const TPrintout& printout) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRectF page(0.0, 0.0, printer.width(), printer.height());

  // The heading: the file name on the left, the date on the right.
  QFont titleFont = painter.font();
  titleFont.setPointSizeF(12.0);
  titleFont.setBold(true);
  QFont textFont = painter.font();
  textFont.setPointSizeF(9.0);
  painter.setFont(titleFont);
  const double titleHeight = painter.fontMetrics().height();
  const QRectF heading(page.left(), page.top(), page.width(), titleHeight);
  painter.drawText(heading, Qt::AlignLeft | Qt::AlignVCenter, printout.Title);
  painter.setFont(textFont);
  const double gap = painter.fontMetrics().lineSpacing();
  painter.drawText(heading, Qt::AlignRight | Qt::AlignVCenter,
                   QLocale().toString(printout.Printed, QLocale::ShortFormat));

  // The wires' lines, wrapped to the page's width.
  std::vector<QString> lines;
  std::vector<double> heights;
  double linesHeight = 0.0;
  const int wrap = Qt::AlignLeft | Qt::TextWordWrap;
  for (std::size_t i = 0; i < setup.WireList().size(); ++i) {
    lines.push_back(QStringLiteral("Wire %1: %2")
                        .arg(i + 1)
                        .arg(QString::fromStdString(setup.WireList()[i]->Info())));
    heights.push_back(
        painter.boundingRect(QRectF(0.0, 0.0, page.width(), page.height()), wrap, lines.back())
            .height());
    linesHeight += heights.back();
  }

  // The model square, as large as the page leaves room for.
  const double top = heading.bottom() + gap;
  const double below = lines.empty() ? 0.0 : gap + linesHeight;
  const double room = page.bottom() - top;
  const double side =
      std::max(0.0, std::min(page.width(), std::max(room - below, room * MinDrawingShare)));
  TSetupPicture picture = printout.Picture;
  picture.Area = TModelArea{};
  const double squareInches = ModelExtent * PictureMmPerUnit / MmPerInch;
  picture.DpiX = picture.DpiY = side / squareInches;
  const QSize size = picture.SizePixels();
  // The canvas keeps a painter of its own, so the drawing is recorded and played here.
  QPicture drawing;
  picture.Draw(drawing, setup);
  const QRectF box(page.left() + (page.width() - size.width()) / 2.0, top, size.width(),
                   size.height());
  painter.save();
  painter.setClipRect(box);
  painter.translate(box.topLeft());
  // A picture is played at the device's resolution over its own: its pixels are the
  // printer's already.
  painter.scale(static_cast<double>(drawing.logicalDpiX()) / printer.logicalDpiX(),
                static_cast<double>(drawing.logicalDpiY()) / printer.logicalDpiY());
  painter.drawPicture(QPointF(0.0, 0.0), drawing);
  painter.restore();

  double y = box.bottom() + gap;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (y + heights[i] > page.bottom() && y > page.top()) {
      printer.newPage();
      y = page.top();
    }
    painter.drawText(QRectF(page.left(), y, page.width(), heights[i]), wrap, lines[i]);
    y += heights[i];
  }
  painter.end();
  return printer.printerState() != QPrinter::Error;
}

}  // namespace orvela
