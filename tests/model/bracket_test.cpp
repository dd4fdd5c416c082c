#include <cmath>
#include <gtest/gtest.h>

#include "graphics/imagelist.h"
#include "model/teeth.h"
#include "util/format.h"

namespace orvela {
namespace {

TEST(Bracket, NewBracketGeometry) {
  const TBracket bracket;
  EXPECT_EQ(bracket.Origin(), (TPointDouble{0, 0}));
  EXPECT_EQ(bracket.Mesial(), (TPointDouble{15, 0}));
  EXPECT_EQ(bracket.Distal(), (TPointDouble{-15, 0}));
  EXPECT_EQ(bracket.Slot()[0], (TPointDouble{-15, 5}));
  EXPECT_EQ(bracket.Slot()[2], (TPointDouble{15, -5}));
  EXPECT_EQ(bracket.Tip(), 0.0);
  EXPECT_EQ(bracket.Angulation(), 0.0);
  ASSERT_EQ(bracket.Attachments.size(), 3u);
  const struct {
    const char* Name;
    TPointDouble Origin;
    double Angulation;
  } expected[] = {
      {"Mesial", {15, 0}, 0.0}, {"Distal", {-15, 0}, Pi}, {"Point Contact", {0, 0}, HalfPi}};
  for (std::size_t i = 0; i < 3; ++i) {
    const TAttachment& att = *bracket.Attachments[i];
    EXPECT_EQ(att.Name(), expected[i].Name);
    EXPECT_EQ(att.Origin(), expected[i].Origin);
    EXPECT_EQ(att.Angulation(), expected[i].Angulation);
    EXPECT_EQ(att.Owner(), &bracket);
    EXPECT_TRUE(att.Wires().empty());
  }
}

TEST(Bracket, MovingAndTurning) {
  TBracket bracket;
  bracket.SetOrigin({200, 300});
  EXPECT_EQ(bracket.Attachments[0]->Origin(), (TPointDouble{215, 300}));
  EXPECT_EQ(bracket.Slot()[1], (TPointDouble{215, 305}));

  bracket.Rotate({-40, 17}, Pi / 6);
  EXPECT_NEAR(bracket.Tip(), Pi / 6, 1e-12);
  EXPECT_EQ(bracket.Attachments[1]->Angulation(), Pi);
  EXPECT_NEAR(PointDistance(bracket.Attachments[0]->Origin(), bracket.Origin()), 15.0, 1e-9);
  EXPECT_NEAR(bracket.Attachments[2]->Direction(), Pi / 6 + HalfPi, 1e-12);

  // On a tooth: angulation is relative to the tooth.
  TTooth34 tooth;
  TBracket& onTooth = tooth.AddBracket(0, 40);
  EXPECT_EQ(onTooth.Tooth(), &tooth);
  EXPECT_EQ(onTooth.Origin(), (TPointDouble{200, 895}));
  tooth.Rotate(tooth.cRes(), 0.25);
  EXPECT_NEAR(onTooth.Angulation(), 0.0, 1e-12);
  TBracket& sideways = tooth.AddBracket(10, 40);
  EXPECT_NEAR(sideways.Angulation(), -0.25, 1e-12);
  EXPECT_NEAR(PointDistance(sideways.Origin(), onTooth.Origin()), 10.0, 1e-9);
}

TEST(Attachment, WireListKeepsOrderAndDuplicates) {
  TAttachment att;
  EXPECT_EQ(att.Owner(), nullptr);
  EXPECT_EQ(att.Name(), "");
  TWireStraight w1;
  TWireStraight w2;
  att.DetachWire(&w1);  // absent: nothing happens
  EXPECT_TRUE(att.Wires().empty());
  att.AttachWire(&w1);
  att.AttachWire(&w2);
  att.AttachWire(&w1);
  EXPECT_EQ(att.Wires(), (std::vector<TWireStraight*>{&w1, &w2, &w1}));
  att.DetachWire(&w1);
  EXPECT_EQ(att.Wires(), (std::vector<TWireStraight*>{&w2, &w1}));
  att.DetachWire(&w1);
  att.DetachWire(&w2);
  EXPECT_TRUE(att.Wires().empty());
}

TEST(Bracket, AttachmentHandles) {
  const TBlankImageList wireImages(22, 22, 4);
  const TMarkerStyle style{nullptr, &wireImages};

  TTooth33 tooth;
  TBracket& bracket = tooth.AddBracket(0, 45);
  TMarkerList markers = bracket.Markers(style);
  ASSERT_EQ(markers.size(), 3u);
  const std::int32_t images[] = {1, 0, 2};
  for (std::size_t i = 0; i < 3; ++i) {
    const TMarkerExtended& m = *markers[i];
    EXPECT_EQ(m.Owner, bracket.Attachments[i].get());
    EXPECT_EQ(m.Action, THandleAction::TieWire);
    EXPECT_EQ(m.Cursor, 1);
    EXPECT_EQ(m.ShapeType, oglmImage);
    EXPECT_EQ(m.ImageList, &wireImages);
    EXPECT_EQ(m.imageIdx, images[i]);
    EXPECT_EQ(m.origin, RoundPoint(bracket.Attachments[i]->Origin()));
  }
  EXPECT_EQ(markers[0]->Hint, "Lower Left Canine Bracket: Mesial 0");
  EXPECT_EQ(markers[1]->Hint, "Lower Left Canine Bracket: Distal 180");
  EXPECT_EQ(markers[2]->Hint, "Lower Left Canine Bracket: Point Contact 90");

  // One decimal, "." whatever the user's format.
  TFormatSettings comma;
  comma.DecimalSeparator = ",";
  SetUserFormatSettings(comma);
  tooth.Rotate(tooth.cRes(), 12.34 * Pi / 180);
  markers = bracket.Markers(style);
  EXPECT_EQ(markers[0]->Hint, "Lower Left Canine Bracket: Mesial 12.3");
  SetUserFormatSettings(TFormatSettings{});
}

}  // namespace
}  // namespace orvela
