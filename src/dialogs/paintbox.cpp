#include "dialogs/paintbox.h"

#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace orvela {

namespace {

constexpr int FrameMargin = 3;
// The boxes draw in the model's colours (black outlines and curves, dark blue points), which
// need a light ground under a dark palette too, as the main display has.
const QColor PlotBackground(Qt::white);

}  // namespace

TPaintBox::TPaintBox(const QString& name, QSize size, QWidget* parent) : QWidget(parent) {
  setObjectName(name);
  setFixedSize(size);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

bool TPaintBox::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress && OnKeyPress &&
      OnKeyPress(*static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QWidget::event(event);
}

void TPaintBox::focusInEvent(QFocusEvent* event) {
  if (OnFocusIn) OnFocusIn(event->reason());
  update();
  QWidget::focusInEvent(event);
}

void TPaintBox::focusOutEvent(QFocusEvent* event) {
  update();
  QWidget::focusOutEvent(event);
}

void TPaintBox::paintEvent(QPaintEvent* /*event*/) {
  {
    QPainter background(this);
    background.fillRect(rect(), PlotBackground);
  }
  if (!OnPaint) return;
  TQtCanvas canvas(*this);
  canvas.Begin();
  OnPaint(canvas);
  canvas.End();
}

void TPaintBox::mousePressEvent(QMouseEvent* event) {
  if (OnMouseDown) OnMouseDown(*event);
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event) {
  if (OnMouseMove) OnMouseMove(*event);
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
  if (OnMouseUp) OnMouseUp(*event);
}

QWidget* NewSunkenFrame(TPaintBox& box, QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  frame->setLineWidth(2);
  frame->setAutoFillBackground(true);
  frame->setBackgroundRole(QPalette::Base);
  QPalette plot = frame->palette();
  plot.setColor(QPalette::Base, PlotBackground);
  frame->setPalette(plot);
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(FrameMargin, FrameMargin, FrameMargin, FrameMargin);
  box.setParent(frame);
  layout->addWidget(&box);
  frame->setFixedSize(box.width() + 2 * FrameMargin, box.height() + 2 * FrameMargin);
  return frame;
}

}  // namespace orvela
