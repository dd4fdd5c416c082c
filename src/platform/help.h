#pragma once

#include <vector>

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace orvela {

// Help keywords. Each is an anchor in one page of the help folder; the first four are those
// the dialogs have always had.
inline constexpr const char* HelpViewOptions = "ViewOptions";
inline constexpr const char* HelpCalcOptions = "CalcOptions";
inline constexpr const char* HelpWireWindow = "WireWindow";
inline constexpr const char* HelpToothWindow = "ToothWindow";
inline constexpr const char* HelpContents = "Contents";
inline constexpr const char* HelpGettingStarted = "GettingStarted";
inline constexpr const char* HelpMainWindow = "MainWindow";
inline constexpr const char* HelpAddTooth = "AddTooth";
inline constexpr const char* HelpGeneralOptions = "GeneralOptions";
inline constexpr const char* HelpToothPage = "ToothPage";
inline constexpr const char* HelpPerioPage = "PerioPage";

// The folder of the help pages, "help/" in the shared data folder; ends with "/".
QString HelpFolder();

// The page of a keyword inside the help folder with the keyword as its anchor
// ("options.html#ViewOptions"); an unknown keyword gives the contents.
QString HelpTopicPage(const QString& keyword);

// Opens the help window at the topic with this keyword. The window, titled "Orvela Help",
// is made once for each main window and reused with the size the user gave it; when it
// opens, or when it lies over the window that asked, it moves beside that window. It closes
// with Escape or Ctrl+W.
void ShowHelpTopic(QWidget* asking, const QString& keyword);

// F1 in this window opens the topic of the place that has the focus: the nearest widget at
// or above the focus that has a topic, else the current page of the window's tab pages when
// it has one, else the window's own topic, else the contents.
void SetHelpTopic(QWidget& widget, const char* keyword);
void AddHelpKey(QWidget& window);
QString HelpTopicAt(QWidget& window);

// One page as the search sees it.
struct THelpPageText {
  QString File;  // inside the help folder
  QString Title;
  QString Text;  // plain text
};

// Every page of the folder, in file name order.
std::vector<THelpPageText> ReadHelpPages(const QString& folder);

// The pages that hold every word of the query, whatever the letter case; none for a query
// without words.
std::vector<const THelpPageText*> FindHelpPages(const std::vector<THelpPageText>& pages,
                                                const QString& query);

// Where the help window goes beside the window that asked: to its right when it fits on the
// screen, else to its left, else against the screen's edge on the side with more room; at
// the asking window's top, kept inside the screen's available area.
QPoint HelpWindowPosition(const QRect& askingFrame, const QSize& helpFrame, const QRect& screen);

}  // namespace orvela
