#pragma once

#include <optional>

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "workspace/picture.h"

class QPrinter;

namespace orvela {

class TSetup;

// File > Print and File > Export Picture, apart from their dialogs.

enum class TPictureFormat { Svg, Png, Pdf };

// Picture millimetres left around the drawn content of an exported picture.
inline constexpr double ExportMarginMm = 5.0;
// Pixels per inch of an exported PNG.
inline constexpr double ExportPngDpi = 300.0;

// The format a file name's extension names, in any case; none for another extension.
std::optional<TPictureFormat> PictureFormatOf(const QString& fileName);
// The extension of the format, without the dot.
QString PictureExtension(TPictureFormat format);

// What File > Export Picture shows: the drawn content grown by ExportMarginMm of picture on
// every side; the whole model square when nothing is drawn.
TModelArea ExportArea(const TSetup& setup, const TForceDrawing& drawing);

// The picture's drawing (its grid and force settings) over the export area, at 2:1, as the
// bytes of a file of that format: SVG, PNG at ExportPngDpi, or a PDF page of the picture's
// size.
QByteArray ExportedPicture(const TSetupPicture& picture, const TSetup& setup,
                           TPictureFormat format);
// Writes it to the file, replacing it whole or not at all. False, with the reason in error
// when given, when the file cannot be written.
bool ExportPicture(const TSetupPicture& picture, const TSetup& setup, TPictureFormat format,
                   const QString& fileName, QString* error = nullptr);

// The resolution the Print command asks of the printer: the drawing's thin lines are one
// device pixel wide, which is fine at 300 per inch and all but invisible at 1200.
inline constexpr int PrintDpi = 300;

// What a printout shows besides the drawing.
struct TPrintout {
  // The grid and force settings of the drawing; its area and resolution are the printer's
  // concern.
  TSetupPicture Picture;
  // The setup's file name, or "Untitled".
  QString Title;
  QDateTime Printed;
};

// Prints the title and the date, the picture of the model square scaled to fit the page
// keeping its aspect, and under it each wire's information line, going on to further pages
// when the lines do not fit. False when the printer could not be opened.
bool PrintSetup(QPrinter& printer, const TSetup& setup, const TPrintout& printout);

}  // namespace orvela
