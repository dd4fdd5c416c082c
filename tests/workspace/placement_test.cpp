#include "workspace/placement.h"

#include <gtest/gtest.h>
#include <limits>

#include <QWidget>

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

TEST(WindowPlacementTest, NumbersNearThe32BitLimitAreHeldToWhatAWidgetCanHave) {
  constexpr int Most = std::numeric_limits<int>::max();
  constexpr int Least = std::numeric_limits<int>::min();
  const QRect current(0, 0, 804, 600);
  const QList<QRect> screens{QRect(0, 0, 1280, 1024)};
  EXPECT_EQ(PlacementGeometry({false, 10, 20, Most, Most}, current, screens),
            QRect(10, 20, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
  EXPECT_EQ(PlacementGeometry({false, Least, Least, Most, Most}, current, screens), std::nullopt);
  EXPECT_EQ(PlacementGeometry({false, Least, Least, Most, Most}, current, {}),
            QRect(-QWIDGETSIZE_MAX, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
  EXPECT_EQ(PlacementGeometry({false, Most, Most, Most, Most}, current, screens), std::nullopt);
  EXPECT_EQ(PlacementGeometry({false, Most - 1, Most, {}, {}}, current, {}),
            QRect(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX, 804, 600));
  EXPECT_EQ(PlacementGeometry({false, 10, 20, Least, -1}, current, screens), std::nullopt);
}

}  // namespace
}  // namespace orvela
