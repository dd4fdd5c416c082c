#include "tools/tools.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "model/catalogue.h"
#include "recording_canvas.h"
#include "scenes.h"
#include "util/format.h"

namespace orvela {
namespace {

// A window without a window: one device pixel per model unit, so the tooth handles'
// 44-pixel pictures hit within 22 units and the wire and attachment handles' within 11;
// the band is drawn on a recording surface of its own.
class TTestHost : public TToolHost {
 public:
  test::TRecordingCanvas Canvas{1.0};
  test::TRecordingCanvas BandCanvas{1.0};
  bool Snap = true;
  std::int16_t Cursor = DefaultCursor;
  std::string Status;
  std::string Info;
  int Redraws = 0;
  int PropertiesCalls = 0;
  std::vector<std::string> Zooms;

  const TCanvas& HitCanvas() const override { return Canvas; }
  bool SnapGrid() const override { return Snap; }
  void SetCursor(std::int16_t cursor) override { Cursor = cursor; }
  void SetStatusText(const std::string& text) override { Status = text; }
  void SetInfoText(const std::string& text) override { Info = text; }
  void Redraw() override { ++Redraws; }
  void SelectionChanged() override {}
  void Properties() override { ++PropertiesCalls; }
  void ZoomInAt(TPoint c) override { Zooms.push_back(Text("in", c)); }
  void ZoomOutAt(TPoint c) override { Zooms.push_back(Text("out", c)); }
  void ZoomRect(const TRect& r) override {
    Zooms.push_back("rect " + std::to_string(r.Left) + " " + std::to_string(r.Top) + " " +
                    std::to_string(r.Right) + " " + std::to_string(r.Bottom));
  }
  void InvertBand(const TRectangle& band) override { band.Draw(BandCanvas); }
  void BeginChange() override { Changes.push_back("begin"); }
  void EndChange(const std::string& what) override { Changes.push_back(what); }

  // Each BeginChange as "begin", each EndChange as the change's name.
  std::vector<std::string> Changes;

 private:
  static std::string Text(const char* what, TPoint c) {
    return std::string(what) + " " + std::to_string(c.x) + " " + std::to_string(c.y);
  }
};

TPoint At(TPointDouble p) { return RoundPoint(p); }

class SelectToolTest : public ::testing::Test {
 protected:
  // Hover, press, moves, release: one drag as the mouse makes it.
  void Drag(TPoint from, std::initializer_list<TPoint> path,
            TMouseButton button = TMouseButton::Left) {
    FTool.Move(from);
    FTool.Press(button, from);
    TPoint last = from;
    for (TPoint p : path) {
      FTool.Move(p);
      last = p;
    }
    FTool.Release(button, last);
  }
  void Click(TPoint p, TMouseButton button = TMouseButton::Left) { Drag(p, {}, button); }

  TBlankImageList FToothHandles{44, 44, 3};
  TBlankImageList FWireHandles{22, 22, 3};
  TSetup FSetup{TMarkerStyle{&FToothHandles, &FWireHandles}};
  TTestHost FHost;
  TSelectTool FTool{FSetup, FHost};
};

TEST_F(SelectToolTest, AClickPicksAndAClickOnEmptySpaceDeselects) {
  test::AddCanineAndPremolarScene(FSetup);
  TTooth* canine = FSetup.ToothList()[0].get();
  Click(OffsetPoint(At(canine->cRes()), 0, 25));
  EXPECT_EQ(FSetup.SelectedTooth(), canine);
  EXPECT_EQ(FSetup.MarkerList().size(), 3U);
  EXPECT_EQ(FHost.Info, canine->Info());

  Click(TPoint{5, 5});
  EXPECT_FALSE(FSetup.HasSelection());
  EXPECT_TRUE(FSetup.MarkerList().empty());
  EXPECT_EQ(FHost.Info, "");
  EXPECT_FALSE(FTool.MouseIsDown());
  EXPECT_TRUE(FHost.Changes.empty());  // picking changes nothing
}

TEST_F(SelectToolTest, HoverShowsTheHandlesCursorAndHint) {
  TTooth* tooth = FSetup.AddToothOfType(34);
  FSetup.Select(tooth);
  FTool.Move(OffsetPoint(At(tooth->cRes()), 2, -3));
  EXPECT_EQ(FTool.HoverAction(), THandleAction::Translate);
  EXPECT_NE(FHost.Cursor, DefaultCursor);
  EXPECT_FALSE(FHost.Status.empty());
  FTool.Move(OffsetPoint(At(tooth->cRes()), 40, 0));
  EXPECT_EQ(FTool.HoverAction(), THandleAction::None);
  EXPECT_EQ(FHost.Cursor, DefaultCursor);
  EXPECT_EQ(FHost.Status, "");
}

TEST_F(SelectToolTest, TranslateSnapsTheCentreToWholeMillimetresAndReadsOutTheOffset) {
  TTooth* tooth = FSetup.AddToothOfType(34);
  tooth->Translate(MakePointDouble(3.4, -1.2));  // off the millimetre grid
  FSetup.Select(tooth);
  const TPointDouble start = tooth->cRes();
  const TPoint c = At(start);
  Drag(c, {OffsetPoint(c, 14, 3), TPoint{325, 615}});
  EXPECT_DOUBLE_EQ(tooth->cRes().x, 320.0);  // 32.5 mm rounds to the even 32
  EXPECT_DOUBLE_EQ(tooth->cRes().y, 620.0);
  EXPECT_EQ(FHost.Status, TranslateReadout(MakePointDouble(320, 620),
                                           MakePointDouble(320 - start.x, 620 - start.y)));
  const std::string head = " x: " + FormatFloat("0.00", 32.0) + "  y: ";
  EXPECT_EQ(FHost.Status.substr(0, head.size()), head);
  // The handles followed the tooth.
  ASSERT_EQ(FSetup.MarkerList().size(), 3U);
  bool atCentre = false;
  for (const auto& m : FSetup.MarkerList()) atCentre |= m->origin == TPoint{320, 620};
  EXPECT_TRUE(atCentre);

  // Without snapping the centre lands on the pointer; a drag off the model square keeps
  // the tooth on it.
  FHost.Snap = false;
  FTool.Move(TPoint{320, 620});
  Drag(TPoint{320, 620}, {TPoint{333, 617}});
  EXPECT_DOUBLE_EQ(tooth->cRes().x, 333.0);
  EXPECT_DOUBLE_EQ(tooth->cRes().y, 617.0);
  FTool.Move(TPoint{333, 617});
  Drag(TPoint{333, 617}, {TPoint{-4000, 99999}});
  EXPECT_DOUBLE_EQ(tooth->cRes().x, 0.0);
  EXPECT_DOUBLE_EQ(tooth->cRes().y, 1000.0);
}

TEST_F(SelectToolTest, SnappedTurnsRoundTheWholeTurnSinceThePress) {
  TTooth* tooth = FSetup.AddToothOfType(33);
  FSetup.Select(tooth);
  const TPointDouble c = tooth->cRes();
  const double r = PointDistance(tooth->cusp, c);
  const double base = LineAngle(c, tooth->cusp);
  const auto onCircle = [&](double degrees) {
    const double a = base + degrees * Pi / 180.0;
    return At(MakePointDouble(c.x + r * std::cos(a), c.y + r * std::sin(a)));
  };
  const double tip = tooth->Tip();
  // A slow drag: ten moves of 0.3° each, none of which alone reaches half a degree, turn
  // the tooth by the whole degrees of their sum.
  FTool.Move(At(tooth->cusp));
  ASSERT_EQ(FTool.HoverAction(), THandleAction::Rotate);
  FTool.Press(TMouseButton::Left, At(tooth->cusp));
  for (int i = 1; i <= 10; ++i) FTool.Move(onCircle(0.3 * i));
  FHost.Info.clear();
  FTool.Release(TMouseButton::Left, onCircle(3.0));
  EXPECT_NEAR(tooth->Tip() - tip, 3.0 * Pi / 180.0, 1e-12);
  // The information line shows the new angulation; the drag was one change.
  EXPECT_EQ(FHost.Info, tooth->Info());
  EXPECT_EQ(FHost.Changes, (std::vector<std::string>{"begin", "Rotate Tooth"}));

  // A fast drag: one move of about 5° turns the tooth by exactly 5°, about its centre of
  // resistance.
  const double before = tooth->Tip();
  FTool.Move(At(tooth->cusp));
  FTool.Press(TMouseButton::Left, At(tooth->cusp));
  FTool.Move(onCircle(8.2));
  FTool.Release(TMouseButton::Left, onCircle(8.2));
  EXPECT_NEAR(tooth->Tip() - before, 5.0 * Pi / 180.0, 1e-12);
  EXPECT_NEAR(tooth->cRes().x, c.x, 1e-9);
  EXPECT_NEAR(tooth->cRes().y, c.y, 1e-9);
  EXPECT_EQ(FHost.Status, AngulationReadout(tooth->Tip()));
}

TEST_F(SelectToolTest, TheKeyboardWalksTheObjectsAndNudgesAndTurnsTheTooth) {
  test::AddCanineAndPremolarScene(FSetup);
  TTooth* canine = FSetup.ToothList()[0].get();
  TTooth* premolar = FSetup.ToothList()[1].get();
  TWireStraight* wire = FSetup.WireList()[0].get();
  // Teeth, then wires, round and round; backwards from nothing starts at the last.
  FTool.SelectNext(false);
  EXPECT_EQ(FSetup.SelectedWire(), wire);
  FTool.SelectNext(true);
  EXPECT_EQ(FSetup.SelectedTooth(), canine);
  FTool.SelectNext(true);
  EXPECT_EQ(FSetup.SelectedTooth(), premolar);
  EXPECT_EQ(FHost.Info, premolar->Info());
  FTool.SelectNext(false);
  EXPECT_EQ(FSetup.SelectedTooth(), canine);
  EXPECT_TRUE(FHost.Changes.empty());  // selecting changes nothing

  // A nudge is one change, read out as a drag; a wire selected takes none.
  const TPointDouble start = canine->cRes();
  FTool.NudgeSelectedTooth(MakePointDouble(1.0, -10.0));
  EXPECT_DOUBLE_EQ(canine->cRes().x, start.x + 1.0);
  EXPECT_DOUBLE_EQ(canine->cRes().y, start.y - 10.0);
  EXPECT_EQ(FHost.Status, TranslateReadout(canine->cRes(), MakePointDouble(1.0, -10.0)));
  const double tip = canine->Tip();
  FTool.TurnSelectedTooth(5.0 * Pi / 180.0);
  EXPECT_NEAR(canine->Tip() - tip, 5.0 * Pi / 180.0, 1e-12);
  EXPECT_NEAR(canine->cRes().x, start.x + 1.0, 1e-9);  // about the centre of resistance
  EXPECT_EQ(FHost.Status, AngulationReadout(canine->Tip()));
  EXPECT_EQ(FHost.Changes,
            (std::vector<std::string>{"begin", "Move Tooth", "begin", "Rotate Tooth"}));
  // The centre stays on the model square.
  FTool.NudgeSelectedTooth(MakePointDouble(-1e6, 1e6));
  EXPECT_DOUBLE_EQ(canine->cRes().x, 0.0);
  EXPECT_DOUBLE_EQ(canine->cRes().y, 1000.0);  // the top of the model square
  FSetup.Select(wire);
  FHost.Changes.clear();
  FTool.NudgeSelectedTooth(MakePointDouble(1.0, 0.0));
  FTool.TurnSelectedTooth(0.1);
  EXPECT_TRUE(FHost.Changes.empty());
}

class TieWireTest : public SelectToolTest {
 protected:
  void SetUp() override {
    FCanine = FSetup.AddToothOfType(33);
    FPremolar = FSetup.AddToothOfType(34);
    FPremolar->Translate(MakePointDouble(100, 0));
    FWire = &FSetup.AddNewWire();
    Click(TPoint{150, 900});
    ASSERT_EQ(FSetup.SelectedWire(), FWire);
  }
  TPoint Handle(const TTooth& tooth, const char* name) {
    return At(test::AttachmentOf(tooth, name).Origin());
  }

  TTooth* FCanine = nullptr;
  TTooth* FPremolar = nullptr;
  TWireStraight* FWire = nullptr;
};

TEST_F(TieWireTest, EndsAreRetiedLiveAndTheEndHandlesReturn) {
  TAttachment& mesial = test::AttachmentOf(*FCanine, "Mesial");
  TAttachment& distal = test::AttachmentOf(*FPremolar, "Distal");
  // Drag end A over the canine's Mesial handle and on to empty space.
  FTool.Move(TPoint{100, 900});
  ASSERT_EQ(FTool.HoverAction(), THandleAction::TieWire);
  FTool.Press(TMouseButton::Left, TPoint{100, 900});
  // Both free ends are free: all six attachments are offered.
  EXPECT_EQ(FSetup.MarkerList().size(), 6U);
  FTool.Move(Handle(*FCanine, "Mesial"));
  EXPECT_EQ(FWire->Attachments[0], &mesial);
  EXPECT_EQ(FHost.Cursor, PlierCursor);
  FTool.Move(TPoint{600, 100});
  FTool.Release(TMouseButton::Left, TPoint{600, 100});
  EXPECT_EQ(FWire->Attachments[0], &mesial);
  ASSERT_EQ(mesial.Wires().size(), 1U);
  // After the tie the end handles return.
  ASSERT_EQ(FSetup.MarkerList().size(), 2U);
  EXPECT_EQ(FSetup.MarkerList()[0]->Owner, &mesial);
  EXPECT_EQ(FSetup.DraggedAttachment(), nullptr);

  // End B: the canine's Mesial, holding end A, is not offered.
  const TPoint endB = RoundPoint(FWire->Attachments[1]->Origin());
  FTool.Move(endB);
  FTool.Press(TMouseButton::Left, endB);
  EXPECT_EQ(FSetup.MarkerList().size(), 5U);
  for (const auto& m : FSetup.MarkerList()) EXPECT_NE(m->Owner, &mesial);
  // Passing over the premolar's Mesial, then its Distal: the end stays on the last.
  FTool.Move(Handle(*FPremolar, "Mesial"));
  FTool.Move(Handle(*FPremolar, "Distal"));
  FTool.Move(Handle(*FCanine, "Mesial"));  // not offered: nothing changes
  FTool.Release(TMouseButton::Left, Handle(*FCanine, "Mesial"));
  EXPECT_EQ(FWire->Attachments[1], &distal);
  EXPECT_TRUE(test::AttachmentOf(*FPremolar, "Mesial").Wires().empty());
  EXPECT_EQ(FWire->Attachments[0], &mesial);
  EXPECT_EQ(FSetup.MarkerList().size(), 2U);
  EXPECT_EQ(FHost.Info, FWire->Info());
}

TEST_F(TieWireTest, ARemovalBetweenTwoEventsLeavesNothingForTheNextEventToTouch) {
  FTool.Move(TPoint{100, 900});
  FTool.Press(TMouseButton::Left, TPoint{100, 900});
  FTool.Move(Handle(*FCanine, "Mesial"));
  // Del arrives in the middle of the drag.
  ASSERT_EQ(FSetup.RemoveSelection(), TSetup::TRemoveResult::Removed);
  FTool.Move(Handle(*FCanine, "Distal"));
  FTool.Release(TMouseButton::Left, TPoint{0, 0});
  EXPECT_FALSE(FTool.MouseIsDown());
  EXPECT_TRUE(FSetup.MarkerList().empty());
  EXPECT_TRUE(test::AttachmentOf(*FCanine, "Mesial").Wires().empty());
  EXPECT_TRUE(test::AttachmentOf(*FCanine, "Distal").Wires().empty());

  // The same for a tooth being translated.
  Click(OffsetPoint(At(FPremolar->cRes()), 0, 25));
  ASSERT_EQ(FSetup.SelectedTooth(), FPremolar);
  const TPoint c = At(FPremolar->cRes());
  FTool.Move(c);
  FTool.Press(TMouseButton::Left, c);
  ASSERT_EQ(FSetup.RemoveSelection(), TSetup::TRemoveResult::Removed);
  FTool.Move(OffsetPoint(c, 50, 50));
  FTool.Release(TMouseButton::Right, OffsetPoint(c, 50, 50));
  EXPECT_EQ(FHost.PropertiesCalls, 0);
  EXPECT_EQ(FSetup.ToothList().size(), 1U);
}

// A bend handle of the selected wire slides its bend along the chord, in whole percent with
// Snap to Grid, the information line following; the drag is one change.
TEST_F(SelectToolTest, ABendHandleSlidesTheBendAlongTheWire) {
  test::AddCanineAndPremolarScene(FSetup);
  TWireStraight* wire = FSetup.WireList()[0].get();
  wire->AddBend({TBendKind::V, 0.5, 0.1});
  FSetup.Select(wire);
  const TMarkerExtended* handle = FSetup.MarkerList().back().get();
  ASSERT_EQ(handle->Action, THandleAction::MoveBend);
  const TPoint from = handle->origin;
  const TPointDouble a = wire->Attachments[0]->Origin();
  const TPointDouble b = wire->Attachments[1]->Origin();
  const TPoint to = At({a.x + 0.3137 * (b.x - a.x), a.y + 0.3137 * (b.y - a.y)});
  FTool.Move(from);
  EXPECT_EQ(FHost.Cursor, BendCursor);
  Drag(from, {OffsetPoint(from, -3, 0), to});
  EXPECT_NEAR(wire->Bends()[0].Position, 0.31, 1e-12);
  EXPECT_EQ(FHost.Info, wire->Info());
  EXPECT_EQ(FHost.Status, BendReadout(0.31));
  EXPECT_EQ(FHost.Changes, (std::vector<std::string>{"begin", "Move Bend"}));
  EXPECT_EQ(FSetup.MarkerList().back()->origin, RoundPoint(wire->BendPoint(0)));
}

TEST_F(SelectToolTest, ARightClickSelectsAndOpensPropertiesAtRelease) {
  TTooth* tooth = FSetup.AddToothOfType(35);
  const TPoint p = OffsetPoint(At(tooth->cRes()), 0, 25);
  FTool.Move(p);
  FTool.Press(TMouseButton::Right, p);
  EXPECT_EQ(FSetup.SelectedTooth(), tooth);
  EXPECT_EQ(FHost.PropertiesCalls, 0);
  FTool.Release(TMouseButton::Right, p);
  EXPECT_EQ(FHost.PropertiesCalls, 1);
  // A second button pressed during a drag starts nothing; its release finds no drag.
  FTool.Press(TMouseButton::Left, p);
  FTool.Press(TMouseButton::Right, p);
  FTool.Release(TMouseButton::Left, p);
  FTool.Release(TMouseButton::Right, p);
  EXPECT_EQ(FHost.PropertiesCalls, 1);
  // A right click on empty space opens nothing.
  Click(TPoint{990, 10}, TMouseButton::Right);
  EXPECT_EQ(FHost.PropertiesCalls, 1);
}

class ZoomToolTest : public ::testing::Test {
 protected:
  // Every band drawn is drawn again: the display is left as it was.
  void ExpectNoTrace() const {
    std::map<std::tuple<int, int, int, int>, int> count;
    for (const auto& call : FHost.BandCanvas.CallsOf(test::TCallKind::Rectangle)) {
      EXPECT_EQ(call.Pen.Mode, TPenMode::NotXor);
      EXPECT_EQ(call.Pen.Style, TPenStyle::Dot);
      EXPECT_EQ(call.Brush.Style, TBrushStyle::Clear);
      ++count[{call.Points[0].x, call.Points[0].y, call.Points[1].x, call.Points[1].y}];
    }
    for (const auto& [rect, n] : count) EXPECT_EQ(n % 2, 0);
  }

  TTestHost FHost;
  TZoomTool FTool{FHost};
};

TEST_F(ZoomToolTest, ClicksZoomOneStepAndBandsInEitherDirectionZoomToTheirRectangle) {
  FTool.Press(TMouseButton::Left, TPoint{300, 400});
  FTool.Move(TPoint{301, 401});
  FTool.Release(TMouseButton::Left, TPoint{301, 401});
  FTool.Press(TMouseButton::Right, TPoint{500, 500});
  EXPECT_FALSE(FTool.MouseIsDown());
  FTool.Release(TMouseButton::Right, TPoint{510, 510});
  // Down and to the right, then down and to the left.
  FTool.Press(TMouseButton::Left, TPoint{100, 800});
  FTool.Move(TPoint{150, 760});
  EXPECT_TRUE(FTool.ZoomBand().has_value());
  FTool.Move(TPoint{250, 700});
  FTool.Release(TMouseButton::Left, TPoint{250, 700});
  FTool.Press(TMouseButton::Left, TPoint{600, 500});
  FTool.Move(TPoint{400, 300});
  FTool.Release(TMouseButton::Left, TPoint{400, 300});
  EXPECT_EQ(FHost.Zooms,
            (std::vector<std::string>{"in 301 401", "out 500 500", "rect 100 800 250 700",
                                      "rect 600 500 400 300"}));
  EXPECT_FALSE(FTool.ZoomBand().has_value());
  ExpectNoTrace();
  EXPECT_FALSE(FHost.BandCanvas.Calls().empty());
}

TEST_F(ZoomToolTest, ChoosingAnotherToolTakesTheBandAway) {
  FTool.Press(TMouseButton::Left, TPoint{100, 100});
  FTool.Move(TPoint{300, 200});
  FTool.Cancel();
  FTool.Release(TMouseButton::Left, TPoint{300, 200});
  EXPECT_TRUE(FHost.Zooms.empty());
  ExpectNoTrace();
}

}  // namespace
}  // namespace orvela
