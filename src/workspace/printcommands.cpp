// The File commands Print and Export Picture of the main window; what they draw and write
// is workspace/export.h.

#include <optional>

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>

#include "platform/messages.h"
#include "workspace/export.h"
#include "workspace/mainform.h"

namespace orvela {

namespace {

constexpr const char* PrintFailedText = "The setup could not be printed.";

// In the order of TPictureFormat.
constexpr const char* ExportFilters[] = {"SVG picture (*.svg)", "PNG picture, 300 dpi (*.png)",
                                         "PDF document (*.pdf)"};

TPictureFormat FormatOfFilter(const QString& filter) {
  for (TPictureFormat format : {TPictureFormat::Svg, TPictureFormat::Png, TPictureFormat::Pdf}) {
    if (filter == ExportFilters[static_cast<int>(format)]) return format;
  }
  return TPictureFormat::Svg;
}

}  // namespace

TSetupPicture TMainForm::ShownPicture() const {
  TSetupPicture picture;
  picture.ShowGrid = FPrefs.ShowGrid;
  picture.GridDensity = FPrefs.GridDensity;
  picture.ForceDrawing = FForceDrawing;
  return picture;
}

// Setups are not kept in files yet.

void TMainForm::ActionPrintExecute() {
  TPrintout printout;
  printout.Picture = ShownPicture();
  printout.Title = DocumentName();
  printout.Printed = QDateTime::currentDateTime();
  QPrinter printer(QPrinter::HighResolution);
  printer.setResolution(PrintDpi);
  printer.setDocName(QStringLiteral("Orvela - %1").arg(printout.Title));
  QPrintPreviewDialog preview(&printer, this);
  preview.setWindowTitle(QStringLiteral("Print Preview"));
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* target) {
    if (!PrintSetup(*target, *FSetup, printout)) {
      ShowMessage(this, TMessageKind::Error, QString::fromUtf8(PrintFailedText));
    }
  });
  preview.exec();
}

void TMainForm::MenuFileExportClick() {
  if (FExportPath.isEmpty()) {
    FExportPath = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                      .filePath(DocumentName() + ".svg");
  }
  const QString filters =
      QStringLiteral("%1;;%2;;%3").arg(ExportFilters[0], ExportFilters[1], ExportFilters[2]);
  const std::optional<TPictureFormat> last = PictureFormatOf(FExportPath);
  QString filter = ExportFilters[static_cast<int>(last.value_or(TPictureFormat::Svg))];
  QString fileName = QFileDialog::getSaveFileName(this, QStringLiteral("Export Picture"),
                                                  FExportPath, filters, &filter);
  if (fileName.isEmpty()) return;
  // A name without one of the three extensions takes that of the chosen filter.
  std::optional<TPictureFormat> format = PictureFormatOf(fileName);
  if (!format) {
    format = FormatOfFilter(filter);
    fileName += "." + PictureExtension(*format);
  }
  FExportPath = fileName;
  QString reason;
  if (!ExportPicture(ShownPicture(), *FSetup, *format, fileName, &reason)) {
    ShowMessage(this, TMessageKind::Error,
                QStringLiteral("Could not write the picture to \"%1\".\n%2")
                    .arg(QDir::toNativeSeparators(fileName), reason));
  }
}

}  // namespace orvela
