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

// The command line: --help and --version, nothing else (the program reads no files), beside
// Qt's own options (-platform, -style, …), which the GUI application takes.
class TCommandLine {
 public:
  TCommandLine();

  // Before the GUI application exists, so that no display is needed: prints the help or
  // the version to standard output and returns 0 when either is asked for.
  std::optional<int> HandleInfoOptions(const QStringList& arguments);
  // Before the GUI application too, since without a display Qt would end the program before
  // any word of ours: an unknown option or a second argument (Qt's own options set aside) prints
  // an error and returns 2; a start without a display for the window prints the problem in
  // one line and returns 1.
  std::optional<int> CheckArguments(const QStringList& arguments);
  // The setup file the command line names (after CheckArguments); empty for none.
  QString FileArgument() const;
  // With the GUI application: --help-all, whose list holds Qt's own options, prints and
  // ends the program.
  void HandleQtHelp(const QStringList& arguments);

 private:
  QCommandLineParser FParser;
};

}  // namespace orvela
