#pragma once

#include <QColor>
#include <QPalette>

namespace orvela::test {

// A dark desktop palette, as a dark theme sets it: light text on dark grey.
inline QPalette DarkPalette() {
  QPalette dark(QColor(53, 53, 53));
  dark.setColor(QPalette::Base, QColor(35, 35, 35));
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    dark.setColor(role, QColor(230, 230, 230));
  }
  dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(127, 127, 127));
  dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(127, 127, 127));
  return dark;
}

}  // namespace orvela::test
