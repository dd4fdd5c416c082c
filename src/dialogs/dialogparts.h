#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;
class QLineEdit;
class QTabWidget;

namespace orvela {

// The pages with the column of "Close" (OKBut, the default, closes with OK) and "Help"
// (HelpBut, opens the help topic of that keyword) at their right, as one row.
QHBoxLayout* NewPagesWithButtons(QDialog& dialog, QTabWidget& pages, const char* helpKeyword);

// A number after a pattern such as "0.0" in the user's number format.
QString UserNumber(const char* pattern, double value);
// The number typed in the edit, read in the user's number format; false, leaving value
// alone, when it is not one.
bool ReadUserNumber(const QLineEdit& edit, double& value);
// The number typed in the edit, or fallback when it is not one.
double UserNumberOr(const QLineEdit& edit, double fallback);

// Text a user typed or a file held, in single quotes for a message; cut after 40 characters
// (with an ellipsis), so that a long one cannot swell the box.
QString QuotedText(const QString& text);

}  // namespace orvela
