#include "qt/gui_driver.h"

#include <cmath>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "workspace/mainform.h"
#include "workspace/view.h"

namespace orvela::test {

namespace {

QAction* ActionOf(const QWidget& owner, const QString& text) {
  for (QAction* action : owner.actions()) {
    if (action->text() == text) return action;
  }
  return nullptr;
}

}  // namespace

QPoint TGuiDriver::Pixel(TPointDouble model) const {
  const TPointDouble p = FForm.View().Mapping().ModelToPixel(model);
  return QPoint(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
}

void TGuiDriver::Hover(TPointDouble model) const {
  // Qt drops a move to where the pointer already is: come from the next pixel.
  const QPoint at = Pixel(model);
  QTest::mouseMove(FForm.View().Display(), at + QPoint(1, 0));
  QTest::mouseMove(FForm.View().Display(), at);
}

void TGuiDriver::Press(TPointDouble model, Qt::MouseButton button) const {
  QTest::mousePress(FForm.View().Display(), button, {}, Pixel(model));
}

void TGuiDriver::MoveTo(TPointDouble model) const {
  QTest::mouseMove(FForm.View().Display(), Pixel(model));
}

void TGuiDriver::Release(TPointDouble model, Qt::MouseButton button) const {
  QTest::mouseRelease(FForm.View().Display(), button, {}, Pixel(model));
}

void TGuiDriver::Click(TPointDouble model, Qt::MouseButton button) const {
  Hover(model);
  Press(model, button);
  Release(model, button);
}

void TGuiDriver::Drag(TPointDouble from, TPointDouble to, int steps, Qt::MouseButton button) const {
  Hover(from);
  Press(from, button);
  for (int i = 1; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    MoveTo(MakePointDouble(from.x + t * (to.x - from.x), from.y + t * (to.y - from.y)));
  }
  Release(to, button);
}

QMenu* TGuiDriver::OpenMenu(const QString& menuTitle) const {
  QMenuBar* bar = FForm.menuBar();
  QAction* title = ActionOf(*bar, menuTitle);
  EXPECT_NE(title, nullptr) << menuTitle.toStdString();
  if (title == nullptr) return nullptr;
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
  QMenu* menu = title->menu();
  EXPECT_TRUE(menu != nullptr && menu->isVisible()) << menuTitle.toStdString();
  return menu;
}

void TGuiDriver::ChooseMenu(const QString& menuTitle, const QString& itemText) const {
  QMenu* menu = OpenMenu(menuTitle);
  if (menu == nullptr) return;
  QAction* item = ActionOf(*menu, itemText);
  ASSERT_NE(item, nullptr) << itemText.toStdString();
  ASSERT_TRUE(item->isEnabled()) << itemText.toStdString();
  const QPoint at = menu->actionGeometry(item).center();
  QTest::mouseMove(menu, at);
  QTest::mouseClick(menu, Qt::LeftButton, {}, at);
  // A submenu opens on the click or, at the latest, after the menu's hover delay.
  if (item->menu() != nullptr) {
    EXPECT_TRUE(QTest::qWaitFor([item] { return item->menu()->isVisible(); }, 2000));
  }
  QApplication::processEvents();
}

void TGuiDriver::AddTooth(int fdi) const {
  ChooseMenu("&Edit", "&Add Tooth");
  QMenu* chartMenu = FForm.MenuToothAdd();
  ASSERT_TRUE(chartMenu->isVisible());
  QToolButton* button = nullptr;
  for (auto* b : chartMenu->findChildren<QToolButton*>()) {
    if (b->defaultAction() != nullptr && b->defaultAction()->data().toInt() == fdi) button = b;
  }
  ASSERT_NE(button, nullptr) << fdi;
  QTest::mouseClick(button, Qt::LeftButton);
  QApplication::processEvents();
}

void TGuiDriver::ClickToolButton(QAction* action) const {
  for (QToolBar* bar : FForm.findChildren<QToolBar*>()) {
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
      QTest::mouseClick(button, Qt::LeftButton);
      return;
    }
  }
  ADD_FAILURE() << "no tool button for " << action->text().toStdString();
}

void TGuiDriver::KeyOnDisplay(Qt::Key key) const { QTest::keyClick(FForm.View().Display(), key); }

}  // namespace orvela::test
