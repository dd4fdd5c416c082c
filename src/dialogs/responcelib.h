#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/tooth.h"

namespace orvela {

// The library of named response curves: an INI file beside the executable with its base
// name and the extension ".INI", section "Responce", one key per curve whose value is the
// ten integers x0, y0, x1, y1, … x4, y4 joined by ", ".
inline constexpr std::string_view ResponceSection = "Responce";

// The library's path. Tests point it at a file of their own; an empty path restores the
// place beside the executable.
std::string ResponceIniPath();
void SetResponceIniPath(std::string path);

// The key names of section "Responce" in file order. A missing or unreadable file gives
// none; keys that could never be read back as typed (not UTF-8, control characters, longer
// than ResponceNameMaxLength) are left out, and of names equal but for letter case only the
// first, which is the one a look-up finds.
inline constexpr std::size_t ResponceNameMaxLength = 255;
std::vector<std::string> ReadResponceNames(const std::string& path);

// Whether a name can be stored as a key and read back: not empty, not longer than
// ResponceNameMaxLength, no control characters or '=', and not starting like a comment or
// a section (';', '[').
bool IsValidResponceName(std::string_view name);

// INI names compare without regard to ASCII letter case.
bool SameResponceName(std::string_view a, std::string_view b);

// "10, 50, 25, 75, 50, 80, 75, 75, 90, 70" for the default curve.
std::string FormatResponce(const TResponceCurve& curve);

// The curve of a library value, or the first piece that is not an integer (the whole
// value when it does not have ten pieces) in badText.
std::optional<TResponceCurve> ParseResponce(std::string_view value, std::string& badText);

}  // namespace orvela
