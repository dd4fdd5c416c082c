#pragma once

#include <cstdint>
#include <string>

namespace orvela {

// Side of the square model area in model units (0.1 mm): 1000 = 100 mm.
inline constexpr std::int32_t ModelExtent = 1000;

// The folders and files the program finds at start, made once in main and handed to the
// main window.
struct TStartupValues {
  // Shared data shipped with the program; ends with "/".
  std::string CommonDataFolder;
  // The user's own data folder in the documents folder; ends with "/".
  std::string UserDataFolder;
  // The preferences file, inside UserDataFolder.
  std::string SettingsIniPath;
};

// The start-up values of this machine and user (see startup.cpp for where they come from).
TStartupValues FindStartupValues();

}  // namespace orvela
