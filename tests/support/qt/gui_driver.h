#pragma once

#include <initializer_list>

#include <QPoint>
#include <QString>

#include "mechanics/geometry.h"

class QAction;
class QMenu;

namespace orvela {
class TMainForm;
}

namespace orvela::test {

// Drives the main window with real mouse and key events only: menus are opened by clicks
// on the menu bar and their items, the display gets presses, moves and releases at the
// pixels of model points.
class TGuiDriver {
 public:
  explicit TGuiDriver(TMainForm& form) : FForm(form) {}

  // The display pixel of a model point under the view's current mapping.
  QPoint Pixel(TPointDouble model) const;
  void Hover(TPointDouble model) const;
  void Press(TPointDouble model, Qt::MouseButton button = Qt::LeftButton) const;
  void MoveTo(TPointDouble model) const;
  void Release(TPointDouble model, Qt::MouseButton button = Qt::LeftButton) const;
  // Hover, press, release at one point.
  void Click(TPointDouble model, Qt::MouseButton button = Qt::LeftButton) const;
  // Hover over from, press, move in steps to to, release there.
  void Drag(TPointDouble from, TPointDouble to, int steps = 4,
            Qt::MouseButton button = Qt::LeftButton) const;

  // Opens the menu bar's menu of that title and clicks the item of that text (captions
  // with their "&"); for a submenu item the submenu is left open.
  void ChooseMenu(const QString& menuTitle, const QString& itemText) const;
  // Edit > Add Tooth > number: a click on the chart's button.
  void AddTooth(int fdi) const;
  // A click on the tool bar's button of an action.
  void ClickToolButton(QAction* action) const;
  void KeyOnDisplay(Qt::Key key) const;

 private:
  QMenu* OpenMenu(const QString& menuTitle) const;

  TMainForm& FForm;
};

}  // namespace orvela::test
