#include "workspace/main.h"

#include <QApplication>
#include <QLocale>

#include "platform/closesignals.h"
#include "platform/identity.h"
#include "util/format.h"
#include "util/startup.h"

namespace {

// The user's regional number format, for every number shown in a window or typed into one.
orvela::TFormatSettings LocaleFormatSettings(const QLocale& locale) {
  orvela::TFormatSettings fs;
  fs.DecimalSeparator = locale.decimalPoint().toStdString();
  fs.ThousandSeparator = locale.groupSeparator().toStdString();
  return fs;
}

QStringList ArgumentList(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  return arguments;
}

}  // namespace

int main(int argc, char* argv[]) {
  // No display name: Qt would append it to the caption ("Orvela [Untitled] — Orvela").
  orvela::SetProgramNames();
  orvela::TCommandLine commandLine;
  // --help and --version answer without a display; a bad command line, or a start without
  // one, is reported before Qt would end the program on its own.
  const QStringList arguments = ArgumentList(argc, argv);
  if (const auto done = commandLine.HandleInfoOptions(arguments)) return *done;
  if (const auto failed = commandLine.CheckArguments(arguments)) return *failed;

  QApplication app(argc, argv);
  commandLine.HandleQtHelp(QApplication::arguments());
  orvela::SetProgramIdentity();
  orvela::SetUserFormatSettings(LocaleFormatSettings(QLocale::system()));

  orvela::TMainForm form(orvela::FindStartupValues());
  // Logout and shutdown end the program through the window's close, which saves.
  const auto* closeOnSignals = new orvela::TCloseOnSignals(form);  // owned by form
  Q_UNUSED(closeOnSignals);
  if (form.StartMaximized()) {
    form.showMaximized();
  } else {
    form.show();
  }
  // A file that cannot be opened is reported; the setup stays empty.
  if (const QString file = commandLine.FileArgument(); !file.isEmpty()) form.OpenFile(file);
  return QApplication::exec();
}
