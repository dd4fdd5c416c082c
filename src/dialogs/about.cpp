#include "dialogs/about.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/windowface.h"
#include "util/misc.h"

namespace orvela {

namespace {

constexpr int IconSize = 64;
constexpr const char* ProgramIcon = ":/orvela/icons/orvela.svg";

}  // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutForm"));
  setWindowTitle(QStringLiteral("About Orvela"));
  TakeTitleFontFace(*this);

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("ProgramIcon"));
  icon->setPixmap(QIcon(QString::fromLatin1(ProgramIcon)).pixmap(IconSize, IconSize));

  auto* name = new QLabel(QStringLiteral("Orvela"), this);
  name->setObjectName(QStringLiteral("ProductName"));
  QFont large = name->font();
  large.setBold(true);
  large.setPointSizeF(large.pointSizeF() * 2.5);
  name->setFont(large);

  auto* version =
      new QLabel(QStringLiteral("Version ") + QString::fromStdString(FileVersionText("")), this);
  version->setObjectName(QStringLiteral("Version"));

  auto* lines =
      new QLabel(QStringLiteral("Orthodontic tooth movement in two dimensions.\n"
                                "Straight wires, brackets and their force systems.\n"
                                "\u00A9 Kestrin Software \u00B7 Licence GPL-3.0-or-later"),
                 this);
  lines->setObjectName(QStringLiteral("Comments"));

  auto* website = new QPushButton(QStringLiteral("Visit Website"), this);
  website->setObjectName(QStringLiteral("WebsiteBut"));
  connect(website, &QPushButton::clicked, this,
          [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(MakerWebsite))); });
  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  ok->setObjectName(QStringLiteral("OKBut"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* text = new QVBoxLayout;
  text->addWidget(name);
  text->addWidget(version);
  text->addSpacing(8);
  text->addWidget(lines);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(text);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(website);
  buttons->addStretch();
  buttons->addWidget(ok);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(12);
  layout->addLayout(buttons);
  SetFixedDialogBorder(*this);
}

}  // namespace orvela
