#include "workspace/placement.h"

#include <gtest/gtest.h>
#include <limits>

#include <QWidget>

namespace orvela {
namespace {

TEST(WindowPlacementTest, AppliesWhatWasReadPulledBackOntoAScreen) {
  const QRect current(0, 0, 804, 600);
  const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
  EXPECT_EQ(PlacementGeometry({false, 10, 20, 300, 400}, current, screens),
            QRect(10, 20, 300, 400));
  EXPECT_EQ(PlacementGeometry({false, 2000, 100, 300, 400}, current, screens),
            QRect(2000, 100, 300, 400));
  EXPECT_EQ(PlacementGeometry({false, 10, 20, {}, {}}, current, screens), QRect(10, 20, 804, 600));
  // Off every screen: onto the one it overlaps most, else the first; shrunk where larger.
  EXPECT_EQ(PlacementGeometry({false, 4000, 20, 300, 400}, current, screens),
            QRect(2900, 20, 300, 400));
  EXPECT_EQ(PlacementGeometry({false, 1100, 900, 300, 400}, current, screens),
            QRect(980, 624, 300, 400));
  EXPECT_EQ(PlacementGeometry({false, 2900, 800, 300, 400}, current, screens),
            QRect(2900, 680, 300, 400));
  EXPECT_EQ(PlacementGeometry({false, -400, -500, 300, 400}, current, screens),
            QRect(0, 0, 300, 400));
  EXPECT_EQ(PlacementGeometry({false, 100, 50, 2000, 1200}, current, screens),
            QRect(0, 0, 1280, 1024));
  EXPECT_EQ(PlacementGeometry({false, 10, 20, 0, 0}, current, screens), std::nullopt);
  EXPECT_EQ(PlacementGeometry({true, {}, {}, {}, {}}, current, screens), std::nullopt);
  EXPECT_EQ(PlacementGeometry({}, current, screens), std::nullopt);
}

TEST(WindowPlacementTest, NumbersNearThe32BitLimitAreHeldToWhatAWidgetCanHave) {
  constexpr int Most = std::numeric_limits<int>::max();
  constexpr int Least = std::numeric_limits<int>::min();
  const QRect current(0, 0, 804, 600);
  const QList<QRect> screens{QRect(0, 0, 1280, 1024)};
  EXPECT_EQ(PlacementGeometry({false, 10, 20, Most, Most}, current, {}),
            QRect(10, 20, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
  EXPECT_EQ(PlacementGeometry({false, 10, 20, Most, Most}, current, screens),
            QRect(0, 0, 1280, 1024));
  EXPECT_EQ(PlacementGeometry({false, Least, Least, Most, Most}, current, screens),
            QRect(0, 0, 1280, 1024));
  EXPECT_EQ(PlacementGeometry({false, Least, Least, Most, Most}, current, {}),
            QRect(-QWIDGETSIZE_MAX, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
  EXPECT_EQ(PlacementGeometry({false, Most, Most, Most, Most}, current, screens),
            QRect(0, 0, 1280, 1024));
  EXPECT_EQ(PlacementGeometry({false, Most - 1, Most, {}, {}}, current, {}),
            QRect(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX, 804, 600));
  EXPECT_EQ(PlacementGeometry({false, 10, 20, Least, -1}, current, screens), std::nullopt);
}

TEST(WindowPlacementTest, TheFirstWindowFitsSmallScreensAndTakesTwoThirdsOfLargeOnes) {
  const QSize preferred(804, 531);
  // Small: the preferred size held to the area, centred.
  EXPECT_EQ(FirstWindowGeometry(preferred, QRect(0, 0, 1024, 700)), QRect(110, 84, 804, 531));
  EXPECT_EQ(FirstWindowGeometry(preferred, QRect(0, 0, 800, 500)), QRect(0, 0, 800, 500));
  EXPECT_EQ(FirstWindowGeometry(preferred, QRect(0, 0, 1280, 800)), QRect(238, 134, 804, 531));
  // Large (1600 × 1000 less a panel, or a second screen to the right): two thirds, centred.
  EXPECT_EQ(FirstWindowGeometry(preferred, QRect(0, 40, 1600, 960)), QRect(267, 200, 1066, 640));
  EXPECT_EQ(FirstWindowGeometry(preferred, QRect(1920, 0, 2560, 1440)),
            QRect(2347, 240, 1706, 960));
  // Wide but low: never below the preferred height where it fits.
  EXPECT_EQ(FirstWindowGeometry(preferred, QRect(0, 0, 1920, 600)).size(), QSize(1280, 531));
}

}  // namespace
}  // namespace orvela
