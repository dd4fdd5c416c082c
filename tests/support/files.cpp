#include "files.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>

namespace fs = std::filesystem;

namespace orvela::test {

void WriteTextFile(const fs::path& path, const std::string& text) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadTextFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TTempFolder::TTempFolder() {
  std::string pattern = (fs::temp_directory_path() / "orvela-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
  FPath = pattern;
}

TTempFolder::~TTempFolder() {
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(FPath, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::permissions(FPath, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(FPath, ec);
}

std::string TTempFolder::Slash(const std::string& sub) const {
  return (FPath / sub).string() + "/";
}

}  // namespace orvela::test
