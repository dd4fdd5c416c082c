// The setup's operations behind the Edit commands and the mouse tools.

#include <gtest/gtest.h>

#include "document/setup.h"
#include "model/catalogue.h"
#include "recording_canvas.h"
#include "scenes.h"

namespace orvela {
namespace {

// Distance from the cusp tip to the bracket centre along the tooth's axis.
double BracketDepth(const TTooth& tooth) {
  return PointDistance(tooth.cusp, tooth.Brackets().front()->Origin());
}

TEST(SetupEdit, AddToothTwiceGivesTwoCaninesEachWithItsBracketBelowTheCusp) {
  TSetup setup;
  TTooth* first = setup.AddToothOfType(33);
  TTooth* second = setup.AddToothOfType(33);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  ASSERT_EQ(setup.ToothList().size(), 2U);
  for (const auto& tooth : setup.ToothList()) {
    EXPECT_EQ(tooth->Name(), first->Name());
    ASSERT_EQ(tooth->Brackets().size(), 1U);
    EXPECT_NEAR(BracketDepth(*tooth), 45.0, 1e-9);
  }
  TTooth* premolar = setup.AddToothOfType(44);
  ASSERT_NE(premolar, nullptr);
  EXPECT_NEAR(BracketDepth(*premolar), 40.0, 1e-9);
  // Numbers the program does not model add nothing; a new tooth is not selected.
  EXPECT_EQ(setup.AddToothOfType(31), nullptr);
  EXPECT_EQ(setup.ToothList().size(), 3U);
  EXPECT_FALSE(setup.HasSelection());
}

TEST(SetupEdit, RemovingATiedWireDetachesBothEndsAndClearsTheSelection) {
  TSetup setup;
  test::AddCanineAndPremolarScene(setup);
  TWireStraight* wire = setup.WireList().front().get();
  TAttachment* a = wire->Attachments[0];
  TAttachment* b = wire->Attachments[1];
  ASSERT_EQ(a->Wires().size(), 1U);
  setup.Select(wire);
  setup.SetDraggedAttachment(a);
  ASSERT_EQ(setup.MarkerList().size(), 2U);
  EXPECT_EQ(setup.RemoveSelection(), TSetup::TRemoveResult::Removed);
  EXPECT_TRUE(setup.WireList().empty());
  EXPECT_TRUE(a->Wires().empty());
  EXPECT_TRUE(b->Wires().empty());
  // The brackets keep their attachments.
  EXPECT_EQ(setup.ToothList()[0]->Brackets()[0]->Attachments.size(), 3U);
  EXPECT_FALSE(setup.HasSelection());
  EXPECT_TRUE(setup.MarkerList().empty());
  EXPECT_EQ(setup.DraggedAttachment(), nullptr);
  EXPECT_EQ(setup.RemoveSelection(), TSetup::TRemoveResult::Nothing);
}

TEST(SetupEdit, ALigatedToothIsRefusedAndAnUntiedOneIsFreed) {
  TSetup setup;
  test::AddCanineAndPremolarScene(setup);
  TTooth* canine = setup.ToothList()[0].get();
  setup.Select(canine);
  EXPECT_EQ(setup.RemoveSelection(), TSetup::TRemoveResult::ToothLigated);
  EXPECT_EQ(setup.ToothList().size(), 2U);
  EXPECT_EQ(setup.SelectedTooth(), canine);
  EXPECT_EQ(setup.MarkerList().size(), 3U);

  setup.Select(setup.WireList().front().get());
  ASSERT_EQ(setup.RemoveSelection(), TSetup::TRemoveResult::Removed);
  setup.Select(canine);
  EXPECT_EQ(setup.RemoveSelection(), TSetup::TRemoveResult::Removed);
  ASSERT_EQ(setup.ToothList().size(), 1U);
  EXPECT_NE(setup.ToothList()[0].get(), canine);
  EXPECT_FALSE(setup.HasSelection());
  EXPECT_TRUE(setup.MarkerList().empty());
}

TEST(SetupEdit, PickingPrefersWiresOverTeethAndLaterOverEarlier) {
  TSetup setup;
  TTooth* first = setup.AddToothOfType(34);
  TTooth* second = setup.AddToothOfType(34);
  const TPoint c = RoundPoint(first->cRes());
  EXPECT_EQ(std::get<TTooth*>(setup.ObjectAt(c)), second);
  // A new wire lies free from (100, 900) to (200, 900); over a tooth there it still wins.
  TWireStraight& wire = setup.AddNewWire();
  EXPECT_EQ(std::get<TWireStraight*>(setup.ObjectAt(TPoint{150, 900})), &wire);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(setup.ObjectAt(TPoint{900, 100})));
}

TEST(SetupEdit, TheAttachmentOfTheOtherEndIsNeverOffered) {
  TSetup setup;
  test::AddCanineAndPremolarScene(setup);
  TWireStraight* wire = setup.WireList().front().get();
  setup.Select(wire);
  setup.SetDraggedAttachment(wire->Attachments[0]);
  setup.SetMarkersToBrackets();
  // Two teeth with three attachments each, less the one holding end B.
  ASSERT_EQ(setup.MarkerList().size(), 5U);
  for (const auto& marker : setup.MarkerList()) {
    EXPECT_NE(marker->Owner, wire->Attachments[1]);
    EXPECT_EQ(marker->Action, THandleAction::TieWire);
  }
  // Retying to the attachment already holding the end changes nothing.
  TAttachment* start = wire->Attachments[0];
  EXPECT_TRUE(setup.TieDraggedEnd(start));
  EXPECT_EQ(wire->Attachments[0], start);
  EXPECT_EQ(start->Wires().size(), 1U);
  // Without a dragged end there is nothing to tie.
  setup.SetDraggedAttachment(nullptr);
  EXPECT_FALSE(setup.TieDraggedEnd(start));
}

}  // namespace
}  // namespace orvela
