#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace orvela {

// Opens the program's help document in the help window at the topic with this keyword
// ("ViewOptions", "CalcOptions", "WireWindow", "ToothWindow"). The window, titled "Orvela
// Help", is created once and reused with the size the user gave it; it opens beside the main
// window and closes with Escape or Ctrl+W. An unknown keyword opens the contents.
void ShowHelpTopic(QWidget* parent, const QString& keyword);

// Where the help window opens: beside the main window's frame (right of it, else left of
// it), at its top, kept inside the screen's available area.
QPoint HelpWindowPosition(const QRect& mainFrame, const QSize& helpFrame, const QRect& screen);

// Help keywords of the dialogs.
inline constexpr const char* HelpViewOptions = "ViewOptions";
inline constexpr const char* HelpCalcOptions = "CalcOptions";
inline constexpr const char* HelpWireWindow = "WireWindow";
inline constexpr const char* HelpToothWindow = "ToothWindow";

}  // namespace orvela
