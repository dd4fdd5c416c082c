#include "document/responcelibrary.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "files.h"
#include "model/responce.h"
#include "model/tooth.h"
#include "util/startup.h"

namespace orvela {
namespace {

namespace fs = std::filesystem;

// The rate a curve gives at x (the editor's stress units), in the editor's units.
double Rate(const TResponceCurve& curve, double x) {
  TTooth tooth;
  tooth.SetResponce(curve);
  return 1000.0 * tooth.ResponceAt(x / 1000.0);
}

TEST(ResponceLibraryTest, ShippedCurvesAreTheDefaultAndTheFourClassicHypotheses) {
  const std::string path = FindStartupValues().CommonDataFolder + std::string(ResponceLibraryFile);
  TResponceLibrary library;
  library.Load(path);
  ASSERT_EQ(library.Names(), (std::vector<std::string_view>{"Default", "Threshold", "Linear",
                                                            "Plateau", "Optimum"}));
  const std::string text = test::ReadTextFile(path);
  std::vector<TResponceCurve> curves;
  for (const std::string_view name : library.Names()) {
    // Each explained by the comment line just above it.
    const std::size_t at = text.find("\n" + std::string(name) + "=");
    ASSERT_NE(at, std::string::npos) << name;
    EXPECT_EQ(text[text.rfind('\n', at - 1) + 1], ';') << name;
    TResponceParseError error;
    const std::optional<TResponceCurve> curve = ParseResponce(*library.Value(name), error);
    ASSERT_TRUE(curve) << name << ": " << error.Text;
    curves.push_back(*curve);
  }
  EXPECT_EQ(curves[0], DefaultResponce);
  // Threshold: nothing below it, one rate above it.
  const TResponceCurve& threshold = curves[1];
  EXPECT_EQ(Rate(threshold, 15), 0.0);
  EXPECT_GT(Rate(threshold, 30), 0.0);
  EXPECT_EQ(Rate(threshold, 30), Rate(threshold, 95));
  // Linear: rate over stress the same everywhere.
  const TResponceCurve& linear = curves[2];
  for (const double x : {5.0, 33.0, 70.0, 100.0}) EXPECT_DOUBLE_EQ(Rate(linear, x) / x, 1.0);
  // Plateau: linear at first, then level.
  const TResponceCurve& plateau = curves[3];
  EXPECT_DOUBLE_EQ(Rate(plateau, 5) / 5, Rate(plateau, 35) / 35);
  EXPECT_GT(Rate(plateau, 60), Rate(plateau, 35));
  EXPECT_EQ(Rate(plateau, 60), Rate(plateau, 100));
  // Optimum: a maximum inside the range, well above both ends.
  const TResponceCurve& optimum = curves[4];
  EXPECT_GT(Rate(optimum, 40), 2 * Rate(optimum, 10));
  EXPECT_GT(Rate(optimum, 40), 2 * Rate(optimum, 80));
  EXPECT_LT(Rate(optimum, 100), Rate(optimum, 60));
}

TEST(ResponceLibraryTest, BesideTheExecutableWhenWritableElseTheUsersCopyNeverOverwritten) {
  const test::TTempFolder dir;
  TStartupValues startup;
  startup.CommonDataFolder = dir.Slash("common");
  startup.UserDataFolder = dir.Slash("user");
  const std::string beside = (dir.Path() / "bin/orvela.INI").string();
  const std::string user = startup.UserDataFolder + "Responce/Orvela.INI";

  // No shipped file: the user's folder is made, so that saving starts a library there.
  EXPECT_EQ(ChooseResponceLibrary(beside, startup), user);
  EXPECT_TRUE(fs::is_directory(dir.Path() / "user/Responce"));
  EXPECT_FALSE(fs::exists(user));

  // A writable library beside the executable is used as it is, and nothing is copied.
  test::WriteTextFile(startup.CommonDataFolder + "Responce/Orvela.INI", "[Responce]\nA=1\n");
  test::WriteTextFile(beside, "[Responce]\n");
  EXPECT_EQ(ChooseResponceLibrary(beside, startup), beside);
  EXPECT_FALSE(fs::exists(user));

  // A copy of the user's is kept as it is.
  test::WriteTextFile(user, "[Responce]\nMine=1\n");
  fs::permissions(beside, fs::perms::owner_read);
  EXPECT_EQ(ChooseResponceLibrary(beside, startup), user);
  EXPECT_EQ(test::ReadTextFile(user), "[Responce]\nMine=1\n");
}

}  // namespace
}  // namespace orvela
