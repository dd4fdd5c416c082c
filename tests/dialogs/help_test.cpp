// The help window: its pages and topics, its buttons and search, and F1 in the dialogs.
#include "platform/help.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "dialog_fixture.h"
#include "dialogs/toothinf.h"
#include "dialogs/wireinf.h"
#include "model/wire.h"
#include "scenes.h"

namespace orvela {
namespace {

QWidget* HelpWindowOf(const QWidget& owner) { return owner.findChild<QWidget*>("HelpWindow"); }

QTextBrowser* BrowserOf(const QWidget& owner) {
  return owner.findChild<QTextBrowser*>("HelpBrowser");
}

QString PageOf(const QWidget& owner) {
  return QFileInfo(BrowserOf(owner)->source().toLocalFile()).fileName();
}

TEST(HelpTest, EveryTopicOpensThePageThatHoldsItsAnchor) {
  QWidget owner;
  owner.show();
  for (const char* topic : {HelpContents, HelpGettingStarted, HelpMainWindow, HelpAddTooth,
                            HelpViewOptions, HelpCalcOptions, HelpGeneralOptions, HelpWireWindow,
                            HelpToothWindow, HelpToothPage, HelpPerioPage, "NoSuchTopic"}) {
    ShowHelpTopic(&owner, QString::fromLatin1(topic));
    QTextBrowser* browser = BrowserOf(owner);
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->window()->isVisible());
    const QString expected =
        QString::fromLatin1(topic) == "NoSuchTopic" ? QString(HelpContents) : topic;
    EXPECT_EQ(browser->source().fragment(), expected);
    QFile page(browser->source().toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << topic;
    EXPECT_TRUE(page.readAll().contains(QStringLiteral("name=\"%1\"").arg(expected).toUtf8()))
        << topic;
  }
  // The texts the dialogs' topics have always had.
  ShowHelpTopic(&owner, HelpViewOptions);
  for (const char* words : {"Grid Density", "Zero Width Brackets", "Auto Stop", "Threshold"}) {
    EXPECT_TRUE(BrowserOf(owner)->toPlainText().contains(QLatin1String(words))) << words;
  }
  ShowHelpTopic(&owner, HelpWireWindow);
  for (const char* words : {"Burstone Class", "Angle Ratio"}) {
    EXPECT_TRUE(BrowserOf(owner)->toPlainText().contains(QLatin1String(words))) << words;
  }
  // A later topic of a page lies further down it: opening one scrolls to it.
  ShowHelpTopic(&owner, HelpViewOptions);
  const int viewAt = BrowserOf(owner)->verticalScrollBar()->value();
  ShowHelpTopic(&owner, HelpCalcOptions);
  EXPECT_GT(BrowserOf(owner)->verticalScrollBar()->value(), viewAt);
}

TEST(HelpTest, BackForwardHomeAndASearchThatOpensThePagesFound) {
  QWidget owner;
  owner.show();
  ShowHelpTopic(&owner, HelpWireWindow);
  QWidget* window = HelpWindowOf(owner);
  auto* back = window->findChild<QToolButton*>("HelpBack");
  auto* forward = window->findChild<QToolButton*>("HelpForward");
  auto* home = window->findChild<QToolButton*>("HelpHome");
  ASSERT_TRUE(back && forward && home);
  QTest::mouseClick(home, Qt::LeftButton);
  EXPECT_EQ(PageOf(owner), "index.html");
  ASSERT_TRUE(back->isEnabled());
  QTest::mouseClick(back, Qt::LeftButton);
  EXPECT_EQ(PageOf(owner), "wire-info.html");
  ASSERT_TRUE(forward->isEnabled());
  QTest::mouseClick(forward, Qt::LeftButton);
  EXPECT_EQ(PageOf(owner), "index.html");

  auto* search = window->findChild<QLineEdit*>("HelpSearch");
  auto* results = window->findChild<QListWidget*>("HelpResults");
  ASSERT_TRUE(search && results);
  EXPECT_FALSE(results->isVisible());
  // Every word, in any letter case, in any order.
  QTest::keyClicks(search, "RATIO burstone");
  ASSERT_TRUE(results->isVisible());
  QStringList titles;
  for (int i = 0; i < results->count(); ++i) titles << results->item(i)->text();
  EXPECT_TRUE(titles.contains("The Wire window")) << titles.join(", ").toStdString();
  EXPECT_FALSE(titles.contains("The keyboard"));
  QListWidgetItem* classes = nullptr;
  for (int i = 0; i < results->count(); ++i) {
    if (results->item(i)->text().startsWith("The geometry classes")) classes = results->item(i);
  }
  ASSERT_NE(classes, nullptr);
  QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                    results->visualItemRect(classes).center());
  EXPECT_EQ(PageOf(owner), "geometry-classes.html");

  search->clear();
  EXPECT_FALSE(results->isVisible());
  QTest::keyClicks(search, "burstone xyzzy");
  ASSERT_EQ(results->count(), 1);
  EXPECT_EQ(results->item(0)->flags(), Qt::NoItemFlags);  // no page: a note, not a link
  window->close();
}

class HelpKeyTest : public test::DialogTest {
 protected:
  // F1 where the focus is, with the dialog the active window as the user has it.
  static QString F1On(QWidget* focus) {
    QApplication::setActiveWindow(focus->window());
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_F1);
    return HelpTopic();
  }
};

TEST_F(HelpKeyTest, F1InToothInfoOpensThePageShownAndInTheWireWindowItsTopic) {
  TSetup scene;
  test::AddCanineAndPremolarScene(scene);
  TToothInfDlg tooth;
  tooth.SetLibraryPath(FLibrary);
  tooth.SetTooth(scene.ToothList()[0].get());
  QString onTooth, onButton, onPerio;
  Exec(tooth, [&] {
    onTooth = F1On(Find<QWidget>(tooth, "ScrollBarRoot"));
    // Outside the pages, the page shown decides.
    Find<QTabWidget>(tooth, "PageControl1")->setCurrentIndex(1);
    onButton = F1On(Find<QWidget>(tooth, "OKBut"));
    onPerio = F1On(Find<QWidget>(tooth, "PerioDisplay"));
    // Beside the dialog that asked, not the window behind it.
    const QWidget* help = HelpWindowOf(tooth);
    EXPECT_EQ(help->pos(), HelpWindowPosition(tooth.frameGeometry(), help->frameGeometry().size(),
                                              tooth.screen()->availableGeometry()));
    HelpWindowOf(tooth)->close();
    tooth.accept();
  });
  EXPECT_EQ(onTooth, "ToothPage");
  EXPECT_EQ(onButton, "PerioPage");
  EXPECT_EQ(onPerio, "PerioPage");

  TWireStraight wire;
  TWireInfo wireInfo;
  wireInfo.SetWire(&wire);
  QString onWire;
  Exec(wireInfo, [&] {
    onWire = F1On(Find<QWidget>(wireInfo, "WireSizeCB"));
    wireInfo.accept();
  });
  EXPECT_EQ(onWire, "WireWindow");
}

}  // namespace
}  // namespace orvela
