#include "document/setupfile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <utility>

#include "model/catalogue.h"
#include "model/responce.h"
#include "util/files.h"
#include "util/startup.h"

namespace orvela {

namespace {

using TJson = nlohmann::json;
// Written with the keys in the order they are set, so that a file reads top down.
using TOrderedJson = nlohmann::ordered_json;

// Deeper than any setup file nests; deeper text is refused as it is parsed.
constexpr std::size_t MaxDepth = 32;
// A container is written on one line when it fits in this many columns.
constexpr std::size_t LineLimit = 100;

// ---- Writing ---------------------------------------------------------------------------

TOrderedJson PointJson(TPointDouble p) { return TOrderedJson::array({p.x, p.y}); }

template <typename Points>
TOrderedJson PointsJson(const Points& points) {
  TOrderedJson out = TOrderedJson::array();
  for (const TPointDouble& p : points) out.push_back(PointJson(p));
  return out;
}

TOrderedJson MaterialJson(const TWireMaterial& m) {
  return TOrderedJson{{"name", m.Name}, {"modulus", m.Modulus}, {"yieldStrength", m.YieldStrength}};
}

TOrderedJson SizeJson(const TWireSize& s) {
  return TOrderedJson{{"name", s.Name}, {"crossA", s.CrossA}, {"crossB", s.CrossB}};
}

TOrderedJson SettingsJson(const TModelSettings& settings) {
  TOrderedJson out;
  out["zeroWidthBrackets"] = settings.ZeroWidthBrackets;
  out["defaultMaterial"] = MaterialJson(settings.DefaultWireMaterial);
  out["defaultSize"] = SizeJson(settings.DefaultWireSize);
  TOrderedJson& materials = out["materials"] = TOrderedJson::array();
  for (const TWireMaterial& m : settings.MaterialTable) materials.push_back(MaterialJson(m));
  TOrderedJson& sizes = out["sizes"] = TOrderedJson::array();
  for (const TWireSize& s : settings.SizeTable) sizes.push_back(SizeJson(s));
  return out;
}

TOrderedJson ToothJson(const TToothDocument& tooth, std::size_t t,
                       const std::vector<std::pair<TTieDocument, std::vector<std::size_t>>>& tied,
                       std::size_t& nextTied) {
  TOrderedJson out;
  out["type"] = tooth.Type ? TOrderedJson(*tooth.Type) : TOrderedJson(nullptr);
  out["ankylosed"] = tooth.Ankylosed;
  TOrderedJson& response = out["response"] = TOrderedJson::array();
  for (const TPoint& p : tooth.Responce) response.push_back(TOrderedJson::array({p.x, p.y}));
  const TToothGeometry& g = tooth.Geometry;
  out["geometry"] = TOrderedJson{{"cusp", PointJson(g.Cusp)},
                                 {"apex", PointJson(g.Apex)},
                                 {"cervixAnatomic", PointJson(g.CervixAnatomic)},
                                 {"cervix", PointJson(g.Cervix)},
                                 {"cRes", PointJson(g.CRes)},
                                 {"cervixDiameter", g.CervixDiameter},
                                 {"crown", PointsJson(g.Crown)},
                                 {"root", PointsJson(g.Root)}};
  out["reference"] = TOrderedJson{{"cRes", PointJson(tooth.ReferenceCRes)},
                                  {"tip", tooth.ReferenceTip},
                                  {"outline", PointsJson(tooth.ReferenceOutline)}};
  TOrderedJson& brackets = out["brackets"] = TOrderedJson::array();
  for (std::size_t b = 0; b < tooth.Brackets.size(); ++b) {
    const TBracketDocument& bracket = tooth.Brackets[b];
    TOrderedJson& bj = brackets.emplace_back();
    bj["origin"] = PointJson(bracket.Pose.Origin);
    bj["mesial"] = PointJson(bracket.Pose.Mesial);
    bj["distal"] = PointJson(bracket.Pose.Distal);
    bj["slot"] = PointsJson(bracket.Pose.Slot);
    TOrderedJson& atts = bj["attachments"] = TOrderedJson::array();
    for (std::size_t a = 0; a < bracket.Attachments.size(); ++a) {
      const TAttachmentDocument& att = bracket.Attachments[a];
      TOrderedJson& aj = atts.emplace_back();
      aj["name"] = att.Name;
      aj["origin"] = PointJson(att.Origin);
      aj["angulation"] = att.Angulation;
      // The list is written only where it is not the order of tying in wire order.
      static const std::vector<std::size_t> None;
      const bool holds = nextTied < tied.size() && tied[nextTied].first == TTieDocument{t, b, a};
      const std::vector<std::size_t>& usual = holds ? tied[nextTied++].second : None;
      if (att.Wires != usual) aj["wires"] = att.Wires;
    }
  }
  return out;
}

TOrderedJson WireJson(const TWireDocument& wire) {
  TOrderedJson out;
  out["material"] = MaterialJson(wire.Material);
  out["size"] = SizeJson(wire.Size);
  TOrderedJson& ends = out["ends"] = TOrderedJson::array();
  for (const TWireEndDocument& end : wire.Ends) {
    if (end.Tie) {
      ends.push_back(TOrderedJson{{"tooth", end.Tie->Tooth},
                                  {"bracket", end.Tie->Bracket},
                                  {"attachment", end.Tie->Attachment}});
    } else {
      ends.push_back(TOrderedJson{{"free", PointJson(end.Free)}});
    }
  }
  if (!wire.Bends.empty()) {
    TOrderedJson& bends = out["bends"] = TOrderedJson::array();
    for (const TWireBend& bend : wire.Bends) {
      if (bend.Kind == TBendKind::V) {
        bends.push_back(
            TOrderedJson{{"kind", "V"}, {"position", bend.Position}, {"angle", bend.Value}});
      } else {
        bends.push_back(
            TOrderedJson{{"kind", "step"}, {"position", bend.Position}, {"height", bend.Value}});
      }
    }
  }
  return out;
}

// A name that is not valid UTF-8 (a settings file may hold one) is written with U+FFFD in
// place of the bad bytes rather than refused.
std::string ScalarText(const TOrderedJson& j) {
  return j.dump(-1, ' ', false, TOrderedJson::error_handler_t::replace);
}

// Appends j on one line; false as soon as out is longer than limit.
bool AppendFlat(const TOrderedJson& j, std::string& out, std::size_t limit) {
  if (j.is_object()) {
    out += '{';
    bool first = true;
    for (const auto& [key, value] : j.items()) {
      if (!first) out += ", ";
      first = false;
      out += ScalarText(TOrderedJson(key));
      out += ": ";
      if (!AppendFlat(value, out, limit)) return false;
    }
    out += '}';
  } else if (j.is_array()) {
    out += '[';
    bool first = true;
    for (const TOrderedJson& value : j) {
      if (!first) out += ", ";
      first = false;
      if (!AppendFlat(value, out, limit)) return false;
    }
    out += ']';
  } else {
    out += ScalarText(j);
  }
  return out.size() <= limit;
}

// Appends j at the current column: on one line when it fits, else one member per line.
void AppendPretty(const TOrderedJson& j, std::string& out, std::size_t indent) {
  const std::size_t lineStart = out.rfind('\n') + 1;  // 0 when there is no line break yet
  const std::size_t mark = out.size();
  if (AppendFlat(j, out, lineStart + LineLimit)) return;
  // A scalar longer than a line (a long name) stays on its line: it has no members to break
  // into.
  if (!j.is_structured()) return;
  out.resize(mark);
  const std::string inner(indent + 2, ' ');
  out += j.is_object() ? "{\n" : "[\n";
  bool first = true;
  for (const auto& item : j.items()) {
    if (!first) out += ",\n";
    first = false;
    out += inner;
    if (j.is_object()) {
      out += ScalarText(TOrderedJson(item.key()));
      out += ": ";
    }
    AppendPretty(item.value(), out, indent + 2);
  }
  out += '\n';
  out.append(indent, ' ');
  out += j.is_object() ? '}' : ']';
}

// ---- Reading ---------------------------------------------------------------------------

// A key as a JSON pointer writes it.
std::string PointerToken(std::string_view key) {
  std::string out;
  for (const char c : key) {
    if (c == '~') {
      out += "~0";
    } else if (c == '/') {
      out += "~1";
    } else {
      out += c;
    }
  }
  return out;
}

// Where a value sits, kept on the stack while it is read; the pointer text is made only for
// a problem.
struct TPath {
  const TPath* Parent = nullptr;
  std::string_view Key;
  std::size_t Index = 0;
  bool IsIndex = false;

  TPath operator/(std::string_view key) const { return TPath{this, key, 0, false}; }
  TPath operator/(std::size_t index) const { return TPath{this, {}, index, true}; }

  std::string Pointer() const {
    if (Parent == nullptr) return {};
    return Parent->Pointer() + "/" + (IsIndex ? std::to_string(Index) : PointerToken(Key));
  }
};

struct TReadFailure {
  std::string Pointer;
  std::string Message;
};

[[noreturn]] void Fail(const TPath& at, std::string message) {
  throw TReadFailure{at.Pointer(), std::move(message)};
}

const TJson& Object(const TJson& j, const TPath& at, std::initializer_list<std::string_view> keys) {
  if (!j.is_object()) Fail(at, "not an object");
  for (const auto& [key, value] : j.items()) {
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) Fail(at / key, "unknown key");
  }
  return j;
}

const TJson& Array(const TJson& j, const TPath& at) {
  if (!j.is_array()) Fail(at, "not an array");
  return j;
}

const TJson& ArrayOf(const TJson& j, const TPath& at, std::size_t size) {
  if (Array(j, at).size() != size) {
    Fail(at,
         "not an array of " + std::to_string(size) + " (it has " + std::to_string(j.size()) + ")");
  }
  return j;
}

const TJson* Find(const TJson& object, std::string_view key) {
  const auto it = object.find(key);
  return it != object.end() ? &*it : nullptr;
}

const TJson& Required(const TJson& object, const TPath& at, std::string_view key,
                      std::string_view hint = {}) {
  const TJson* value = Find(object, key);
  if (value == nullptr) {
    Fail(at / key, hint.empty() ? std::string("missing") : "missing (" + std::string(hint) + ")");
  }
  return *value;
}

double Number(const TJson& j, const TPath& at) {
  if (!j.is_number()) Fail(at, "not a number");
  const double value = j.get<double>();
  if (!std::isfinite(value)) Fail(at, "not a finite number");
  return value;
}

// A number in [low, high] (low itself only when lowIncluded); range says so in the message.
double NumberWithin(const TJson& j, const TPath& at, double low, bool lowIncluded, double high,
                    std::string_view range) {
  const double value = Number(j, at);
  if (value < low || value > high || (!lowIncluded && value == low)) {
    Fail(at, "outside " + std::string(range));
  }
  return value;
}

std::int64_t Integer(const TJson& j, const TPath& at, std::int64_t low, std::int64_t high) {
  if (!j.is_number()) Fail(at, "not a number");
  if (!j.is_number_integer()) Fail(at, "not a whole number");
  // The parser keeps every number without a sign as unsigned.
  bool within = false;
  if (j.is_number_unsigned()) {
    const auto u = j.get<std::uint64_t>();
    within =
        u <= static_cast<std::uint64_t>(high) && (low <= 0 || u >= static_cast<std::uint64_t>(low));
  } else {
    const auto i = j.get<std::int64_t>();
    within = i >= low && i <= high;
  }
  if (!within) Fail(at, "outside " + std::to_string(low) + "…" + std::to_string(high));
  return j.get<std::int64_t>();
}

std::size_t IndexNumber(const TJson& j, const TPath& at) {
  return static_cast<std::size_t>(Integer(j, at, 0, std::numeric_limits<std::int32_t>::max()));
}

bool Bool(const TJson& j, const TPath& at) {
  if (!j.is_boolean()) Fail(at, "not true or false");
  return j.get<bool>();
}

std::string String(const TJson& j, const TPath& at) {
  if (!j.is_string()) Fail(at, "not a string");
  return j.get<std::string>();
}

TPointDouble Point(const TJson& j, const TPath& at) {
  ArrayOf(j, at, 2);
  return TPointDouble{Number(j[0], at / 0u), Number(j[1], at / 1u)};
}

std::vector<TPointDouble> Points(const TJson& j, const TPath& at) {
  std::vector<TPointDouble> out;
  out.reserve(Array(j, at).size());
  for (std::size_t i = 0; i < j.size(); ++i) out.push_back(Point(j[i], at / i));
  return out;
}

// A row without "yieldStrength" (version 1) takes the shipped row's of its name, else 0.
TWireMaterial MaterialValue(const TJson& j, const TPath& at) {
  Object(j, at, {"name", "modulus", "yieldStrength"});
  TWireMaterial m{NumberWithin(Required(j, at, "modulus"), at / "modulus", 0.0, false,
                               LargestModulus, "0 < modulus ≤ 10000000"),
                  String(Required(j, at, "name"), at / "name"), 0.0};
  if (const TJson* v = Find(j, "yieldStrength")) {
    m.YieldStrength =
        NumberWithin(*v, at / "yieldStrength", 0.0, true, LargestYieldStrength, "0…100000");
  } else {
    for (const TWireMaterial& row : BuiltInMaterials()) {
      if (row.Name == m.Name) m.YieldStrength = row.YieldStrength;
    }
  }
  return m;
}

TWireSize SizeValue(const TJson& j, const TPath& at) {
  Object(j, at, {"name", "crossA", "crossB"});
  const auto dimension = [&](std::string_view key) {
    return NumberWithin(Required(j, at, key), at / key, 0.0, true, LargestCrossDimension,
                        "0…100 model units");
  };
  return TWireSize{dimension("crossA"), dimension("crossB"),
                   String(Required(j, at, "name"), at / "name")};
}

TModelSettings Settings(const TJson& j, const TPath& at) {
  Object(j, at, {"zeroWidthBrackets", "defaultMaterial", "defaultSize", "materials", "sizes"});
  TModelSettings settings;
  if (const TJson* v = Find(j, "zeroWidthBrackets")) {
    settings.ZeroWidthBrackets = Bool(*v, at / "zeroWidthBrackets");
  }
  if (const TJson* v = Find(j, "defaultMaterial")) {
    settings.DefaultWireMaterial = MaterialValue(*v, at / "defaultMaterial");
  }
  if (const TJson* v = Find(j, "defaultSize")) {
    settings.DefaultWireSize = SizeValue(*v, at / "defaultSize");
  }
  if (const TJson* v = Find(j, "materials")) {
    const TPath rows = at / "materials";
    ArrayOf(*v, rows, settings.MaterialTable.size());
    for (std::size_t i = 0; i < settings.MaterialTable.size(); ++i)
      settings.MaterialTable[i] = MaterialValue((*v)[i], rows / i);
  }
  if (const TJson* v = Find(j, "sizes")) {
    const TPath rows = at / "sizes";
    ArrayOf(*v, rows, settings.SizeTable.size());
    for (std::size_t i = 0; i < settings.SizeTable.size(); ++i)
      settings.SizeTable[i] = SizeValue((*v)[i], rows / i);
  }
  return settings;
}

TSetupView View(const TJson& j, const TPath& at) {
  Object(j, at, {"zoom", "scrollX", "scrollY", "forceScale"});
  constexpr std::int64_t Low = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t High = std::numeric_limits<std::int32_t>::max();
  TSetupView view;
  if (const TJson* v = Find(j, "zoom"))
    view.Zoom = static_cast<std::int32_t>(Integer(*v, at / "zoom", 1, High));
  if (const TJson* v = Find(j, "scrollX")) {
    view.ScrollX = static_cast<std::int32_t>(Integer(*v, at / "scrollX", Low, High));
  }
  if (const TJson* v = Find(j, "scrollY")) {
    view.ScrollY = static_cast<std::int32_t>(Integer(*v, at / "scrollY", Low, High));
  }
  if (const TJson* v = Find(j, "forceScale")) {
    view.ForceScale = NumberWithin(*v, at / "forceScale", 0.0, false,
                                   std::numeric_limits<double>::max(), "the positive numbers");
  }
  return view;
}

TResponceCurve Responce(const TJson& j, const TPath& at) {
  ArrayOf(j, at, 5);
  std::array<std::int32_t, 10> numbers{};
  constexpr std::int64_t Low = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t High = std::numeric_limits<std::int32_t>::max();
  for (std::size_t i = 0; i < 5; ++i) {
    const TPath point = at / i;
    ArrayOf(j[i], point, 2);
    for (std::size_t k = 0; k < 2; ++k)
      numbers[2 * i + k] = static_cast<std::int32_t>(Integer(j[i][k], point / k, Low, High));
  }
  if (const std::optional<TResponceFault> fault = FindResponceFault(numbers)) {
    const TPath point = at / (fault->Index / 2);
    Fail(
        point / (fault->Index % 2),
        fault->Kind == TResponceParseError::TKind::Decreasing
            ? "x smaller than the x of the point before: the response editor cannot make this curve"
            : "outside 0…" + std::to_string(ResponceExtent) +
                  ": the response editor cannot make this curve");
  }
  TResponceCurve curve;
  for (std::size_t i = 0; i < curve.size(); ++i)
    curve[i] = TPoint{numbers[2 * i], numbers[2 * i + 1]};
  return curve;
}

std::int32_t ToothType(const TJson& j, const TPath& at) {
  const auto fdi = static_cast<std::int32_t>(Integer(
      j, at, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
  if (!IsToothType(fdi))
    Fail(at, "there is no tooth type " + std::to_string(fdi) + " (33…36, 43…46)");
  return fdi;
}

// {"type", "cRes" (mm), "angulation" (degrees), "supportLoss" (%)}: a new tooth of the type
// with its standard bracket, as Edit > Add Tooth makes it, with that support, turned about
// its centre of resistance to that angulation and moved so that the centre lies there.
TToothDocument PlacedTooth(const TJson& j, const TPath& at) {
  const std::int32_t fdi = ToothType(Required(j, at, "type"), at / "type");
  const TPath cResAt = at / "cRes";
  const TJson& cResJson = ArrayOf(
      Required(j, at, "cRes", "a tooth is given by \"geometry\" or by its pose"), cResAt, 2);
  constexpr double ExtentMm = ModelExtent / 10.0;
  const char* onSquare = "the model area, 0…100 mm";
  const TPointDouble cResMm{NumberWithin(cResJson[0], cResAt / 0u, 0.0, true, ExtentMm, onSquare),
                            NumberWithin(cResJson[1], cResAt / 1u, 0.0, true, ExtentMm, onSquare)};
  double degrees = 0.0;
  if (const TJson* v = Find(j, "angulation")) {
    degrees = NumberWithin(*v, at / "angulation", -360.0, true, 360.0, "−360…360 degrees");
  }
  double supportLoss = 0.0;
  if (const TJson* v = Find(j, "supportLoss")) {
    supportLoss = NumberWithin(*v, at / "supportLoss", 0.0, true, 100.0, "0…100 %");
  }

  std::unique_ptr<TTooth> tooth = CreateTooth(fdi);
  tooth->AddBracket(0, StandardBracketDepth(fdi));
  tooth->SetSupportLoss(supportLoss);
  tooth->Rotate(tooth->cRes(), degrees * Pi / 180.0 - tooth->Tip());
  tooth->Translate(PointDiff(TPointDouble{cResMm.x * 10.0, cResMm.y * 10.0}, tooth->cRes()));
  return CaptureTooth(*tooth);
}

// explicitLists gets the attachments that list their wires themselves.
TBracketDocument Bracket(const TJson& j, const TPath& at, TTieDocument here, std::size_t wireCount,
                         std::set<TTieDocument>& explicitLists) {
  Object(j, at, {"origin", "mesial", "distal", "slot", "attachments"});
  TBracketDocument bracket;
  bracket.Pose.Origin = Point(Required(j, at, "origin"), at / "origin");
  bracket.Pose.Mesial = Point(Required(j, at, "mesial"), at / "mesial");
  bracket.Pose.Distal = Point(Required(j, at, "distal"), at / "distal");
  const TPath slotAt = at / "slot";
  const TJson& slot = ArrayOf(Required(j, at, "slot"), slotAt, 4);
  for (std::size_t i = 0; i < 4; ++i) bracket.Pose.Slot[i] = Point(slot[i], slotAt / i);
  const TPath attsAt = at / "attachments";
  const TJson& atts = Array(Required(j, at, "attachments"), attsAt);
  for (std::size_t a = 0; a < atts.size(); ++a) {
    const TPath attAt = attsAt / a;
    const TJson& aj = Object(atts[a], attAt, {"name", "origin", "angulation", "wires"});
    TAttachmentDocument& att = bracket.Attachments.emplace_back();
    att.Name = String(Required(aj, attAt, "name"), attAt / "name");
    att.Origin = Point(Required(aj, attAt, "origin"), attAt / "origin");
    att.Angulation = Number(Required(aj, attAt, "angulation"), attAt / "angulation");
    if (const TJson* wires = Find(aj, "wires")) {
      const TPath wiresAt = attAt / "wires";
      Array(*wires, wiresAt);
      for (std::size_t i = 0; i < wires->size(); ++i) {
        const std::size_t w = IndexNumber((*wires)[i], wiresAt / i);
        if (w >= wireCount) Fail(wiresAt / i, "there is no wire " + std::to_string(w));
        att.Wires.push_back(w);
      }
      here.Attachment = a;
      explicitLists.insert(here);
    }
  }
  return bracket;
}

// A tooth in full, or by its type and pose.
TToothDocument Tooth(const TJson& j, const TPath& at, std::size_t t, std::size_t wireCount,
                     std::set<TTieDocument>& explicitLists) {
  const bool full = j.is_object() && j.contains("geometry");
  if (!full) {
    Object(j, at, {"type", "cRes", "angulation", "supportLoss", "ankylosed", "response"});
  } else {
    Object(j, at, {"type", "ankylosed", "response", "geometry", "reference", "brackets"});
  }
  TToothDocument tooth;
  if (!full) {
    tooth = PlacedTooth(j, at);
  } else {
    const TJson& type = Required(j, at, "type", "null for the Generic tooth");
    if (!type.is_null()) tooth.Type = ToothType(type, at / "type");
    const TPath gAt = at / "geometry";
    const TJson& g = Object(
        j["geometry"], gAt,
        {"cusp", "apex", "cervixAnatomic", "cervix", "cRes", "cervixDiameter", "crown", "root"});
    TToothGeometry& geometry = tooth.Geometry;
    geometry.Cusp = Point(Required(g, gAt, "cusp"), gAt / "cusp");
    geometry.Apex = Point(Required(g, gAt, "apex"), gAt / "apex");
    geometry.CervixAnatomic = Point(Required(g, gAt, "cervixAnatomic"), gAt / "cervixAnatomic");
    geometry.Cervix = Point(Required(g, gAt, "cervix"), gAt / "cervix");
    geometry.CRes = Point(Required(g, gAt, "cRes"), gAt / "cRes");
    geometry.CervixDiameter = static_cast<std::int32_t>(
        Integer(Required(g, gAt, "cervixDiameter"), gAt / "cervixDiameter", 0,
                std::numeric_limits<std::int32_t>::max()));
    geometry.Crown = Points(Required(g, gAt, "crown"), gAt / "crown");
    geometry.Root = Points(Required(g, gAt, "root"), gAt / "root");
    if (const TJson* r = Find(j, "reference")) {
      const TPath rAt = at / "reference";
      Object(*r, rAt, {"cRes", "tip", "outline"});
      if (const TJson* v = Find(*r, "cRes")) tooth.ReferenceCRes = Point(*v, rAt / "cRes");
      if (const TJson* v = Find(*r, "tip")) tooth.ReferenceTip = Number(*v, rAt / "tip");
      if (const TJson* v = Find(*r, "outline"))
        tooth.ReferenceOutline = Points(*v, rAt / "outline");
    }
    if (const TJson* b = Find(j, "brackets")) {
      const TPath bAt = at / "brackets";
      Array(*b, bAt);
      for (std::size_t i = 0; i < b->size(); ++i) {
        tooth.Brackets.push_back(
            Bracket((*b)[i], bAt / i, TTieDocument{t, i, 0}, wireCount, explicitLists));
      }
    }
  }
  if (const TJson* v = Find(j, "ankylosed")) tooth.Ankylosed = Bool(*v, at / "ankylosed");
  if (const TJson* v = Find(j, "response")) tooth.Responce = Responce(*v, at / "response");
  return tooth;
}

TWireEndDocument WireEnd(const TJson& j, const TPath& at) {
  TWireEndDocument end;
  if (j.is_object() && j.contains("free")) {
    Object(j, at, {"free"});
    end.Free = Point(j["free"], at / "free");
    return end;
  }
  Object(j, at, {"tooth", "bracket", "attachment"});
  const char* hint = "an end is tied by \"tooth\", \"bracket\" and \"attachment\", or \"free\"";
  end.Tie = TTieDocument{IndexNumber(Required(j, at, "tooth", hint), at / "tooth"),
                         IndexNumber(Required(j, at, "bracket", hint), at / "bracket"),
                         IndexNumber(Required(j, at, "attachment", hint), at / "attachment")};
  return end;
}

template <typename Row, std::size_t N>
Row ShippedRow(const std::array<Row, N>& rows, const TJson& j, const TPath& at, const char* what) {
  const std::string name = String(j, at);
  for (const Row& row : rows) {
    if (row.Name == name) return row;
  }
  Fail(at, std::string("the program ships no wire ") + what + " of this name");
}

TWireBend Bend(const TJson& j, const TPath& at) {
  TWireBend bend;
  const std::string kind = String(Required(j, at, "kind", "\"V\" or \"step\""), at / "kind");
  if (kind == "V") {
    Object(j, at, {"kind", "position", "angle"});
    bend.Kind = TBendKind::V;
    bend.Value =
        NumberWithin(Required(j, at, "angle"), at / "angle", -HalfPi, true, HalfPi, "−π/2…π/2");
  } else if (kind == "step") {
    Object(j, at, {"kind", "position", "height"});
    bend.Kind = TBendKind::Step;
    bend.Value = NumberWithin(Required(j, at, "height"), at / "height", -LargestCrossDimension,
                              true, LargestCrossDimension, "−100…100");
  } else {
    Fail(at / "kind", "not \"V\" or \"step\"");
  }
  bend.Position = NumberWithin(Required(j, at, "position"), at / "position", SmallestBendPosition,
                               true, LargestBendPosition, "0.01…0.99");
  return bend;
}

TWireDocument Wire(const TJson& j, const TPath& at, const TModelSettings& settings) {
  Object(j, at, {"material", "size", "ends", "bends"});
  TWireDocument wire;
  wire.Material = settings.DefaultWireMaterial;
  wire.Size = settings.DefaultWireSize;
  if (const TJson* v = Find(j, "material")) {
    wire.Material = v->is_string() ? ShippedRow(BuiltInMaterials(), *v, at / "material", "material")
                                   : MaterialValue(*v, at / "material");
  }
  if (const TJson* v = Find(j, "size")) {
    wire.Size = v->is_string() ? ShippedRow(BuiltInSizes(), *v, at / "size", "size")
                               : SizeValue(*v, at / "size");
  }
  const TPath endsAt = at / "ends";
  const TJson& ends = ArrayOf(Required(j, at, "ends"), endsAt, 2);
  for (std::size_t e = 0; e < 2; ++e) wire.Ends[e] = WireEnd(ends[e], endsAt / e);
  if (const TJson* v = Find(j, "bends")) {
    const TPath bendsAt = at / "bends";
    Array(*v, bendsAt);
    for (std::size_t i = 0; i < v->size(); ++i) wire.Bends.push_back(Bend((*v)[i], bendsAt / i));
  }
  return wire;
}

TSetupDocument Document(const TJson& root) {
  const TPath top;
  if (!root.is_object()) Fail(top, "not a setup file: the text is not a JSON object");
  const TJson* format = Find(root, "format");
  if (format == nullptr || !format->is_string() || format->get<std::string>() != SetupFileFormat) {
    Fail(top / "format", "not an Orvela setup file (no \"format\": \"orvela-setup\")");
  }
  const TJson& version = Required(root, top, "version");
  if (!version.is_number_integer()) Fail(top / "version", "not a whole number");
  if (version.is_number_unsigned() && version.get<std::uint64_t>() > SetupFileVersion) {
    Fail(top / "version", "version " + version.dump() + " is newer than this program reads (" +
                              std::to_string(SetupFileVersion) + "): a newer Orvela wrote it");
  }
  if (version.get<std::int64_t>() < OldestSetupFileVersion)
    Fail(top / "version", "there is no such version");
  Object(root, top, {"format", "version", "settings", "view", "teeth", "wires"});

  TSetupDocument doc;
  if (const TJson* v = Find(root, "settings")) doc.Settings = Settings(*v, top / "settings");
  if (const TJson* v = Find(root, "view")) doc.View = View(*v, top / "view");
  const TJson* wires = Find(root, "wires");
  const TPath wiresAt = top / "wires";
  if (wires != nullptr) Array(*wires, wiresAt);
  const std::size_t wireCount = wires != nullptr ? wires->size() : 0;

  std::set<TTieDocument> explicitLists;
  if (const TJson* teeth = Find(root, "teeth")) {
    const TPath teethAt = top / "teeth";
    Array(*teeth, teethAt);
    doc.Teeth.reserve(teeth->size());
    for (std::size_t t = 0; t < teeth->size(); ++t)
      doc.Teeth.push_back(Tooth((*teeth)[t], teethAt / t, t, wireCount, explicitLists));
  }
  doc.Wires.reserve(wireCount);
  for (std::size_t w = 0; w < wireCount; ++w)
    doc.Wires.push_back(Wire((*wires)[w], wiresAt / w, doc.Settings));

  // A tie to nowhere gets no list here; the check below names it.
  const auto exists = [&doc](const TTieDocument& at) {
    return at.Tooth < doc.Teeth.size() && at.Bracket < doc.Teeth[at.Tooth].Brackets.size() &&
           at.Attachment < doc.Teeth[at.Tooth].Brackets[at.Bracket].Attachments.size();
  };
  for (const auto& [at, list] : TyingOrder(doc.Wires)) {
    if (!exists(at) || explicitLists.contains(at)) continue;
    doc.Teeth[at.Tooth].Brackets[at.Bracket].Attachments[at.Attachment].Wires = list;
  }
  if (auto problem = CheckSetupDocument(doc))
    throw TReadFailure{problem->Pointer, problem->Message};
  return doc;
}

// The parser's message without its exception name: "parse error at line 1, column 5: …".
std::string ParseMessage(const char* what) {
  std::string_view message = what;
  if (const std::size_t close = message.find("] "); close != std::string_view::npos) {
    message.remove_prefix(close + 2);
  }
  return std::string(message);
}

// Builds the value of a text as the library's own parser does, and also knows where it is:
// a number too large for a double, a key given twice and nesting deeper than a setup file's
// are told with the pointer of the value at fault. Pointers stay valid while they are on the
// stack: a container grows only once the children below it are complete.
class TDomBuilder final : public nlohmann::json_sax<TJson> {
 public:
  TDomBuilder(TJson& root, std::size_t textSize) : FRoot(root), FTextSize(textSize) {}

  const std::optional<TReadFailure>& Failure() const { return FFailure; }

  bool null() override { return Add(nullptr); }
  bool boolean(bool value) override { return Add(value); }
  bool number_integer(number_integer_t value) override { return Add(value); }
  bool number_unsigned(number_unsigned_t value) override { return Add(value); }
  bool number_float(number_float_t value, const string_t&) override { return Add(value); }
  bool string(string_t& value) override { return Add(std::move(value)); }
  bool binary(binary_t& value) override { return Add(TJson::binary(std::move(value))); }
  bool start_object(std::size_t) override { return Open(TJson::object()); }
  bool start_array(std::size_t) override { return Open(TJson::array()); }
  bool end_object() override { return Close(); }
  bool end_array() override { return Close(); }

  bool key(string_t& key) override {
    TLevel& top = FLevels.back();
    if (top.Value->contains(key)) {
      top.Key = std::move(key);
      return Fail("the key is given twice");
    }
    top.Key = std::move(key);
    return true;
  }

  bool parse_error(std::size_t position, const std::string&,
                   const nlohmann::detail::exception& e) override {
    // 406: a number beyond the largest double.
    if (e.id == 406) return Fail("not a finite number");
    FFailure =
        TReadFailure{{},
                     (position > FTextSize ? "the text ends early (cut short?): " : "not JSON: ") +
                         ParseMessage(e.what())};
    return false;
  }

 private:
  struct TLevel {
    TJson* Value;
    std::string Key;  // of the member being read, in an object
  };

  // Where the value being read goes.
  TJson* Slot() {
    if (FLevels.empty()) return &FRoot;
    TLevel& top = FLevels.back();
    if (top.Value->is_array()) return &top.Value->emplace_back();
    return &(*top.Value)[top.Key];
  }

  bool Add(TJson value) {
    *Slot() = std::move(value);
    return true;
  }

  bool Open(TJson container) {
    if (FLevels.size() >= MaxDepth) {
      return Fail("nested deeper than " + std::to_string(MaxDepth) + " levels");
    }
    TJson* slot = Slot();
    *slot = std::move(container);
    FLevels.push_back({slot, {}});
    return true;
  }

  bool Close() {
    FLevels.pop_back();
    return true;
  }

  // The pointer of the value being read.
  bool Fail(std::string message) {
    std::string pointer;
    for (std::size_t i = 0; i < FLevels.size(); ++i) {
      const TLevel& level = FLevels[i];
      const bool top = i + 1 == FLevels.size();
      if (level.Value->is_array()) {
        pointer += "/" + std::to_string(level.Value->size() - (top ? 0 : 1));
      } else {
        pointer += "/" + PointerToken(level.Key);
      }
    }
    FFailure = TReadFailure{std::move(pointer), std::move(message)};
    return false;
  }

  TJson& FRoot;
  std::size_t FTextSize;
  std::vector<TLevel> FLevels;
  std::optional<TReadFailure> FFailure;
};

}  // namespace

std::string TSetupFileError::Text() const {
  std::string out;
  for (const std::string* part : {&File, &Pointer}) {
    if (part->empty()) continue;
    out += *part;
    out += ": ";
  }
  return out + Message;
}

std::string WriteSetupText(const TSetupDocument& doc) {
  TOrderedJson root;
  root["format"] = SetupFileFormat;
  root["version"] = SetupFileVersion;
  root["settings"] = SettingsJson(doc.Settings);
  root["view"] = TOrderedJson{{"zoom", doc.View.Zoom},
                              {"scrollX", doc.View.ScrollX},
                              {"scrollY", doc.View.ScrollY},
                              {"forceScale", doc.View.ForceScale}};
  const auto tied = TyingOrder(doc.Wires);
  std::size_t nextTied = 0;
  TOrderedJson& teeth = root["teeth"] = TOrderedJson::array();
  for (std::size_t t = 0; t < doc.Teeth.size(); ++t)
    teeth.push_back(ToothJson(doc.Teeth[t], t, tied, nextTied));
  TOrderedJson& wires = root["wires"] = TOrderedJson::array();
  for (const TWireDocument& wire : doc.Wires) wires.push_back(WireJson(wire));
  std::string out;
  AppendPretty(root, out, 0);
  out += '\n';
  return out;
}

std::optional<TSetupDocument> ReadSetupText(std::string_view text, TSetupFileError& error) {
  error = {};
  if (text.size() > SetupFileMaxBytes) {
    error.Message = "larger than " + std::to_string(SetupFileMaxBytes / (1024 * 1024)) +
                    " MiB: not a setup file";
    return std::nullopt;
  }
  TJson root;
  TDomBuilder builder(root, text.size());
  if (!TJson::sax_parse(text, &builder) || builder.Failure()) {
    if (builder.Failure()) {
      error.Pointer = builder.Failure()->Pointer;
      error.Message = builder.Failure()->Message;
    } else {
      error.Message = "not JSON";
    }
    return std::nullopt;
  }
  try {
    return Document(root);
  } catch (const TReadFailure& failure) {
    error.Pointer = failure.Pointer;
    error.Message = failure.Message;
  } catch (const TJson::exception& e) {
    // Should a check above miss a kind of value, the library's own error still names it.
    error.Message = ParseMessage(e.what());
  }
  return std::nullopt;
}

bool SaveSetupFile(const std::string& path, const TSetupDocument& doc, TSetupFileError& error) {
  error = {};
  std::string why;
  if (ReplaceFileText(path, WriteSetupText(doc), &why)) return true;
  error.File = path;
  error.Message = "could not be saved: " + why;
  return false;
}

std::optional<TSetupDocument> LoadSetupFile(const std::string& path, TSetupFileError& error) {
  error = {};
  std::string text;
  std::string why;
  const TFileReadResult read = ReadFileText(path, text, SetupFileMaxBytes, &why);
  if (read != TFileReadResult::Ok) {
    error.File = path;
    error.Message = read == TFileReadResult::TooLarge
                        ? "larger than " + std::to_string(SetupFileMaxBytes / (1024 * 1024)) +
                              " MiB: not a setup file"
                        : "could not be opened: " + why;
    return std::nullopt;
  }
  std::optional<TSetupDocument> doc = ReadSetupText(text, error);
  if (!doc) error.File = path;
  return doc;
}

}  // namespace orvela
