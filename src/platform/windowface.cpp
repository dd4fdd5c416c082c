#include "platform/windowface.h"

#include <QDialog>
#include <QFont>
#include <QFontDatabase>
#include <QLayout>
#include <QWidget>

namespace orvela {

void TakeTitleFontFace(QWidget& window) {
  QFont face = window.font();
  face.setFamily(QFontDatabase::systemFont(QFontDatabase::TitleFont).family());
  window.setFont(face);
}

void SetFixedDialogBorder(QDialog& dialog) {
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  dialog.setSizeGripEnabled(false);
  if (QLayout* layout = dialog.layout()) layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace orvela
