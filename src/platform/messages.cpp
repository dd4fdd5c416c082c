#include "platform/messages.h"

#include <cstdio>
#include <utility>

#include <QApplication>

namespace orvela {

namespace {

TMessageHook& MessageHook() {
  static TMessageHook hook;
  return hook;
}

TBeepHook& BeepHook() {
  static TBeepHook hook;
  return hook;
}

bool& MessagesToStandardError() {
  static bool toStandardError = false;
  return toStandardError;
}

QMessageBox::StandardButton EscapeButton(QMessageBox::StandardButtons buttons) {
  for (const QMessageBox::StandardButton button :
       {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok}) {
    if (buttons.testFlag(button)) return button;
  }
  return QMessageBox::NoButton;
}

QMessageBox::Icon IconOf(TMessageKind kind) {
  switch (kind) {
    case TMessageKind::Error:
      return QMessageBox::Critical;
    case TMessageKind::Warning:
      return QMessageBox::Warning;
    case TMessageKind::Information:
      return QMessageBox::Information;
    case TMessageKind::Confirmation:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QMessageBox::StandardButton ShowMessage(QWidget* parent, TMessageKind kind, const QString& text,
                                        QMessageBox::StandardButtons buttons) {
  if (const TMessageHook& hook = MessageHook()) return hook(kind, text);
  if (MessagesToStandardError()) {
    const QByteArray line = (QStringLiteral("orvela: ") + text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
    return EscapeButton(buttons);
  }
  QMessageBox box(IconOf(kind), QApplication::applicationName(), text, buttons, parent);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

void SetMessageHook(TMessageHook hook) { MessageHook() = std::move(hook); }

void SetMessagesToStandardError(bool on) { MessagesToStandardError() = on; }

bool MessagesGoToStandardError() { return MessagesToStandardError(); }

void Beep() {
  if (const TBeepHook& hook = BeepHook()) {
    hook();
    return;
  }
  QApplication::beep();
}

void SetBeepHook(TBeepHook hook) { BeepHook() = std::move(hook); }

}  // namespace orvela
