#pragma once

#include <functional>

#include <QMessageBox>
#include <QString>

class QWidget;

namespace orvela {

// Every message box of the program goes through ShowMessage, so that tests can answer it
// without a modal loop: a test installs a hook, the hook sees the kind and the text and
// returns the button the "user" pressed.
enum class TMessageKind { Error, Warning, Information, Confirmation };

using TMessageHook = std::function<QMessageBox::StandardButton(TMessageKind, const QString&)>;

// Shows a modal box with the icon of aKind (Confirmation = question mark) and returns the
// button pressed; with a hook installed, returns what the hook says instead.
QMessageBox::StandardButton ShowMessage(QWidget* parent, TMessageKind kind, const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Tests install one; an empty hook restores the real QMessageBox.
void SetMessageHook(TMessageHook hook);

// While on (the program is closing on a signal, and nobody is there to answer) every
// message goes to standard error as "orvela: text" instead of a box, and ShowMessage
// returns at once with the button a box's Escape would give: Cancel, No or Ok, the first
// of them on offer. A test hook still comes first.
void SetMessagesToStandardError(bool on);
bool MessagesGoToStandardError();

// QApplication::beep(); a hook (tests) replaces the sound and can count the calls.
using TBeepHook = std::function<void()>;
void Beep();
void SetBeepHook(TBeepHook hook);

}  // namespace orvela
