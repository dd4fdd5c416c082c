#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QToolTip>

#include "dialogs/about.h"
#include "platform/help.h"
#include "platform/identity.h"
#include "platform/toolbaricons.h"
#include "platform/tooltips.h"
#include "qt/mainform_fixture.h"
#include "workspace/toptions.h"
#include "workspace/view.h"

namespace orvela {
namespace {

// Restores the application-wide palettes a test changes.
class TPaletteGuard {
 public:
  TPaletteGuard() : FApp(QApplication::palette()), FTips(QToolTip::palette()) {}
  ~TPaletteGuard() {
    QApplication::setPalette(FApp);
    QToolTip::setPalette(FTips);
  }

 private:
  QPalette FApp;
  QPalette FTips;
};

QPalette DarkPalette() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(53, 53, 53));
  dark.setColor(QPalette::WindowText, Qt::white);
  dark.setColor(QPalette::Base, QColor(35, 35, 35));
  dark.setColor(QPalette::Text, Qt::white);
  dark.setColor(QPalette::Button, QColor(53, 53, 53));
  dark.setColor(QPalette::ButtonText, Qt::white);
  dark.setColor(QPalette::ToolTipBase, Qt::black);
  dark.setColor(QPalette::ToolTipText, Qt::white);
  return dark;
}

double Luminance(QColor c) {
  const auto lin = [](double v) {
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
}

double Contrast(QColor a, QColor b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Pixels of the icon that stand out from the toolbar's colour (contrast 3:1 or more).
int ReadablePixels(const QIcon& icon, QColor toolbar) {
  QImage image(24, 24, QImage::Format_ARGB32);
  image.fill(toolbar);
  QPainter painter(&image);
  icon.paint(&painter, QRect(0, 0, 24, 24));
  painter.end();
  int readable = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) {
      if (Contrast(image.pixelColor(x, y), toolbar) >= 3.0) ++readable;
    }
  }
  return readable;
}

class DesktopTest : public test::MainFormTest {};

TEST_F(DesktopTest, AForcedTooltipBackgroundComesWithReadableText) {
  TPaletteGuard guard;
  QPalette tips = QToolTip::palette();
  tips.setColor(QPalette::ToolTipBase, Qt::black);
  tips.setColor(QPalette::ToolTipText, Qt::white);
  QToolTip::setPalette(tips);
  CreateForm();
  EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), QColor(255, 255, 225));
  EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipText), QColor(0, 0, 0));
  EXPECT_EQ(QToolTip::palette().color(QPalette::Inactive, QPalette::ToolTipText), QColor(0, 0, 0));

  // A background that is not black stays with its own text colour.
  tips.setColor(QPalette::ToolTipBase, QColor(40, 40, 40));
  QToolTip::setPalette(tips);
  MakeTooltipsReadable();
  EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), QColor(40, 40, 40));
  EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipText), QColor(Qt::white));
}

TEST_F(DesktopTest, OurToolbarPicturesReadOnLightAndDarkToolbars) {
  for (TToolbarIcon icon :
       {TToolbarIcon::New, TToolbarIcon::Open, TToolbarIcon::Save, TToolbarIcon::Print,
        TToolbarIcon::Run, TToolbarIcon::Stop, TToolbarIcon::Undo, TToolbarIcon::Redo,
        TToolbarIcon::Zoom, TToolbarIcon::Chooser}) {
    const QIcon own = OwnToolbarIcon(icon);
    ASSERT_FALSE(own.isNull());
    EXPECT_FALSE(ToolbarIcon(icon).isNull());
    for (QColor toolbar : {QColor(239, 239, 239), QColor(53, 53, 53), QColor(30, 30, 30)}) {
      EXPECT_GE(ReadablePixels(own, toolbar), 40)
          << static_cast<int>(icon) << " on " << toolbar.name().toStdString();
    }
  }
}

TEST_F(DesktopTest, UnderADarkPaletteTheDrawingKeepsItsWhitePaper) {
  TPaletteGuard guard;
  QApplication::setPalette(DarkPalette());
  CreateForm();
  FForm->MenuViewShowGrid()->trigger();  // no grid: nothing but paper
  ASSERT_FALSE(FForm->ShowGrid());
  FForm->View().DrawDisplay();
  const QImage shown = FForm->View().Display()->grab().toImage();
  ASSERT_FALSE(shown.isNull());
  for (QPoint p : {QPoint(2, 2), QPoint(shown.width() / 2, shown.height() / 2),
                   QPoint(shown.width() - 3, shown.height() - 3)}) {
    EXPECT_EQ(shown.pixelColor(p), QColor(Qt::white)) << p.x() << "," << p.y();
  }
}

TEST_F(DesktopTest, EveryWindowCarriesTheProgramIconAndTheDesktopFileName) {
  SetProgramNames();
  SetProgramIdentity();
  EXPECT_EQ(QCoreApplication::applicationName(), "Orvela");
  EXPECT_EQ(QCoreApplication::applicationVersion(), "1.2.1.0");
  EXPECT_EQ(QGuiApplication::desktopFileName(), "com.kestrinsoftware.orvela");
  CreateForm();
  const qint64 program = QGuiApplication::windowIcon().cacheKey();
  ASSERT_FALSE(QGuiApplication::windowIcon().isNull());
  for (QWidget* window :
       {static_cast<QWidget*>(FForm.get()), static_cast<QWidget*>(FForm->OptionsDialog()),
        static_cast<QWidget*>(FForm->AboutForm())}) {
    EXPECT_EQ(window->windowIcon().cacheKey(), program) << window->objectName().toStdString();
  }
  // The caption has no display name appended.
  EXPECT_EQ(FForm->windowTitle(), "Orvela [Untitled]");
}

TEST(HelpWindowPlacementTest, OpensBesideTheMainWindowInsideTheScreen) {
  const QRect screen(0, 0, 1920, 1080);
  const QSize help(560, 650);
  // Room on the right: beside it, at its top.
  EXPECT_EQ(HelpWindowPosition(QRect(100, 50, 820, 560), help, screen), QPoint(928, 50));
  // No room on the right: on the left.
  EXPECT_EQ(HelpWindowPosition(QRect(900, 80, 820, 560), help, screen), QPoint(332, 80));
  // Room on neither side: against the screen's edge on the roomier side; low windows move up.
  EXPECT_EQ(HelpWindowPosition(QRect(200, 600, 1500, 400), help, screen), QPoint(1360, 430));
  EXPECT_EQ(HelpWindowPosition(QRect(300, 60, 1500, 400), help, screen), QPoint(0, 60));

  // A second screen right of the first, its top lower: the same rules inside it.
  const QRect second(1920, 200, 1280, 1024);
  EXPECT_EQ(HelpWindowPosition(QRect(2000, 300, 600, 500), help, second), QPoint(2608, 300));
  EXPECT_EQ(HelpWindowPosition(QRect(2600, 300, 500, 500), help, second), QPoint(2032, 300));
  // A dialog in the middle leaves room on neither side: the roomier right one, over the
  // dialog as little as can be; a window above the screen's top comes down to it.
  EXPECT_EQ(HelpWindowPosition(QRect(2200, 100, 600, 500), help, second), QPoint(2640, 200));
}

TEST_F(DesktopTest, TheHelpWindowIsANormalWindowClosedByEscapeOrCtrlWThatKeepsItsSize) {
  CreateForm();
  FForm->move(20, 20);
  ShowHelpTopic(FForm.get(), HelpViewOptions);
  auto* help = qobject_cast<QWidget*>(FForm->findChild<QWidget*>("HelpWindow"));
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isWindow());
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowTitle(), "Orvela Help");
  EXPECT_EQ(help->windowModality(), Qt::NonModal);
  EXPECT_FALSE(help->windowFlags() & Qt::Dialog & ~Qt::Window);
  // Beside the main window, not at the screen's corner.
  const QRect screen = FForm->screen()->availableGeometry();
  EXPECT_EQ(help->pos(),
            HelpWindowPosition(FForm->frameGeometry(), help->frameGeometry().size(), screen));
  EXPECT_NE(help->pos(), screen.topLeft());

  QApplication::setActiveWindow(help);
  QTest::keyClick(help, Qt::Key_Escape);
  EXPECT_FALSE(help->isVisible());

  help->resize(700, 480);
  ShowHelpTopic(FForm.get(), HelpCalcOptions);
  EXPECT_TRUE(help->isVisible());
  QApplication::setActiveWindow(help);
  QTest::keyClick(help, Qt::Key_W, Qt::ControlModifier);
  EXPECT_FALSE(help->isVisible());
  ShowHelpTopic(FForm.get(), HelpWireWindow);
  EXPECT_EQ(help->size(), QSize(700, 480));  // the size of the session
  help->close();
}

}  // namespace
}  // namespace orvela
