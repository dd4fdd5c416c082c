#pragma once

#include <QObject>

namespace orvela {

// The application's hint handler for every window: before a tooltip is shown, each "##"
// in its text becomes a line break, so one hint can span several lines.
class THintHandler : public QObject {
  Q_OBJECT

 public:
  explicit THintHandler(QObject* parent = nullptr);

  // The tooltip text as shown: "##" replaced by line breaks.
  static QString ShownTooltip(const QString& tooltip);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace orvela
