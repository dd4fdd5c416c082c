#include "platform/identity.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>

#include "util/misc.h"

namespace orvela {

namespace {

constexpr const char* ProgramIcon = ":/orvela/icons/orvela.svg";

// Qt's documented common options, which the GUI application takes out of the command line:
// those with a value in the next argument, those without, and those written "-name=value".
// Each may begin with one dash or two.
constexpr std::array<const char*, 13> QtValueOptions{
    "style",   "stylesheet",      "platform",     "platformpluginpath", "platformtheme",
    "plugin",  "qwindowgeometry", "qwindowicon",  "qwindowtitle",       "session",
    "display", "geometry",        "qmljsdebugger"};
constexpr std::array<const char*, 2> QtFlagOptions{"widgetcount", "reverse"};
constexpr std::array<const char*, 5> QtJoinedOptions{
    "style=", "stylesheet=", "qmljsdebugger=", "dialogs=", "fontengine="};

// The command line without Qt's options, and the platform and X11 display they ask for.
struct TQtOptionsSplit {
  QStringList Own;
  QString Platform;
  QString Display;
};

template <std::size_t N>
bool Holds(const std::array<const char*, N>& names, const QString& name) {
  return std::any_of(names.begin(), names.end(),
                     [&name](const char* n) { return name == QLatin1String(n); });
}

TQtOptionsSplit SplitQtOptions(const QStringList& arguments) {
  TQtOptionsSplit split;
  bool optionsEnded = false;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (i == 0 || optionsEnded || argument.size() < 2 || !argument.startsWith(QLatin1Char('-'))) {
      split.Own.append(argument);
      continue;
    }
    if (argument == QLatin1String("--")) optionsEnded = true;
    const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    if (Holds(QtValueOptions, name)) {
      const QString value = i + 1 < arguments.size() ? arguments[++i] : QString();
      if (name == QLatin1String("platform")) split.Platform = value;
      if (name == QLatin1String("display")) split.Display = value;
      continue;
    }
    const bool joined =
        std::any_of(QtJoinedOptions.begin(), QtJoinedOptions.end(),
                    [&name](const char* n) { return name.startsWith(QLatin1String(n)); });
    if (Holds(QtFlagOptions, name) || joined) continue;
    split.Own.append(argument);
  }
  return split;
}

// Why Qt could open no window, or nothing when it can. Qt's platform plugin ends the program
// (abort) when it cannot reach its display, so such a start is told apart beforehand. The
// platforms are those of -platform or QT_QPA_PLATFORM, tried in order ("wayland;xcb"); X11
// and Wayland need their display, any other (offscreen, eglfs, …) is left to Qt.
std::optional<QString> NoDisplayReason(const TQtOptionsSplit& qt) {
  const bool x11 = !qt.Display.isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY");
  const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
  const QString platforms =
      qt.Platform.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : qt.Platform;
  const QStringList names = platforms.split(QLatin1Char(';'), Qt::SkipEmptyParts);
  if (names.isEmpty()) {
    if (x11 || wayland) return std::nullopt;
    return QStringLiteral("no display (neither DISPLAY nor WAYLAND_DISPLAY is set)");
  }
  for (const QString& entry : names) {
    const QString name = entry.section(QLatin1Char(':'), 0, 0);
    if (name.startsWith(QLatin1String("xcb"))) {
      if (x11) return std::nullopt;
    } else if (name.startsWith(QLatin1String("wayland"))) {
      if (wayland) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  return QStringLiteral("no display for the platform '%1'").arg(platforms);
}

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
  FParser.addPositionalArgument(QStringLiteral("file"),
                                QStringLiteral("A setup file (.orvela) to open."),
                                QStringLiteral("[file]"));
}

QString TCommandLine::FileArgument() const {
  const QStringList files = FParser.positionalArguments();
  return files.isEmpty() ? QString() : files.first();
}

std::optional<int> TCommandLine::HandleInfoOptions(const QStringList& arguments) {
  // Errors wait for CheckArguments. Qt's options go first: "-reverse" would read as -v.
  FParser.parse(SplitQtOptions(arguments).Own);
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
  const TQtOptionsSplit split = SplitQtOptions(arguments);
  QString error;
  if (!FParser.parse(split.Own)) {
    error = FParser.errorText();
  } else if (FParser.positionalArguments().size() > 1) {
    error = QStringLiteral("Unexpected argument '%1'.").arg(FParser.positionalArguments().at(1));
  }
  if (!error.isEmpty()) {
    Print(stderr,
          QStringLiteral("orvela: %1\nTry 'orvela --help' for more information.\n").arg(error));
    return 2;
  }
  if (const std::optional<QString> reason = NoDisplayReason(split)) {
    Print(stderr, QStringLiteral("orvela: cannot open the window: %1.\n").arg(*reason));
    return 1;
  }
  return std::nullopt;
}

void TCommandLine::HandleQtHelp(const QStringList& arguments) {
  // Qt's own options are listed only with an application object; Qt prints and exits.
  if (FParser.isSet(QStringLiteral("help-all"))) FParser.process(arguments);
}

}  // namespace orvela
