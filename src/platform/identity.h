#pragma once

#include <optional>

#include <QCommandLineParser>
#include <QStringList>

namespace orvela {

// The application id: the name of the .desktop file (without ".desktop") and of the
// AppStream component, and the app id under Wayland.
inline constexpr const char* DesktopFileName = "com.kestrinsoftware.orvela";

// The program's name and version for Qt; safe before the application object exists.
void SetProgramNames();

// The program icon on every window, and the desktop file that the window manager matches
// windows with. Needs the GUI application.
void SetProgramIdentity();

// The command line: --help and --version, nothing else (the program reads no files).
class TCommandLine {
 public:
  TCommandLine();

  // Before the GUI application exists, so that no display is needed: prints the help or
  // the version to standard output and returns 0 when either is asked for.
  std::optional<int> HandleInfoOptions(const QStringList& arguments);
  // With the GUI application, whose arguments no longer hold Qt's own options: an unknown
  // option or any argument prints an error and returns 2.
  std::optional<int> CheckArguments(const QStringList& arguments);

 private:
  QCommandLineParser FParser;
};

}  // namespace orvela
