#include "util/ini.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "files.h"

namespace orvela {
namespace {

using test::ReadTextFile;
using test::TTempFolder;
using test::WriteTextFile;

namespace fs = std::filesystem;

class IniTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return (FDir / name).string(); }
  TTempFolder FTemp;
  const fs::path& FDir = FTemp.Path();
};

TEST_F(IniTest, LooksUpSectionsAndKeysWithoutRegardToCase) {
  const std::string path = PathOf("a.ini");
  WriteTextFile(path,
                "; comment\n[general]\nORVELA RECT = 10 20 30 40 \n[View]\nGrid Density=3\n"
                "quoted=\"  spaced  \"\n[Other]\nGrid Density=9\n");
  const TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("General", "Orvela Rect", "Default"), "10 20 30 40");
  EXPECT_EQ(ini.ReadInteger("VIEW", "grid density", 2), 3);
  EXPECT_EQ(ini.ReadString("View", "quoted", ""), "  spaced  ");
  EXPECT_EQ(ini.ReadString("View", "missing", "fallback"), "fallback");
  EXPECT_EQ(ini.ReadString("Nowhere", "Grid Density", "x"), "x");
  EXPECT_EQ(TIniFile(PathOf("none.ini")).ReadString("General", "Orvela Rect", "Default"),
            "Default");
}

TEST_F(IniTest, ReadsIntegersAndBooleansStrictly) {
  const std::string path = PathOf("n.ini");
  WriteTextFile(path, "[N]\na=-12\nb= +7 \nc=7x\nd=\ne=99999999999\nt=2\nf=0\n");
  const TIniFile ini(path);
  EXPECT_EQ(ini.ReadInteger("N", "a", 0), -12);
  EXPECT_EQ(ini.ReadInteger("N", "b", 0), 7);
  EXPECT_EQ(ini.ReadInteger("N", "c", 5), 5);
  EXPECT_EQ(ini.ReadInteger("N", "d", 5), 5);
  EXPECT_EQ(ini.ReadInteger("N", "e", 5), 5);
  EXPECT_TRUE(ini.ReadBool("N", "t", false));
  EXPECT_FALSE(ini.ReadBool("N", "f", true));
  EXPECT_TRUE(ini.ReadBool("N", "c", true));
}

TEST_F(IniTest, WritingAKeyKeepsEveryOtherLineAsItStands) {
  const std::string path = PathOf("keep.ini");
  const std::string before =
      "; written by hand\r\n[General]\r\nVersion=1.0.0.0\r\nOther Program Key = keep me \r\n"
      "\r\n[View]\r\nGrid Density=2\r\n";
  WriteTextFile(path, before);
  const TIniFile ini(path);
  ASSERT_TRUE(ini.WriteString("general", "Orvela Rect", "1 2 3 4"));
  ASSERT_TRUE(ini.WriteInteger("VIEW", "grid density", 1));
  ASSERT_TRUE(ini.WriteBool("Calculation", "Auto Stop", false));
  EXPECT_EQ(ReadTextFile(path),
            "; written by hand\r\n[General]\r\nVersion=1.0.0.0\r\nOther Program Key = keep me \r\n"
            "Orvela Rect=1 2 3 4\r\n\r\n[View]\r\ngrid density=1\r\n[Calculation]\r\n"
            "Auto Stop=0\r\n");
  EXPECT_EQ(ini.ReadString("General", "orvela rect", ""), "1 2 3 4");
  EXPECT_FALSE(ini.ReadBool("Calculation", "Auto Stop", true));
}

TEST_F(IniTest, CreatesTheFileAndKeepsLongValuesUpToTheLimit) {
  const std::string path = PathOf("new.ini");
  const TIniFile ini(path);
  const std::string full(IniMaxValueLength, 'v');
  ASSERT_TRUE(ini.WriteString("Wire", "Material 0", full));
  ASSERT_TRUE(ini.WriteString("Wire", "Material 1", full + "tail"));
  EXPECT_EQ(ReadTextFile(path), "[Wire]\nMaterial 0=" + full + "\nMaterial 1=" + full + "tail\n");
  EXPECT_EQ(ini.ReadString("Wire", "Material 0", ""), full);
  EXPECT_EQ(ini.ReadString("Wire", "Material 1", ""), full);
  // A cut never splits a multi-byte character.
  ASSERT_TRUE(
      ini.WriteString("Wire", "Name", std::string(IniMaxValueLength - 1, 'a') + "\xC3\xA9"));
  EXPECT_EQ(ini.ReadString("Wire", "Name", ""), std::string(IniMaxValueLength - 1, 'a'));
}

TEST_F(IniTest, ReplacesTheFileWholeAndReportsFailures) {
  const std::string path = PathOf("atomic.ini");
  WriteTextFile(path, "[A]\nx=1\n");
  const TIniFile ini(path);
  const fs::path link = FDir / "link.ini";
  fs::create_symlink("atomic.ini", link);
  ASSERT_TRUE(TIniFile(link.string()).WriteString("A", "y", "2"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadTextFile(path), "[A]\nx=1\ny=2\n");
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(FDir), fs::directory_iterator()), 2);

  // Values that would plant lines of their own are refused.
  EXPECT_FALSE(ini.WriteString("A", "z", "1\n[Evil]\nk=v"));
  EXPECT_FALSE(ini.WriteString("A", "k=v", "1"));
  EXPECT_FALSE(ini.WriteString("A]", "k", "1"));

  EXPECT_FALSE(TIniFile(PathOf("no such folder/a.ini")).WriteString("A", "x", "1"));
  EXPECT_FALSE(fs::exists(FDir / "no such folder"));

  if (::geteuid() != 0) {  // root ignores permissions
    fs::permissions(FDir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(ini.WriteString("A", "x", "changed"));
    fs::permissions(FDir, fs::perms::owner_all);
    EXPECT_EQ(ReadTextFile(path), "[A]\nx=1\ny=2\n");

    // An existing file that cannot be read is not replaced by one holding a single key.
    fs::permissions(path, fs::perms::owner_write);
    EXPECT_FALSE(ini.WriteString("A", "x", "3"));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadTextFile(path), "[A]\nx=1\ny=2\n");
  }
}

TEST_F(IniTest, MemoryReaderDecodesUtf8AndTreatsBadFilesAsEmpty) {
  const std::string good = PathOf("good.ini");
  WriteTextFile(good, "\xEF\xBB\xBF[General]\nVersion=1.2.1.0\nName=Zahnb\xC3\xBCgel\n");
  const TMemIniFile mem(good);
  EXPECT_TRUE(mem.Loaded());
  EXPECT_EQ(mem.ReadString("GENERAL", "version", ""), "1.2.1.0");
  EXPECT_EQ(mem.ReadString("General", "Name", ""), "Zahnb\xC3\xBCgel");
  // The profile reader sees the section behind the byte-order mark too.
  EXPECT_EQ(TIniFile(good).ReadString("General", "Version", ""), "1.2.1.0");

  const std::string bad = PathOf("bad.ini");
  WriteTextFile(bad, "[General]\nVersion=1.2.1.0\nName=\xFC\n");
  EXPECT_FALSE(TMemIniFile(bad).Loaded());
  EXPECT_EQ(TMemIniFile(bad).ReadString("General", "Version", ""), "");
  EXPECT_FALSE(TMemIniFile(PathOf("missing.ini")).Loaded());
}

TEST(Utf8Test, RejectsMalformedSequences) {
  EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\xC3"));              // cut short
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\x80"));
}

}  // namespace
}  // namespace orvela
