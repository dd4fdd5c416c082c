#include "dialogs/wireinf.h"

#include <optional>

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/dialogparts.h"
#include "model/tooth.h"
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
  pages->addTab(NewCResPage(), QStringLiteral("At &cRes"));

  setLayout(NewPagesWithButtons(*this, *pages, HelpWireWindow));
  SetFixedDialogBorder(*this);
}

QWidget* TWireInfo::NewCResPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("CResPage"));
  auto* form = new QFormLayout(page);
  form->setLabelAlignment(Qt::AlignRight);
  auto* note = new QLabel(
      QStringLiteral("The wire's force system carried to the centre of resistance of each tooth, "
                     "and the geometry class of the two moments there."),
      page);
  note->setWordWrap(true);
  form->addRow(note);
  const char* names[2][4] = {{"CResToothA", "CResForceA", "CResMomentA", "CResRatioA"},
                             {"CResToothB", "CResForceB", "CResMomentB", "CResRatioB"}};
  for (std::size_t end = 0; end < 2; ++end) {
    TCResLabels& labels = FCRes[end];
    labels.Tooth = NewValue(names[end][0], page);
    labels.Force = NewValue(names[end][1], page);
    labels.Moment = NewValue(names[end][2], page);
    labels.Ratio = NewValue(names[end][3], page);
    const QString side = end == 0 ? QStringLiteral("A") : QStringLiteral("B");
    form->addRow(QStringLiteral("Tooth at %1:").arg(side), labels.Tooth);
    form->addRow(QStringLiteral("Force:"), labels.Force);
    form->addRow(QStringLiteral("Moment:"), labels.Moment);
    form->addRow(QStringLiteral("Moment to Force:"), labels.Ratio);
  }
  FCResAngleRatio = NewValue("CResAngleRatio", page);
  FCResClass = NewValue("CResClass", page);
  FCResClass->setFont(FBurstoneClass->font());
  form->addRow(QStringLiteral("Angle Ratio at cRes:"), FCResAngleRatio);
  form->addRow(QStringLiteral("Class at cRes:"), FCResClass);
  return page;
}

void TWireInfo::ShowCResSystems() {
  const std::optional<TCResSystems> systems = theWire ? theWire->ForcesAtCRes() : std::nullopt;
  for (std::size_t end = 0; end < 2; ++end) {
    TCResLabels& labels = FCRes[end];
    if (!systems) {
      labels.Tooth->setText(QStringLiteral("not tied to a tooth"));
      for (QLabel* value : {labels.Force, labels.Moment, labels.Ratio}) value->clear();
      continue;
    }
    const TBracket* bracket = theWire->Attachments[end]->Owner();
    labels.Tooth->setText(QString::fromStdString(bracket->Tooth()->Name()));
    const TForceMoment& fm = end == 0 ? systems->A : systems->B;
    const double force = fm.Magnitude();
    labels.Force->setText(UserNumber("0.0 ", force) + QStringLiteral("gf"));
    labels.Moment->setText(UserNumber("0 ", fm.m / 10.0) + QStringLiteral("gf.mm"));
    labels.Ratio->setText(force == 0.0
                              ? QStringLiteral("none (no force)")
                              : UserNumber("0.0 ", fm.m / 10.0 / force) + QStringLiteral("mm"));
  }
  FCResAngleRatio->setText(systems ? UserNumber("0.00 ", systems->AngleRatio) : QString());
  FCResClass->setText(systems ? QString::fromStdString(systems->Class) : QString());
}

void TWireInfo::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TWireInfo::FormShow() {
  FWireMaterialCB->clear();
  FWireSizeCB->clear();
  if (!theWire) {
    ShowCResSystems();
    return;
  }
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
  ShowCResSystems();
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
