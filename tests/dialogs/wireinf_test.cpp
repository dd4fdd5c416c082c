#include "dialogs/wireinf.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "dialog_fixture.h"
#include "scenes.h"

namespace orvela {
namespace {

class WireInfoTest : public test::DialogTest {
 protected:
  QString Text(const char* label) { return Find<QLabel>(FDialog, label)->text(); }

  // Chooses a row by keyboard, as the user would: from the row above down to it.
  void Choose(const char* listName, int index) {
    auto* list = Find<QComboBox>(FDialog, listName);
    list->setCurrentIndex(index - 1);
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex(), index);
  }

  const TModelSettings& tables = DefaultModelSettings();
  TWireInfo FDialog;
};

TEST_F(WireInfoTest, ANewWireShowsItsValuesAndTheDefaultRows) {
  TWireStraight wire;
  FDialog.SetWire(&wire);
  EXPECT_EQ(FDialog.Wire(), &wire);
  EXPECT_EQ(FDialog.windowTitle(), "Wire");
  const int result = Exec(FDialog, [&] {
    EXPECT_EQ(Text("Length"), "10.0 mm");
    EXPECT_EQ(Text("Force"), "0 gf");
    EXPECT_EQ(Text("MomentA"), "0 gf.mm");
    EXPECT_EQ(Text("MomentB"), "0 gf.mm");
    EXPECT_EQ(Text("AngleRatio"), "1.00 ");
    EXPECT_EQ(Text("BurstoneClass"), "I");
    EXPECT_TRUE(Find<QLabel>(FDialog, "BurstoneClass")->font().bold());
    auto* material = Find<QComboBox>(FDialog, "WireMaterialCB");
    auto* size = Find<QComboBox>(FDialog, "WireSizeCB");
    EXPECT_EQ(material->count(), 5);
    EXPECT_EQ(size->count(), 8);
    EXPECT_EQ(material->currentText().toStdString(), tables.DefaultWireMaterial.Name);
    EXPECT_EQ(size->currentText().toStdString(), tables.DefaultWireSize.Name);
    EXPECT_EQ(material->toolTip(), "Wire Material");
    EXPECT_EQ(size->toolTip(), "Wire Size");
    QTest::mouseClick(Find<QPushButton>(FDialog, "HelpBut"), Qt::LeftButton);
    EXPECT_EQ(HelpTopic(), "WireWindow");
    QTest::mouseClick(Find<QPushButton>(FDialog, "OKBut"), Qt::LeftButton);
  });
  EXPECT_EQ(result, QDialog::Accepted);
}

TEST_F(WireInfoTest, NamesMatchWithoutLetterCaseAndAnUnknownSizeSelectsNothing) {
  TWireStraight wire;
  TWireMaterial material = tables.MaterialTable[3];
  for (char& c : material.Name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  wire.SetMaterial(material);
  wire.SetSize(TWireSize{1.0, 1.0, "0.999"});
  FDialog.SetWire(&wire);
  Exec(FDialog, [&] {
    EXPECT_EQ(Find<QComboBox>(FDialog, "WireMaterialCB")->currentIndex(), 3);
    EXPECT_EQ(Find<QComboBox>(FDialog, "WireSizeCB")->currentIndex(), -1);
    Choose("WireSizeCB", 0);
  });
  EXPECT_EQ(wire.size, tables.SizeTable[0]);
  EXPECT_EQ(wire.material, material);  // untouched until chosen
}

TEST_F(WireInfoTest, ChoosingOtherGivesTheWireThatRowWhileTheValuesStay) {
  TSetup scene;
  test::AddCanineAndPremolarScene(scene);
  TWireStraight& wire = *scene.WireList()[0];
  int other = -1;
  for (std::size_t i = 0; i < tables.MaterialTable.size(); ++i) {
    if (tables.MaterialTable[i].Name == "Other") other = static_cast<int>(i);
  }
  ASSERT_GE(other, 0);
  ASSERT_NE(wire.material, tables.MaterialTable[static_cast<std::size_t>(other)]);
  const double forceBefore = wire.Force();
  FDialog.SetWire(&wire);
  Exec(FDialog, [&] {
    const QString shown = Text("Force");
    Choose("WireMaterialCB", other);
    Choose("WireSizeCB", 7);
    EXPECT_EQ(Text("Force"), shown);
  });
  EXPECT_EQ(wire.material, tables.MaterialTable[static_cast<std::size_t>(other)]);
  EXPECT_EQ(wire.size, tables.SizeTable[7]);
  EXPECT_NE(wire.Force(), forceBefore);
}

}  // namespace
}  // namespace orvela
