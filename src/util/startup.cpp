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

TStartupValues FindStartupValues() {
  const std::string documents = ShellFolderPath(PersonalFolderId, false);
  TStartupValues values;
  values.CommonDataFolder =
      ShellFolderPath(CommonAppDataFolderId, false) + "/Kestrin Software/Orvela/";
  values.SettingsIniPath = documents + "/Kestrin Orvela/Settings/Orvela.ini";
  values.UserDataFolder = documents + "/Kestrin Orvela/";
  return values;
}

}  // namespace orvela
