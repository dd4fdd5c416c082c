#pragma once

#include <string>

#include "util/startup.h"

namespace orvela {

// True when the shared data folder must be copied: no settings file, or its "Version" key
// (section "General", read from memory as UTF-8; any read error gives "") differs from
// programVersion.
bool DataCopyNeeded(const std::string& settingsIniPath, const std::string& programVersion);

// The first-run copy: when DataCopyNeeded, copies commonDataFolder into userDataFolder twice
// (the first pass creates the sub-folders, and with them userDataFolder, the second pass then
// copies the top-level files). Never overwrites; errors end the copying silently. Returns
// whether a copy was attempted.
bool CopyDataOnFirstRun(const std::string& commonDataFolder, const std::string& userDataFolder,
                        const std::string& settingsIniPath, const std::string& programVersion);

// The same with the start-up folders and the program's own FileVersionText("").
bool CopyDataOnFirstRun(const TStartupValues& startup);

}  // namespace orvela
