#pragma once

#include <QString>

class QWidget;

namespace orvela {

// Opens the program's help document in the help window at the topic with this keyword
// ("ViewOptions", "CalcOptions", "WireWindow", "ToothWindow"). The window is created once
// and reused; an unknown keyword opens the contents.
void ShowHelpTopic(QWidget* parent, const QString& keyword);

// Help keywords of the dialogs.
inline constexpr const char* HelpViewOptions = "ViewOptions";
inline constexpr const char* HelpCalcOptions = "CalcOptions";
inline constexpr const char* HelpWireWindow = "WireWindow";
inline constexpr const char* HelpToothWindow = "ToothWindow";

}  // namespace orvela
