#include "document/settings.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <unistd.h>

#include "files.h"
#include "graphics/forcedraw.h"
#include "mechanics/wiremechanics.h"
#include "model/tooth.h"
#include "util/format.h"
#include "util/ini.h"

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
  EXPECT_EQ(prefs.MaterialTable[0], (TWireMaterial{172000, "Stainless Steel", 1579}));
  EXPECT_EQ(prefs.MaterialTable[1], (TWireMaterial{68000, "Beta III", 965}));
  EXPECT_EQ(prefs.MaterialTable[2], (TWireMaterial{100000, "", 1200}));
  EXPECT_EQ(prefs.MaterialTable[3], (TWireMaterial{100000, "Elgiloy", 1413}));
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

TEST_F(SettingsTest, EveryNumberWrittenReadsBackAndOneThatWouldNotIsNotWritten) {
  const double largest = std::numeric_limits<double>::max();
  TPreferences prefs;
  prefs.ThresholdForce = largest;  // 15 digits would round past it
  prefs.ThresholdMoment = 0.0;
  prefs.MaterialTable[1].Modulus = 0.4;  // "0" would be no modulus
  const std::string path = PathOf("Orvela.ini");
  ASSERT_TRUE(WriteIniSettings(path, prefs));
  TPreferences back;
  ReadIniSettings(path, back);
  EXPECT_EQ(back.ThresholdForce, largest);
  EXPECT_EQ(back.ThresholdMoment, 0.0);
  EXPECT_DOUBLE_EQ(back.MaterialTable[1].Modulus, 0.4);

  // Thresholds the reader refuses leave the file's lines as they are.
  const std::string older = IniWith("[Calculation]\nThreshold Force=3\nThreshold Moment=4\n");
  prefs.ThresholdForce = -1.0;
  prefs.ThresholdMoment = std::numeric_limits<double>::infinity();
  ASSERT_TRUE(WriteIniSettings(older, prefs));
  ReadIniSettings(older, back);
  EXPECT_EQ(back.ThresholdForce, 3.0);
  EXPECT_EQ(back.ThresholdMoment, 40.0);

  // Nor does the reader take them from a file: the fallbacks apply.
  ReadIniSettings(IniWith("[Calculation]\nThreshold Force=-2\nThreshold Moment=1.7e308\n"), back);
  EXPECT_EQ(back.ThresholdForce, 1.0);
  EXPECT_EQ(back.ThresholdMoment, 100.0);
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
  prefs.MaterialTable[4] = {123456, "Gold", 800};
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

// Parse: values the reader accepts must not break the model.
TEST_F(SettingsTest, WireNumbersOutsideASaneRangeFallBack) {
  TPreferences prefs;
  ReadIniSettings(IniWith("[Wire]\nMaterial 0=Steel, 10000000\nMaterial 1=Beta, 10000001\n"
                          "Material 2=Nitinol, 1e308\nMaterial 3=Zero, 0\nMaterial 4=Neg, -5\n"
                          "Cross Section 0=Big, 100 x 100\nCross Section 1=Far, 100.001 x 0\n"
                          "Cross Section 2=0.014, 1e80 x 0\nCross Section 3=Neg, -1 x -0.5\n"),
                  prefs);
  EXPECT_EQ(prefs.MaterialTable[0], (TWireMaterial{1e7, "Steel", 1579}));
  for (std::size_t i : {1u, 2u, 3u, 4u}) EXPECT_EQ(prefs.MaterialTable[i].Modulus, 100000.0) << i;
  EXPECT_EQ(prefs.SizeTable[0], (TWireSize{100.0, 100.0, "Big"}));
  EXPECT_EQ(prefs.SizeTable[1], (TWireSize{4.0, 0.0, "Far"}));
  EXPECT_EQ(prefs.SizeTable[2], (TWireSize{4.0, 0.0, "0.014"}));
  EXPECT_EQ(prefs.SizeTable[3], (TWireSize{4.0, 4.0, "Neg"}));
}

// Write: a value the old reader let in with a carriage return no longer stops the writing.
TEST_F(SettingsTest, ValuesWithLineBreaksAreWrittenWithoutThemAndEveryKeyFollows) {
  const std::string path =
      IniWith("[Wire]\nMaterial 0=Stainless\rSteel, 172000\nMaterial 1=Gold, 5\n");
  TPreferences prefs;
  ReadIniSettings(path, prefs);
  EXPECT_EQ(prefs.MaterialTable[1], (TWireMaterial{5.0, "Gold", 965}));
  prefs.MaterialTable[0] = {172000, "Stainless\rSteel"};
  prefs.DefaultWireSize.Name = "Line\nBreak";
  ASSERT_TRUE(WriteIniSettings(path, prefs));
  const std::string text = Contents(path);
  for (const char* line :
       {"Material 0=StainlessSteel, 172000\rSteel, 172000\n", "Default Cross Section=LineBreak\n",
        "Draw Forces at Bracket=1\n", "[View]\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  TPreferences back;
  ReadIniSettings(path, back);
  EXPECT_EQ(back.MaterialTable[0].Name, "StainlessSteel");
  EXPECT_EQ(back.GridDensity, prefs.GridDensity);
}

// The settings file never follows the process's C locale, which QApplication sets from the
// environment.
TEST_F(SettingsTest, RoundTripUnderADecimalCommaLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "no de_DE.UTF-8 locale on this system (scripts/orvela.sh installs it)";
  }
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 2.5);
  EXPECT_STREQ(probe, "2,5");  // the locale is in force
  TPreferences prefs;
  prefs.ThresholdForce = 2.5;
  prefs.ThresholdMoment = 1234.5;
  prefs.SizeTable[3] = {0.125, 1e-3, "Thin"};
  const std::string path = PathOf("comma.ini");
  const bool written = WriteIniSettings(path, prefs);
  TPreferences back;
  ReadIniSettings(path, back);
  std::setlocale(LC_ALL, saved.c_str());
  ASSERT_TRUE(written);
  const std::string text = Contents(path);
  for (const char* line :
       {"Threshold Force=2.5\n", "Threshold Moment=123.45\n",
        "Cross Section 0=0.016, 4.064 x 0.000\n", "Cross Section 3=Thin, 0.125 x 0.001\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  EXPECT_DOUBLE_EQ(back.ThresholdForce, 2.5);
  EXPECT_DOUBLE_EQ(back.ThresholdMoment, 1234.5);
  EXPECT_EQ(back.SizeTable[0], prefs.SizeTable[0]);
  EXPECT_EQ(back.SizeTable[3].Name, "Thin");
  EXPECT_DOUBLE_EQ(back.SizeTable[3].CrossA, 0.125);
}

// File system: a read that fails part way must not let the writer wipe the file.
std::size_t BytesBeforeFailure = 0;
ssize_t ReadFailingAfter64(int fd, void* buffer, std::size_t count) {
  if (BytesBeforeFailure == 0) {
    errno = EIO;
    return -1;
  }
  const ssize_t n = ::read(fd, buffer, std::min(count, BytesBeforeFailure));
  if (n > 0) BytesBeforeFailure -= static_cast<std::size_t>(n);
  return n;
}

TEST_F(SettingsTest, AReadErrorPartWayNeverLetsTheFileBeReplaced) {
  std::string content = "; kept\n[General]\nVersion=1.2.1.0\n[Wire]\n";
  while (content.size() < 1059) content += "Foreign Key " + std::to_string(content.size()) + "=1\n";
  const std::string path = IniWith(content);
  SetIniReadFunction(ReadFailingAfter64);
  BytesBeforeFailure = 64;
  TPreferences prefs;
  prefs.GridDensity = 0;
  const bool written = WriteIniSettings(path, prefs);
  BytesBeforeFailure = 64;
  const bool keyWritten = TIniFile(path).WriteString("General", "k", "v");
  BytesBeforeFailure = 64;
  TIniDocument doc;
  const TIniLoadResult loaded = LoadIniDocument(path, doc);
  BytesBeforeFailure = 64;
  TPreferences read;
  ReadIniSettings(path, read);
  SetIniReadFunction(nullptr);
  EXPECT_FALSE(written);
  EXPECT_FALSE(keyWritten);
  EXPECT_EQ(loaded, TIniLoadResult::Failed);
  EXPECT_EQ(Contents(path), content);
  TPreferences missing;
  ReadIniSettings(PathOf("missing.ini"), missing);
  EXPECT_EQ(read, missing);  // a half-read file counts as none
  // Once the disk reads again, every line is kept.
  ASSERT_TRUE(WriteIniSettings(path, prefs));
  const std::string after = Contents(path);
  std::istringstream lines(content);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_NE(after.find(line + "\n"), std::string::npos) << line;
  }
}

TEST(ModelPreferencesTest, PreferencesGiveTheModelAndDrawingSettings) {
  // The built-in values agree with those of the mechanics and the drawing.
  EXPECT_EQ(ModelSettingsOf(TPreferences{}), TModelSettings{});
  TForceDrawing builtIn;
  builtIn.Scale = 2.0;
  ApplyDrawPreferences(TPreferences{}, builtIn);
  EXPECT_EQ(builtIn.Options, TForceDrawOptions{});
  EXPECT_EQ(builtIn.Places, TForceDrawPlaces{});

  TPreferences prefs;
  prefs.MaterialTable[2] = {1, "Soft", 1200};
  prefs.SizeTable[3] = {1, 2, "Flat"};
  prefs.DefaultWireMaterial = prefs.MaterialTable[2];
  prefs.DefaultWireSize = prefs.SizeTable[3];
  prefs.ZeroWidthBrackets = true;
  prefs.ViewForces = false;
  prefs.BracketForces = true;
  prefs.DrawForcesAtCRes = false;
  prefs.DrawForcesAtBracket = true;
  const TModelSettings model = ModelSettingsOf(prefs);
  EXPECT_EQ(model.MaterialTable[2].Name, "Soft");
  EXPECT_EQ(model.SizeTable[3].CrossB, 2.0);
  EXPECT_EQ(model.DefaultWireMaterial.Name, "Soft");
  EXPECT_EQ(model.DefaultWireSize.Name, "Flat");
  EXPECT_TRUE(model.ZeroWidthBrackets);
  TForceDrawing drawing;
  drawing.Scale = 2.0;
  ApplyDrawPreferences(prefs, drawing);
  EXPECT_EQ(drawing.Options, (TForceDrawOptions{false, true, true}));
  EXPECT_EQ(drawing.Places, (TForceDrawPlaces{false, false, true}));
  EXPECT_EQ(drawing.Scale, 2.0);  // the view's own
}

}  // namespace
}  // namespace orvela
