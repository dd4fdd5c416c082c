// The INI layer: any bytes parse, look-ups and writes never crash, and what the document
// writes out reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/ini.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using orvela::TIniDocument;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The last three lines of the input, when there are any, are a section, a key and a value
  // to write; the rest is the file.
  std::string_view text = input;
  std::string_view fields[3];
  for (int i = 2; i >= 0; --i) {
    const std::size_t at = text.rfind('\x01');
    if (at == std::string_view::npos) break;
    fields[i] = text.substr(at + 1);
    text = text.substr(0, at);
  }
  TIniDocument doc{std::string(text)};
  const std::string before = doc.ReadString(fields[0], fields[1], "\x02missing");
  Check(doc.Text() == text);  // untouched, the text is written back byte for byte
  const TIniDocument same{doc.Text()};
  Check(same.ReadString(fields[0], fields[1], "\x02missing") == before);

  if (doc.WriteString(fields[0], fields[1], fields[2])) {
    const std::string value = doc.ReadString(fields[0], fields[1], "\x02missing");
    Check(value.size() <= orvela::IniMaxValueLength);
    const TIniDocument reread{doc.Text()};
    Check(reread.ReadString(fields[0], fields[1], "\x02missing") == value);
    Check(reread.Text() == doc.Text());
    // A second write of the same key changes only that key.
    doc.WriteString(fields[0], fields[1], "x");
    Check(TIniDocument{doc.Text()}.ReadString(fields[0], fields[1], "") == "x");
  }
  // Every listed key reads back: it names a key of that section.
  for (const std::string& key : doc.ReadSectionKeys(fields[0])) {
    Check(doc.ReadString(fields[0], key, "\x02a") == doc.ReadString(fields[0], key, "\x02b"));
  }
  doc.ReadInteger(fields[0], fields[1], 7);
  doc.ReadBool("General", fields[1], true);
  return 0;
}
