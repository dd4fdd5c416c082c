#pragma once

#include <functional>

#include <QWidget>

#include "qtgraphics/qtcanvas.h"

namespace orvela {

// A fixed-size paint area whose owner draws on a TQtCanvas and answers the mouse; the
// owner sets the canvas's mapping in its paint handler.
class TPaintBox : public QWidget {
 public:
  using TPaintHandler = std::function<void(TQtCanvas&)>;
  using TMouseHandler = std::function<void(QMouseEvent&)>;
  // Returns whether it took the key; Tab and Shift+Tab reach it before they move the focus.
  using TKeyHandler = std::function<bool(QKeyEvent&)>;
  using TFocusHandler = std::function<void(Qt::FocusReason)>;

  TPaintBox(const QString& name, QSize size, QWidget* parent);

  TPaintHandler OnPaint;
  TMouseHandler OnMouseDown;
  TMouseHandler OnMouseMove;
  TMouseHandler OnMouseUp;
  TKeyHandler OnKeyPress;
  TFocusHandler OnFocusIn;

 protected:
  bool event(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// The sunken frame in window colour, 6 pixels larger than the box, that holds it.
QWidget* NewSunkenFrame(TPaintBox& box, QWidget* parent);

}  // namespace orvela
