#include "util/misc.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <stdlib.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "files.h"
#include "util/startup.h"

namespace orvela {
namespace {

namespace fs = std::filesystem;

using test::ReadTextFile;
using test::TTempFolder;
using test::WriteTextFile;
using Fields = std::vector<std::string>;

TEST(TrimChar, RemovesRunsAtBothEndsOnly) {
  EXPECT_EQ(TrimChar("xxabcx", 'x'), "abc");
  EXPECT_EQ(TrimChar("xxxx", 'x'), "");
  EXPECT_EQ(TrimChar("axb", 'x'), "axb");
  EXPECT_EQ(TrimChar("", 'x'), "");
  EXPECT_EQ(TrimChar("x", 'x'), "");
  EXPECT_EQ(TrimChar("\"a b\"", '"'), "a b");
}

TEST(SplitQuoted, FieldsAndQuotes) {
  EXPECT_EQ(SplitQuoted("10 20  30 40", ' '), (Fields{"10", "20", "30", "40"}));
  EXPECT_EQ(SplitQuoted("a \"b c\" d", ' '), (Fields{"a", "b c", "d"}));
  EXPECT_EQ(SplitQuoted("\"b c", ' '), (Fields{"b c"}));
  EXPECT_EQ(SplitQuoted("abc", ' '), (Fields{"abc"}));
  EXPECT_EQ(SplitQuoted("", ' '), Fields{});
  EXPECT_EQ(SplitQuoted("   ", ' '), Fields{});
  EXPECT_EQ(SplitQuoted("  1 2  ", ' '), (Fields{"1", "2"}));
  EXPECT_EQ(SplitQuoted("a \"b", ' '), (Fields{"a", "b"}));  // last field: quotes trimmed
  EXPECT_EQ(SplitQuoted("1;2;;3", ';'), (Fields{"1", "2", "3"}));
  EXPECT_EQ(SplitQuoted("\"\" x", ' '), (Fields{"", "x"}));
}

TEST(IntMaxMin, Extremes) {
  EXPECT_EQ(IntMax(-3, 2), 2);
  EXPECT_EQ(IntMin(-3, 2), -3);
  EXPECT_EQ(IntMax(INT32_MIN, INT32_MAX), INT32_MAX);
  EXPECT_EQ(IntMin(INT32_MIN, INT32_MAX), INT32_MIN);
}

struct TCounted {
  explicit TCounted(int& alive) : FAlive(alive) { ++FAlive; }
  ~TCounted() { --FAlive; }
  TCounted(const TCounted&) = delete;
  TCounted& operator=(const TCounted&) = delete;
  int& FAlive;
};

TEST(FreeNestedList, FreesItemsAndInnerListsKeepingSlots) {
  int alive = 0;
  using Inner = std::vector<std::unique_ptr<TCounted>>;
  struct TItem {
    std::unique_ptr<TCounted> Object;
    std::unique_ptr<Inner> List;
  };
  // A list holding a list of two objects and one object.
  std::vector<std::unique_ptr<Inner>> lists;
  lists.push_back(std::make_unique<Inner>());
  lists[0]->push_back(std::make_unique<TCounted>(alive));
  lists[0]->push_back(std::make_unique<TCounted>(alive));
  lists.push_back(nullptr);  // an empty slot is skipped
  std::vector<std::unique_ptr<TCounted>> objects;
  objects.push_back(std::make_unique<TCounted>(alive));
  ASSERT_EQ(alive, 3);

  FreeNestedList(lists);
  FreeNestedList(objects);
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(lists.size(), 2u);
  EXPECT_EQ(lists[0], nullptr);
  EXPECT_EQ(objects.size(), 1u);
  EXPECT_EQ(objects[0], nullptr);

  // Lists held by value are emptied but stay, keeping their own slots.
  std::vector<Inner> byValue(1);
  byValue[0].push_back(std::make_unique<TCounted>(alive));
  byValue[0].push_back(nullptr);
  FreeNestedList(byValue);
  EXPECT_EQ(alive, 0);
  ASSERT_EQ(byValue[0].size(), 2u);
  EXPECT_EQ(byValue[0][0], nullptr);
}

TEST(CopyFolderTree, CopiesTopLevelOnlyIntoAnExistingDestination) {
  TTempFolder tmp;
  // Files named both before and after the sub-folder, whichever order the folder lists.
  WriteTextFile(tmp.Path() / "src/a.txt", "a");
  WriteTextFile(tmp.Path() / "src/sub/inner.txt", "inner");
  WriteTextFile(tmp.Path() / "src/top.txt", "top");
  const fs::path dst = tmp.Path() / "dst";

  CopyFolderTree(tmp.Slash("src"), tmp.Slash("dst"));
  EXPECT_EQ(ReadTextFile(dst / "sub/inner.txt"), "inner");
  EXPECT_FALSE(fs::exists(dst / "top.txt"));
  EXPECT_FALSE(fs::exists(dst / "a.txt"));

  CopyFolderTree(tmp.Slash("src"), tmp.Slash("dst"));
  EXPECT_EQ(ReadTextFile(dst / "top.txt"), "top");
  EXPECT_EQ(ReadTextFile(dst / "a.txt"), "a");

  // Never overwrites, never deletes.
  WriteTextFile(dst / "sub/inner.txt", "edited");
  WriteTextFile(dst / "mine.txt", "mine");
  WriteTextFile(tmp.Path() / "src/top.txt", "changed");
  CopyFolderTree(tmp.Slash("src"), tmp.Slash("dst"));
  EXPECT_EQ(ReadTextFile(dst / "sub/inner.txt"), "edited");
  EXPECT_EQ(ReadTextFile(dst / "top.txt"), "top");
  EXPECT_EQ(ReadTextFile(dst / "mine.txt"), "mine");
}

TEST(CopyFolderTree, ACopyOfAReadOnlyFileIsTheUsersToWrite) {
  TTempFolder tmp;
  WriteTextFile(tmp.Path() / "src/Settings/Orvela.ini", "[General]\n");
  fs::permissions(tmp.Path() / "src/Settings/Orvela.ini",
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const mode_t saved = ::umask(027);
  CopyFolderTree(tmp.Slash("src"), tmp.Slash("dst"));
  ::umask(saved);
  const fs::path copy = tmp.Path() / "dst/Settings/Orvela.ini";
  EXPECT_EQ(ReadTextFile(copy), "[General]\n");
  EXPECT_EQ(fs::status(copy).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(CopyFolderTree, BadSourcesAndLoopsChangeNothing) {
  TTempFolder tmp;
  CopyFolderTree(tmp.Slash("missing"), tmp.Slash("dst"));
  CopyFolderTree("", tmp.Slash("dst"));
  EXPECT_FALSE(fs::exists(tmp.Path() / "dst"));

  // A link back up the tree and a destination inside the source end without recursing.
  WriteTextFile(tmp.Path() / "src/a/file.txt", "a");
  fs::create_directory_symlink(tmp.Path() / "src", tmp.Path() / "src/a/up");
  fs::create_directories(tmp.Path() / "src/copy");
  CopyFolderTree(tmp.Slash("src"), tmp.Slash("src/copy"));
  EXPECT_EQ(ReadTextFile(tmp.Path() / "src/copy/a/file.txt"), "a");
  EXPECT_FALSE(fs::exists(tmp.Path() / "src/copy/a/up"));
  EXPECT_FALSE(fs::exists(tmp.Path() / "src/copy/copy"));
}

TEST(FileVersionText, ProgramModulesAndFailures) {
  EXPECT_EQ(FileVersionText(""), "1.2.1.0");
  EXPECT_EQ(FileVersionText(ORVELA_VERSION_PROBE), "3.14.159.65535");
  EXPECT_EQ(FileVersionText("/nonexistent/libnothing.so"), "0");
  EXPECT_EQ(FileVersionText("libm.so.6"), "0");  // loads, but carries no version

  TTempFolder tmp;
  WriteTextFile(tmp.Path() / "fake.so", "not a module");
  EXPECT_EQ(FileVersionText((tmp.Path() / "fake.so").string()), "0");
}

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : FName(name) {
    if (const char* old = getenv(name)) FOld = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (FOld) {
      setenv(FName, FOld->c_str(), 1);
    } else {
      unsetenv(FName);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* FName;
  std::optional<std::string> FOld;
};

TEST(ShellFolderPath, DocumentsFolder) {
  TTempFolder tmp;
  const std::string home = tmp.Path().string();
  ScopedEnv homeEnv("HOME", home);
  ScopedEnv configEnv("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(ShellFolderPath(PersonalFolderId, false), home + "/Documents");
  EXPECT_FALSE(fs::exists(tmp.Path() / "Documents"));
  EXPECT_EQ(ShellFolderPath(PersonalFolderId, true), home + "/Documents");
  EXPECT_TRUE(fs::is_directory(tmp.Path() / "Documents"));

  WriteTextFile(
      tmp.Path() / ".config/user-dirs.dirs",
      "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Papiere/\"\n");
  EXPECT_EQ(ShellFolderPath(PersonalFolderId, false), home + "/Papiere");

  ScopedEnv otherConfig("XDG_CONFIG_HOME", home + "/cfg");
  WriteTextFile(tmp.Path() / "cfg/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + home + "/abs\"\n");
  EXPECT_EQ(ShellFolderPath(PersonalFolderId, false), home + "/abs");
  WriteTextFile(tmp.Path() / "cfg/user-dirs.dirs", "XDG_DOCUMENTS_DIR=relative/path\n");
  EXPECT_EQ(ShellFolderPath(PersonalFolderId, false), home + "/Documents");

  // A folder that cannot be created gives empty.
  WriteTextFile(tmp.Path() / "cfg/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/file/sub\"\n");
  WriteTextFile(tmp.Path() / "file", "a file, not a folder");
  EXPECT_EQ(ShellFolderPath(PersonalFolderId, true), "");
  EXPECT_EQ(ShellFolderPath(12345, false), "");
}

TEST(ShellFolderPath, CommonDataAndStartupPaths) {
  {
    ScopedEnv noOverride("ORVELA_COMMON_APPDATA", std::nullopt);
    // This test runs from the build tree: the shipped data of the source tree.
    EXPECT_EQ(ShellFolderPath(CommonAppDataFolderId, false) + "/", ORVELA_BUILD_DATA_DIR);
  }
  TTempFolder tmp;
  ScopedEnv common("ORVELA_COMMON_APPDATA", tmp.Slash("common"));
  ScopedEnv home("HOME", tmp.Path().string());
  ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(ShellFolderPath(CommonAppDataFolderId, false),
            tmp.Slash("common").substr(0, tmp.Slash("common").size() - 1));

  const TStartupValues startup = FindStartupValues();
  EXPECT_EQ(startup.CommonDataFolder, tmp.Slash("common") + "Kestrin Software/Orvela/");
  EXPECT_EQ(startup.UserDataFolder, tmp.Slash("Documents") + "Kestrin Orvela/");
  EXPECT_EQ(startup.SettingsIniPath, startup.UserDataFolder + "Settings/Orvela.ini");
  EXPECT_FALSE(fs::exists(tmp.Path() / "Documents"));  // looked up, not created
}

}  // namespace
}  // namespace orvela
