#include "util/misc.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace orvela {

namespace {

namespace fs = std::filesystem;

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string HomeFolder() {
  std::string home = EnvironmentValue("HOME");
  if (!home.empty()) return WithoutTrailingSlash(home);
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    return WithoutTrailingSlash(pw->pw_dir);
  }
  return "";
}

// True when the running executable lies inside the build tree.
bool RunningFromBuildTree() {
#ifdef ORVELA_BINARY_DIR
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return false;
  const std::string exeText = exe.string();
  const std::string binaryDir = WithoutTrailingSlash(ORVELA_BINARY_DIR) + "/";
  return exeText.compare(0, binaryDir.size(), binaryDir) == 0;
#else
  return false;
#endif
}

std::string CommonAppDataPath() {
  if (std::string over = EnvironmentValue("ORVELA_COMMON_APPDATA"); !over.empty()) {
    return WithoutTrailingSlash(over);
  }
  if (RunningFromBuildTree()) return WithoutTrailingSlash(ORVELA_BUILD_DATA_DIR);
  return WithoutTrailingSlash(ORVELA_INSTALL_DATA_DIR);
}

// XDG_DOCUMENTS_DIR="$HOME/Documents" or an absolute path; empty when absent or malformed.
std::string DocumentsFromUserDirs(const std::string& home) {
  std::string config = EnvironmentValue("XDG_CONFIG_HOME");
  if (config.empty() || config.front() != '/') config = home + "/.config";
  std::ifstream in(config + "/user-dirs.dirs");
  std::string line;
  std::string found;
  while (std::getline(in, line)) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    if (line.compare(start, key.size(), key) != 0) continue;
    std::string value = line.substr(start + key.size());
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
      value.pop_back();
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') continue;
    value = value.substr(1, value.size() - 2);
    if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/')) {
      if (home.empty()) continue;
      value = home + value.substr(5);
    } else if (value.empty() || value.front() != '/') {
      continue;
    }
    found = WithoutTrailingSlash(value);  // the last valid line wins, as in the shell
  }
  return found;
}

std::string PersonalPath() {
  const std::string home = HomeFolder();
  if (std::string documents = DocumentsFromUserDirs(home); !documents.empty()) return documents;
  if (home.empty()) return "";
  return home + "/Documents";
}

}  // namespace

std::string ShellFolderPath(std::int32_t id, bool create) {
  std::string path;
  if (id == CommonAppDataFolderId) {
    path = CommonAppDataPath();
  } else if (id == PersonalFolderId) {
    path = PersonalPath();
  }
  if (path.empty()) return "";
  if (create) {
    std::error_code ec;
    fs::create_directories(path, ec);
    if (!fs::is_directory(path, ec)) return "";
  }
  return path;
}

}  // namespace orvela
