#pragma once

#include <cstdint>
#include <string>

#include "util/format.h"

namespace orvela {

// Side of the square model area in model units (0.1 mm): 1000 = 100 mm.
extern std::int32_t ModelExtent;
// Shared data shipped with the program; ends with "/".
extern std::string CommonDataFolder;
// The user's own data folder in the documents folder; ends with "/".
extern std::string UserDataFolder;
// The preferences file, inside UserDataFolder.
extern std::string SettingsIniPath;
// The locale-independent number format of the settings file.
extern TFormatSettings FixedFormatSettings;

// Sets the values above, in this order: ModelExtent, CommonDataFolder, SettingsIniPath,
// UserDataFolder, FixedFormatSettings. Runs once before the main window is created.
void InitStartupValues();

}  // namespace orvela
