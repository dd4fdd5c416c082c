#include "workspace/toptions.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "platform/messages.h"
#include "util/format.h"

namespace orvela {
namespace {

// The options dialog under a decimal-comma locale, driven through its real widgets while it
// runs modally; the test closes it.
class OptionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FSavedFormat = UserFormatSettings();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    SetUserFormatSettings({",", ".", ".", "dd.mm.yyyy", "hh:mm:ss"});
  }
  void TearDown() override {
    SetUserFormatSettings(FSavedFormat);
    QLocale::setDefault(QLocale::c());
  }

  // Runs the exchange; `drive` acts on the shown dialog and must close it.
  bool Exchange(TOptionsDialog& dialog, TPreferences& prefs, std::function<void()> drive) {
    bool driven = false;
    QTimer::singleShot(0, &dialog, [&] {
      driven = dialog.isVisible() && dialog.isModal();
      drive();
      if (dialog.isVisible()) dialog.reject();  // never leave a modal loop open
    });
    const bool ok = dialog.Execute(prefs);
    EXPECT_TRUE(driven);
    return ok;
  }

  static void ShowPage(TOptionsDialog& dialog, int index) {
    QTabBar* bar = dialog.Pages()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    ASSERT_EQ(dialog.Pages()->currentIndex(), index);
  }

  static void Click(QWidget* widget) {
    ASSERT_TRUE(widget->isVisible());
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
  }

  static void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  TFormatSettings FSavedFormat;
};

TEST_F(OptionsDialogTest, OkStoresTheControlsAndReadsLocalNumbers) {
  TOptionsDialog dialog;
  TPreferences prefs;
  prefs.ThresholdForce = 1.5;
  prefs.ThresholdMoment = 37.0;  // 3.7 gf.mm
  EXPECT_EQ(dialog.windowTitle(), "Options");

  const bool ok = Exchange(dialog, prefs, [&] {
    EXPECT_EQ(dialog.Pages()->currentIndex(), 0);  // first opens on "General"
    EXPECT_FALSE(dialog.RememberRectCB()->isChecked());
    Click(dialog.RememberRectCB());

    ShowPage(dialog, 1);
    EXPECT_TRUE(dialog.GridDensityItem(2)->isChecked());
    EXPECT_TRUE(dialog.ForcesOnItem(0)->isChecked());
    Click(dialog.GridDensityItem(0));
    Click(dialog.ViewGrid());
    Click(dialog.ForcesOnItem(1));
    Click(dialog.ViewM());
    Click(dialog.DrawFAtt());
    Click(dialog.NoWidthCB());

    ShowPage(dialog, 2);
    // Shown in the user's format, as whole numbers (ties to even).
    EXPECT_EQ(dialog.ThrForce()->text(), "2");
    EXPECT_EQ(dialog.ThrMom()->text(), "4");
    EXPECT_TRUE(dialog.ThrMom()->toolTip().contains('\n'));
    Type(dialog.ThrForce(), "2,5");
    Click(dialog.AutoStop());
    Click(dialog.OKBut());
  });
  ASSERT_TRUE(ok);

  TPreferences expected;
  expected.RememberWindowRect = true;
  expected.GridDensity = 0;
  expected.ShowGrid = false;
  expected.BracketForces = true;
  expected.ViewMoments = false;
  expected.DrawForcesAtAttachment = true;
  expected.ZeroWidthBrackets = true;
  expected.ThresholdForce = 2.5;
  expected.ThresholdMoment = 40.0;  // the whole number shown is what OK keeps
  expected.AutoStop = false;
  EXPECT_EQ(prefs, expected);
}

TEST_F(OptionsDialogTest, BoxesWithoutNumbersGiveTheFallbacks) {
  TOptionsDialog dialog;
  TPreferences prefs;
  prefs.ThresholdForce = 7;
  prefs.ThresholdMoment = 50;
  prefs.GridDensity = 3;  // 1 mm has no item and survives an OK
  ASSERT_TRUE(Exchange(dialog, prefs, [&] {
    EXPECT_FALSE(dialog.GridDensityItem(0)->isChecked() || dialog.GridDensityItem(1)->isChecked() ||
                 dialog.GridDensityItem(2)->isChecked());
    ShowPage(dialog, 2);
    EXPECT_EQ(dialog.ThrMom()->text(), "5");
    Type(dialog.ThrForce(), "x");
    Type(dialog.ThrMom(), "1.5");  // a point is not this locale's decimal separator
    QTest::keyClick(dialog.ThrMom(), Qt::Key_Return);
  }));
  EXPECT_DOUBLE_EQ(prefs.ThresholdForce, 1.0);
  EXPECT_DOUBLE_EQ(prefs.ThresholdMoment, 100.0);
  EXPECT_EQ(prefs.GridDensity, 3);
}

TEST_F(OptionsDialogTest, ThresholdsAutoStopCannotUseAreRefusedAndTheDialogStays) {
  std::vector<QString> messages;
  SetMessageHook([&messages](TMessageKind, const QString& text) {
    messages.push_back(text);
    return QMessageBox::Ok;
  });
  TOptionsDialog dialog;
  TPreferences prefs;
  prefs.ThresholdMoment = -50;  // shown as it is, refused by OK
  ASSERT_TRUE(Exchange(dialog, prefs, [&] {
    ShowPage(dialog, 2);
    EXPECT_EQ(dialog.ThrMom()->text(), "-5");
    Click(dialog.OKBut());
    EXPECT_TRUE(dialog.isVisible());
    // Ten times 1,7e308 gf.mm is more than a number holds.
    Type(dialog.ThrMom(), "1,7e308");
    QTest::keyClick(dialog.ThrMom(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    Type(dialog.ThrMom(), "0");
    Type(dialog.ThrForce(), "-0,5");
    ShowPage(dialog, 0);
    Click(dialog.OKBut());
    EXPECT_EQ(dialog.Pages()->currentIndex(), 2);  // back on the box at fault
    EXPECT_EQ(dialog.focusWidget(), dialog.ThrForce());
    Type(dialog.ThrForce(), "1,7e308");
    Click(dialog.OKBut());
  }));
  SetMessageHook({});
  EXPECT_DOUBLE_EQ(prefs.ThresholdForce, 1.7e308);
  EXPECT_DOUBLE_EQ(prefs.ThresholdMoment, 0.0);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0], "The moment threshold '-5' is negative: Auto Stop could never end a run.");
  EXPECT_EQ(messages[1], "The moment threshold '1,7e308' is too large.");
  EXPECT_EQ(messages[2],
            "The force threshold '-0,5' is negative: Auto Stop could never end a run.");
}

TEST_F(OptionsDialogTest, CancelChangesNothingAndTheLastPageIsKept) {
  TOptionsDialog dialog;
  TPreferences prefs;
  prefs.ThresholdMoment = 25.0;
  const TPreferences before = prefs;
  const bool ok = Exchange(dialog, prefs, [&] {
    Click(dialog.RememberRectCB());
    ShowPage(dialog, 1);
    Click(dialog.GridDensityItem(1));
    Click(dialog.SnapGrid());
    Click(dialog.ViewF());
    Click(dialog.DrawFCRes());
    Click(dialog.DrawFBr());
    ShowPage(dialog, 2);
    Type(dialog.ThrForce(), "9");
    Click(dialog.AutoStop());
    Click(dialog.CancelBut());
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(prefs, before);

  // The next opening starts on the page left last, with the controls filled afresh.
  ASSERT_FALSE(Exchange(dialog, prefs, [&] {
    EXPECT_EQ(dialog.Pages()->currentIndex(), 2);
    EXPECT_EQ(dialog.ThrForce()->text(), "1");
    EXPECT_TRUE(dialog.AutoStop()->isChecked());
    QTest::keyClick(&dialog, Qt::Key_Escape);
  }));
  EXPECT_EQ(prefs, before);
}

TEST_F(OptionsDialogTest, HelpOpensTheTopicOfThePage) {
  TOptionsDialog dialog;
  TPreferences prefs;
  auto helpSource = [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == "HelpWindow" && w->isVisible()) {
        return w->findChild<QTextBrowser*>("HelpBrowser")->source().fragment();
      }
    }
    return QString();
  };
  QString onGeneral, onView, onCalculation;
  Exchange(dialog, prefs, [&] {
    Click(dialog.HelpBut());
    onGeneral = helpSource();
    ShowPage(dialog, 1);
    Click(dialog.HelpBut());
    onView = helpSource();
    ShowPage(dialog, 2);
    Click(dialog.HelpBut());
    onCalculation = helpSource();
    Click(dialog.CancelBut());
  });
  EXPECT_EQ(onGeneral, "GeneralOptions");
  EXPECT_EQ(onView, "ViewOptions");
  EXPECT_EQ(onCalculation, "CalcOptions");

  // F1 opens the topic of the page that holds the focus.
  QStringList onKey;
  Exchange(dialog, prefs, [&] {
    QApplication::setActiveWindow(&dialog);
    for (int page : {0, 1, 2}) {
      ShowPage(dialog, page);
      QWidget* inside = nullptr;
      for (QWidget* w :
           dialog.findChild<QTabWidget*>("Pages")->currentWidget()->findChildren<QWidget*>()) {
        if (inside == nullptr && (w->focusPolicy() & Qt::TabFocus)) inside = w;
      }
      ASSERT_NE(inside, nullptr);
      inside->setFocus();
      QTest::keyClick(inside, Qt::Key_F1);
      onKey << helpSource();
    }
    Click(dialog.CancelBut());
  });
  EXPECT_EQ(onKey, QStringList({"GeneralOptions", "ViewOptions", "CalcOptions"}));
}

}  // namespace
}  // namespace orvela
