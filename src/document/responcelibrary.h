#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/ini.h"
#include "util/startup.h"

namespace orvela {

// The library of named response curves: an INI file, section "Responce", one key per curve
// whose value is the curve's text form (model/responce.h).
inline constexpr std::string_view ResponceSection = "Responce";

// Where the shipped library lies inside the shared data folder, and the user's copy inside
// the user's data folder.
inline constexpr std::string_view ResponceLibraryFile = "Responce/Orvela.INI";

// The library the tooth dialog lists and saves to. The file besideExecutable when it exists
// and can be replaced (a program unpacked into a folder of the user's, or a developer's
// build): it is used as it is. Otherwise the user's own copy, UserDataFolder +
// ResponceLibraryFile, which an installed program's users can write; when it is missing it
// is made now from the shipped one (CommonDataFolder + ResponceLibraryFile), never over an
// existing file. A copy that cannot be made is not reported here: saving a curve then fails
// and says why.
std::string ChooseResponceLibrary(const std::string& besideExecutable,
                                  const TStartupValues& startup);

// One reading of a library file, kept while the tooth dialog is open, so that a library of
// a million curves is read and indexed once rather than on every pick.
class TResponceLibrary {
 public:
  // Reads the file at path; a missing or unreadable file gives an empty library.
  void Load(const std::string& path);

  // The names of section "Responce" in file order. Names that could never be typed back
  // (IsValidResponceName) are left out, and of names equal but for letter case all but the
  // first, which is the one a look-up finds.
  // Each view lasts until the next Load or Save.
  const std::vector<std::string_view>& Names() const { return FNames; }

  // The curve text of a name (letter case aside); nothing when the library holds no such
  // name.
  std::optional<std::string> Value(std::string_view name) const;
  bool Contains(std::string_view name) const { return Value(name).has_value(); }

  // Writes the curve under name into the file as it is on disk now (adding or replacing the
  // key) and keeps that text as this reading. False, with the file and this reading as they
  // were, when the file could not be read or replaced.
  bool Save(const std::string& path, std::string_view name, std::string_view value);

 private:
  void Adopt(TIniDocument document);

  TIniDocument FDocument;
  std::vector<std::string_view> FNames;  // into FDocument
};

}  // namespace orvela
