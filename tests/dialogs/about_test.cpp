#include "dialogs/about.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace orvela {
namespace {

// Stands in for the browser: records the addresses the program asks to open.
class TUrlRecorder : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> Opened;

 public slots:
  void Open(const QUrl& url) { Opened.append(url); }
};

TEST(AboutFormTest, ShowsNameVersionAndOpensTheWebsite) {
  TAboutForm about;
  about.show();
  const auto* name = about.findChild<QLabel*>("ProductName");
  const auto* version = about.findChild<QLabel*>("Version");
  const auto* lines = about.findChild<QLabel*>("Comments");
  const auto* icon = about.findChild<QLabel*>("ProgramIcon");
  ASSERT_TRUE(name && version && lines && icon);
  EXPECT_EQ(name->text(), "Orvela");
  EXPECT_TRUE(name->font().bold());
  EXPECT_GT(name->font().pointSizeF(), 2 * version->font().pointSizeF());
  EXPECT_EQ(version->text(), "Version 1.2.1.0");
  EXPECT_EQ(lines->text().count('\n'), 2);
  EXPECT_TRUE(lines->text().section('\n', 2).contains("GPL-3.0-or-later"));  // the SPDX tag
  EXPECT_FALSE(icon->pixmap().isNull());  // the icon is compiled in
  EXPECT_LT(icon->geometry().right(), name->geometry().left());

  TUrlRecorder recorder;
  const QUrl site(QString::fromLatin1(MakerWebsite));
  QDesktopServices::setUrlHandler(site.scheme(), &recorder, "Open");
  QTest::mouseClick(about.findChild<QPushButton*>("WebsiteBut"), Qt::LeftButton);
  QDesktopServices::unsetUrlHandler(site.scheme());
  ASSERT_EQ(recorder.Opened.size(), 1);
  EXPECT_EQ(recorder.Opened.front(), site);

  QTimer::singleShot(0, &about, [&] {
    QTest::mouseClick(about.findChild<QPushButton*>("OKBut"), Qt::LeftButton);
  });
  EXPECT_EQ(about.exec(), QDialog::Accepted);
}

}  // namespace
}  // namespace orvela

#include "about_test.moc"
