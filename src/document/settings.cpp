#include "document/settings.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "mechanics/wiremechanics.h"
#include "util/format.h"
#include "util/ini.h"
#include "util/misc.h"

namespace orvela {

namespace {

constexpr const char* General = "General";
constexpr const char* Calculation = "Calculation";
constexpr const char* Wire = "Wire";
constexpr const char* View = "View";
constexpr const char* RecentFiles = "Recent Files";
constexpr std::string_view NameSeparator = ", ";
constexpr std::string_view DimensionSeparator = " x ";
// Fallbacks of numbers that do not read.
constexpr double UnreadableModulus = 100000.0;
constexpr double UnreadableDimension = 4.0;
// Beyond LargestModulus and LargestCrossDimension (wiremechanics.h) a value counts as
// unreadable.
constexpr double UnreadableThresholdForce = 1.0;
constexpr double UnreadableThresholdMoment = 10.0;  // gf.mm
constexpr std::int32_t FallbackGridDensity = 2;
// The moment threshold is held in gf·0.1 mm and stored in gf.mm.
constexpr double MomentUnitsPerGfMm = 10.0;

std::optional<double> FileNumber(std::string_view text) {
  double value = 0.0;
  if (!TryStrToFloat(text, value, FixedFormatSettings())) return std::nullopt;
  return value;
}

// A number in [low, high] (low itself only when lowIncluded), else nothing.
std::optional<double> FileNumberWithin(std::string_view text, double low, bool lowIncluded,
                                       double high) {
  const std::optional<double> value = FileNumber(text);
  if (!value || *value > high || *value < low || (!lowIncluded && *value == low)) {
    return std::nullopt;
  }
  return value;
}

// A threshold as the file holds it (the moment in gf.mm), in the unit the program keeps it
// in. A negative one could never be met and one that overflows is no number: both are
// unreadable.
std::optional<double> FileThreshold(std::string_view text, double unitsPerFileUnit) {
  const std::optional<double> value = FileNumber(text);
  if (!value || *value < 0.0 || !std::isfinite(*value * unitsPerFileUnit)) return std::nullopt;
  return *value * unitsPerFileUnit;
}

// The text the file keeps a number in: the short form of the pattern when the reader takes
// it back, else the shortest exact form (15 digits can round past the largest number, "0"
// turns a small modulus into none); nothing when neither reads back, so that the key keeps
// what the file had.
template <typename Reads>
std::optional<std::string> FileText(std::string_view pattern, double value, Reads reads) {
  std::string text = FormatFloat(pattern, value, FixedFormatSettings());
  if (reads(text)) return text;
  std::array<char, 32> exact{};
  const auto [end, ec] = std::to_chars(exact.data(), exact.data() + exact.size(), value);
  if (ec != std::errc()) return std::nullopt;
  text.assign(exact.data(), end);
  if (reads(text)) return text;
  return std::nullopt;
}

bool ReadsAsModulus(std::string_view text) {
  return FileNumberWithin(text, 0.0, false, LargestModulus).has_value();
}

std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string MaterialText(const TWireMaterial& row) {
  // No modulus the program holds is refused by the reader, which puts UnreadableModulus in
  // the place of one; should one be, it is written as it stands.
  const std::string modulus = FileText("0", row.Modulus, ReadsAsModulus)
                                  .value_or(FormatFloat("0", row.Modulus, FixedFormatSettings()));
  return row.Name + std::string(NameSeparator) + modulus;
}

std::string SizeText(const TWireSize& row) {
  return row.Name + std::string(NameSeparator) +
         FormatFloat("0.000", row.CrossA, FixedFormatSettings()) + std::string(DimensionSeparator) +
         FormatFloat("0.000", row.CrossB, FixedFormatSettings());
}

// "name, rest": the name and the rest; without ", " the name is empty and so is the rest.
std::pair<std::string, std::string> SplitName(std::string_view s) {
  const std::size_t at = s.find(NameSeparator);
  if (at == std::string_view::npos) return {};
  return {std::string(s.substr(0, at)), std::string(s.substr(at + NameSeparator.size()))};
}

void ReadWindowRect(const TIniDocument& ini, TPreferences& prefs) {
  prefs.RememberWindowRect = false;
  prefs.WindowPlacement = {};
  const std::string value = ini.ReadString(General, "Orvela Rect", "Default");
  if (value == "Default") return;
  const std::vector<std::string> fields = SplitQuoted(value, ' ');
  if (fields.empty()) return;
  TWindowPlacement& placement = prefs.WindowPlacement;
  if (fields[0] == "Maximized") {
    placement.Maximized = true;
  } else {
    // Each field is applied as soon as it reads; the first that does not ends the step.
    std::optional<int>* const targets[] = {&placement.Left, &placement.Top, &placement.Width,
                                           &placement.Height};
    for (std::size_t i = 0; i < std::size(targets); ++i) {
      if (i >= fields.size()) return;
      const std::optional<int> number = WholeNumber(fields[i]);
      if (!number) return;
      *targets[i] = number;
    }
  }
  prefs.RememberWindowRect = true;
}

void ReadMaterial(const TIniDocument& ini, int index, TWireMaterial& row) {
  const std::string key = "Material " + std::to_string(index);
  const auto [name, rest] = SplitName(ini.ReadString(Wire, key, MaterialText(row)));
  row.Name = name;
  row.Modulus = FileNumberWithin(rest, 0.0, false, LargestModulus).value_or(UnreadableModulus);
}

// The yield strength sits under a key of its own, so that a file of an older Orvela, which
// has none, keeps the row's default.
void ReadYieldStrength(const TIniDocument& ini, int index, TWireMaterial& row) {
  const std::string text = ini.ReadString(Wire, "Yield Strength " + std::to_string(index), "");
  row.YieldStrength =
      FileNumberWithin(text, 0.0, true, LargestYieldStrength).value_or(row.YieldStrength);
}

void ReadSize(const TIniDocument& ini, int index, TWireSize& row) {
  const std::string key = "Cross Section " + std::to_string(index);
  const auto [name, rest] = SplitName(ini.ReadString(Wire, key, SizeText(row)));
  row.Name = name;
  const std::string_view r = rest;
  const std::size_t at = r.find(DimensionSeparator);
  const std::string_view a = r.substr(0, at);
  const std::string_view b =
      at == std::string_view::npos ? std::string_view() : r.substr(at + DimensionSeparator.size());
  // A round wire has no second dimension: 0 is a size.
  row.CrossA = FileNumberWithin(a, 0.0, true, LargestCrossDimension).value_or(UnreadableDimension);
  row.CrossB = FileNumberWithin(b, 0.0, true, LargestCrossDimension).value_or(UnreadableDimension);
}

// The default is a copy of row 0, replaced by every row with exactly that name: the last wins.
template <typename Row, std::size_t N>
Row ChooseDefault(const std::array<Row, N>& table, const std::string& name) {
  Row chosen = table[0];
  for (const Row& row : table) {
    if (row.Name == name) chosen = row;
  }
  return chosen;
}

}  // namespace

void ReadIniSettings(const std::string& path, TPreferences& prefs) {
  // Read once; a file that cannot be read in full reads as missing.
  TIniDocument ini;
  LoadIniDocument(path, ini);
  ReadWindowRect(ini, prefs);

  prefs.AutoStop = ini.ReadBool(Calculation, "Auto Stop", true);
  prefs.ThresholdForce = FileThreshold(ini.ReadString(Calculation, "Threshold Force", "1"), 1.0)
                             .value_or(UnreadableThresholdForce);
  prefs.ThresholdMoment =
      FileThreshold(ini.ReadString(Calculation, "Threshold Moment", "10"), MomentUnitsPerGfMm)
          .value_or(MomentUnitsPerGfMm * UnreadableThresholdMoment);

  for (std::size_t i = 0; i < prefs.MaterialTable.size(); ++i) {
    ReadMaterial(ini, static_cast<int>(i), prefs.MaterialTable[i]);
    ReadYieldStrength(ini, static_cast<int>(i), prefs.MaterialTable[i]);
  }
  for (std::size_t i = 0; i < prefs.SizeTable.size(); ++i) {
    ReadSize(ini, static_cast<int>(i), prefs.SizeTable[i]);
  }
  prefs.DefaultWireMaterial = ChooseDefault(
      prefs.MaterialTable, ini.ReadString(Wire, "Default Material", prefs.MaterialTable[0].Name));
  prefs.DefaultWireSize = ChooseDefault(
      prefs.SizeTable, ini.ReadString(Wire, "Default Cross Section", prefs.SizeTable[0].Name));

  // Used as an index into the four grid steps: anything else falls back to 2 mm.
  const std::int32_t density = ini.ReadInteger(View, "Grid Density", FallbackGridDensity);
  prefs.GridDensity = (density >= 0 && density <= 3) ? density : FallbackGridDensity;
  prefs.SnapGrid = ini.ReadBool(View, "Snap to Grid", true);
  prefs.ShowGrid = ini.ReadBool(View, "View Grid", true);
  prefs.ShowCentresOfRotation = ini.ReadBool(View, "Centres of Rotation", false);
  prefs.ViewForces = ini.ReadBool(View, "View Forces", true);
  prefs.ViewMoments = ini.ReadBool(View, "View Moments", true);
  prefs.BracketForces = ini.ReadBool(View, "Bracket Forces", true);
  prefs.ZeroWidthBrackets = ini.ReadBool(View, "Zero Width", prefs.ZeroWidthBrackets);
  prefs.DrawForcesAtCRes = ini.ReadBool(View, "Draw Forces at CRes", true);
  prefs.DrawForcesAtAttachment = ini.ReadBool(View, "Draw Forces at Attachment", true);
  prefs.DrawForcesAtBracket = ini.ReadBool(View, "Draw Forces at Bracket", true);
  prefs.RecentFiles.clear();
  for (std::size_t i = 1; i <= MaxRecentFiles; ++i) {
    std::string file = ini.ReadString(RecentFiles, "File " + std::to_string(i), "");
    if (!file.empty()) prefs.RecentFiles.push_back(std::move(file));
  }
}

bool WriteIniSettings(const std::string& path, const TPreferences& prefs) {
  TIniDocument ini;
  // A file that exists but cannot be read in full is never replaced: that would lose the
  // keys of other programs and every comment in it.
  if (LoadIniDocument(path, ini) == TIniLoadResult::Failed) return false;
  std::string rect = "Default";
  const TWindowPlacement& placement = prefs.WindowPlacement;
  if (prefs.RememberWindowRect && placement.Maximized) {
    rect = "Maximized";
  } else if (prefs.RememberWindowRect && placement.Left && placement.Top && placement.Width &&
             placement.Height) {
    rect = std::to_string(*placement.Left) + " " + std::to_string(*placement.Top) + " " +
           std::to_string(*placement.Width) + " " + std::to_string(*placement.Height);
  }
  // The names are fixed and storable, and a value loses any line break it holds: every key
  // is set, and the file is then replaced once.
  ini.WriteString(General, "Orvela Rect", rect);
  ini.WriteBool(Calculation, "Auto Stop", prefs.AutoStop);
  // The thresholds are kept too, so that what the options dialog set lasts; one the reader
  // would refuse leaves the file's line as it is.
  const auto writeThreshold = [&ini](const char* key, double value, double unitsPerFileUnit) {
    const std::optional<std::string> text =
        FileText("", value / unitsPerFileUnit, [unitsPerFileUnit](std::string_view t) {
          return FileThreshold(t, unitsPerFileUnit).has_value();
        });
    if (text) ini.WriteString(Calculation, key, *text);
  };
  writeThreshold("Threshold Force", prefs.ThresholdForce, 1.0);
  writeThreshold("Threshold Moment", prefs.ThresholdMoment, MomentUnitsPerGfMm);
  for (std::size_t i = 0; i < prefs.MaterialTable.size(); ++i) {
    ini.WriteString(Wire, "Material " + std::to_string(i), MaterialText(prefs.MaterialTable[i]));
  }
  for (std::size_t i = 0; i < prefs.MaterialTable.size(); ++i) {
    ini.WriteString(Wire, "Yield Strength " + std::to_string(i),
                    FormatFloat("0", prefs.MaterialTable[i].YieldStrength, FixedFormatSettings()));
  }
  for (std::size_t i = 0; i < prefs.SizeTable.size(); ++i) {
    ini.WriteString(Wire, "Cross Section " + std::to_string(i), SizeText(prefs.SizeTable[i]));
  }
  ini.WriteString(Wire, "Default Material", prefs.DefaultWireMaterial.Name);
  ini.WriteString(Wire, "Default Cross Section", prefs.DefaultWireSize.Name);
  ini.WriteInteger(View, "Grid Density", prefs.GridDensity);
  ini.WriteBool(View, "Snap to Grid", prefs.SnapGrid);
  ini.WriteBool(View, "View Grid", prefs.ShowGrid);
  ini.WriteBool(View, "Centres of Rotation", prefs.ShowCentresOfRotation);
  ini.WriteBool(View, "View Forces", prefs.ViewForces);
  ini.WriteBool(View, "View Moments", prefs.ViewMoments);
  ini.WriteBool(View, "Bracket Forces", prefs.BracketForces);
  ini.WriteBool(View, "Zero Width", prefs.ZeroWidthBrackets);
  ini.WriteBool(View, "Draw Forces at CRes", prefs.DrawForcesAtCRes);
  ini.WriteBool(View, "Draw Forces at Attachment", prefs.DrawForcesAtAttachment);
  ini.WriteBool(View, "Draw Forces at Bracket", prefs.DrawForcesAtBracket);
  for (std::size_t i = 1; i <= MaxRecentFiles; ++i) {
    ini.WriteString(RecentFiles, "File " + std::to_string(i),
                    i <= prefs.RecentFiles.size() ? prefs.RecentFiles[i - 1] : std::string());
  }
  return SaveIniDocument(path, ini);
}

TModelSettings ModelSettingsOf(const TPreferences& prefs) {
  TModelSettings model;
  model.MaterialTable = prefs.MaterialTable;
  model.SizeTable = prefs.SizeTable;
  model.DefaultWireMaterial = prefs.DefaultWireMaterial;
  model.DefaultWireSize = prefs.DefaultWireSize;
  model.ZeroWidthBrackets = prefs.ZeroWidthBrackets;
  return model;
}

void ApplyDrawPreferences(const TPreferences& prefs, TForceDrawing& drawing) {
  drawing.Options = TForceDrawOptions{prefs.ViewForces, prefs.ViewMoments, prefs.BracketForces};
  drawing.Places = TForceDrawPlaces{prefs.DrawForcesAtCRes, prefs.DrawForcesAtAttachment,
                                    prefs.DrawForcesAtBracket};
}

const char* AutoStopCaption(bool autoStop) { return autoStop ? "Auto Stop" : "Manual Stop"; }

}  // namespace orvela
