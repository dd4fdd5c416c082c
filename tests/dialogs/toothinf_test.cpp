#include "dialogs/toothinf.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTest>

#include "dialog_fixture.h"
#include "document/responcelibrary.h"
#include "mechanics/geometry.h"
#include "qt/dark_palette.h"
#include "scenes.h"

namespace orvela {
namespace {

using test::DialogTest;

class ToothInfDlgTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    FDialog.SetLibraryPath(FLibrary);
    test::AddCanineAndPremolarScene(FScene);
  }

  TTooth& Canine() { return *FScene.ToothList()[0]; }
  TTooth& Premolar() { return *FScene.ToothList()[1]; }

  QString Text(const char* label) { return Find<QLabel>(FDialog, label)->text(); }

  // The pixel of a curve point in PerioDisplay (0…100 onto 0…155, y up).
  static QPoint CurvePixel(int x, int y) {
    return {static_cast<int>(std::lround(x * 1.55)),
            static_cast<int>(std::lround((100 - y) * 1.55))};
  }

  void Drag(QPoint from, QPoint to) {
    QWidget* box = Find<QWidget>(FDialog, "PerioDisplay");
    QTest::mousePress(box, Qt::LeftButton, {}, from);
    QTest::mouseMove(box, to);
    QTest::mouseRelease(box, Qt::LeftButton, {}, to);
  }

  void ShowPerio() {
    Find<QTabWidget>(FDialog, "PageControl1")->setCurrentIndex(1);
    QApplication::processEvents();
  }

  // Types a name into the "Input" box that Save As... opens.
  void SaveAs(const QString& name) {
    bool asked = false;
    QTimer::singleShot(0, &FDialog, [&] {
      auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(input, nullptr);
      asked = input->windowTitle() == "Input" && input->labelText() == "Enter Responce name:";
      input->setTextValue(name);
      input->accept();
    });
    QTest::mouseClick(Find<QPushButton>(FDialog, "ButSaveResponce"), Qt::LeftButton);
    EXPECT_TRUE(asked);
  }

  void Pick(const QString& name) {
    auto* list = Find<QComboBox>(FDialog, "ResponceCB");
    const int index = list->findText(name);
    ASSERT_GE(index, 0) << name.toStdString();
    // Keyboard choice, as the user would: from no selection down to the item.
    list->setCurrentIndex(index == 0 ? -1 : index - 1);
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex(), index);
  }

  TSetup FScene;
  TToothInfDlg FDialog;
};

TEST_F(ToothInfDlgTest, CaptionControlsAndHelpTopic) {
  EXPECT_EQ(FDialog.windowTitle(), "Tooth Info");
  for (const char* name : {"PanelTop",     "PageControl1",
                           "OKBut",        "HelpBut",
                           "Display",      "ScrollBarRoot",
                           "AnatomicRoot", "FunctRoot",
                           "FunctArea",    "TipLbl",
                           "Tip",          "GroupBoxMove",
                           "dxLbl",        "dx",
                           "dyLbl",        "dy",
                           "ApplyBut",     "Ankylosed",
                           "PerioDisplay", "Label4",
                           "ResponceCB",   "ButSaveResponce",
                           "TotalForce",   "TotalForceX",
                           "TotalForceY",  "TotalMoment",
                           "ToothPage",    "PerioPage"}) {
    EXPECT_NE(FDialog.findChild<QWidget*>(name), nullptr) << name;
  }
  FDialog.SetTooth(&Canine());
  EXPECT_EQ(FDialog.Tooth(), &Canine());
  const int result = Exec(FDialog, [&] {
    const auto* pages = Find<QTabWidget>(FDialog, "PageControl1");
    EXPECT_EQ(pages->tabText(0), "Tooth");
    EXPECT_EQ(pages->tabText(1), "Perio");
    EXPECT_EQ(Text("PanelTop"), QString::fromStdString(Canine().Info()));
    QTest::mouseClick(Find<QPushButton>(FDialog, "HelpBut"), Qt::LeftButton);
    EXPECT_EQ(HelpTopic(), "ToothWindow");
    QTest::mouseClick(Find<QPushButton>(FDialog, "OKBut"), Qt::LeftButton);
  });
  EXPECT_EQ(result, QDialog::Accepted);
}

// Under a dark palette the tooth preview and the curve editor keep their light plot, on which
// the black outlines and curve and the dark-blue points show. With ORVELA_SNAPSHOT_DIR set
// both pages are saved there, to be looked at.
TEST_F(ToothInfDlgTest, ThePlotsStayLightUnderADarkPalette) {
  const QPalette saved = QApplication::palette();
  QApplication::setPalette(test::DarkPalette());
  FDialog.SetTooth(&Canine());
  const QByteArray dir = qgetenv("ORVELA_SNAPSHOT_DIR");
  Exec(FDialog, [&] {
    auto* pages = Find<QTabWidget>(FDialog, "PageControl1");
    for (const auto& [page, name] : {std::pair{0, "Display"}, std::pair{1, "PerioDisplay"}}) {
      pages->setCurrentIndex(page);
      QApplication::processEvents();
      const QImage plot = Find<QWidget>(FDialog, name)->grab().toImage();
      int light = 0;
      for (int y = 0; y < plot.height(); ++y) {
        for (int x = 0; x < plot.width(); ++x) light += qGray(plot.pixel(x, y)) > 200;
      }
      EXPECT_GT(light, plot.width() * plot.height() / 2) << name;
      if (!dir.isEmpty()) {
        FDialog.grab().save(QString::fromLocal8Bit(dir) + "/tooth_info_dark_" + name + ".png");
      }
    }
    FDialog.accept();
  });
  QApplication::setPalette(saved);
}

TEST_F(ToothInfDlgTest, BoneSupportFromFullToNone) {
  FDialog.SetTooth(&Canine());
  Exec(FDialog, [&] {
    auto* bar = Find<QScrollBar>(FDialog, "ScrollBarRoot");
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(Text("AnatomicRoot"), "Anatomic Root Length: 16.0");
    EXPECT_EQ(Text("FunctRoot"), "Supporting Root Length: 16.0");
    QTest::keyClick(bar, Qt::Key_End);
    EXPECT_EQ(bar->value(), 100);
    EXPECT_EQ(Text("FunctRoot"), "Supporting Root Length: 0.0");
    EXPECT_EQ(Text("FunctArea"), "Supporting Root Area: 0.0");
    EXPECT_NEAR(PointDistance(Canine().cRes(), Canine().apex), 0.0, 1e-9);
    EXPECT_EQ(Text("PanelTop"), QString::fromStdString(Canine().Info()));
  });
}

// Every number of the tooth the dialog could change, as bits.
std::vector<std::uint64_t> ToothBits(const TTooth& tooth) {
  std::vector<double> numbers;
  for (const TPointDouble p :
       {tooth.cusp, tooth.apex, tooth.cervixAnatomic, tooth.Cervix(), tooth.cRes()}) {
    numbers.insert(numbers.end(), {p.x, p.y});
  }
  for (const auto* outline : {&tooth.crown, &tooth.root}) {
    for (const TPointDouble p : *outline) numbers.insert(numbers.end(), {p.x, p.y});
  }
  for (const auto& bracket : tooth.Brackets()) {
    for (const TPointDouble p : {bracket->Origin(), bracket->Mesial(), bracket->Distal()})
      numbers.insert(numbers.end(), {p.x, p.y});
  }
  for (const TPoint p : tooth.Responce) numbers.insert(numbers.end(), {1.0 * p.x, 1.0 * p.y});
  numbers.push_back(tooth.Ankylosed() ? 1.0 : 0.0);
  std::vector<std::uint64_t> bits;
  for (const double d : numbers) bits.push_back(std::bit_cast<std::uint64_t>(d));
  return bits;
}

TEST_F(ToothInfDlgTest, LookingAtAToothLeavesItAsItWas) {
  TTooth& molar = test::AddTooth(FScene, 36, {400, 0});
  // The bar left elsewhere by another tooth, and a loss the bar can only show rounded.
  FDialog.SetTooth(&Canine());
  Exec(FDialog, [&] {
    for (int i = 0; i < 3; ++i)
      QTest::keyClick(Find<QScrollBar>(FDialog, "ScrollBarRoot"), Qt::Key_PageDown);
  });
  // As the catalogue places it (cRes 5.5 mm below the cervix, not at 40 % of 13.9 mm), then
  // with a loss the bar can show only rounded.
  for (const double loss : {0.0, 33.3}) {
    if (loss != 0.0) molar.SetSupportLoss(loss);
    const std::vector<std::uint64_t> before = ToothBits(molar);
    FDialog.SetTooth(&molar);
    EXPECT_EQ(Exec(FDialog,
                   [&] {
                     EXPECT_EQ(Find<QScrollBar>(FDialog, "ScrollBarRoot")->value(),
                               static_cast<int>(std::lround(loss)));
                     QTest::mouseClick(Find<QPushButton>(FDialog, "OKBut"), Qt::LeftButton);
                   }),
              QDialog::Accepted);
    EXPECT_EQ(ToothBits(molar), before) << loss;
    EXPECT_EQ(Exec(FDialog, [&] { QTest::keyClick(&FDialog, Qt::Key_Escape); }), QDialog::Rejected);
    EXPECT_EQ(ToothBits(molar), before) << loss;
    if (loss == 0.0) {
      EXPECT_NEAR(PointDistance(molar.cervixAnatomic, molar.cRes()), 55.0, 1e-9);
    }
  }
  // A real move of the bar applies its percentage.
  Exec(FDialog, [&] {
    QTest::keyClick(Find<QScrollBar>(FDialog, "ScrollBarRoot"), Qt::Key_Down);
    EXPECT_EQ(Text("FunctRoot"), "Supporting Root Length: 9.2");
  });
  EXPECT_NEAR(molar.rootLengthFunctional(), 0.66 * molar.rootLengthAnatomic(), 1e-9);
}

TEST_F(ToothInfDlgTest, AngulationIsAbsoluteShiftAddsUpAndBadTextIsIgnored) {
  TTooth& tooth = Canine();
  const TPointDouble cusp = tooth.cusp;
  FDialog.SetTooth(&tooth);
  Exec(FDialog, [&] {
    auto* tip = Find<QLineEdit>(FDialog, "Tip");
    auto* dx = Find<QLineEdit>(FDialog, "dx");
    auto* dy = Find<QLineEdit>(FDialog, "dy");
    auto* apply = Find<QPushButton>(FDialog, "ApplyBut");
    EXPECT_EQ(tip->text(), "0.00");
    EXPECT_EQ(dx->text(), "0");
    // Bad text anywhere: nothing turned or shifted, no message.
    tip->setText("ten");
    dx->setText("1x");
    dy->setText("");
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_EQ(tooth.cusp, cusp);

    tip->setText("10");
    dx->setText("0");
    QTest::mouseClick(apply, Qt::LeftButton);
    const TPointDouble turned = tooth.cusp;
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_NEAR(tooth.Tip() * 180.0 / Pi, 10.0, 1e-9);
    EXPECT_NEAR(PointDistance(tooth.cusp, turned), 0.0, 1e-9);
    EXPECT_EQ(FormatFloat("0.00", tooth.Tip() * 180.0 / Pi), "10.00");

    dx->setText("10");
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_NEAR(tooth.cusp.x - turned.x, 10.0, 1e-9);  // 1 mm
    EXPECT_NEAR(tooth.cusp.y, turned.y, 1e-9);
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_NEAR(tooth.cusp.x - turned.x, 20.0, 1e-9);
    EXPECT_EQ(Text("PanelTop"), QString::fromStdString(tooth.Info()));
    EXPECT_EQ(tip->text(), "10");
    // Enter in an edit applies once more and keeps the dialog open.
    QTest::keyClick(dx, Qt::Key_Return);
    EXPECT_NEAR(tooth.cusp.x - turned.x, 30.0, 1e-9);
    EXPECT_TRUE(FDialog.isVisible());

    auto* ankylosed = Find<QCheckBox>(FDialog, "Ankylosed");
    EXPECT_FALSE(ankylosed->isChecked());
    QTest::mouseClick(ankylosed, Qt::LeftButton, {}, QPoint(6, ankylosed->height() / 2));
    EXPECT_TRUE(tooth.Ankylosed());
  });
  EXPECT_TRUE(FMessages.empty());
}

TEST_F(ToothInfDlgTest, NumbersTheModelCannotHoldAreRefusedAndTheToothStays) {
  TTooth& tooth = Canine();
  const TPointDouble cusp = tooth.cusp;
  const TPointDouble cRes = tooth.cRes();
  ASSERT_GT(cRes.x, 0.0);
  ASSERT_LT(cRes.x, 1000.0);
  FDialog.SetTooth(&tooth);
  Exec(FDialog, [&] {
    auto* tip = Find<QLineEdit>(FDialog, "Tip");
    auto* dx = Find<QLineEdit>(FDialog, "dx");
    auto* apply = Find<QPushButton>(FDialog, "ApplyBut");
    // An angle that overflows, even with a good shift beside it.
    tip->setText("1e308");
    dx->setText("10");
    QTest::mouseClick(apply, Qt::LeftButton);
    // A shift off the model square either way, even with a good angle beside it.
    tip->setText("10");
    for (const char* shift : {"1e308", "-1e308"}) {
      dx->setText(QLatin1String(shift));
      QTest::mouseClick(apply, Qt::LeftButton);
    }
    EXPECT_EQ(tooth.cusp, cusp);
    EXPECT_EQ(tooth.cRes(), cRes);
    // Onto the square's edge is still on it.
    tip->setText("0");
    dx->setText(QString::number(1000.0 - cRes.x, 'g', 17));
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(tooth.cRes().x, 1000.0);
  });
  ASSERT_EQ(FMessages.size(), 3u);
  EXPECT_EQ(FMessages[0].Kind, TMessageKind::Error);
  EXPECT_EQ(FMessages[0].Text,
            "'1e308' is too large for an angulation.\n\nThe tooth keeps its place.");
  EXPECT_EQ(FMessages[1].Text,
            "A shift by dx '1e308' and dy '0' would move the tooth off the model area (0 to 100 "
            "mm both ways).\n\nThe tooth keeps its place.");
  EXPECT_TRUE(FMessages[2].Text.startsWith("A shift by dx '-1e308'"));
}

TEST_F(ToothInfDlgTest, MomentShownIsTheSumsWhereTheSummationLeftIt) {
  TTooth& tooth = Canine();
  const TForceMoment total = tooth.TotalForce();
  TForceMoment atCRes = total;
  atCRes.Reorient(tooth.cRes());
  // Otherwise the test could not tell the two apart.
  ASSERT_GT(std::abs(total.m - atCRes.m), 10.0);
  const TWireStraight& wire = *FScene.WireList()[0];
  EXPECT_DOUBLE_EQ(total.m, wire.Forces(test::AttachmentOf(tooth, "Mesial")).m);
  FDialog.SetTooth(&tooth);
  Exec(FDialog, [&] {
    EXPECT_EQ(
        Text("TotalMoment"),
        QString::fromStdString("Total Moment: " + FormatFloat("0.0", total.m / 10.0) + " gf.mm"));
    EXPECT_EQ(
        Text("TotalForce"),
        QString::fromStdString("Total Force: " + FormatFloat("0.0", total.Magnitude()) + " gf"));
    EXPECT_EQ(Text("TotalForceX"),
              QString::fromStdString("Total Force (x): " + FormatFloat("0.0", total.x) + " gf"));
  });
}

TEST_F(ToothInfDlgTest, DecimalCommaLocale) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  SetUserFormatSettings({",", ".", ".", "dd.mm.yyyy", "hh:mm:ss"});
  TTooth& tooth = Canine();
  tooth.Rotate(tooth.cRes(), 10.0 * Pi / 180.0);
  FDialog.SetTooth(&tooth);
  Exec(FDialog, [&] {
    auto* tip = Find<QLineEdit>(FDialog, "Tip");
    EXPECT_EQ(tip->text(), "10,00");
    EXPECT_EQ(Text("AnatomicRoot"), "Anatomic Root Length: 16,0");
    tip->setText("10,5");
    QTest::mouseClick(Find<QPushButton>(FDialog, "ApplyBut"), Qt::LeftButton);
  });
  EXPECT_NEAR(tooth.Tip() * 180.0 / Pi, 10.5, 1e-9);
  QLocale::setDefault(QLocale::c());
}

TEST_F(ToothInfDlgTest, DraggingCurvePointsKeepsThemInOrderAndInTheBox) {
  TTooth& tooth = Canine();
  FDialog.SetTooth(&tooth);
  FDialog.show();
  ShowPerio();
  // Point 2 to the left past point 1 stops at point 1's x; the y follows.
  Drag(CurvePixel(50, 80), CurvePixel(5, 60));
  EXPECT_EQ(tooth.Responce[2], (TPoint{25, 60}));
  EXPECT_FALSE(FDialog.PerioDragging());
  // Point 0 left of the box and below it.
  Drag(CurvePixel(10, 50), QPoint(-40, 400));
  EXPECT_EQ(tooth.Responce[0], (TPoint{0, 0}));
  // Point 4 right of the box and above it.
  Drag(CurvePixel(90, 70), QPoint(400, -40));
  EXPECT_EQ(tooth.Responce[4], (TPoint{100, 100}));
  // Point 3 right past point 4 stops at its x.
  Drag(CurvePixel(75, 75), CurvePixel(99, 75));
  EXPECT_EQ(tooth.Responce[3], (TPoint{99, 75}));
  EXPECT_EQ(Premolar().Responce, DefaultResponce);
}

TEST_F(ToothInfDlgTest, PressBesideThePointsStartsNoDragAndTheCursorMarksThem) {
  TTooth& tooth = Canine();
  FDialog.SetTooth(&tooth);
  FDialog.show();
  ShowPerio();
  QWidget* box = Find<QWidget>(FDialog, "PerioDisplay");
  QTest::mouseMove(box, CurvePixel(25, 75));
  EXPECT_EQ(box->cursor().shape(), Qt::SizeAllCursor);
  QTest::mouseMove(box, CurvePixel(30, 75));
  EXPECT_EQ(box->cursor().shape(), Qt::ArrowCursor);
  // Four units off a point: a miss.
  Drag(CurvePixel(29, 75), CurvePixel(60, 20));
  EXPECT_EQ(tooth.Responce, DefaultResponce);
  QTest::mousePress(box, Qt::LeftButton, {}, CurvePixel(50, 20));
  EXPECT_FALSE(FDialog.PerioDragging());
  QTest::mouseRelease(box, Qt::LeftButton, {}, CurvePixel(50, 20));
}

TEST_F(ToothInfDlgTest, SavingTheDefaultCurveWritesTheExactLine) {
  WriteLibrary("; curves\n[Other]\nSoft=1\n");
  FDialog.SetTooth(&Canine());
  Exec(FDialog, [&] {
    SaveAs("Soft");
    auto* list = Find<QComboBox>(FDialog, "ResponceCB");
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentText(), "Soft");
  });
  EXPECT_EQ(ReadLibrary(),
            "; curves\n[Other]\nSoft=1\n[Responce]\nSoft=10, 50, 25, 75, 50, 80, 75, 75, 90, 70\n");
  EXPECT_TRUE(FMessages.empty());
}

TEST_F(ToothInfDlgTest, ReplacingANameOfAnotherCaseAsksFirst) {
  WriteLibrary(
      "[Responce]\nSoft=1, 2, 3, 4, 5, 6, 7, 8, 9, 10\nHard=5, 10, 20, 30, 60, 40, 80, 45, 95, "
      "50\n");
  FDialog.SetTooth(&Canine());
  Exec(FDialog, [&] {
    FAnswer = QMessageBox::No;
    SaveAs("SOFT");
    ASSERT_EQ(FMessages.size(), 1u);
    EXPECT_EQ(FMessages[0].Kind, TMessageKind::Information);
    EXPECT_EQ(FMessages[0].Text, "A Responce type of this name is already defined. Replace?");
    EXPECT_NE(ReadLibrary().find("Soft=1, 2,"), std::string::npos);
    FAnswer = QMessageBox::Yes;
    SaveAs("SOFT");
    EXPECT_EQ(FMessages.size(), 2u);
    auto* list = Find<QComboBox>(FDialog, "ResponceCB");
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentText(), "SOFT");
  });
  EXPECT_EQ(ReadLibrary(),
            "[Responce]\nSOFT=10, 50, 25, 75, 50, 80, 75, 75, 90, 70\n"
            "Hard=5, 10, 20, 30, 60, 40, 80, 45, 95, 50\n");
}

TEST_F(ToothInfDlgTest, LoadingACurveChangesOnlyThatTooth) {
  WriteLibrary(
      "[Responce]\nSoft=10, 50, 25, 75, 50, 80, 75, 75, 90, 70\n"
      "Hard = 5, 10, 20, 30, 60, 40, 80, 45, 95, 50\n");
  FDialog.SetTooth(&Canine());
  Exec(FDialog, [&] {
    auto* list = Find<QComboBox>(FDialog, "ResponceCB");
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentIndex(), -1);
    Pick("Hard");
  });
  const TResponceCurve hard{{{5, 10}, {20, 30}, {60, 40}, {80, 45}, {95, 50}}};
  EXPECT_EQ(Canine().Responce, hard);
  FDialog.SetTooth(&Premolar());
  Exec(FDialog, [&] { EXPECT_EQ(Find<QComboBox>(FDialog, "ResponceCB")->currentIndex(), -1); });
  EXPECT_EQ(Premolar().Responce, DefaultResponce);
  EXPECT_EQ(Canine().Responce, hard);
  EXPECT_TRUE(FMessages.empty());
}

TEST_F(ToothInfDlgTest, ABadLibraryLineLeavesTheCurveAsItWas) {
  WriteLibrary(
      "[Responce]\nBad=1, 2, 3, x4, 5, 6, 7, 8, 9, 10\nFar=1, 2, 3, 4, 5, 6, 7, 8, 9, 2147483647\n"
      "Back=10, 50, 25, 75, 20, 80, 75, 75, 90, 70\n");
  Canine().SetResponce({{{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}});
  const TResponceCurve before = Canine().Responce;
  FDialog.SetTooth(&Canine());
  Exec(FDialog, [&] {
    for (const char* name : {"Bad", "Far", "Back"}) Pick(QLatin1String(name));
  });
  EXPECT_EQ(Canine().Responce, before);
  ASSERT_EQ(FMessages.size(), 3u);
  EXPECT_EQ(FMessages[0].Kind, TMessageKind::Error);
  EXPECT_EQ(FMessages[0].Text,
            "'x4' is not a valid integer value in the Responce \"Bad\" of the "
            "library file " +
                QString::fromStdString(FLibrary) + ".\n\nThe tooth keeps its curve.");
  EXPECT_TRUE(
      FMessages[1].Text.startsWith("'2147483647' is outside the range 0 to 100 in the "
                                   "Responce \"Far\""))
      << FMessages[1].Text.toStdString();
  EXPECT_TRUE(
      FMessages[2].Text.startsWith("The x value '20' is smaller than the one before it "
                                   "in the Responce \"Back\""))
      << FMessages[2].Text.toStdString();
}

TEST_F(ToothInfDlgTest, ALibraryThatCannotBeWrittenLosesNothing) {
  WriteLibrary("[Responce]\nSoft=10, 50, 25, 75, 50, 80, 75, 75, 90, 70\n");
  const std::string missingFolder = (FDir.Path() / "gone" / "orvela.INI").string();
  FDialog.SetTooth(&Canine());
  Exec(FDialog, [&] {
    // The folder goes while the dialog is open: the list keeps what it showed.
    FDialog.SetLibraryPath(missingFolder);
    SaveAs("Mine");
    auto* list = Find<QComboBox>(FDialog, "ResponceCB");
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(list->itemText(0), "Soft");
  });
  ASSERT_EQ(FMessages.size(), 1u);
  EXPECT_EQ(FMessages[0].Kind, TMessageKind::Error);
  EXPECT_TRUE(FMessages[0].Text.contains(QString::fromStdString(missingFolder)));
  EXPECT_TRUE(FMessages[0].Text.contains("does not exist"));
  EXPECT_EQ(Canine().Responce, DefaultResponce);
}

TEST_F(ToothInfDlgTest, AReadOnlyLibraryFolderIsReported) {
  WriteLibrary("[Responce]\nSoft=10, 50, 25, 75, 50, 80, 75, 75, 90, 70\n");
  const std::string before = ReadLibrary();
  std::filesystem::permissions(
      FDir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (QFileInfo(QString::fromStdString(FDir.Path().string())).isWritable()) {
    GTEST_SKIP() << "this user writes into read-only folders";
  }
  FDialog.SetTooth(&Canine());
  Exec(FDialog, [&] { SaveAs("Mine"); });
  ASSERT_EQ(FMessages.size(), 1u);
  EXPECT_TRUE(FMessages[0].Text.contains(QString::fromStdString(FLibrary)));
  EXPECT_TRUE(FMessages[0].Text.contains("read-only"));
  EXPECT_EQ(ReadLibrary(), before);
}

TEST_F(ToothInfDlgTest, OddLibraryFilesGiveAListWithoutCrashOrFreeze) {
  FDialog.SetTooth(&Canine());
  // Missing, then empty.
  Exec(FDialog, [&] { EXPECT_EQ(Find<QComboBox>(FDialog, "ResponceCB")->count(), 0); });
  WriteLibrary("");
  Exec(FDialog, [&] { EXPECT_EQ(Find<QComboBox>(FDialog, "ResponceCB")->count(), 0); });

  std::string garbage = "[Responce]\n";
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
  garbage += "\nGood=10, 50, 25, 75, 50, 80, 75, 75, 90, 70\n";
  garbage += std::string(100000, 'k') + "=1\n";
  garbage += "Long=" + std::string(100000, '7') + "\n";
  for (int i = 0; i < 10000; ++i)
    garbage += "Curve" + std::to_string(i) + "=1, 2, 3, 4, 5, 6, 7, 8, 9, 10\n";
  WriteLibrary(garbage);
  Exec(FDialog, [&] {
    auto* list = Find<QComboBox>(FDialog, "ResponceCB");
    // The first 10 000 names and a note; the garbage may hold one readable key.
    EXPECT_EQ(list->count(), 10001);
    EXPECT_GE(list->findText("Good"), 0);
    EXPECT_EQ(list->findText(QString(100000, 'k')), -1);
    Pick("Long");
    Pick("Curve9990");
  });
  ASSERT_EQ(FMessages.size(), 1u);
  EXPECT_LT(FMessages[0].Text.size(), 400);
  const TResponceCurve curve9990{{{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}}};
  EXPECT_EQ(Canine().Responce, curve9990);
}

TEST_F(ToothInfDlgTest, ALongLibraryListsItsFirstCurvesAndSaysHowManyItHolds) {
  std::string text = "[Responce]\n";
  for (int i = 0; i < 10005; ++i)
    text += "Curve" + std::to_string(i) + "=1, 2, 3, 4, 5, 6, 7, 8, 9, 10\n";
  WriteLibrary(text);
  FDialog.SetTooth(&Canine());
  FAnswer = QMessageBox::No;
  Exec(FDialog, [&] {
    auto* list = Find<QComboBox>(FDialog, "ResponceCB");
    ASSERT_EQ(list->count(), 10001);
    EXPECT_EQ(list->itemText(9999), "Curve9999");
    const QString note = "Showing the first 10,000 of 10,005 curves";
    EXPECT_EQ(list->itemText(10000), note);
    EXPECT_EQ(list->toolTip(), note);
    const auto* model = qobject_cast<QStandardItemModel*>(list->model());
    ASSERT_NE(model, nullptr);
    EXPECT_FALSE(model->item(10000)->isEnabled());
    // A name past the listed ones is still one to ask about.
    SaveAs("curve10004");
    EXPECT_EQ(FMessages.size(), 1u);
    // A new curve goes to the end of the file and is listed, selected, before the note.
    SaveAs("Mine");
    ASSERT_EQ(list->count(), 10002);
    EXPECT_EQ(list->currentIndex(), 10000);
    EXPECT_EQ(list->currentText(), "Mine");
    EXPECT_EQ(list->itemText(10001), "Showing the first 10,000 of 10,006 curves");
  });
  EXPECT_NE(ReadLibrary().find("Curve10004=1, 2,"), std::string::npos);
  EXPECT_TRUE(ReadLibrary().ends_with("Mine=10, 50, 25, 75, 50, 80, 75, 75, 90, 70\n"));
}

TEST_F(ToothInfDlgTest, AnInstalledProgramSavesCurvesInTheUsersCopy) {
  // Beside the executable a library only root may change, as in /usr/bin.
  const std::filesystem::path exe = FDir.Path() / "bin";
  const std::string beside = (exe / "orvela.INI").string();
  test::WriteTextFile(beside, "[Responce]\nOld=1, 2, 3, 4, 5, 6, 7, 8, 9, 10\n");
  const std::string shipped =
      "; shipped\n[Responce]\nDefault=10, 50, 25, 75, 50, 80, 75, 75, 90, 70\n";
  TStartupValues startup;
  startup.CommonDataFolder = FDir.Slash("common");
  startup.UserDataFolder = FDir.Slash("user");
  test::WriteTextFile(startup.CommonDataFolder + "Responce/Orvela.INI", shipped);
  namespace fs = std::filesystem;
  fs::permissions(beside, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(exe, fs::perms::owner_read | fs::perms::owner_exec);
  fs::permissions(startup.CommonDataFolder + "Responce/Orvela.INI", fs::perms::owner_read);

  const std::string library = ChooseResponceLibrary(beside, startup);
  EXPECT_EQ(library, startup.UserDataFolder + "Responce/Orvela.INI");
  FDialog.SetLibraryPath(library);
  FDialog.SetTooth(&Canine());
  Exec(FDialog, [&] {
    EXPECT_EQ(Find<QComboBox>(FDialog, "ResponceCB")->itemText(0), "Default");
    SaveAs("Mine");
  });
  EXPECT_TRUE(FMessages.empty());
  EXPECT_EQ(test::ReadTextFile(library), shipped + "Mine=10, 50, 25, 75, 50, 80, 75, 75, 90, 70\n");
  EXPECT_EQ(test::ReadTextFile(beside), "[Responce]\nOld=1, 2, 3, 4, 5, 6, 7, 8, 9, 10\n");
}

TEST_F(ToothInfDlgTest, NamesThatCannotBeKeysAreRefused) {
  FDialog.SetTooth(&Canine());
  Exec(FDialog, [&] {
    SaveAs("a=b");
    SaveAs("[x");
    SaveAs("   ");
  });
  EXPECT_EQ(FMessages.size(), 2u);
  EXPECT_EQ(ReadLibrary(), "");
}

}  // namespace
}  // namespace orvela
