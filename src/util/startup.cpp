#include "util/startup.h"

#include "util/misc.h"

namespace orvela {

// Where the folders come from (see ShellFolderPath):
//   special folder 35, common application data:
//     $ORVELA_COMMON_APPDATA when set (tests point it at a temporary folder);
//     else <source>/data when the running executable lies inside the build tree;
//     else the install data dir <prefix>/share/orvela.
//   Both hold "Kestrin Software/Orvela/" (the shipped Settings/Orvela.ini among others).
//   special folder 5, the user's documents: XDG_DOCUMENTS_DIR from
//     $XDG_CONFIG_HOME/user-dirs.dirs (default ~/.config), else $HOME/Documents.
// A folder that cannot be found gives an empty prefix; nothing is reported.

std::int32_t ModelExtent = 1000;
std::string CommonDataFolder;
std::string UserDataFolder;
std::string SettingsIniPath;
TFormatSettings FixedFormatSettings;

void InitStartupValues() {
  ModelExtent = 1000;
  CommonDataFolder = ShellFolderPath(CommonAppDataFolderId, false) + "/Kestrin Software/Orvela/";
  SettingsIniPath =
      ShellFolderPath(PersonalFolderId, false) + "/Kestrin Orvela/Settings/Orvela.ini";
  UserDataFolder = ShellFolderPath(PersonalFolderId, false) + "/Kestrin Orvela/";
  TFormatSettings fs = UserFormatSettings();
  fs.ThousandSeparator = ",";
  fs.DecimalSeparator = ".";
  fs.DateSeparator = "-";
  fs.ShortDateFormat = "yyyy-mm-dd";
  fs.LongTimeFormat = "hh:mm:ss.zzz";
  FixedFormatSettings = fs;
}

}  // namespace orvela
