#pragma once

#include <QIcon>

namespace orvela {

enum class TToolbarIcon { New, Open, Save, Print, Run, Stop, Undo, Redo, Zoom, Chooser };

// The icon of a tool button: the desktop icon theme's, or the program's own picture when
// the theme has none.
QIcon ToolbarIcon(TToolbarIcon icon);

// The program's own picture, whatever the theme has.
QIcon OwnToolbarIcon(TToolbarIcon icon);

}  // namespace orvela
