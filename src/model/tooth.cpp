#include "model/tooth.h"

#include <algorithm>
#include <cmath>

#include "util/format.h"

namespace orvela {

namespace {

constexpr TPointDouble Origin0{0, 0};
constexpr TPointDouble UpAxis{0, 100};

// Every new tooth of a type is placed with its local origin here.
constexpr TPointDouble StartingPlace{200, 850};

TPointDouble Plus(TPointDouble a, TPointDouble b) { return TPointDouble{a.x + b.x, a.y + b.y}; }

TPointDouble Lerp(TPointDouble from, TPointDouble to, double t) {
  return TPointDouble{from.x + t * (to.x - from.x), from.y + t * (to.y - from.y)};
}

std::vector<TPoint> Rounded(const std::vector<TPointDouble>& points) {
  std::vector<TPoint> result(points.size());
  std::transform(points.begin(), points.end(), result.begin(), RoundPoint);
  return result;
}

}  // namespace

TTooth::TTooth() { TTooth::Init(); }

TTooth::~TTooth() = default;

void TTooth::Init() { FName = "Generic"; }

void TTooth::InitFromTable(std::int32_t fdi, const char* name, const TToothTable& table,
                           bool mirrored) {
  const double sx = mirrored ? -1.0 : 1.0;
  const auto local = [sx](TPointDouble p) { return TPointDouble{sx * p.x, p.y}; };
  FFdi = fdi;
  FName = name;
  FcRes = local(table.cRes);
  apex = local(table.apex);
  cusp = local(table.cusp);
  FCervix = local(table.cervix);
  cervixAnatomic = local(table.cervix);
  cervixDiameter = table.cervixDiameter;
  crown.resize(table.crown.size());
  std::transform(table.crown.begin(), table.crown.end(), crown.begin(), local);
  root.resize(table.root.size());
  std::transform(table.root.begin(), table.root.end(), root.begin(), local);
  Translate(StartingPlace);
}

void TTooth::SetCervix(TPointDouble value) {
  const double la = rootLengthAnatomic();
  // Without an anatomic root there is nothing to support: keep everything at the cervix
  // rather than let 0/0 into the pose.
  const double t = la != 0.0 ? value.y / la : 0.0;
  FCervix = Lerp(cervixAnatomic, apex, t);
  FcRes = Lerp(FCervix, apex, 0.4);
}

double TTooth::Tip() const { return AngleBetweenLines(apex, cusp, Origin0, UpAxis); }

double TTooth::toothLength() const { return PointDistance(cusp, apex); }

double TTooth::rootLengthAnatomic() const { return PointDistance(cervixAnatomic, apex); }

double TTooth::rootLengthFunctional() const { return PointDistance(FCervix, apex); }

TPointDouble TTooth::UpperLeft() const {
  TPointDouble result = FcRes;
  for (const auto* outline : {&crown, &root}) {
    for (const TPointDouble& p : *outline) {
      if (p.x < result.x) result.x = p.x;
      if (p.y > result.y) result.y = p.y;
    }
  }
  return result;
}

TPointDouble TTooth::LowerRight() const {
  TPointDouble result = FcRes;
  for (const auto* outline : {&crown, &root}) {
    for (const TPointDouble& p : *outline) {
      if (p.x > result.x) result.x = p.x;
      if (p.y < result.y) result.y = p.y;
    }
  }
  return result;
}

TRect TTooth::BoundsRect() const { return GrownBounds(RoundPoint(cusp), RoundPoint(apex), 2); }

bool TTooth::Contains(std::int32_t ax, std::int32_t ay) const {
  const TPoint p{ax, ay};
  if (PolygonContainsPoint(Rounded(crown), p, TFillRule::EvenOdd)) return true;
  return PolygonContainsPoint(Rounded(root), p, TFillRule::EvenOdd);
}

std::string TTooth::Info() const {
  return FName + ": " + "Angulation: " + FormatFloat("0.0", Tip() * 180.0 / Pi) +
         "  Root Area: " + FormatFloat("0.0", rootAreaFunctional() / 100.0);
}

void TTooth::Translate(TPointDouble aPt) {
  for (TPointDouble& p : crown) p = Plus(p, aPt);
  for (TPointDouble& p : root) p = Plus(p, aPt);
  FcRes = Plus(FcRes, aPt);
  cusp = Plus(cusp, aPt);
  apex = Plus(apex, aPt);
  FCervix = Plus(FCervix, aPt);
  cervixAnatomic = Plus(cervixAnatomic, aPt);
  for (const auto& bracket : FBrackets) bracket->Translate(aPt);
}

void TTooth::Rotate(TPointDouble rotationPt, double theta) {
  // By value: the centre may be one of the points that move.
  const TPointDouble c = rotationPt;
  const double ct = std::cos(theta);
  const double st = std::sin(theta);
  for (TPointDouble& p : crown) RotatePoint(p, c, ct, st);
  for (TPointDouble& p : root) RotatePoint(p, c, ct, st);
  for (TPointDouble* p : {&FcRes, &cusp, &apex, &FCervix, &cervixAnatomic})
    RotatePoint(*p, c, ct, st);
  for (const auto& bracket : FBrackets) bracket->Rotate(c, ct, st);
}

TBracket& TTooth::AddBracket(double dx, double dy) {
  const double length = toothLength();
  // A tooth without an axis (the generic one) is taken as upright.
  const TPointDouble u = length != 0.0
                             ? TPointDouble{(cusp.x - apex.x) / length, (cusp.y - apex.y) / length}
                             : TPointDouble{0, 1};
  auto bracket = std::make_unique<TBracket>();
  bracket->SetTooth(this);
  bracket->SetOrigin(TPointDouble{cusp.x - dy * u.x, cusp.y - dy * u.y});
  bracket->Translate(TPointDouble{dx * u.y, -dx * u.x});
  FBrackets.push_back(std::move(bracket));
  return *FBrackets.back();
}

TBracket& TTooth::AddBracket(const TBracketPose& pose) {
  auto bracket = std::make_unique<TBracket>();
  bracket->SetTooth(this);
  bracket->SetPose(pose);
  FBrackets.push_back(std::move(bracket));
  return *FBrackets.back();
}

TToothGeometry TTooth::Geometry() const {
  return TToothGeometry{cusp, apex, cervixAnatomic, FCervix, FcRes, cervixDiameter, crown, root};
}

void TTooth::SetGeometry(const TToothGeometry& geometry) {
  cusp = geometry.Cusp;
  apex = geometry.Apex;
  cervixAnatomic = geometry.CervixAnatomic;
  FCervix = geometry.Cervix;
  FcRes = geometry.CRes;
  cervixDiameter = geometry.CervixDiameter;
  crown = geometry.Crown;
  root = geometry.Root;
}

void TTooth::SetOriginalPosition(TPointDouble cRes, double tip) {
  FOrigCRes = cRes;
  FOrigTip = tip;
}

void TTooth::SetAsOriginalPosition() {
  FOrigCRes = FcRes;
  FOrigTip = Tip();
}

void TTooth::ResetToOriginalPosition() {
  Translate(PointDiff(FOrigCRes, FcRes));
  Rotate(FcRes, FOrigTip - Tip());
}

void TTooth::SetOriginalOutline() {
  origOutline.clear();
  origOutline.reserve(crown.size() + root.size());
  origOutline.insert(origOutline.end(), crown.begin(), crown.end());
  origOutline.insert(origOutline.end(), root.begin(), root.end());
}

void TTooth::ClearOriginalOutline() { origOutline.clear(); }

}  // namespace orvela
