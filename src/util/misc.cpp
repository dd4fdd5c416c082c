#include "util/misc.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
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
  // An installed program finds its data beside its own bin folder, so a package installed
  // under another prefix than the configured one still works.
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path beside = exe.parent_path().parent_path() / ORVELA_DATA_INSTALL_SUBDIR;
    if (fs::is_directory(beside, ec)) return WithoutTrailingSlash(beside.string());
  }
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

// Closes the descriptor it holds, whatever the path out.
struct TFileHandle {
  int Fd = -1;
  explicit TFileHandle(int fd) : Fd(fd) {}
  ~TFileHandle() {
    if (Fd >= 0) ::close(Fd);
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
};

bool CopyContents(int from, int to) {
  std::array<char, 65536> buffer{};
  while (true) {
    const ssize_t n = ::read(from, buffer.data(), buffer.size());
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    for (ssize_t done = 0; done < n;) {
      const ssize_t written = ::write(to, buffer.data() + done, static_cast<std::size_t>(n - done));
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      done += written;
    }
  }
}

// The copy is the user's own file, made as any new file of theirs (0666 less the umask)
// rather than with the shared file's mode, which is read-only under an installed prefix.
// An existing target is left alone; a copy that fails half-way is removed, so that a later
// start can make it whole.
void CopyFileAsUsers(const fs::path& source, const fs::path& target) {
  const TFileHandle in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.Fd < 0) return;
  const TFileHandle out(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (out.Fd < 0) return;
  if (!CopyContents(in.Fd, out.Fd)) ::unlink(target.c_str());
}

void CopyTree(const fs::path& source, const fs::path& destination, const fs::path& top) {
  // Files go only into a destination that existed when this level began, whatever order
  // the folder lists its entries in.
  std::error_code statusError;
  const bool destinationExisted = fs::is_directory(destination, statusError);
  std::error_code ec;
  fs::directory_iterator it(source, fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::directory_entry& entry = *it;
    const fs::path target = destination / entry.path().filename();
    std::error_code entryError;
    if (entry.is_directory(entryError)) {
      // A linked folder may lead back up the tree; the destination may lie inside the source.
      if (entry.is_symlink(entryError) || fs::equivalent(entry.path(), top, entryError)) continue;
      fs::create_directories(target, entryError);
      CopyTree(entry.path(), target, top);
    } else if (destinationExisted && entry.is_regular_file(entryError)) {
      CopyFileAsUsers(entry.path(), target);
    }
  }
}

// Up to four numbers of a "1.2.1.0"-style text, missing ones 0.
std::string FourPartVersion(std::string_view text) {
  std::array<unsigned, 4> parts{};
  std::size_t part = 0;
  const char* p = text.data();
  const char* end = text.data() + text.size();
  while (p < end && part < parts.size()) {
    const auto [next, ec] = std::from_chars(p, end, parts[part]);
    if (ec != std::errc()) return "0";
    ++part;
    if (next == end) break;
    if (*next != '.') return "0";
    p = next + 1;
  }
  return std::to_string(parts[0]) + "." + std::to_string(parts[1]) + "." +
         std::to_string(parts[2]) + "." + std::to_string(parts[3]);
}

// Unloads the module when the version has been read, whatever the path out.
struct TModuleHandle {
  void* Handle = nullptr;
  explicit TModuleHandle(const std::string& name)
      : Handle(dlopen(name.c_str(), RTLD_LAZY | RTLD_LOCAL)) {}
  ~TModuleHandle() {
    if (Handle != nullptr) dlclose(Handle);
  }
  TModuleHandle(const TModuleHandle&) = delete;
  TModuleHandle& operator=(const TModuleHandle&) = delete;
};

}  // namespace

std::string TrimChar(std::string_view text, char c) {
  const std::size_t first = text.find_first_not_of(c);
  if (first == std::string_view::npos) return "";
  const std::size_t last = text.find_last_not_of(c);
  return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> SplitQuoted(std::string_view text, char sep) {
  std::vector<std::string> fields;
  std::string_view rest = text;
  while (rest.find(sep) != std::string_view::npos) {
    if (rest.front() == sep) {
      rest.remove_prefix(1);
      continue;
    }
    if (rest.front() == '"') {
      rest.remove_prefix(1);
      const std::size_t close = rest.find('"');
      if (close == std::string_view::npos) {
        fields.emplace_back(rest);
        rest = {};
      } else {
        fields.emplace_back(rest.substr(0, close));
        rest.remove_prefix(close + 1);
      }
    } else {
      const std::size_t at = rest.find(sep);
      fields.emplace_back(rest.substr(0, at));
      rest.remove_prefix(at);
    }
  }
  if (!rest.empty()) fields.push_back(TrimChar(rest, '"'));
  return fields;
}

std::int32_t IntMax(std::int32_t a, std::int32_t b) { return std::max(a, b); }

std::int32_t IntMin(std::int32_t a, std::int32_t b) { return std::min(a, b); }

void CopyFolderTree(const std::string& source, const std::string& destination) {
  if (source.empty()) return;
  CopyTree(fs::path(source), fs::path(destination), fs::path(destination));
}

std::string FileVersionText(const std::string& fileName) {
  if (fileName.empty()) return FourPartVersion(ORVELA_VERSION_TEXT);
  const TModuleHandle module(fileName);
  if (module.Handle == nullptr) return "0";
  const void* symbol = dlsym(module.Handle, "OrvelaFileVersion");
  if (symbol == nullptr) return "0";
  const auto* parts = static_cast<const std::uint16_t*>(symbol);
  return std::to_string(parts[0]) + "." + std::to_string(parts[1]) + "." +
         std::to_string(parts[2]) + "." + std::to_string(parts[3]);
}

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
