#include "util/ini.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <unordered_map>
#include <utility>

#include "util/files.h"

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

// FNV-1a over the ASCII-lower-cased bytes: names equal but for letter case hash alike.
std::uint64_t NameHash(std::string_view s) {
  std::uint64_t h = 14695981039346656037ull;
  for (const char c : s) {
    h ^= static_cast<unsigned char>(AsciiLower(c));
    h *= 1099511628211ull;
  }
  return h;
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

// Reserves room for n elements of a vector about to be filled, on huge pages.
template <class T>
void ReserveLarge(std::vector<T>& v, std::size_t n) {
  v.reserve(n);
  AdviseHugePages(v.data(), v.capacity() * sizeof(T));
}

// The INI layer's view of a read: a path that is not a regular file counts as missing, a
// file that cannot be read in full as failed.
TIniLoadResult ReadWholeFile(const std::string& path, std::string& content) {
  switch (ReadFileText(path, content)) {
    case TFileReadResult::Ok:
      return TIniLoadResult::Ok;
    case TFileReadResult::Missing:
    case TFileReadResult::NotAFile:
      return TIniLoadResult::Missing;
    case TFileReadResult::TooLarge:
    case TFileReadResult::Failed:
      break;
  }
  return TIniLoadResult::Failed;
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
    // Key name (letter case aside) -> its first line: open addressing with linear probing,
    // at most half full, keys compared on the lines themselves. A section of a million keys
    // is indexed in one pass without an allocation per key.
    struct TSlot {
      std::uint64_t Hash = 0;
      std::size_t Line = 0;  // one more than the line; 0 for an empty slot
    };
    std::vector<TSlot> Slots;
    std::vector<std::size_t> KeyLines;  // the first line of each name, in file order
    std::size_t InsertAfter = 0;        // last non-blank line
    std::vector<TAddedKey> Added;
  };

  bool HasBom = false;
  std::string Content;
  std::vector<TLine> Lines;
  std::string NewLine = "\n";
  std::vector<TSection> Sections;  // the first of each name, in file order, then added ones
  std::unordered_map<std::string, std::size_t> SectionIndex;  // lower-case name -> Sections
  std::unordered_map<std::size_t, std::string> Replaced;      // line -> new text, no ending

  std::string_view RawLine(std::size_t i) const {
    return std::string_view(Content).substr(Lines[i].Begin, Lines[i].Length);
  }

  std::string_view LineText(std::size_t i) const {
    if (!Replaced.empty()) {
      if (const auto it = Replaced.find(i); it != Replaced.end()) return it->second;
    }
    return RawLine(i);
  }

  // The key of a line the index holds.
  std::string_view KeyAt(std::size_t line) const { return KeyOf(LineText(line))->Key; }

  void Parse() {
    std::string_view text = Content;
    std::size_t offset = 0;
    if (text.starts_with(Utf8Bom)) {
      HasBom = true;
      offset = Utf8Bom.size();
    }
    // A line ends at LF, CR LF or a lone CR, for the reader and the writer alike. The next
    // of each is looked for with memchr, once per line that reaches it: a search for either
    // of the two would test every byte against both.
    ReserveLarge(Lines, static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t nextLf = text.find('\n', offset);
    std::size_t nextCr = text.find('\r', offset);
    while (offset < text.size()) {
      if (nextLf < offset) nextLf = text.find('\n', offset);
      if (nextCr < offset) nextCr = text.find('\r', offset);
      const std::size_t end = std::min(nextLf, nextCr);
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
      const auto name = SectionOf(RawLine(i));
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
    std::size_t slots = 8;
    while (slots < 2 * (section.End - *section.Header)) slots *= 2;
    ReserveLarge(section.Slots, slots);
    section.Slots.assign(slots, {});
    ReserveLarge(section.KeyLines, section.End - *section.Header);
    for (std::size_t i = *section.Header + 1; i < section.End; ++i) {
      const std::string_view line = LineText(i);
      if (!TrimBlanks(line).empty()) section.InsertAfter = i;
      const auto kv = KeyOf(line);
      if (!kv) continue;
      // Only the first line of a name is indexed; later ones are shadowed.
      const std::uint64_t hash = NameHash(kv->Key);
      TSection::TSlot& slot = SlotOf(section, kv->Key, hash);
      if (slot.Line != 0) continue;
      slot = {hash, i + 1};
      section.KeyLines.push_back(i);
    }
  }

  // The slot that holds key, or the empty one where it would go.
  TSection::TSlot& SlotOf(TSection& section, std::string_view key, std::uint64_t hash) const {
    const std::size_t mask = section.Slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      TSection::TSlot& slot = section.Slots[i];
      if (slot.Line == 0 || (slot.Hash == hash && SameIniName(KeyAt(slot.Line - 1), key))) {
        return slot;
      }
    }
  }

  // The first line of a key in the file, or nothing (keys added in memory are not lines).
  std::optional<std::size_t> KeyLine(TSection& section, std::string_view key) {
    Index(section);
    if (section.Slots.empty()) return std::nullopt;
    const TSection::TSlot& slot = SlotOf(section, key, NameHash(key));
    if (slot.Line == 0) return std::nullopt;
    return slot.Line - 1;
  }

  // The value of a key as it stands, or nothing.
  std::optional<std::string_view> Find(std::string_view sectionName, std::string_view key) {
    TSection* section = FindSection(sectionName);
    if (section == nullptr) return std::nullopt;
    const std::string_view k = TrimBlanks(key);
    if (const auto line = KeyLine(*section, k)) return KeyOf(LineText(*line))->Value;
    for (const TAddedKey& added : section->Added) {
      if (SameIniName(added.Key, k)) return TrimBlanks(added.Value);  // as it will read back
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
  ForEachSectionKey(section, [&keys](std::string_view key) { keys.emplace_back(key); });
  return keys;
}

void TIniDocument::ForEachSectionKey(std::string_view section,
                                     const std::function<void(std::string_view)>& f) const {
  TData& data = *FData;
  TData::TSection* found = data.FindSection(section);
  if (found == nullptr) return;
  data.Index(*found);
  for (const std::size_t line : found->KeyLines) f(data.KeyAt(line));
  for (const TData::TAddedKey& added : found->Added) f(added.Key);
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
  if (const auto line = data.KeyLine(*target, k)) {
    data.Replaced[*line] = std::string(k) + "=" + clean;
    return true;
  }
  for (TData::TAddedKey& added : target->Added) {
    if (SameIniName(added.Key, k)) {
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
  return ReplaceFileText(path, doc.Text());
}

void SetIniReadFunction(TIniReadFunction read) { SetFileReadFunction(read); }

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
