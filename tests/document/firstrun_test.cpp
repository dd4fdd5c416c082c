#include "document/firstrun.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "files.h"

namespace orvela {
namespace {

using test::ReadTextFile;
using test::WriteTextFile;

namespace fs = std::filesystem;

// A shared data folder with a settings file one level down and a file at its top level, and a
// user folder that does not exist yet.
class FirstRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path root = FTemp.Path();
    FCommon = (root / "common").string() + "/";
    FUser = (root / "user").string() + "/";
    FSettings = FUser + "Settings/Orvela.ini";
    fs::create_directories(FCommon + "Settings");
    WriteTextFile(FCommon + "Settings/Orvela.ini", "[General]\nVersion=1.2.1.0\n");
    WriteTextFile(FCommon + "ReadMe.txt", "shared");
  }
  bool Copy() { return CopyDataOnFirstRun(FCommon, FUser, FSettings, "1.2.1.0"); }

  test::TTempFolder FTemp;
  std::string FCommon, FUser, FSettings;
};

TEST_F(FirstRunTest, NoSettingsFileCopiesTheWholeFolder) {
  EXPECT_TRUE(Copy());
  EXPECT_EQ(ReadTextFile(FSettings), "[General]\nVersion=1.2.1.0\n");
  // The top-level file needs the second pass: its folder did not exist during the first.
  EXPECT_EQ(ReadTextFile(FUser + "ReadMe.txt"), "shared");
}

TEST_F(FirstRunTest, SameVersionCopiesNothing) {
  fs::create_directories(FUser + "Settings");
  WriteTextFile(FSettings, "\xEF\xBB\xBF[general]\nversion = 1.2.1.0\n");
  EXPECT_FALSE(Copy());
  EXPECT_FALSE(fs::exists(FUser + "ReadMe.txt"));
}

TEST_F(FirstRunTest, OtherVersionAddsMissingFilesAndOverwritesNone) {
  fs::create_directories(FUser + "Settings");
  const std::string older = "[General]\nVersion=1.1.0.0\nOrvela Rect=1 2 3 4\n";
  WriteTextFile(FSettings, older);
  WriteTextFile(FUser + "ReadMe.txt", "mine");
  EXPECT_TRUE(Copy());
  EXPECT_EQ(ReadTextFile(FSettings), older);
  EXPECT_EQ(ReadTextFile(FUser + "ReadMe.txt"), "mine");
  fs::remove(FUser + "ReadMe.txt");
  EXPECT_TRUE(Copy());  // the version still differs, so it runs at every start
  EXPECT_EQ(ReadTextFile(FUser + "ReadMe.txt"), "shared");

  // A file that is not UTF-8 reads as having no version.
  WriteTextFile(FSettings, "[General]\nVersion=1.2.1.0\nName=\xFF\n");
  EXPECT_TRUE(DataCopyNeeded(FSettings, "1.2.1.0"));
}

TEST_F(FirstRunTest, MissingSharedFolderIsNoError) {
  EXPECT_TRUE(CopyDataOnFirstRun(FCommon + "absent/", FUser, FSettings, "1.2.1.0"));
  EXPECT_FALSE(fs::exists(FSettings));
}

}  // namespace
}  // namespace orvela
