#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvela {

// Longest value a read returns; longer values are cut to this many bytes.
inline constexpr std::size_t IniMaxValueLength = 2047;

// An INI file read and written one key per call, like the classic profile functions: every
// read parses the file as it is on disk now, every write reaches the file at once. Section
// and key names compare case-insensitively (ASCII); names and values are trimmed of blanks;
// a value in matching double or single quotes is read without them. A write keeps every
// other line (comments, blank lines, keys of other programs) as it stands, and replaces the
// file through a temporary file in the same folder and a rename, so the file on disk is
// always either the old or the new one in full.
class TIniFile {
 public:
  explicit TIniFile(std::string path) : FFileName(std::move(path)) {}

  const std::string& FileName() const { return FFileName; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // An integer in decimal (optional sign, surrounding blanks); anything else gives the default.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  // Read as an integer; any non-zero value is true.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // Each returns false when the file could not be replaced (missing or read-only folder,
  // an existing file that cannot be read, a full disk); the file is then left as it was.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;
  bool WriteInteger(std::string_view section, std::string_view key, std::int32_t value) const;
  // Written as "1" or "0".
  bool WriteBool(std::string_view section, std::string_view key, bool value) const;

 private:
  std::string FFileName;
};

// The whole file read once into memory and decoded as UTF-8 (a leading byte-order mark is
// skipped). A file that is missing, unreadable or not valid UTF-8 reads as empty, so every
// look-up then gives its default. Same look-up rules as TIniFile.
class TMemIniFile {
 public:
  explicit TMemIniFile(const std::string& path);

  // False when the file could not be read or decoded.
  bool Loaded() const { return FLoaded; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;

 private:
  std::vector<std::string> FLines;
  bool FLoaded = false;
};

// True when text is valid UTF-8 (no overlong forms, surrogates or values above U+10FFFF).
bool IsValidUtf8(std::string_view text);

}  // namespace orvela
