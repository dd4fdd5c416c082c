#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;
class QTabWidget;

namespace orvela {

// The pages with the column of "Close" (OKBut, the default, closes with OK) and "Help"
// (HelpBut, opens the help topic of that keyword) at their right, as one row.
QHBoxLayout* NewPagesWithButtons(QDialog& dialog, QTabWidget& pages, const char* helpKeyword);

// A number after a pattern such as "0.0" in the user's number format.
QString UserNumber(const char* pattern, double value);

}  // namespace orvela
