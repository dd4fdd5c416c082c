#include "workspace/placement.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

TEST(WindowPlacementTest, AppliesWhatWasReadUnlessTheWindowWouldBeUnreachable) {
  const QRect current(0, 0, 804, 600);
  const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
  EXPECT_EQ(PlacementGeometry({false, 10, 20, 300, 400}, current, screens),
            QRect(10, 20, 300, 400));
  EXPECT_EQ(PlacementGeometry({false, 2000, 100, 300, 400}, current, screens),
            QRect(2000, 100, 300, 400));
  EXPECT_EQ(PlacementGeometry({false, 10, 20, {}, {}}, current, screens), QRect(10, 20, 804, 600));
  EXPECT_EQ(PlacementGeometry({false, 4000, 20, 300, 400}, current, screens), std::nullopt);
  EXPECT_EQ(PlacementGeometry({false, -400, -500, 300, 400}, current, screens), std::nullopt);
  EXPECT_EQ(PlacementGeometry({false, 10, 20, 0, 0}, current, screens), std::nullopt);
  EXPECT_EQ(PlacementGeometry({true, {}, {}, {}, {}}, current, screens), std::nullopt);
  EXPECT_EQ(PlacementGeometry({}, current, screens), std::nullopt);
}

}  // namespace
}  // namespace orvela
