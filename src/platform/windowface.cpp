#include "platform/windowface.h"

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

namespace orvela {

void TakeTitleFontFace(QWidget& window) {
  QFont face = window.font();
  face.setFamily(QFontDatabase::systemFont(QFontDatabase::TitleFont).family());
  window.setFont(face);
}

}  // namespace orvela
