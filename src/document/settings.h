#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/forcedraw.h"
#include "mechanics/wiremechanics.h"

namespace orvela {

// The main-window placement read from "Orvela Rect". Fields are filled in the order left,
// top, width, height; a field that could not be read stays empty, and so do those after it.
struct TWindowPlacement {
  bool Maximized = false;
  std::optional<int> Left;
  std::optional<int> Top;
  std::optional<int> Width;
  std::optional<int> Height;
  bool operator==(const TWindowPlacement&) const = default;
};

// Every preference kept in the settings file, with the built-in values the program starts
// with before the file is read. Thresholds: ThresholdForce in gf, ThresholdMoment in
// gf × model unit (gf·0.1 mm), i.e. 10 × the gf.mm the user sees.
struct TPreferences {
  // "General"
  bool RememberWindowRect = false;
  TWindowPlacement WindowPlacement;
  // "Calculation"
  bool AutoStop = true;
  double ThresholdForce = 1.0;
  double ThresholdMoment = 100.0;
  // "Wire"
  std::array<TWireMaterial, 5> MaterialTable = BuiltInMaterials();
  std::array<TWireSize, 8> SizeTable = BuiltInSizes();
  TWireMaterial DefaultWireMaterial = MaterialTable[0];
  TWireSize DefaultWireSize = SizeTable[0];
  // "View": grid step index 0 = 10 mm, 1 = 5 mm, 2 = 2 mm, 3 = 1 mm.
  std::int32_t GridDensity = 2;
  bool SnapGrid = true;
  bool ShowGrid = true;
  // Marks at the centres of rotation of the last run step.
  bool ShowCentresOfRotation = false;
  // ForceDrawOptions: forces, moments, reversed (drawn as acting on the wires).
  bool ViewForces = true;
  bool ViewMoments = true;
  bool BracketForces = false;
  bool ZeroWidthBrackets = false;
  // ForceDrawPlaces: centre of resistance, attachments, brackets.
  bool DrawForcesAtCRes = true;
  bool DrawForcesAtAttachment = false;
  bool DrawForcesAtBracket = false;
  // "Recent Files": the setup files last opened or saved, newest first, at most
  // MaxRecentFiles.
  std::vector<std::string> RecentFiles;

  bool operator==(const TPreferences&) const = default;
};

inline constexpr std::size_t MaxRecentFiles = 8;

inline constexpr const char* SavePreferencesFailedText = "Could not save preferences to INI file.";

// Reads every key of the settings file in order, each with its fallback; a missing file or
// key leaves the documented value, and so does a file that cannot be read in full or is not
// a regular file. The file is read once. Never fails and never reports.
void ReadIniSettings(const std::string& path, TPreferences& prefs);

// Writes every key (the thresholds too) into the file as it is on disk, keeping every other
// line, and replaces the file once (SaveIniDocument). Returns false, leaving the file as it
// was, when it exists but cannot be read in full, or cannot be replaced (the caller shows
// SavePreferencesFailedText).
// prefs.WindowPlacement must describe the window now (CaptureWindowPlacement).
bool WriteIniSettings(const std::string& path, const TPreferences& prefs);

// The model settings a new setup starts with: the wire tables, the default rows and
// zero-width brackets of the preferences.
TModelSettings ModelSettingsOf(const TPreferences& prefs);
// The preferences' force-draw options and places; the scale is the view's own and stays.
void ApplyDrawPreferences(const TPreferences& prefs, TForceDrawing& drawing);

// "Auto Stop" or "Manual Stop", the caption of the Auto Stop panel.
const char* AutoStopCaption(bool autoStop);

}  // namespace orvela
