#include "dialogs/wireinf.h"

#include <cmath>
#include <optional>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
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

constexpr double DegreesPerRadian = 180.0 / Pi;
constexpr double MmPerUnit = 0.1;
// A new bend: a 10° V-bend in the middle.
constexpr double NewBendDegrees = 10.0;

// "within elastic limit (N %)" or "beyond elastic limit (N %)"; empty with a free end or a
// material of unknown yield strength.
QString ElasticText(const TWireStraight& wire) {
  if (wire.LargestStress() <= 0.0 || wire.material.YieldStrength <= 0.0) return {};
  return QString::fromLatin1(wire.BeyondElasticLimit() ? "beyond" : "within") +
         QStringLiteral(" elastic limit (") + UserNumber("0", wire.StressOverYield() * 100.0) +
         QStringLiteral(" %)");
}

// The bend's value in the unit the page shows it in: degrees or millimetres.
double ShownValue(const TWireBend& bend) {
  return bend.Kind == TBendKind::V ? bend.Value * DegreesPerRadian : bend.Value * MmPerUnit;
}

// Sets a flag for as long as it lives.
class FillingGuard {
 public:
  explicit FillingGuard(bool& flag) : FFlag(flag), FWas(flag) { FFlag = true; }
  FillingGuard(const FillingGuard&) = delete;
  FillingGuard& operator=(const FillingGuard&) = delete;
  ~FillingGuard() { FFlag = FWas; }

 private:
  bool& FFlag;
  bool FWas;
};

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
  FElasticLimit = NewValue("ElasticLimit", general);
  form->addRow(QStringLiteral("Bending Stress:"), FElasticLimit);
  pages->addTab(general, QStringLiteral("General"));
  pages->addTab(NewCResPage(), QStringLiteral("A&t cRes"));

  auto* bends = new QWidget;
  bends->setObjectName(QStringLiteral("BendsPage"));
  FBendsList = new QTableWidget(0, 3, bends);
  FBendsList->setObjectName(QStringLiteral("BendsList"));
  FBendsList->setHorizontalHeaderLabels(
      {QStringLiteral("Kind"), QStringLiteral("Position (%)"), QStringLiteral("Angle / Height")});
  FBendsList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FBendsList->setSelectionBehavior(QAbstractItemView::SelectRows);
  FBendsList->setSelectionMode(QAbstractItemView::SingleSelection);
  FBendsList->verticalHeader()->setVisible(false);
  FBendsList->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  FBendsList->horizontalHeader()->setStretchLastSection(true);
  FBendsList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  FBendsList->setMinimumSize(FBendsList->fontMetrics().horizontalAdvance(
                                 QStringLiteral("V-bend  Position (%)  Angle / Height")) +
                                 40,
                             110);
  connect(FBendsList, &QTableWidget::currentCellChanged, this, [this] { ShowBendEditors(); });

  FBendKindCB = new QComboBox(bends);
  FBendKindCB->setObjectName(QStringLiteral("BendKindCB"));
  FBendKindCB->addItems({QStringLiteral("V-bend"), QStringLiteral("Step")});
  SetHint(*FBendKindCB, QStringLiteral("A V-bend kinks the wire, a step offsets it"));
  FBendPosition = new QDoubleSpinBox(bends);
  FBendPosition->setObjectName(QStringLiteral("BendPosition"));
  FBendPosition->setRange(SmallestBendPosition * 100.0, LargestBendPosition * 100.0);
  FBendPosition->setDecimals(1);
  FBendPosition->setSuffix(QStringLiteral(" %"));
  SetHint(*FBendPosition, QStringLiteral("Where the bend sits, in % of the span from end A"));
  FBendValue = new QDoubleSpinBox(bends);
  FBendValue->setObjectName(QStringLiteral("BendValue"));
  FBendValue->setDecimals(2);
  SetHint(*FBendValue, QStringLiteral("V-bend: angle, counterclockwise from A to B; "
                                      "step: height, to the left of A to B"));
  FBendValueLabel = new QLabel(QStringLiteral("A&ngle:"), bends);
  FBendValueLabel->setBuddy(FBendValue);
  FAddBend = new QPushButton(QStringLiteral("&Add"), bends);
  FAddBend->setObjectName(QStringLiteral("AddBendBut"));
  FRemoveBend = new QPushButton(QStringLiteral("&Remove"), bends);
  FRemoveBend->setObjectName(QStringLiteral("RemoveBendBut"));
  for (QPushButton* button : {FAddBend, FRemoveBend}) button->setAutoDefault(false);
  connect(FAddBend, &QPushButton::clicked, this, &TWireInfo::AddBendClick);
  connect(FRemoveBend, &QPushButton::clicked, this, &TWireInfo::RemoveBendClick);
  connect(FBendKindCB, &QComboBox::activated, this, [this] { BendEdited(); });
  connect(FBendPosition, &QDoubleSpinBox::valueChanged, this, [this] { BendEdited(); });
  connect(FBendValue, &QDoubleSpinBox::valueChanged, this, [this] { BendEdited(); });

  FBendMomentA = NewValue("BendMomentA", bends);
  FBendMomentB = NewValue("BendMomentB", bends);
  FBendForce = NewValue("BendForce", bends);
  FMomentRatio = NewValue("MomentRatio", bends);
  FBendClass = NewValue("BendClass", bends);
  FBendElastic = NewValue("BendElasticLimit", bends);

  auto* editors = new QFormLayout;
  editors->setLabelAlignment(Qt::AlignRight);
  editors->addRow(QStringLiteral("&Kind:"), FBendKindCB);
  editors->addRow(QStringLiteral("&Position:"), FBendPosition);
  editors->addRow(FBendValueLabel, FBendValue);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(FAddBend);
  buttons->addWidget(FRemoveBend);
  buttons->addStretch();
  editors->addRow(buttons);

  auto* atBrackets = new QGroupBox(QStringLiteral("At the brackets"), bends);
  atBrackets->setObjectName(QStringLiteral("AtBrackets"));
  auto* system = new QFormLayout(atBrackets);
  system->setLabelAlignment(Qt::AlignRight);
  system->addRow(QStringLiteral("Moment A:"), FBendMomentA);
  system->addRow(QStringLiteral("Moment B:"), FBendMomentB);
  system->addRow(QStringLiteral("Force:"), FBendForce);
  system->addRow(QStringLiteral("Moment B / Moment A:"), FMomentRatio);
  system->addRow(QStringLiteral("Class:"), FBendClass);
  system->addRow(FBendElastic);

  auto* column = new QVBoxLayout;
  column->addLayout(editors);
  column->addWidget(atBrackets);
  auto* atCentres = new QGroupBox(QStringLiteral("At the centres of resistance"), bends);
  atCentres->setObjectName(QStringLiteral("AtCentres"));
  FBendCResMomentA = NewValue("BendCResMomentA", atCentres);
  FBendCResMomentB = NewValue("BendCResMomentB", atCentres);
  FBendCResForce = NewValue("BendCResForce", atCentres);
  FBendCResClass = NewValue("BendCResClass", atCentres);
  auto* centres = new QFormLayout(atCentres);
  centres->setLabelAlignment(Qt::AlignRight);
  centres->addRow(QStringLiteral("Moment A:"), FBendCResMomentA);
  centres->addRow(QStringLiteral("Moment B:"), FBendCResMomentB);
  centres->addRow(QStringLiteral("Force:"), FBendCResForce);
  centres->addRow(QStringLiteral("Class:"), FBendCResClass);
  column->addWidget(atCentres);
  column->addStretch();
  auto* page = new QHBoxLayout(bends);
  page->addWidget(FBendsList, 1);
  page->addLayout(column);
  pages->addTab(bends, QStringLiteral("&Bends"));

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
    labels.Tooth->setText(QString::fromStdString(theWire->ToothAt(end)->Name()));
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
  FElasticLimit->setText(ElasticText(*theWire));
  ShowBends();
}

void TWireInfo::ShowBends() {
  const FillingGuard filling(FFilling);
  const int keep = FBendsList->currentRow();
  FBendsList->setRowCount(0);
  if (theWire != nullptr) {
    const std::vector<TWireBend>& bends = theWire->Bends();
    FBendsList->setRowCount(static_cast<int>(bends.size()));
    for (std::size_t i = 0; i < bends.size(); ++i) {
      const TWireBend& b = bends[i];
      const int row = static_cast<int>(i);
      const bool v = b.Kind == TBendKind::V;
      FBendsList->setItem(
          row, 0, new QTableWidgetItem(v ? QStringLiteral("V-bend") : QStringLiteral("Step")));
      FBendsList->setItem(row, 1, new QTableWidgetItem(UserNumber("0.0", b.Position * 100.0)));
      FBendsList->setItem(
          row, 2,
          new QTableWidgetItem(v ? UserNumber("0.00", ShownValue(b)) + QStringLiteral("°")
                                 : UserNumber("0.00", ShownValue(b)) + QStringLiteral(" mm")));
    }
    if (!bends.empty()) {
      FBendsList->setCurrentCell(std::clamp(keep, 0, static_cast<int>(bends.size()) - 1), 0);
    }
  }
  ShowBendEditors();
  ShowForceSystem();
}

void TWireInfo::ShowBendEditors() {
  const FillingGuard filling(FFilling);
  const int row = FBendsList->currentRow();
  const bool has =
      theWire != nullptr && row >= 0 && row < static_cast<int>(theWire->Bends().size());
  for (QWidget* w :
       std::initializer_list<QWidget*>{FBendKindCB, FBendPosition, FBendValue, FRemoveBend}) {
    w->setEnabled(has);
  }
  FAddBend->setEnabled(theWire != nullptr);
  if (!has) return;
  const TWireBend& b = theWire->Bends()[static_cast<std::size_t>(row)];
  const bool v = b.Kind == TBendKind::V;
  FBendKindCB->setCurrentIndex(v ? 0 : 1);
  FBendPosition->setValue(b.Position * 100.0);
  // Alt+A is Add's, Alt+H Help's.
  FBendValueLabel->setText(v ? QStringLiteral("A&ngle:") : QStringLiteral("Hei&ght:"));
  if (v) {
    FBendValue->setRange(-90.0, 90.0);
    FBendValue->setSuffix(QStringLiteral("°"));
    FBendValue->setSingleStep(1.0);
  } else {
    FBendValue->setRange(-LargestCrossDimension * MmPerUnit, LargestCrossDimension * MmPerUnit);
    FBendValue->setSuffix(QStringLiteral(" mm"));
    FBendValue->setSingleStep(0.1);
  }
  FBendValue->setValue(ShownValue(b));
}

void TWireInfo::ShowForceSystem() {
  if (theWire == nullptr) return;
  const double mA = theWire->MomentA();
  const double mB = theWire->MomentB();
  FBendMomentA->setText(UserNumber("0 ", mA / 10.0) + QStringLiteral("gf.mm"));
  FBendMomentB->setText(UserNumber("0 ", mB / 10.0) + QStringLiteral("gf.mm"));
  FBendForce->setText(UserNumber("0 ", theWire->Force()) + QStringLiteral("gf"));
  // Both moments clockwise positive, as in Burstone and Koenig's table.
  FMomentRatio->setText(std::fabs(mA) > 1e-9 ? UserNumber("0.00", mB / mA) : QStringLiteral("–"));
  FBendClass->setText(QString::fromStdString(theWire->BurstoneClass()));
  FBendElastic->setText(ElasticText(*theWire));
  FElasticLimit->setText(ElasticText(*theWire));
  const std::optional<TCResSystems> atCRes = theWire->ForcesAtCRes();
  FBendCResMomentA->setText(atCRes ? UserNumber("0 ", atCRes->A.m / 10.0) + QStringLiteral("gf.mm")
                                   : QStringLiteral("–"));
  FBendCResMomentB->setText(atCRes ? UserNumber("0 ", atCRes->B.m / 10.0) + QStringLiteral("gf.mm")
                                   : QStringLiteral("–"));
  FBendCResForce->setText(atCRes ? UserNumber("0 ", atCRes->A.Magnitude()) + QStringLiteral("gf")
                                 : QStringLiteral("–"));
  FBendCResClass->setText(atCRes ? QString::fromStdString(atCRes->Class) : QStringLiteral("–"));
  // The "At cRes" page follows the edits too.
  ShowCResSystems();
}

void TWireInfo::AddBendClick() {
  if (theWire == nullptr) return;
  const std::size_t index =
      theWire->AddBend({TBendKind::V, 0.5, NewBendDegrees / DegreesPerRadian});
  ShowBends();
  FBendsList->setCurrentCell(static_cast<int>(index), 0);
}

void TWireInfo::RemoveBendClick() {
  if (theWire == nullptr) return;
  const int row = FBendsList->currentRow();
  if (row < 0) return;
  theWire->RemoveBend(static_cast<std::size_t>(row));
  ShowBends();
}

void TWireInfo::BendEdited() {
  if (FFilling || theWire == nullptr) return;
  const int row = FBendsList->currentRow();
  if (row < 0 || row >= static_cast<int>(theWire->Bends().size())) return;
  const TWireBend old = theWire->Bends()[static_cast<std::size_t>(row)];
  TWireBend bend = old;
  bend.Kind = FBendKindCB->currentIndex() == 1 ? TBendKind::Step : TBendKind::V;
  // The box shows a tenth of a percent: a position it only rounds stays as it is, so that
  // editing the angle never moves the bend.
  const double shown = std::round(old.Position * 1000.0) / 10.0;
  if (std::fabs(FBendPosition->value() - shown) > 1e-9)
    bend.Position = FBendPosition->value() / 100.0;
  if (bend.Kind != old.Kind) {
    // A new kind starts from a modest value of its own.
    bend.Value = bend.Kind == TBendKind::V ? NewBendDegrees / DegreesPerRadian : 0.5 / MmPerUnit;
  } else {
    bend.Value = bend.Kind == TBendKind::V ? FBendValue->value() / DegreesPerRadian
                                           : FBendValue->value() / MmPerUnit;
  }
  theWire->SetBend(static_cast<std::size_t>(row), bend);
  ShowBends();
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
