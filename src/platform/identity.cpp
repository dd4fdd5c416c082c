#include "platform/identity.h"

#include <cstdio>

#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>

#include "util/misc.h"

namespace orvela {

namespace {

constexpr const char* ProgramIcon = ":/orvela/icons/orvela.svg";

void Print(std::FILE* stream, const QString& text) {
  const QByteArray bytes = text.toLocal8Bit();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
  std::fflush(stream);
}

}  // namespace

void SetProgramNames() {
  QCoreApplication::setApplicationName(QStringLiteral("Orvela"));
  QCoreApplication::setApplicationVersion(QString::fromStdString(FileVersionText("")));
}

void SetProgramIdentity() {
  QGuiApplication::setWindowIcon(QIcon(QString::fromLatin1(ProgramIcon)));
  QGuiApplication::setDesktopFileName(QString::fromLatin1(DesktopFileName));
}

TCommandLine::TCommandLine() {
  FParser.setApplicationDescription(
      QStringLiteral("Simulates orthodontic tooth movement in two dimensions."));
  FParser.addHelpOption();
  FParser.addVersionOption();
}

std::optional<int> TCommandLine::HandleInfoOptions(const QStringList& arguments) {
  // Errors wait for CheckArguments: Qt's own options (-platform …) are unknown here.
  FParser.parse(arguments);
  if (FParser.isSet(QStringLiteral("help"))) {
    QString text = FParser.helpText();
    // Without an application object Qt cannot name the program in the usage line.
    const QString name =
        arguments.isEmpty() ? QStringLiteral("orvela") : QFileInfo(arguments.first()).fileName();
    text.replace(QStringLiteral("<executable_name>"), name);
    Print(stdout, text);
    return 0;
  }
  if (FParser.isSet(QStringLiteral("version"))) {
    Print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion() + QLatin1Char('\n'));
    return 0;
  }
  return std::nullopt;
}

std::optional<int> TCommandLine::CheckArguments(const QStringList& arguments) {
  QString error;
  if (!FParser.parse(arguments)) {
    error = FParser.errorText();
  } else if (!FParser.positionalArguments().isEmpty()) {
    error = QStringLiteral("Unexpected argument '%1'.").arg(FParser.positionalArguments().first());
  }
  if (error.isEmpty()) {
    // Qt's own options are listed only with an application object; Qt prints and exits.
    if (FParser.isSet(QStringLiteral("help-all"))) FParser.process(arguments);
    return std::nullopt;
  }
  Print(stderr,
        QStringLiteral("orvela: %1\nTry 'orvela --help' for more information.\n").arg(error));
  return 2;
}

}  // namespace orvela
