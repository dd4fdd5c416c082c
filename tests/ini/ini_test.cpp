#include "util/ini.h"

#include <chrono>
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

TEST_F(IniTest, ListsTheKeysOfASectionOncePerNameInFileOrder) {
  TIniDocument doc("[A]\nb=1\n; c=2\nB=3\n a =4\n[a]\nz=5\n[C]\nx=6\n");
  ASSERT_TRUE(doc.WriteString("a", "New", "7"));
  EXPECT_EQ(doc.ReadSectionKeys(" a "), (std::vector<std::string>{"b", "a", "New"}));
  EXPECT_TRUE(doc.ReadSectionKeys("Missing").empty());
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

  // Line breaks in a value would plant lines of their own: they are left out. Names that
  // cannot stand in a file are refused.
  ASSERT_TRUE(ini.WriteString("A", "z", "1\n[Evil]\r\nk=v"));
  EXPECT_EQ(ReadTextFile(path), "[A]\nx=1\ny=2\nz=1[Evil]k=v\n");
  EXPECT_FALSE(ini.WriteString("A", "k=v", "1"));
  EXPECT_FALSE(ini.WriteString("A]", "k", "1"));

  EXPECT_FALSE(TIniFile(PathOf("no such folder/a.ini")).WriteString("A", "x", "1"));
  EXPECT_FALSE(fs::exists(FDir / "no such folder"));

  if (::geteuid() != 0) {  // root ignores permissions
    fs::permissions(FDir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(ini.WriteString("A", "x", "changed"));
    fs::permissions(FDir, fs::perms::owner_all);
    EXPECT_EQ(ReadTextFile(path), "[A]\nx=1\ny=2\nz=1[Evil]k=v\n");

    // An existing file that cannot be read is not replaced by one holding a single key.
    fs::permissions(path, fs::perms::owner_write);
    EXPECT_FALSE(ini.WriteString("A", "x", "3"));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadTextFile(path), "[A]\nx=1\ny=2\nz=1[Evil]k=v\n");
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

// Parse: a line ends at LF, CR LF or a lone CR, for the reader and the writer alike; names
// are trimmed on both sides.
TEST_F(IniTest, LoneCarriageReturnEndsALineAndNamesAreTrimmedOnReading) {
  const std::string path = PathOf("cr.ini");
  WriteTextFile(path, "[Wire]\rMaterial 0=Stainless\rSteel, 172000\nMaterial 1=Gold, 5\r\n");
  TIniDocument doc;
  ASSERT_EQ(LoadIniDocument(path, doc), TIniLoadResult::Ok);
  EXPECT_EQ(doc.ReadString("Wire", "Material 0", ""), "Stainless");
  EXPECT_EQ(doc.ReadString("Wire", "Material 1", ""), "Gold, 5");
  ASSERT_TRUE(doc.WriteString("Wire", "Material 0", "Nickel\rTitanium, 9"));
  ASSERT_TRUE(doc.WriteString("Wire", "Material 2", "Beta"));
  EXPECT_EQ(doc.Text(),
            "[Wire]\rMaterial 0=NickelTitanium, 9\rSteel, 172000\nMaterial 1=Gold, 5\r\n"
            "Material 2=Beta\r");
  EXPECT_EQ(TIniDocument(doc.Text()).ReadString("wire", "material 2", ""), "Beta");
  // A key added in memory reads back as it will from the written file: trimmed.
  ASSERT_TRUE(doc.WriteString("Wire", "Material 3", " Gold, 5 "));
  EXPECT_EQ(doc.ReadString("Wire", "Material 3", ""), "Gold, 5");
  EXPECT_EQ(TIniDocument(doc.Text()).ReadString("Wire", "Material 3", ""), "Gold, 5");

  const TIniFile ini(PathOf("trim.ini"));
  ASSERT_TRUE(ini.WriteString(" Wire ", " k ", "v"));
  EXPECT_EQ(ini.ReadString(" Wire ", "k", "d"), "v");
  EXPECT_EQ(ini.ReadString("Wire", "\tk ", "d"), "v");
  EXPECT_EQ(ReadTextFile(PathOf("trim.ini")), "[Wire]\nk=v\n");
}

// File system: links, permissions, FIFOs, the umask and crash leftovers.
TEST_F(IniTest, SavingFollowsLinkChainsAndRefusesWhatItMustNotReplace) {
  TIniDocument doc("[A]\nx=1\n");
  // Orvela.ini -> sub/link2 -> ../real.ini, each link relative to its own folder.
  fs::create_directory(FDir / "sub");
  WriteTextFile(FDir / "real.ini", "[A]\n");
  fs::create_symlink("../real.ini", FDir / "sub" / "link2");
  fs::create_symlink("sub/link2", FDir / "Orvela.ini");
  ASSERT_TRUE(SaveIniDocument(PathOf("Orvela.ini"), doc));
  EXPECT_TRUE(fs::is_symlink(FDir / "Orvela.ini"));
  EXPECT_TRUE(fs::is_symlink(FDir / "sub" / "link2"));
  EXPECT_EQ(ReadTextFile(FDir / "real.ini"), "[A]\nx=1\n");
  // A loop of links is refused.
  fs::create_symlink("loop2", FDir / "loop1");
  fs::create_symlink("loop1", FDir / "loop2");
  EXPECT_FALSE(SaveIniDocument(PathOf("loop1"), doc));

  // A read-only file stays, for root too.
  const std::string locked = PathOf("locked.ini");
  WriteTextFile(locked, "[A]\nx=0\n");
  fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(SaveIniDocument(locked, doc));
  EXPECT_EQ(ReadTextFile(locked), "[A]\nx=0\n");

  // A FIFO reads as missing at once, and is never written.
  const std::string fifo = PathOf("fifo.ini");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  TIniDocument fromFifo("[A]\ny=1\n");
  EXPECT_EQ(LoadIniDocument(fifo, fromFifo), TIniLoadResult::Missing);
  EXPECT_EQ(fromFifo.ReadString("A", "y", "none"), "none");
  EXPECT_EQ(TMemIniFile(fifo).ReadString("A", "y", "none"), "none");
  EXPECT_FALSE(SaveIniDocument(fifo, doc));
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_FALSE(SaveIniDocument(FDir.string(), doc));  // a folder
}

TEST_F(IniTest, NewFilesHonourTheUmaskAndOldOnesKeepTheirMode) {
  const TIniDocument doc("[A]\nx=1\n");
  const auto modeOf = [](const std::string& p) {
    struct stat info {};
    ::stat(p.c_str(), &info);
    return info.st_mode & 0777;
  };
  const mode_t saved = ::umask(077);
  ASSERT_TRUE(SaveIniDocument(PathOf("private.ini"), doc));
  ::umask(022);
  ASSERT_TRUE(SaveIniDocument(PathOf("shared.ini"), doc));
  ::umask(saved);
  EXPECT_EQ(modeOf(PathOf("private.ini")), 0600u);
  EXPECT_EQ(modeOf(PathOf("shared.ini")), 0644u);
  ::chmod(PathOf("shared.ini").c_str(), 0640);
  ASSERT_TRUE(SaveIniDocument(PathOf("shared.ini"), doc));
  EXPECT_EQ(modeOf(PathOf("shared.ini")), 0640u);
}

TEST_F(IniTest, SavingRemovesTemporaryFilesOfAnEarlierCrash) {
  // An hour old: left by a crash.
  const fs::file_time_type old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  for (const char* name : {".Orvela.ini.a1B2c3", ".Orvela.ini.zzzzzz", ".Orvela.ini.longer1",
                           ".Other.ini.a1B2c3", "Orvela.ini.a1B2c3"}) {
    WriteTextFile(FDir / name, "[Half\n");
    fs::last_write_time(FDir / name, old);
  }
  // Just written: another instance's save in progress.
  WriteTextFile(FDir / ".Orvela.ini.n0wN0w", "[Busy\n");
  ASSERT_TRUE(SaveIniDocument(PathOf("Orvela.ini"), TIniDocument("[A]\n")));
  EXPECT_FALSE(fs::exists(FDir / ".Orvela.ini.a1B2c3"));
  EXPECT_FALSE(fs::exists(FDir / ".Orvela.ini.zzzzzz"));
  for (const char* kept :
       {".Orvela.ini.longer1", ".Other.ini.a1B2c3", "Orvela.ini.a1B2c3", ".Orvela.ini.n0wN0w"}) {
    EXPECT_TRUE(fs::exists(FDir / kept)) << kept;
  }
  EXPECT_EQ(ReadTextFile(FDir / "Orvela.ini"), "[A]\n");
}

}  // namespace
}  // namespace orvela
