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

// The system's tooltip background, unless it is black: then a pale yellow (255, 255, 225)
// with black text, so that the text stays readable on the background forced.
void MakeTooltipsReadable();

}  // namespace orvela
