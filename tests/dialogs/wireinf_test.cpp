#include "dialogs/wireinf.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "dialog_fixture.h"
#include "dialogs/dialogparts.h"
#include "document/setupdoc.h"
#include "document/setupfile.h"
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

// The Bends page edits the wire through its bend operations and shows the force system at
// the brackets as it goes: Burstone and Koenig's V-bend from the middle to a third, then a
// step, then nothing.
TEST_F(WireInfoTest, TheBendsPageAddsMovesAndRemovesBendsWithTheForceSystemLive) {
  TSetup scene;
  TSetupFileError error;
  const auto doc =
      LoadSetupFile(std::string(ORVELA_BUILD_DATA_DIR) + "examples/v-bend-centred.orvela", error);
  ASSERT_TRUE(doc) << error.Text();
  ASSERT_TRUE(RestoreSetup(*doc, scene));
  TWireStraight& wire = *scene.WireList()[0];
  wire.SetBends({});
  FDialog.SetWire(&wire);
  Exec(FDialog, [&] {
    auto* list = Find<QTableWidget>(FDialog, "BendsList");
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_FALSE(Find<QPushButton>(FDialog, "RemoveBendBut")->isEnabled());
    QTest::mouseClick(Find<QPushButton>(FDialog, "AddBendBut"), Qt::LeftButton);
    ASSERT_EQ(list->rowCount(), 1);
    ASSERT_EQ(wire.Bends().size(), 1u);
    EXPECT_EQ(list->item(0, 0)->text(), "V-bend");
    EXPECT_EQ(Text("MomentRatio"), UserNumber("0.00", -1.0));
    EXPECT_EQ(Text("BendClass"), "VI");
    EXPECT_EQ(Text("BendForce"), "0 gf");
    auto* position = Find<QDoubleSpinBox>(FDialog, "BendPosition");
    position->setValue(100.0 / 3.0);
    EXPECT_NEAR(wire.Bends()[0].Position, 0.333, 1e-9);  // the box keeps tenths of a per cent
    EXPECT_EQ(Text("MomentRatio"), UserNumber("0.00", 0.0));
    EXPECT_EQ(Text("BendClass"), "IV");
    EXPECT_EQ(Text("BendMomentA"), UserNumber("0 ", wire.MomentA() / 10.0) + "gf.mm");
    // Ten degrees at a third of a 5 mm span of 0.016 steel is past its yield.
    EXPECT_TRUE(Text("BendElasticLimit").startsWith("beyond elastic limit ("));
    auto* value = Find<QDoubleSpinBox>(FDialog, "BendValue");
    value->setValue(2.0);
    EXPECT_NEAR(wire.Bends()[0].Value, 2.0 * Pi / 180.0, 1e-12);
    EXPECT_TRUE(Text("BendElasticLimit").startsWith("within elastic limit ("));
    auto* kind = Find<QComboBox>(FDialog, "BendKindCB");
    kind->setCurrentIndex(1);
    emit kind->activated(1);
    EXPECT_EQ(wire.Bends()[0].Kind, TBendKind::Step);
    EXPECT_EQ(list->item(0, 0)->text(), "Step");
    EXPECT_EQ(Text("MomentRatio"), UserNumber("0.00", 1.0));
    EXPECT_EQ(Text("BendClass"), "I");
    QTest::mouseClick(Find<QPushButton>(FDialog, "RemoveBendBut"), Qt::LeftButton);
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_TRUE(wire.Bends().empty());
  });
}

}  // namespace
}  // namespace orvela
