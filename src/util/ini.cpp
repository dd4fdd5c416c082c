#include "util/ini.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

namespace orvela {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

// The section name of a "[name]" line, or nothing for other lines.
std::optional<std::string_view> SectionOf(std::string_view line) {
  const std::string_view t = TrimBlanks(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  std::string_view inner = t.substr(1);
  if (const std::size_t close = inner.find(']'); close != std::string_view::npos) {
    inner = inner.substr(0, close);
  }
  return TrimBlanks(inner);
}

struct TKeyLine {
  std::string_view Key;
  std::string_view Value;
};

std::optional<TKeyLine> KeyOf(std::string_view line) {
  const std::string_view t = TrimBlanks(line);
  if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return TKeyLine{TrimBlanks(t.substr(0, eq)), TrimBlanks(t.substr(eq + 1))};
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

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

std::string WithoutLineBreaks(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (const char c : s) {
    if (c != '\r' && c != '\n') out += c;
  }
  return out;
}

bool StorableNames(std::string_view section, std::string_view key) {
  return !section.empty() && !key.empty() && !HasLineBreak(section) && !HasLineBreak(key) &&
         section.find(']') == std::string_view::npos && key.find('=') == std::string_view::npos &&
         key.front() != '[' && key.front() != ';';
}

TIniReadFunction CurrentReadFunction = nullptr;

ssize_t ReadSome(int fd, void* buffer, std::size_t count) {
  return CurrentReadFunction != nullptr ? CurrentReadFunction(fd, buffer, count)
                                        : ::read(fd, buffer, count);
}

// Closes a descriptor when it goes.
class TFileDescriptor {
 public:
  explicit TFileDescriptor(int fd) : FFd(fd) {}
  ~TFileDescriptor() {
    if (FFd >= 0) ::close(FFd);
  }
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  int Get() const { return FFd; }
  // Closes now and reports whether the close succeeded (a late write error shows here).
  bool Close() {
    const int fd = std::exchange(FFd, -1);
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int FFd;
};

TIniLoadResult ReadWholeFile(const std::string& path, std::string& content) {
  content.clear();
  // Non-blocking, so that a FIFO at the path cannot hang the open; it is refused below.
  TFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.Get() < 0) {
    return (errno == ENOENT || errno == ENOTDIR) ? TIniLoadResult::Missing : TIniLoadResult::Failed;
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) return TIniLoadResult::Failed;
  if (!S_ISREG(info.st_mode)) return TIniLoadResult::Missing;
  const int flags = ::fcntl(fd.Get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    return TIniLoadResult::Failed;
  }
  const auto expected = static_cast<std::size_t>(info.st_size);
  content.resize(expected + 1);  // one more, to see the end of the file in the same loop
  std::size_t total = 0;
  while (true) {
    if (total == content.size()) content.resize(content.size() * 2);
    const ssize_t n = ReadSome(fd.Get(), content.data() + total, content.size() - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      content.clear();
      return TIniLoadResult::Failed;
    }
    if (n == 0) break;
    total += static_cast<std::size_t>(n);
  }
  content.resize(total);
  // Less than the file's size means the read stopped early: the text is not the file.
  if (total < expected) {
    content.clear();
    return TIniLoadResult::Failed;
  }
  return TIniLoadResult::Ok;
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

// The file a path finally names, every link of a chain followed; nothing for a loop.
std::optional<std::filesystem::path> ResolveLinks(std::filesystem::path path) {
  namespace fs = std::filesystem;
  constexpr int MaxLinks = 40;  // as the system's own limit
  for (int hops = 0; hops <= MaxLinks; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path target = fs::read_symlink(path, ec);
    if (ec) return std::nullopt;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return std::nullopt;
}

constexpr std::size_t TemporarySuffixLength = 6;

std::string TemporaryPrefix(const std::filesystem::path& file) {
  return "." + file.filename().string() + ".";
}

// Temporary files of a save that never finished (a crash, a power cut).
void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& prefix) {
  namespace fs = std::filesystem;
  // A save lives for milliseconds: an older temporary is left by a crash, a newer one may
  // be another instance's save in progress, whose rename must not fail.
  constexpr auto StaleAge = std::chrono::minutes(10);
  const fs::file_time_type now = fs::file_time_type::clock::now();
  std::error_code ec;
  std::vector<fs::path> stale;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() == prefix.size() + TemporarySuffixLength && name.starts_with(prefix) &&
        it->is_regular_file(ec) && !it->is_symlink(ec)) {
      const fs::file_time_type written = it->last_write_time(ec);
      if (!ec && now - written > StaleAge) stale.push_back(it->path());
    }
  }
  for (const fs::path& p : stale) fs::remove(p, ec);
}

// Creates a new temporary file beside the target, with mode (less the umask).
int CreateTemporary(const std::filesystem::path& folder, const std::string& prefix, mode_t mode,
                    std::string& name) {
  static constexpr std::string_view Letters =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<std::size_t> pick(0, Letters.size() - 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string suffix;
    for (std::size_t i = 0; i < TemporarySuffixLength; ++i) suffix += Letters[pick(random)];
    name = (folder / (prefix + suffix)).string();
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

void FlushFolder(const std::filesystem::path& folder) {
  // A rename is durable only once the folder is; some file systems cannot, which is no error.
  TFileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() >= 0) ::fsync(fd.Get());
}

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameIniName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// TIniDocument

struct TIniDocument::TData {
  struct TLine {
    std::size_t Begin = 0;
    std::size_t Length = 0;  // without the line ending
    std::size_t EndingLength = 0;
  };
  struct TAddedKey {
    std::string Key;
    std::string Value;
  };
  struct TSection {
    std::string Name;
    std::optional<std::size_t> Header;  // none for a section added in memory
    std::size_t End = 0;                // one past its last line
    // Built on the first look-up into the section, so that a large file costs one pass.
    bool Indexed = false;
    std::unordered_map<std::string, std::size_t> Keys;  // lower-case key -> its first line
    std::size_t InsertAfter = 0;                        // last non-blank line
    std::vector<TAddedKey> Added;
  };

  bool HasBom = false;
  std::string Content;
  std::vector<TLine> Lines;
  std::string NewLine = "\n";
  std::vector<TSection> Sections;  // the first of each name, in file order, then added ones
  std::unordered_map<std::string, std::size_t> SectionIndex;  // lower-case name -> Sections
  std::unordered_map<std::size_t, std::string> Replaced;      // line -> new text, no ending

  std::string_view LineText(std::size_t i) const {
    if (const auto it = Replaced.find(i); it != Replaced.end()) return it->second;
    return std::string_view(Content).substr(Lines[i].Begin, Lines[i].Length);
  }

  void Parse() {
    std::string_view text = Content;
    std::size_t offset = 0;
    if (text.starts_with(Utf8Bom)) {
      HasBom = true;
      offset = Utf8Bom.size();
    }
    // A line ends at LF, CR LF or a lone CR, for the reader and the writer alike.
    while (offset < text.size()) {
      const std::size_t end = text.find_first_of("\r\n", offset);
      TLine line{offset, 0, 0};
      if (end == std::string_view::npos) {
        line.Length = text.size() - offset;
      } else {
        line.Length = end - offset;
        line.EndingLength =
            (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
      }
      Lines.push_back(line);
      offset += line.Length + line.EndingLength;
    }
    if (!Lines.empty() && Lines.front().EndingLength > 0) {
      NewLine = std::string(
          text.substr(Lines.front().Begin + Lines.front().Length, Lines.front().EndingLength));
    }
    TSection* open = nullptr;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
      const auto name = SectionOf(LineText(i));
      if (!name) continue;
      if (open != nullptr) open->End = i;
      open = nullptr;
      auto [it, added] = SectionIndex.try_emplace(Lower(*name), Sections.size());
      if (!added) continue;  // only the first section of a name counts
      TSection section;
      section.Name = std::string(*name);
      section.Header = i;
      Sections.push_back(std::move(section));
      open = &Sections.back();
    }
    if (open != nullptr) open->End = Lines.size();
  }

  TSection* FindSection(std::string_view name) {
    const auto it = SectionIndex.find(Lower(TrimBlanks(name)));
    return it == SectionIndex.end() ? nullptr : &Sections[it->second];
  }

  void Index(TSection& section) {
    if (section.Indexed) return;
    section.Indexed = true;
    if (!section.Header) return;
    section.InsertAfter = *section.Header;
    for (std::size_t i = *section.Header + 1; i < section.End; ++i) {
      const std::string_view line = LineText(i);
      if (!TrimBlanks(line).empty()) section.InsertAfter = i;
      if (const auto kv = KeyOf(line)) section.Keys.try_emplace(Lower(kv->Key), i);
    }
  }

  // The value of a key as it stands, or nothing.
  std::optional<std::string_view> Find(std::string_view sectionName, std::string_view key) {
    TSection* section = FindSection(sectionName);
    if (section == nullptr) return std::nullopt;
    Index(*section);
    const std::string lowerKey = Lower(TrimBlanks(key));
    if (const auto it = section->Keys.find(lowerKey); it != section->Keys.end()) {
      return KeyOf(LineText(it->second))->Value;
    }
    for (const TAddedKey& added : section->Added) {
      if (Lower(added.Key) == lowerKey) return TrimBlanks(added.Value);  // as it will read back
    }
    return std::nullopt;
  }
};

TIniDocument::TIniDocument() : FData(std::make_unique<TData>()) {}

TIniDocument::TIniDocument(std::string content) : FData(std::make_unique<TData>()) {
  FData->Content = std::move(content);
  FData->Parse();
}

TIniDocument::TIniDocument(TIniDocument&&) noexcept = default;
TIniDocument& TIniDocument::operator=(TIniDocument&&) noexcept = default;
TIniDocument::~TIniDocument() = default;

std::string TIniDocument::ReadString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
  const auto value = FData->Find(section, key);
  return Limited(value ? Unquote(*value) : defaultValue);
}

std::int32_t TIniDocument::ReadInteger(std::string_view section, std::string_view key,
                                       std::int32_t defaultValue) const {
  const std::string text = ReadString(section, key, "");
  std::string_view t = TrimBlanks(text);
  if (t.starts_with('+')) t.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return defaultValue;
  return value;
}

bool TIniDocument::ReadBool(std::string_view section, std::string_view key,
                            bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<std::string> TIniDocument::ReadSectionKeys(std::string_view section) const {
  std::vector<std::string> keys;
  TData& data = *FData;
  TData::TSection* found = data.FindSection(section);
  if (found == nullptr) return keys;
  data.Index(*found);
  if (found->Header) {
    for (std::size_t i = *found->Header + 1; i < found->End; ++i) {
      const auto kv = KeyOf(data.LineText(i));
      // Keys maps each name to its first line; later lines of a name are shadowed.
      if (kv && found->Keys.at(Lower(kv->Key)) == i) keys.emplace_back(kv->Key);
    }
  }
  for (const TData::TAddedKey& added : found->Added) keys.push_back(added.Key);
  return keys;
}

bool TIniDocument::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
  const std::string_view s = TrimBlanks(section);
  const std::string_view k = TrimBlanks(key);
  if (!StorableNames(s, k)) return false;
  const std::string clean = WithoutLineBreaks(value);
  TData& data = *FData;
  TData::TSection* target = data.FindSection(s);
  if (target == nullptr) {
    data.SectionIndex.emplace(Lower(s), data.Sections.size());
    TData::TSection added;
    added.Name = std::string(s);
    added.Indexed = true;
    data.Sections.push_back(std::move(added));
    target = &data.Sections.back();
  }
  data.Index(*target);
  const std::string lowerKey = Lower(k);
  if (const auto it = target->Keys.find(lowerKey); it != target->Keys.end()) {
    data.Replaced[it->second] = std::string(k) + "=" + clean;
    return true;
  }
  for (TData::TAddedKey& added : target->Added) {
    if (Lower(added.Key) == lowerKey) {
      added = {std::string(k), clean};
      return true;
    }
  }
  target->Added.push_back({std::string(k), clean});
  return true;
}

bool TIniDocument::WriteInteger(std::string_view section, std::string_view key,
                                std::int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool TIniDocument::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

std::string TIniDocument::Text() const {
  const TData& data = *FData;
  std::unordered_map<std::size_t, const TData::TSection*> insertions;
  std::vector<const TData::TSection*> newSections;
  for (const TData::TSection& section : data.Sections) {
    if (section.Added.empty()) continue;
    if (section.Header) {
      insertions.emplace(section.InsertAfter, &section);
    } else {
      newSections.push_back(&section);
    }
  }
  std::string out;
  out.reserve(data.Content.size() + 256);
  if (data.HasBom) out += Utf8Bom;
  const auto addKeys = [&](const TData::TSection& section) {
    for (const TData::TAddedKey& added : section.Added) {
      out += added.Key;
      out += '=';
      out += added.Value;
      out += data.NewLine;
    }
  };
  for (std::size_t i = 0; i < data.Lines.size(); ++i) {
    out += data.LineText(i);
    const TData::TLine& line = data.Lines[i];
    if (line.EndingLength > 0) {
      out.append(data.Content, line.Begin + line.Length, line.EndingLength);
    } else if (i + 1 < data.Lines.size() || !insertions.empty() || !newSections.empty()) {
      out += data.NewLine;  // a last line without an ending gets one when text follows
    }
    if (const auto it = insertions.find(i); it != insertions.end()) addKeys(*it->second);
  }
  for (const TData::TSection* section : newSections) {
    out += "[" + section->Name + "]" + data.NewLine;
    addKeys(*section);
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Files

TIniLoadResult LoadIniDocument(const std::string& path, TIniDocument& doc) {
  std::string content;
  const TIniLoadResult result = ReadWholeFile(path, content);
  doc = result == TIniLoadResult::Ok ? TIniDocument(std::move(content)) : TIniDocument();
  return result;
}

bool SaveIniDocument(const std::string& path, const TIniDocument& doc) {
  namespace fs = std::filesystem;
  // Replace the file at the end of a chain of links, not a link.
  const std::optional<fs::path> resolved = ResolveLinks(fs::path(path));
  if (!resolved) return false;
  const fs::path& target = *resolved;

  mode_t mode = 0666;  // a new file: the umask applies at creation
  bool keepMode = false;
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0) {
    // Only a regular file the user may write is replaced: a read-only file stays as it is,
    // also for root, who could write it anyway.
    if (!S_ISREG(info.st_mode) || (info.st_mode & 0222) == 0 ||
        ::access(target.c_str(), W_OK) != 0) {
      return false;
    }
    mode = info.st_mode & 07777;
    keepMode = true;
  } else if (errno != ENOENT) {
    return false;
  }

  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  const std::string prefix = TemporaryPrefix(target);
  RemoveStaleTemporaries(folder, prefix);

  std::string temporary;
  TFileDescriptor fd(CreateTemporary(folder, prefix, keepMode ? 0600 : mode, temporary));
  if (fd.Get() < 0) return false;
  bool ok = (!keepMode || ::fchmod(fd.Get(), mode) == 0) && WriteAll(fd.Get(), doc.Text()) &&
            ::fsync(fd.Get()) == 0;
  ok = fd.Close() && ok;
  if (ok) ok = ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  FlushFolder(folder);
  return true;
}

void SetIniReadFunction(TIniReadFunction read) { CurrentReadFunction = read; }

// ---------------------------------------------------------------------------------------------
// TIniFile, TMemIniFile

TIniDocument TIniFile::Load() const {
  TIniDocument doc;
  LoadIniDocument(FFileName, doc);
  return doc;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
  return Load().ReadString(section, key, defaultValue);
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const {
  return Load().ReadInteger(section, key, defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return Load().ReadBool(section, key, defaultValue);
}

bool TIniFile::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) const {
  TIniDocument doc;
  // An existing file that cannot be read must not be replaced by one holding this key only.
  if (LoadIniDocument(FFileName, doc) == TIniLoadResult::Failed) return false;
  return doc.WriteString(section, key, value) && SaveIniDocument(FFileName, doc);
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
  if (ReadWholeFile(path, content) != TIniLoadResult::Ok || !IsValidUtf8(content)) return;
  FDocument = TIniDocument(std::move(content));
  FLoaded = true;
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  return FDocument.ReadString(section, key, defaultValue);
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
