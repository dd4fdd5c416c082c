#include <gtest/gtest.h>
#include <memory>

#include "allocation_counter.h"
#include "mechanics/forcemoment.h"
#include "mechanics/wiremechanics.h"

namespace orvela {
namespace {

TEST(MechanicsAllocation, ForceComputationAllocatesNothing) {
  const TWireEndPose a{{100, 100}, {95, 101}, 0.2};
  const TWireEndPose b{{180, 120}, {186, 119}, 3.0};
  const TWireSize size{4.064, 5.588, "0.016 x 0.022"};
  {
    test::AllocationCounter control;  // the counter does see allocations
    auto probe = std::make_unique<double>(1.0);
    EXPECT_GE(control.Count(), 1u);
  }
  double sink = 0;
  test::AllocationCounter counter;
  const double inertia = MomentInertiaOf(size);
  TForceMoment total;
  for (const TWireEnd end : {TWireEnd::A, TWireEnd::B}) {
    TForceMoment f = WireEndForces(a, b, end, 172000, inertia, end == TWireEnd::B);
    total.Add(f);
    sink += f.MomentAtPoint({0, 0}) + f.Magnitude();
    f.Reorient({50, 50});
    sink += f.m;
  }
  sink += WireAngleRatio(a, b) + BurstoneClassOf(sink)[0];
  total.Reorient({1, 1});
  EXPECT_EQ(counter.Count(), 0u);
  EXPECT_NE(sink + total.m, 0.5);  // keeps the work observable
}

}  // namespace
}  // namespace orvela
