#include "document/settings.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "files.h"
#include "mechanics/forcedraw.h"
#include "mechanics/wiremechanics.h"
#include "model/tooth.h"
#include "util/startup.h"

namespace orvela {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  std::string PathOf(const char* name) const { return (FDir.Path() / name).string(); }
  std::string IniWith(const std::string& content) const {
    const std::string path = PathOf("Orvela.ini");
    test::WriteTextFile(path, content);
    return path;
  }
  static std::string Contents(const std::string& path) { return test::ReadTextFile(path); }
  test::TTempFolder FDir;
};

TEST_F(SettingsTest, MissingFileGivesTheFallbackOfEveryKey) {
  TPreferences prefs;
  prefs.ZeroWidthBrackets = true;  // "Zero Width" falls back to the current value
  ReadIniSettings(PathOf("missing.ini"), prefs);

  TPreferences expected;
  expected.ZeroWidthBrackets = true;
  // Without a file every force flag ends up set, "Bracket Forces" included.
  expected.BracketForces = true;
  expected.DrawForcesAtAttachment = true;
  expected.DrawForcesAtBracket = true;
  EXPECT_EQ(prefs, expected);
  EXPECT_FALSE(prefs.RememberWindowRect);
  EXPECT_DOUBLE_EQ(prefs.ThresholdMoment, 100.0);
}

TEST_F(SettingsTest, WindowRectangleVariants) {
  struct TCase {
    const char* Value;
    bool Remember;
    TWindowPlacement Placement;
  };
  const TCase cases[] = {
      {"10 20 300 400", true, {false, 10, 20, 300, 400}},
      {"-5  20 300 400", true, {false, -5, 20, 300, 400}},  // runs of blanks split once
      {"Maximized", true, {true, {}, {}, {}, {}}},
      {"Default", false, {}},
      {"10 20 wide 400", false, {false, 10, 20, {}, {}}},  // fields before the error stay
      {"10 20 300", false, {false, 10, 20, 300, {}}},
      {"", false, {}},
      {"maximized", false, {}},
  };
  for (const TCase& c : cases) {
    TPreferences prefs;
    ReadIniSettings(IniWith(std::string("[General]\nOrvela Rect=") + c.Value + "\n"), prefs);
    EXPECT_EQ(prefs.RememberWindowRect, c.Remember) << c.Value;
    EXPECT_EQ(prefs.WindowPlacement, c.Placement) << c.Value;
  }
}

TEST_F(SettingsTest, MaterialAndSizeRowsAndTheDefaultsByName) {
  TPreferences prefs;
  ReadIniSettings(IniWith("[Wire]\n"
                          "Material 1=Beta III, 68000\n"
                          "Material 2=Nitinol 45000\n"
                          "Material 3=Elgiloy, stiff\n"
                          "Cross Section 5=Thin, 1.25 x  2.5 \n"
                          "Cross Section 6=Odd, abc x\n"
                          "Cross Section 7=Beta, 3\n"
                          "Cross Section 4=Beta, 1 x 2\n"
                          "Default Material=Beta III\n"
                          "Default Cross Section=Beta\n"),
                  prefs);
  EXPECT_EQ(prefs.MaterialTable[0], (TWireMaterial{172000, "Stainless Steel"}));
  EXPECT_EQ(prefs.MaterialTable[1], (TWireMaterial{68000, "Beta III"}));
  EXPECT_EQ(prefs.MaterialTable[2], (TWireMaterial{100000, ""}));
  EXPECT_EQ(prefs.MaterialTable[3], (TWireMaterial{100000, "Elgiloy"}));
  EXPECT_EQ(prefs.SizeTable[5], (TWireSize{1.25, 2.5, "Thin"}));
  EXPECT_EQ(prefs.SizeTable[6], (TWireSize{4.0, 4.0, "Odd"}));
  EXPECT_EQ(prefs.SizeTable[7], (TWireSize{3.0, 4.0, "Beta"}));
  EXPECT_EQ(prefs.SizeTable[4], (TWireSize{1.0, 2.0, "Beta"}));
  EXPECT_EQ(prefs.DefaultWireMaterial, prefs.MaterialTable[1]);
  EXPECT_EQ(prefs.DefaultWireSize, prefs.SizeTable[7]);  // the last match wins

  // Names compare exactly; without a match row 0 stays.
  ReadIniSettings(IniWith("[Wire]\nDefault Material=tma\nDefault Cross Section=none\n"), prefs);
  EXPECT_EQ(prefs.DefaultWireMaterial, prefs.MaterialTable[0]);
  EXPECT_EQ(prefs.DefaultWireSize, prefs.SizeTable[0]);
}

TEST_F(SettingsTest, NumbersReadWithTheFixedFormatWhateverTheUserLocale) {
  const TFormatSettings saved = UserFormatSettings();
  SetUserFormatSettings({",", ".", ".", "dd.mm.yyyy", "hh:mm:ss"});
  TPreferences prefs;
  ReadIniSettings(IniWith("[Calculation]\nThreshold Force=0.5\nThreshold Moment=2.5\n"
                          "Auto Stop=0\n[View]\nGrid Density=3\n"),
                  prefs);
  EXPECT_DOUBLE_EQ(prefs.ThresholdForce, 0.5);
  EXPECT_DOUBLE_EQ(prefs.ThresholdMoment, 25.0);
  EXPECT_FALSE(prefs.AutoStop);
  EXPECT_EQ(prefs.GridDensity, 3);

  ReadIniSettings(IniWith("[Calculation]\nThreshold Force=0,5\nThreshold Moment=ten\n"
                          "[View]\nGrid Density=4\n"),
                  prefs);
  EXPECT_DOUBLE_EQ(prefs.ThresholdForce, 1.0);
  EXPECT_DOUBLE_EQ(prefs.ThresholdMoment, 100.0);
  EXPECT_EQ(prefs.GridDensity, 2);
  for (const char* density : {"-1", "two", "99999999999"}) {
    ReadIniSettings(IniWith(std::string("[View]\nGrid Density=") + density + "\n"), prefs);
    EXPECT_EQ(prefs.GridDensity, 2) << density;
  }
  SetUserFormatSettings(saved);
}

TEST_F(SettingsTest, WriteAndReadBackKeepsEveryPreferenceAndOtherLines) {
  const std::string path = IniWith(
      "; kept\n[General]\nVersion=1.2.1.0\nSomebody Else=42\n\n[Calculation]\nAuto Stop=1\n");
  TPreferences prefs;
  prefs.RememberWindowRect = true;
  prefs.WindowPlacement = {false, -3, 40, 900, 700};
  prefs.AutoStop = false;
  prefs.ThresholdForce = 2.5;
  prefs.ThresholdMoment = 37.0;
  prefs.MaterialTable[4] = {123456, "Gold"};
  prefs.SizeTable[7] = {1.5, 2.25, "Ribbon"};
  prefs.DefaultWireMaterial = prefs.MaterialTable[4];
  prefs.DefaultWireSize = prefs.SizeTable[7];
  prefs.GridDensity = 0;
  prefs.SnapGrid = false;
  prefs.ShowGrid = false;
  prefs.ViewForces = false;
  prefs.ViewMoments = true;
  prefs.BracketForces = true;
  prefs.ZeroWidthBrackets = true;
  prefs.DrawForcesAtCRes = false;
  prefs.DrawForcesAtAttachment = true;
  prefs.DrawForcesAtBracket = false;
  ASSERT_TRUE(WriteIniSettings(path, prefs));

  TPreferences back;
  ReadIniSettings(path, back);
  EXPECT_EQ(back, prefs);

  const std::string text = Contents(path);
  for (const char* line :
       {"; kept\n[General]\nVersion=1.2.1.0\nSomebody Else=42\nOrvela Rect=-3 40 900 700\n",
        "Auto Stop=0\nThreshold Force=2.5\nThreshold Moment=3.7\n",
        "Material 0=Stainless Steel, 172000\n", "Material 4=Gold, 123456\n",
        "Cross Section 0=0.016, 4.064 x 0.000\n", "Cross Section 7=Ribbon, 1.500 x 2.250\n",
        "Default Material=Gold\nDefault Cross Section=Ribbon\n", "Draw Forces at Bracket=0\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }

  prefs.WindowPlacement = {true, {}, {}, {}, {}};
  ASSERT_TRUE(WriteIniSettings(path, prefs));
  EXPECT_NE(Contents(path).find("Orvela Rect=Maximized\n"), std::string::npos);
  prefs.RememberWindowRect = false;
  ASSERT_TRUE(WriteIniSettings(path, prefs));
  EXPECT_NE(Contents(path).find("Orvela Rect=Default\n"), std::string::npos);
}

TEST_F(SettingsTest, WritingIntoAFolderThatCannotHoldTheFileFails) {
  EXPECT_FALSE(WriteIniSettings(PathOf("no folder/Orvela.ini"), TPreferences{}));
  EXPECT_FALSE(std::filesystem::exists(FDir.Path() / "no folder"));
  // A file where the folder should be.
  const std::string notAFolder = IniWith("[General]\n");
  EXPECT_FALSE(WriteIniSettings(notAFolder + "/Orvela.ini", TPreferences{}));
  EXPECT_EQ(Contents(notAFolder), "[General]\n");
}

TEST(ModelPreferencesTest, ApplyAndCollectTheProgramWideValues) {
  ResetWireTables();
  ForceDrawOptions = {};
  ForceDrawPlaces = {};
  TPreferences collected;
  collected.ZeroWidthBrackets = true;
  CollectModelPreferences(collected);
  // The built-in values agree with those of the mechanics and the model.
  EXPECT_EQ(collected, TPreferences{});

  TPreferences prefs;
  prefs.MaterialTable[2] = {1, "Soft"};
  prefs.SizeTable[3] = {1, 2, "Flat"};
  prefs.DefaultWireMaterial = prefs.MaterialTable[2];
  prefs.DefaultWireSize = prefs.SizeTable[3];
  prefs.ZeroWidthBrackets = true;
  prefs.ViewForces = false;
  prefs.BracketForces = true;
  prefs.DrawForcesAtCRes = false;
  prefs.DrawForcesAtBracket = true;
  ApplyModelPreferences(prefs);
  EXPECT_EQ(MaterialTable[2].Name, "Soft");
  EXPECT_EQ(SizeTable[3].CrossB, 2.0);
  EXPECT_EQ(DefaultWireMaterial.Name, "Soft");
  EXPECT_EQ(DefaultWireSize.Name, "Flat");
  EXPECT_TRUE(ZeroWidthBrackets);
  EXPECT_EQ(ForceDrawOptions, (TForceDrawOptions{false, true, true}));
  EXPECT_EQ(ForceDrawPlaces, (TForceDrawPlaces{false, false, true}));
  TPreferences back;
  CollectModelPreferences(back);
  EXPECT_EQ(back, prefs);
  ResetWireTables();
  ForceDrawOptions = {};
  ForceDrawPlaces = {};
}

}  // namespace
}  // namespace orvela
