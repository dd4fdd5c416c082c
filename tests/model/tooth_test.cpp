#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "model/teeth.h"
#include "scenes.h"
#include "util/format.h"

namespace orvela {
namespace {

void ExpectNear(TPointDouble actual, TPointDouble expected, double tolerance = 1e-9) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
}

TEST(ToothMotion, TranslateAndRotateMoveEveryPointTogether) {
  TTooth33 tooth;
  tooth.AddBracket(0, 45);
  const TTooth33 reference;

  tooth.Translate({0, 0});
  tooth.Rotate(tooth.cRes(), 0.0);
  EXPECT_EQ(tooth.crown, reference.crown);
  EXPECT_EQ(tooth.cusp, reference.cusp);

  tooth.Translate({12.5, -3});
  EXPECT_EQ(tooth.cusp, (TPointDouble{217.5, 957}));
  EXPECT_EQ(tooth.root[9], (TPointDouble{212.5, 687}));
  EXPECT_EQ(tooth.Brackets()[0]->Origin(), (TPointDouble{217.5, 912}));

  // About its own cRes (passed by reference to the moving field): cRes stays.
  const TPointDouble c = tooth.cRes();
  tooth.Rotate(tooth.cRes(), 0.3);
  EXPECT_EQ(tooth.cRes(), c);
  EXPECT_NEAR(tooth.Tip(), 0.3, 1e-12);
  EXPECT_NEAR(tooth.Brackets()[0]->Tip(), 0.3, 1e-12);
  EXPECT_NEAR(tooth.Brackets()[0]->Angulation(), 0.0, 1e-12);
  EXPECT_NEAR(tooth.toothLength(), 270.0, 1e-9);
  // The bracket stays 45 units down the axis from the cusp.
  ExpectNear(tooth.Brackets()[0]->Origin(),
             {tooth.cusp.x + 45 * std::sin(0.3), tooth.cusp.y - 45 * std::cos(0.3)});

  // A turn about a far point: Tip changes by the angle, lengths stay.
  tooth.Rotate({0, 0}, -0.5);
  EXPECT_NEAR(tooth.Tip(), -0.2, 1e-12);
  EXPECT_NEAR(tooth.rootLengthAnatomic(), 160.0, 1e-9);
}

TEST(ToothMotion, ReferencePositionRoundTrip) {
  TTooth35 tooth;
  tooth.AddBracket(0, 40);
  tooth.Translate({30, -40});
  tooth.Rotate(tooth.cRes(), 0.2);
  tooth.SetOriginalOutline();
  tooth.SetAsOriginalPosition();
  const std::vector<TPointDouble> crown = tooth.crown;
  const TPointDouble bracket = tooth.Brackets()[0]->Origin();
  ASSERT_EQ(tooth.origOutline.size(), 37u);
  EXPECT_EQ(tooth.origOutline.front(), crown.front());
  EXPECT_EQ(tooth.origOutline[20], tooth.root.front());

  for (int i = 0; i < 5; ++i) {
    tooth.Translate({7.25, 3.5});
    tooth.Rotate(tooth.apex, -0.07);
  }
  tooth.ClearOriginalOutline();
  EXPECT_TRUE(tooth.origOutline.empty());
  // Clearing the outline keeps the stored pose.
  tooth.ResetToOriginalPosition();
  for (std::size_t i = 0; i < crown.size(); ++i) ExpectNear(tooth.crown[i], crown[i], 1e-9);
  ExpectNear(tooth.Brackets()[0]->Origin(), bracket, 1e-9);
  EXPECT_NEAR(tooth.Tip(), 0.2, 1e-12);

  // Before any Set the stored pose is cRes (0, 0), upright.
  TTooth44 fresh;
  fresh.Rotate(fresh.cRes(), 0.4);
  fresh.ResetToOriginalPosition();
  ExpectNear(fresh.cRes(), {0, 0});
  EXPECT_NEAR(fresh.Tip(), 0.0, 1e-12);
}

TEST(ToothCervix, SettingTheSupportingCervixPlacesCervixAndCRes) {
  TTooth33 tooth;
  tooth.SetCervix({999, 0});  // x is ignored
  EXPECT_EQ(tooth.Cervix(), (TPointDouble{205, 850}));
  ExpectNear(tooth.cRes(), {205, 850 - 0.4 * 160});

  tooth.SetCervix({0, 80});
  ExpectNear(tooth.Cervix(), {205, 770});
  ExpectNear(tooth.cRes(), {205, 770 - 0.4 * 80});
  EXPECT_NEAR(tooth.rootLengthFunctional(), 80.0, 1e-12);

  tooth.SetCervix({0, tooth.rootLengthAnatomic()});
  EXPECT_EQ(tooth.Cervix(), tooth.apex);
  EXPECT_EQ(tooth.cRes(), tooth.apex);

  // Also along a turned axis.
  TTooth36 molar;
  molar.Rotate(molar.cRes(), 0.5);
  molar.SetCervix({0, 139});
  ExpectNear(molar.Cervix(), molar.apex);

  // A tooth without a root must not take NaN into its pose.
  TTooth generic;
  generic.SetCervix({0, 50});
  EXPECT_EQ(generic.Cervix(), (TPointDouble{0, 0}));
  EXPECT_EQ(generic.cRes(), (TPointDouble{0, 0}));
  generic.AddBracket(0, 40);
  EXPECT_FALSE(std::isnan(generic.Brackets()[0]->Origin().y));
}

TEST(ToothExtents, HitTestBoundsAndInfo) {
  TTooth33 tooth;
  EXPECT_TRUE(tooth.Contains(205, 900));   // crown
  EXPECT_TRUE(tooth.Contains(205, 750));   // root
  EXPECT_FALSE(tooth.Contains(260, 900));  // beside the crown
  EXPECT_FALSE(tooth.Contains(205, 680));  // below the apex
  EXPECT_EQ(tooth.BoundsRect(), (TRect{203, 688, 207, 962}));

  // Turned a quarter: only the axis ends count, not the crown width.
  tooth.Rotate(tooth.cRes(), HalfPi);
  EXPECT_EQ(tooth.BoundsRect(), (TRect{205 - 174 - 2, 786 - 2, 205 + 96 + 2, 786 + 2}));

  SetUserFormatSettings(TFormatSettings{});
  const TTooth33 upright;
  EXPECT_EQ(upright.Info(), "Lower Left Canine: Angulation: 0.0  Root Area: 203.6");
  TFormatSettings comma;
  comma.DecimalSeparator = ",";
  comma.ThousandSeparator = ".";
  SetUserFormatSettings(comma);
  TTooth34 turned;
  turned.Rotate(turned.cRes(), 12.34 * Pi / 180);
  EXPECT_EQ(turned.Info(), "Lower Left First Premolar: Angulation: 12,3  Root Area: 148,3");
  SetUserFormatSettings(TFormatSettings{});
}

TEST(ToothExtents, BoundsFarFromTheModelAreaSaturate) {
  constexpr std::int32_t Most = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t Least = std::numeric_limits<std::int32_t>::min();
  TTooth33 far;
  far.AddBracket(0, 45);
  TTooth34 near;
  near.AddBracket(0, 40);
  far.Translate({3e9, -3e9});
  const TRect bounds = far.BoundsRect();
  EXPECT_EQ(bounds.Right, Most);
  EXPECT_EQ(bounds.Bottom, Least + 2);
  EXPECT_EQ(bounds.Top, Least);

  TWireStraight wire;
  wire.SetAttachment(wire.Attachments[0], &test::AttachmentOf(far, "Mesial"));
  wire.SetAttachment(wire.Attachments[1], &test::AttachmentOf(near, "Distal"));
  const TRect span = wire.BoundsRect();
  EXPECT_EQ(span.Right, Most);
  EXPECT_EQ(span.Top, Least);
  EXPECT_LT(span.Left, 1000);
  EXPECT_GT(span.Bottom, 0);
}

}  // namespace
}  // namespace orvela
