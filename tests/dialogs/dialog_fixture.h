#pragma once

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QTextBrowser>
#include <QTimer>

#include "dialogs/responcelib.h"
#include "files.h"
#include "platform/messages.h"
#include "util/format.h"

namespace orvela::test {

// A response library in a temporary folder, message boxes answered by the test (every text
// recorded, answered with FAnswer), numbers in the plain "." format.
class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FLibrary = (FDir.Path() / "orvela.INI").string();
    FSavedFormat = UserFormatSettings();
    SetUserFormatSettings(TFormatSettings{});
    SetMessageHook([this](TMessageKind kind, const QString& text) {
      FMessages.push_back({kind, text});
      return FAnswer;
    });
  }
  void TearDown() override {
    SetMessageHook({});
    SetUserFormatSettings(FSavedFormat);
  }

  // Shows the dialog modally; drive acts on it while it runs and should close it.
  static int Exec(QDialog& dialog, const std::function<void()>& drive) {
    bool driven = false;
    QTimer::singleShot(0, &dialog, [&] {
      driven = dialog.isVisible() && dialog.isModal();
      drive();
      if (dialog.isVisible()) dialog.reject();  // never leave a modal loop open
    });
    const int result = dialog.exec();
    EXPECT_TRUE(driven);
    return result;
  }

  template <typename T>
  static T* Find(const QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  void WriteLibrary(const std::string& text) const { WriteTextFile(FLibrary, text); }
  std::string ReadLibrary() const { return ReadTextFile(FLibrary); }

  // The topic the help window shows, empty when it is closed.
  static QString HelpTopic() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == QLatin1String("HelpWindow") && w->isVisible()) {
        return w->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"))->source().fragment();
      }
    }
    return {};
  }

  struct TMessage {
    TMessageKind Kind;
    QString Text;
  };

  TTempFolder FDir;
  std::string FLibrary;
  std::vector<TMessage> FMessages;
  QMessageBox::StandardButton FAnswer = QMessageBox::Ok;
  TFormatSettings FSavedFormat;
};

}  // namespace orvela::test
