#include "workspace/main.h"

#include <QApplication>
#include <QLocale>

#include "platform/closesignals.h"
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

}  // namespace

int main(int argc, char* argv[]) {
  orvela::InitStartupValues();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Orvela");
  // No display name: Qt would append it to the caption ("Orvela [Untitled] — Orvela").
  orvela::SetUserFormatSettings(LocaleFormatSettings(QLocale::system()));

  orvela::TMainForm form;
  // Logout and shutdown end the program through the window's close, which saves.
  const auto* closeOnSignals = new orvela::TCloseOnSignals(form);  // owned by form
  Q_UNUSED(closeOnSignals);
  if (form.StartMaximized()) {
    form.showMaximized();
  } else {
    form.show();
  }
  return QApplication::exec();
}
