#include "dialogs/wireinf.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/dialogparts.h"
#include "platform/help.h"
#include "platform/hints.h"
#include "platform/windowface.h"
#include "util/format.h"

namespace orvela {

namespace {

constexpr int ClassFontPixels = 15;

QLabel* NewValue(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setTextFormat(Qt::PlainText);
  return label;
}

// Items equal but for letter case count as the same name (a fixed-string match ignores case).
int IndexOfName(const QComboBox& list, const std::string& name) {
  return list.findText(QString::fromStdString(name), Qt::MatchFixedString);
}

}  // namespace

TWireInfo::TWireInfo(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("WireInfo"));
  setWindowTitle(QStringLiteral("Wire"));
  TakeTitleFontFace(*this);

  auto* pages = new QTabWidget(this);
  pages->setObjectName(QStringLiteral("PageControl1"));
  auto* general = new QWidget;
  general->setObjectName(QStringLiteral("GeneralPage"));
  FLength = NewValue("Length", general);
  FForce = NewValue("Force", general);
  FMomentA = NewValue("MomentA", general);
  FMomentB = NewValue("MomentB", general);
  FAngleRatio = NewValue("AngleRatio", general);
  FBurstoneClass = NewValue("BurstoneClass", general);
  QFont classFont(QStringLiteral("Arial"));
  classFont.setPixelSize(ClassFontPixels);
  classFont.setBold(true);
  FBurstoneClass->setFont(classFont);

  FWireMaterialCB = new QComboBox(general);
  FWireMaterialCB->setObjectName(QStringLiteral("WireMaterialCB"));
  SetHint(*FWireMaterialCB, QStringLiteral("Wire Material"));
  FWireSizeCB = new QComboBox(general);
  FWireSizeCB->setObjectName(QStringLiteral("WireSizeCB"));
  SetHint(*FWireSizeCB, QStringLiteral("Wire Size"));
  for (QComboBox* list : {FWireMaterialCB, FWireSizeCB}) {
    list->setEditable(false);
    // Tab, the mouse and the Alt+M / Alt+S buddies of their labels reach both lists.
    list->setFocusPolicy(Qt::StrongFocus);
    list->setMinimumWidth(list->fontMetrics().horizontalAdvance(QStringLiteral("Stainless Steel")) +
                          40);
  }
  connect(FWireMaterialCB, &QComboBox::activated, this, &TWireInfo::WireMaterialCBChange);
  connect(FWireSizeCB, &QComboBox::activated, this, &TWireInfo::WireSizeCBChange);

  auto* form = new QFormLayout(general);
  form->setLabelAlignment(Qt::AlignRight);
  form->addRow(QStringLiteral("Total Wire Length:"), FLength);
  form->addRow(QStringLiteral("Force:"), FForce);
  form->addRow(QStringLiteral("Moment A:"), FMomentA);
  form->addRow(QStringLiteral("Moment B:"), FMomentB);
  form->addRow(QStringLiteral("Angle Ratio:"), FAngleRatio);
  form->addRow(QStringLiteral("Burstone Class:"), FBurstoneClass);
  form->addRow(QStringLiteral("&Material:"), FWireMaterialCB);
  form->addRow(QStringLiteral("&Size:"), FWireSizeCB);
  pages->addTab(general, QStringLiteral("General"));

  setLayout(NewPagesWithButtons(*this, *pages, HelpWireWindow));
  SetFixedDialogBorder(*this);
}

void TWireInfo::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TWireInfo::FormShow() {
  FWireMaterialCB->clear();
  FWireSizeCB->clear();
  if (!theWire) return;
  const TModelSettings& tables = theWire->ModelSettings();
  for (const TWireMaterial& row : tables.MaterialTable) {
    FWireMaterialCB->addItem(QString::fromStdString(row.Name));
  }
  for (const TWireSize& row : tables.SizeTable) {
    FWireSizeCB->addItem(QString::fromStdString(row.Name));
  }
  FWireMaterialCB->setCurrentIndex(IndexOfName(*FWireMaterialCB, theWire->MaterialName()));
  FWireSizeCB->setCurrentIndex(IndexOfName(*FWireSizeCB, theWire->SizeName()));

  FLength->setText(UserNumber("0.0 ", theWire->Length() / 10.0) + QStringLiteral("mm"));
  FForce->setText(UserNumber("0 ", theWire->Force()) + QStringLiteral("gf"));
  FMomentA->setText(UserNumber("0 ", theWire->MomentA() / 10.0) + QStringLiteral("gf.mm"));
  FMomentB->setText(UserNumber("0 ", theWire->MomentB() / 10.0) + QStringLiteral("gf.mm"));
  FAngleRatio->setText(UserNumber("0.00 ", theWire->AngleRatio()));
  FBurstoneClass->setText(QString::fromStdString(theWire->BurstoneClass()));
}

void TWireInfo::WireMaterialCBChange(int index) {
  if (!theWire) return;
  const auto& rows = theWire->ModelSettings().MaterialTable;
  if (index < 0 || index >= static_cast<int>(rows.size())) return;
  theWire->SetMaterial(rows[static_cast<std::size_t>(index)]);
}

void TWireInfo::WireSizeCBChange(int index) {
  if (!theWire) return;
  const auto& rows = theWire->ModelSettings().SizeTable;
  if (index < 0 || index >= static_cast<int>(rows.size())) return;
  theWire->SetSize(rows[static_cast<std::size_t>(index)]);
}

}  // namespace orvela
