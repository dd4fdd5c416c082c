#include "model/clinicaltime.h"

#include <cmath>
#include <gtest/gtest.h>

namespace orvela {
namespace {

// The law passes through the two published means and refuses to extrapolate.
TEST(ClinicalTime, FitsIwasakisMeansAndStaysInsideTheirRange) {
  EXPECT_NEAR(*MovementRate(4.0), 0.87, 1e-12);
  EXPECT_NEAR(*MovementRate(13.0), 1.27, 1e-12);
  EXPECT_GT(*MovementRate(8.0), 0.87);
  EXPECT_LT(*MovementRate(8.0), 1.27);
  // 1 mm at 4 kPa: 30.44 / 0.87 days.
  EXPECT_NEAR(*DaysForMovement(1.0, 4.0), 365.25 / 12 / 0.87, 1e-9);
  EXPECT_NEAR(*DaysForMovement(1.27, 13.0), 365.25 / 12, 1e-9);
  EXPECT_EQ(*DaysForMovement(0.0, 10.0), 0.0);
  EXPECT_FALSE(DaysForMovement(1.0, 3.99));
  EXPECT_FALSE(DaysForMovement(1.0, 13.01));
  EXPECT_FALSE(DaysForMovement(1.0, std::nan("")));
  EXPECT_FALSE(DaysForMovement(-1.0, 8.0));
  EXPECT_EQ(ClinicalTimeText(1.27, 13.0), "≈ 30 days (estimate)");
  EXPECT_EQ(ClinicalTimeText(1.0, 20.0), "outside the fitted range (4–13 kPa)");
}

}  // namespace
}  // namespace orvela
