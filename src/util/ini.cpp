#include "util/ini.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace orvela {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// A file as lines, each with its own line ending, so that untouched lines are written back
// byte for byte.
struct TIniText {
  bool HasBom = false;
  std::vector<std::string> Lines;  // including "\n" or "\r\n" (the last one may lack it)
  std::string NewLine = "\n";
};

TIniText SplitText(std::string_view content) {
  TIniText text;
  if (content.starts_with(Utf8Bom)) {
    text.HasBom = true;
    content.remove_prefix(Utf8Bom.size());
  }
  std::size_t start = 0;
  while (start < content.size()) {
    const std::size_t end = content.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? content.size() : end + 1;
    text.Lines.emplace_back(content.substr(start, next - start));
    start = next;
  }
  if (!text.Lines.empty() && text.Lines.front().ends_with("\r\n")) text.NewLine = "\r\n";
  return text;
}

std::string_view WithoutEnding(std::string_view line) {
  if (line.ends_with('\n')) line.remove_suffix(1);
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

// The section name of a "[name]" line, or nothing for other lines.
std::optional<std::string_view> SectionOf(std::string_view line) {
  const std::string_view t = Trim(WithoutEnding(line));
  if (t.empty() || t.front() != '[') return std::nullopt;
  std::string_view inner = t.substr(1);
  if (const std::size_t close = inner.find(']'); close != std::string_view::npos) {
    inner = inner.substr(0, close);
  }
  return Trim(inner);
}

struct TKeyLine {
  std::string_view Key;
  std::string_view Value;
};

std::optional<TKeyLine> KeyOf(std::string_view line) {
  const std::string_view t = Trim(WithoutEnding(line));
  if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return TKeyLine{Trim(t.substr(0, eq)), Trim(t.substr(eq + 1))};
}

// Where a key lives: the line of the first section with that name (or none), the line of the
// key inside it (or none), and the line after which a new key of that section goes.
struct TKeyPlace {
  std::optional<std::size_t> Section;
  std::optional<std::size_t> Key;
  std::size_t InsertAfter = 0;
};

TKeyPlace FindKey(const std::vector<std::string>& lines, std::string_view section,
                  std::string_view key) {
  TKeyPlace place;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionOf(lines[i])) {
      if (place.Section) break;  // the end of the first matching section
      if (SameName(*name, section)) {
        place.Section = i;
        place.InsertAfter = i;
      }
      continue;
    }
    if (!place.Section) continue;
    if (!Trim(WithoutEnding(lines[i])).empty()) place.InsertAfter = i;
    if (const auto kv = KeyOf(lines[i]); kv && SameName(kv->Key, key)) {
      place.Key = i;
      break;
    }
  }
  return place;
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

// Cuts to IniMaxValueLength bytes without splitting a UTF-8 sequence.
std::string Limited(std::string_view v) {
  if (v.size() <= IniMaxValueLength) return std::string(v);
  std::size_t n = IniMaxValueLength;
  while (n > 0 && (static_cast<unsigned char>(v[n]) & 0xC0) == 0x80) --n;
  return std::string(v.substr(0, n));
}

std::string LookUp(const std::vector<std::string>& lines, std::string_view section,
                   std::string_view key, std::string_view defaultValue) {
  const TKeyPlace place = FindKey(lines, section, key);
  if (!place.Key) return Limited(defaultValue);
  return Limited(Unquote(KeyOf(lines[*place.Key])->Value));
}

enum class TReadResult { Ok, Missing, Failed };

TReadResult ReadWholeFile(const std::string& path, std::string& content) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return ec ? TReadResult::Failed : TReadResult::Missing;
  std::ifstream in(path, std::ios::binary);
  if (!in) return TReadResult::Failed;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return TReadResult::Failed;
  content = std::move(buffer).str();
  return TReadResult::Ok;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Writes content to a new file beside target and renames it over target: readers see the
// old file or the new one, never a part. The new file keeps the old one's permissions.
bool ReplaceFile(const std::string& target, std::string_view content) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path path(target);
  if (fs::is_symlink(path, ec)) {
    // Replace the file the link points to, not the link.
    const fs::path linked = fs::read_symlink(path, ec);
    if (ec) return false;
    path = linked.is_absolute() ? linked : path.parent_path() / linked;
  }
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return false;
  struct stat old {};
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, content) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(pattern.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(pattern.c_str());
    return false;
  }
  return true;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
  std::string content;
  if (ReadWholeFile(FFileName, content) != TReadResult::Ok) return Limited(defaultValue);
  return LookUp(SplitText(content).Lines, section, key, defaultValue);
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const {
  const std::string text = ReadString(section, key, "");
  std::string_view t = Trim(text);
  if (t.starts_with('+')) t.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return defaultValue;
  return value;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) const {
  // Names and values that would change the file's structure are refused: a line break in a
  // value would otherwise plant lines of its own.
  const std::string_view s = Trim(section);
  const std::string_view k = Trim(key);
  if (s.empty() || k.empty() || HasLineBreak(s) || HasLineBreak(k) || HasLineBreak(value) ||
      s.find(']') != std::string_view::npos || k.find('=') != std::string_view::npos ||
      k.front() == '[' || k.front() == ';') {
    return false;
  }
  std::string content;
  // An existing file that cannot be read must not be replaced by one holding this key only.
  if (ReadWholeFile(FFileName, content) == TReadResult::Failed) return false;
  TIniText text = SplitText(content);
  std::vector<std::string>& lines = text.Lines;
  const std::string keyLine = std::string(k) + "=" + std::string(value) + text.NewLine;

  const TKeyPlace place = FindKey(lines, s, k);
  if (!lines.empty() && !lines.back().ends_with('\n')) lines.back() += text.NewLine;
  if (place.Key) {
    lines[*place.Key] = keyLine;
  } else if (place.Section) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(place.InsertAfter + 1), keyLine);
  } else {
    lines.push_back("[" + std::string(s) + "]" + text.NewLine);
    lines.push_back(keyLine);
  }

  std::string out = text.HasBom ? std::string(Utf8Bom) : std::string();
  for (const std::string& line : lines) out += line;
  return ReplaceFile(FFileName, out);
}

bool TIniFile::WriteInteger(std::string_view section, std::string_view key,
                            std::int32_t value) const {
  return WriteString(section, key, std::to_string(value));
}

bool TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) const {
  return WriteString(section, key, value ? "1" : "0");
}

TMemIniFile::TMemIniFile(const std::string& path) {
  std::string content;
  if (ReadWholeFile(path, content) != TReadResult::Ok || !IsValidUtf8(content)) return;
  FLines = SplitText(content).Lines;
  FLoaded = true;
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  return LookUp(FLines, section, key, defaultValue);
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    char32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    for (std::size_t j = 1; j <= extra; ++j) {
      const auto cc = static_cast<unsigned char>(text[i + j]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    constexpr char32_t Smallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < Smallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

}  // namespace orvela
