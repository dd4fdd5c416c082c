#pragma once

#include <filesystem>
#include <string>

namespace orvela::test {

// Writes text to path as it stands (binary), creating the missing parent folders.
void WriteTextFile(const std::filesystem::path& path, const std::string& text);
// The whole content of path; empty when it cannot be read.
std::string ReadTextFile(const std::filesystem::path& path);

// A fresh folder under the system's temporary folder, removed with everything in it (its
// permissions restored first) when the object goes.
class TTempFolder {
 public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  // With a trailing "/", as the program passes folder strings.
  std::string Slash(const std::string& sub = "") const;

 private:
  std::filesystem::path FPath;
};

}  // namespace orvela::test
