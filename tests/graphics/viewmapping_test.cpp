#include "graphics/viewmapping.h"

#include <array>
#include <gtest/gtest.h>

namespace orvela {
namespace {

TEST(ZoomSteps, WalkThePercentItemsAndStopAtTheEnds) {
  EXPECT_EQ(ZoomInItem(1234), "150%");
  EXPECT_EQ(ZoomOutItem(1234), "100%");
  EXPECT_EQ(ZoomInItem(1500), "200%");
  EXPECT_EQ(ZoomOutItem(1500), "100%");
  EXPECT_EQ(ZoomInItem(6000), "600%");
  EXPECT_EQ(ZoomOutItem(250), "25%");
  // "Fit All" may leave the zoom outside the items' range.
  EXPECT_EQ(ZoomInItem(87), "25%");
  EXPECT_EQ(ZoomOutItem(9000), "600%");
  EXPECT_EQ(ZoomItemValue("75%"), 750);
  EXPECT_FALSE(ZoomItemValue("Best Fit"));
}

TEST(ZoomArithmetic, FitAllFillsTheShorterSideAndIsNotBounded) {
  EXPECT_EQ(FitAllZoom(400, 100, 1000), 87);
  EXPECT_EQ(FitAllZoom(100, 400, 1000), 87);
  // 804 × 506: the model's 1000 units span the 505 pixels of the shorter side.
  const std::int32_t z = FitAllZoom(804, 506, 1000);
  TViewMapping m{z, 0, 0, 1000};
  EXPECT_NEAR(m.PixelsPerUnit() * 1000.0, 505.0, 0.5);
  EXPECT_GT(FitAllZoom(8000, 8000, 1000), MaxZoomValue);
}

TEST(ZoomArithmetic, ZoomRectFitsTheLimitingSideAndCentresTheRectangle) {
  // The empty setup's "Best Fit" rectangle.
  const std::array<TRect, 0> none{};
  const TRect empty = BestFitRect(none);
  EXPECT_EQ(empty, (TRect{-20, -20, 20, 20}));
  const auto fit = ZoomRectFit(empty, 400, 300);
  ASSERT_TRUE(fit);
  EXPECT_EQ(fit->Zoom, MaxZoomValue);
  EXPECT_EQ(fit->Centre, (TPoint{0, 0}));

  // 200 × 100 units in a 400 × 400 display: the width limits; corners in any order.
  const auto wide = ZoomRectFit(TRect{300, 500, 100, 400}, 400, 400);
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->Zoom, 1764);  // 2500 · 400 / 200 / 2.8346 = 1763.9
  EXPECT_EQ(wide->Centre, (TPoint{200, 450}));
  // The odd half-size rounds to even: 2.5 → 2.
  const auto odd = ZoomRectFit(TRect{0, 0, 5, 5}, 10, 10);
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->Centre, (TPoint{2, 2}));
  EXPECT_EQ(odd->Zoom, 1764);
  // Far too large a rectangle is raised to 25 %.
  EXPECT_EQ(ZoomRectFit(TRect{0, 0, 100000, 100000}, 100, 100)->Zoom, MinZoomValue);
  EXPECT_FALSE(ZoomRectFit(TRect{10, 10, 10, 50}, 100, 100));
  EXPECT_FALSE(ZoomRectFit(TRect{10, 10, 50, 10}, 100, 100));
}

TEST(ZoomArithmetic, BestFitUnitesTheBoundsAndGrowsThem) {
  const std::array<TRect, 2> bounds{TRect{100, 200, 150, 260}, TRect{50, 220, 120, 300}};
  EXPECT_EQ(BestFitRect(bounds), (TRect{30, 180, 170, 320}));
}

TEST(ZoomArithmetic, TypedZoomIsAnIntegerPercentWithinRange) {
  EXPECT_EQ(ParseTypedZoom("35"), 350);
  EXPECT_EQ(ParseTypedZoom("150%"), 1500);
  EXPECT_EQ(ParseTypedZoom("25"), 250);
  EXPECT_EQ(ParseTypedZoom("600%%"), 6000);
  for (const char* bad : {"24", "601", "", "%", "3/5", "abc", "-50", "99999999999999", "1.5"}) {
    EXPECT_FALSE(ParseTypedZoom(bad)) << bad;
  }
  EXPECT_EQ(ZoomText(1500), "150%");
  EXPECT_EQ(ZoomText(87), "9%");
  EXPECT_EQ(ZoomText(1225), "122%");  // ties to even
}

TEST(ViewMapping, ModelAndPixelsRoundTripWithYUp) {
  TViewMapping m{1000, 0, 0, 1000};
  // At 100 %, one model millimetre is four nominal millimetres of 2.8346 pixels.
  EXPECT_NEAR(m.PixelsPerUnit() * 10.0, 4.0 * DisplayPixelsPerMm, 1e-6);
  EXPECT_EQ(m.PixelToModel(TPoint{0, 0}), (TPoint{0, 1000}));

  m = TViewMapping{1500, 120, 300, 1000};
  EXPECT_EQ(m.PixelToModel(TPoint{0, 0}), (TPoint{120, 700}));
  const TPointDouble p = m.ModelToPixel(MakePointDouble(400, 500));
  EXPECT_GT(p.x, 0.0);
  EXPECT_GT(p.y, 0.0);  // below the top edge: smaller model y
  EXPECT_EQ(m.PixelToModel(RoundPoint(p)), (TPoint{400, 500}));
}

}  // namespace
}  // namespace orvela
