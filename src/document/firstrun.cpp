#include "document/firstrun.h"

#include <filesystem>

#include "util/ini.h"
#include "util/misc.h"

namespace orvela {

bool DataCopyNeeded(const std::string& settingsIniPath, const std::string& programVersion) {
  std::error_code ec;
  if (!std::filesystem::exists(settingsIniPath, ec)) return true;
  // An unreadable or undecodable file reads as empty and so asks for a copy.
  const TMemIniFile ini(settingsIniPath);
  return ini.ReadString("General", "Version", "") != programVersion;
}

bool CopyDataOnFirstRun(const std::string& commonDataFolder, const std::string& userDataFolder,
                        const std::string& settingsIniPath, const std::string& programVersion) {
  if (!DataCopyNeeded(settingsIniPath, programVersion)) return false;
  // Twice: the first pass creates the sub-folders (and with them userDataFolder), the second
  // copies the top-level files, whose destination did not exist before.
  try {
    CopyFolderTree(commonDataFolder, userDataFolder);
    CopyFolderTree(commonDataFolder, userDataFolder);
  } catch (const std::exception&) {
    // Start-up goes on without the copy; the defaults apply.
  }
  return true;
}

bool CopyDataOnFirstRun(const TStartupValues& startup) {
  return CopyDataOnFirstRun(startup.CommonDataFolder, startup.UserDataFolder,
                            startup.SettingsIniPath, FileVersionText(""));
}

}  // namespace orvela
