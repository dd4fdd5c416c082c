#include "dialogs/responcelib.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace orvela {

std::string ResponceIniPathBesideExecutable() {
  const QFileInfo exe(QCoreApplication::applicationFilePath());
  return (exe.absolutePath() + QLatin1Char('/') + exe.completeBaseName() + QStringLiteral(".INI"))
      .toStdString();
}

}  // namespace orvela
