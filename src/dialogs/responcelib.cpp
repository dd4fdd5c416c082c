#include "dialogs/responcelib.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "util/ini.h"

namespace orvela {

std::string ResponceIniPathBesideExecutable() {
  const QFileInfo exe(QCoreApplication::applicationFilePath());
  return (exe.absolutePath() + QLatin1Char('/') + exe.completeBaseName() + QStringLiteral(".INI"))
      .toStdString();
}

std::vector<std::string> ReadResponceNames(const std::string& path) {
  std::vector<std::string> names;
  TIniDocument library;
  if (LoadIniDocument(path, library) != TIniLoadResult::Ok) return names;
  for (std::string& key : library.ReadSectionKeys(ResponceSection)) {
    if (IsValidResponceName(key)) names.push_back(std::move(key));
  }
  return names;
}

}  // namespace orvela
