#include "dialogs/dialogparts.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/help.h"
#include "util/format.h"

namespace orvela {

namespace {

constexpr int ButtonWidth = 87;
constexpr int ButtonHeight = 25;
constexpr qsizetype QuotedTextMax = 40;

}  // namespace

QHBoxLayout* NewPagesWithButtons(QDialog& dialog, QTabWidget& pages, const char* helpKeyword) {
  auto* okBut = new QPushButton(QStringLiteral("&Close"), &dialog);
  okBut->setObjectName(QStringLiteral("OKBut"));
  okBut->setMinimumSize(ButtonWidth, ButtonHeight);
  okBut->setDefault(true);
  auto* helpBut = new QPushButton(QStringLiteral("&Help"), &dialog);
  helpBut->setObjectName(QStringLiteral("HelpBut"));
  helpBut->setMinimumSize(ButtonWidth, ButtonHeight);
  QObject::connect(okBut, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(helpBut, &QPushButton::clicked, &dialog,
                   [&dialog, helpKeyword] { ShowHelpTopic(&dialog, QLatin1String(helpKeyword)); });
  SetHelpTopic(dialog, helpKeyword);
  AddHelpKey(dialog);

  // The buttons start level with the top of the page, below the tabs.
  auto* buttons = new QVBoxLayout;
  buttons->addSpacing(pages.tabBar()->sizeHint().height() + 8);
  buttons->addWidget(okBut);
  buttons->addWidget(helpBut);
  buttons->addStretch();
  auto* row = new QHBoxLayout;
  row->addWidget(&pages);
  row->addLayout(buttons);
  return row;
}

QString UserNumber(const char* pattern, double value) {
  return QString::fromStdString(FormatFloat(pattern, value));
}

bool ReadUserNumber(const QLineEdit& edit, double& value) {
  return TryStrToFloat(edit.text().toStdString(), value, UserFormatSettings());
}

double UserNumberOr(const QLineEdit& edit, double fallback) {
  double value = fallback;
  ReadUserNumber(edit, value);
  return value;
}

QString QuotedText(const QString& text) {
  const QString shown =
      text.size() > QuotedTextMax ? text.left(QuotedTextMax) + QStringLiteral("\u2026") : text;
  return QLatin1Char('\'') + shown + QLatin1Char('\'');
}

}  // namespace orvela
