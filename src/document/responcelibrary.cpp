#include "document/responcelibrary.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "model/responce.h"

namespace orvela {

namespace {

namespace fs = std::filesystem;

// Whether SaveIniDocument could replace the file: a regular file with a write permission
// (a read-only one stays as it is even for root) in a folder that takes the temporary file.
bool Replaceable(const std::string& path) {
  std::error_code ec;
  const fs::path real = fs::canonical(path, ec);
  if (ec) return false;
  struct stat info {};
  if (::stat(real.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if ((info.st_mode & 0222) == 0 || ::access(real.c_str(), W_OK) != 0) return false;
  return ::access(real.parent_path().c_str(), W_OK) == 0;
}

// The shipped library as a new file of the user's (0666 less the umask, whatever the
// shipped file's mode), written whole or not at all, unless something is already at
// userCopy.
void MakeUserCopy(const std::string& shipped, const std::string& userCopy) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(userCopy, ec))) return;
  // Even without a shipped file: saving then starts a library of the user's own.
  fs::create_directories(fs::path(userCopy).parent_path(), ec);
  TIniDocument library;
  if (LoadIniDocument(shipped, library) == TIniLoadResult::Ok) SaveIniDocument(userCopy, library);
}

}  // namespace

std::string ChooseResponceLibrary(const std::string& besideExecutable,
                                  const TStartupValues& startup) {
  if (!besideExecutable.empty() && Replaceable(besideExecutable)) return besideExecutable;
  const std::string userCopy = startup.UserDataFolder + std::string(ResponceLibraryFile);
  MakeUserCopy(startup.CommonDataFolder + std::string(ResponceLibraryFile), userCopy);
  return userCopy;
}

void TResponceLibrary::Load(const std::string& path) {
  TIniDocument document;
  LoadIniDocument(path, document);  // a failed read leaves it empty
  Adopt(std::move(document));
}

void TResponceLibrary::Adopt(TIniDocument document) {
  FNames.clear();  // views into the document that goes
  FDocument = std::move(document);
  FDocument.ForEachSectionKey(ResponceSection, [this](std::string_view name) {
    if (IsValidResponceName(name)) FNames.push_back(name);
  });
}

std::optional<std::string> TResponceLibrary::Value(std::string_view name) const {
  // No value can hold a line break, so this default tells a missing key from an empty one.
  constexpr std::string_view Missing = "\n";
  std::string value = FDocument.ReadString(ResponceSection, name, Missing);
  if (value == Missing) return std::nullopt;
  return value;
}

bool TResponceLibrary::Save(const std::string& path, std::string_view name,
                            std::string_view value) {
  TIniDocument document;
  // An existing file that cannot be read must not be replaced by one holding this key only.
  if (LoadIniDocument(path, document) == TIniLoadResult::Failed) return false;
  if (!document.WriteString(ResponceSection, name, value) || !SaveIniDocument(path, document)) {
    return false;
  }
  Adopt(std::move(document));
  return true;
}

}  // namespace orvela
