// Cost of one wire end's force system against the least trigonometry it needs.
#include <benchmark/benchmark.h>
#include <cmath>

#include "mechanics/forcemoment.h"
#include "mechanics/wiremechanics.h"

namespace orvela {
namespace {

// A canine-to-premolar wire with a few degrees of bend at both slots.
const TWireEndPose PoseA{{412.5, 603.25}, {409.0, 604.0}, 0.31};
const TWireEndPose PoseB{{487.75, 571.5}, {491.0, 570.25}, 2.97};
const double Inertia = MomentInertiaOf({4.064, 5.588, "0.016 x 0.022"});

void WireEnd(benchmark::State& state) {
  TWireEndPose a = PoseA;
  TWireEndPose b = PoseB;
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(b);
    TForceMoment f = WireEndForces(a, b, TWireEnd::A, 172000.0, Inertia, false);
    benchmark::DoNotOptimize(f);
  }
}
BENCHMARK(WireEnd);

// The floor: the chord's arctangent and one cosine/sine pair.
void TrigFloor(benchmark::State& state) {
  double dx = PoseB.Point.x - PoseA.Point.x;
  double dy = PoseB.Point.y - PoseA.Point.y;
  for (auto _ : state) {
    benchmark::DoNotOptimize(dx);
    benchmark::DoNotOptimize(dy);
    const double t = std::atan(dy / dx);
    double c = std::cos(t - 1.5707963267948966);
    double s = std::sin(t - 1.5707963267948966);
    benchmark::DoNotOptimize(c);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(TrigFloor);

void Add(benchmark::State& state) {
  TForceMoment a({412.5, 603.25}, 12.5, -33.0, 150.0);
  TForceMoment b({487.75, 571.5}, -7.25, 21.0, -95.0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(b);
    TForceMoment sum = a;
    sum.Add(b);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(Add);

void Reorient(benchmark::State& state) {
  TForceMoment f({412.5, 603.25}, 12.5, -33.0, 150.0);
  TPointDouble cRes{430.0, 520.0};
  for (auto _ : state) {
    benchmark::DoNotOptimize(f);
    benchmark::DoNotOptimize(cRes);
    TForceMoment moved = f;
    moved.Reorient(cRes);
    benchmark::DoNotOptimize(moved);
  }
}
BENCHMARK(Reorient);

}  // namespace
}  // namespace orvela
