#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace orvela {

// Longest value a read returns; longer values are cut to this many bytes.
inline constexpr std::size_t IniMaxValueLength = 2047;

// An INI text held in memory: parsed once, looked up and changed key by key, written out
// whole. Section and key names compare case-insensitively (ASCII) and are trimmed of blanks
// on reading and writing alike; values are trimmed; a value in matching double or single
// quotes is read without them. A line ends at LF, CR LF or a lone CR. Only the first section
// of a name counts, and the first key of a name inside it. Every line that is not changed
// (comments, blank lines, keys of other programs) is written back byte for byte.
class TIniDocument {
 public:
  TIniDocument();
  explicit TIniDocument(std::string content);
  TIniDocument(TIniDocument&&) noexcept;
  TIniDocument& operator=(TIniDocument&&) noexcept;
  ~TIniDocument();

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // An integer in decimal (optional sign, surrounding blanks); anything else gives the default.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  // Read as an integer; any non-zero value is true.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // The key names of a section as they are written, first of each name, in file order and
  // then those added in memory; empty when there is no such section.
  std::vector<std::string> ReadSectionKeys(std::string_view section) const;
  // The same names handed to f one by one without copying them, for sections of a million
  // keys; each view lasts until the document next changes.
  void ForEachSectionKey(std::string_view section,
                         const std::function<void(std::string_view)>& f) const;

  // Sets a key, adding it at the end of its section (after the last non-blank line) or a new
  // section at the end. Line breaks in the value are left out, since they would end the line
  // and plant lines of their own. Returns false, changing nothing, for names that cannot
  // stand in a file: empty, with a line break, a section name with "]", a key name with "="
  // or beginning with "[" or ";".
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  // Written as "1" or "0".
  bool WriteBool(std::string_view section, std::string_view key, bool value);

  // The whole text, with the changes.
  std::string Text() const;

 private:
  struct TData;
  std::unique_ptr<TData> FData;
};

enum class TIniLoadResult { Ok, Missing, Failed };

// Reads the file at path (following symbolic links) into doc. Missing: there is no file, or
// the path names something other than a regular file (a folder, a FIFO, a device), which is
// never opened for reading. Failed: the file could not be read in full; doc is then empty.
TIniLoadResult LoadIniDocument(const std::string& path, TIniDocument& doc);

// Replaces the file at path with the document in one step: a temporary file in the same
// folder, written and flushed to disk, renamed over the file, then the folder flushed; a
// crash leaves the old file or the new one. A link, or a chain of links, is followed to the
// real file, which keeps its permissions; a new file gets 0666 less the umask. Refused
// (false, nothing changed): a missing folder, a path that is not a regular file, a file
// without write permission, any write error. Temporary files of an earlier crash beside the
// file are removed.
bool SaveIniDocument(const std::string& path, const TIniDocument& doc);

// The function the loaders read files with (::read unless replaced); nullptr restores it.
// Lets tests fail a read part way through a file.
using TIniReadFunction = ssize_t (*)(int fd, void* buffer, std::size_t count);
void SetIniReadFunction(TIniReadFunction read);

// An INI file read and written one key per call: every read loads the file as it is on disk
// now, every write loads, changes and replaces it at once (SaveIniDocument). For many keys,
// load a TIniDocument once instead.
class TIniFile {
 public:
  explicit TIniFile(std::string path) : FFileName(std::move(path)) {}

  const std::string& FileName() const { return FFileName; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // Each returns false when the name cannot be stored or the file could not be replaced
  // (missing folder, read-only or unreadable file, a full disk); the file is then left as
  // it was.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;
  bool WriteInteger(std::string_view section, std::string_view key, std::int32_t value) const;
  bool WriteBool(std::string_view section, std::string_view key, bool value) const;

 private:
  TIniDocument Load() const;

  std::string FFileName;
};

// The whole file read once into memory and decoded as UTF-8 (a leading byte-order mark is
// skipped). A file that is missing, unreadable or not valid UTF-8 reads as empty, so every
// look-up then gives its default. Same look-up rules as TIniDocument.
class TMemIniFile {
 public:
  explicit TMemIniFile(const std::string& path);

  // False when the file could not be read or decoded.
  bool Loaded() const { return FLoaded; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;

 private:
  TIniDocument FDocument;
  bool FLoaded = false;
};

// True when text is valid UTF-8 (no overlong forms, surrogates or values above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Spaces and tabs taken off both ends, as the INI layer trims names and values.
std::string_view TrimBlanks(std::string_view s);
// Whether the INI layer takes two names as one: equal but for ASCII letter case.
bool SameIniName(std::string_view a, std::string_view b);

}  // namespace orvela
