#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/responce.h"

namespace orvela {

// The library of named response curves: an INI file beside the executable with its base
// name and the extension ".INI", section "Responce", one key per curve whose value is the
// curve's text form (model/responce.h).
inline constexpr std::string_view ResponceSection = "Responce";

// The library's place beside the running executable.
std::string ResponceIniPathBesideExecutable();

// The key names of section "Responce" in file order. A missing or unreadable file gives
// none; keys that could never be read back as typed (IsValidResponceName) are left out, and
// of names equal but for letter case only the first, which is the one a look-up finds.
std::vector<std::string> ReadResponceNames(const std::string& path);

}  // namespace orvela
