#include "workspace/toptions.h"

#include <cmath>
#include <initializer_list>

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/dialogparts.h"
#include "platform/help.h"
#include "platform/hints.h"
#include "platform/messages.h"
#include "platform/windowface.h"
#include "util/format.h"

namespace orvela {

namespace {

enum TPage { GeneralPage = 0, ViewPage = 1, CalculationPage = 2 };

// A box that does not hold a number gives these (gf and gf.mm).
constexpr double FallbackThresholdForce = 1.0;
constexpr double FallbackThresholdMoment = 10.0;
constexpr double MomentUnitsPerGfMm = 10.0;

constexpr const char* ForcesOnHint =
    "Show forces and moments##  acting on the teeth##  acting on the wires.|";
constexpr const char* AutoStopHint = "Automatically stop wire activation##when tolerance is met.|";
constexpr const char* ThresholdHint =
    "Stop tooth movement when##forces and moments are below the threshold|";

QCheckBox* NewCheck(const char* name, const QString& caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QLatin1String(name));
  return box;
}

// A titled group of radio buttons, one per caption, numbered from 0 in order; the buttons go
// into buttons.
QGroupBox* NewRadioGroup(const char* name, const QString& title,
                         std::initializer_list<const char*> captions, QRadioButton** buttons,
                         QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(QLatin1String(name));
  auto* layout = new QVBoxLayout(box);
  auto* group = new QButtonGroup(box);
  int i = 0;
  for (const char* caption : captions) {
    buttons[i] = new QRadioButton(QLatin1String(caption), box);
    group->addButton(buttons[i], i);
    layout->addWidget(buttons[i]);
    ++i;
  }
  return box;
}

void SetRadioGroupIndex(QRadioButton* const* items, int count, int index) {
  // Unchecking needs a non-exclusive group for a moment.
  QButtonGroup* group = items[0]->group();
  group->setExclusive(false);
  for (int i = 0; i < count; ++i) items[i]->setChecked(i == index);
  group->setExclusive(true);
}

int RadioGroupIndex(QRadioButton* const* items, int count) {
  for (int i = 0; i < count; ++i) {
    if (items[i]->isChecked()) return i;
  }
  return -1;
}

}  // namespace

TOptionsDialog::TOptionsDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ToothOptions"));
  setWindowTitle(QStringLiteral("Options"));
  TakeTitleFontFace(*this);

  FPages = new QTabWidget(this);
  FPages->setObjectName(QStringLiteral("Pages"));

  // "General"
  auto* general = new QWidget;
  auto* generalLayout = new QVBoxLayout(general);
  FRememberRectCB = NewCheck("RememberRectCB", QStringLiteral("Remember Window Position"), general);
  generalLayout->addWidget(FRememberRectCB);
  generalLayout->addStretch();
  FPages->addTab(general, QStringLiteral("General"));
  SetHelpTopic(*general, HelpGeneralOptions);

  // "&View"
  auto* view = new QWidget;
  auto* viewLayout = new QHBoxLayout(view);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  viewLayout->addLayout(left);
  viewLayout->addLayout(right);

  FViewGrid = NewCheck("ViewGrid", QStringLiteral("View &Grid"), view);
  left->addWidget(FViewGrid);
  auto* density = NewRadioGroup("GridDensity", QStringLiteral("Grid &Density"),
                                {"10 mm", "5 mm", "2 mm"}, FGridDensity, view);
  left->addWidget(density);
  FSnapGrid = NewCheck("SnapGrid", QStringLiteral("S&nap to Grid"), view);
  left->addWidget(FSnapGrid);
  FNoWidthCB = NewCheck("NoWidthCB", QStringLiteral("Zero Width Brackets"), view);
  left->addWidget(FNoWidthCB);
  left->addStretch();

  auto* forcesOn = NewRadioGroup("ForcesOn", QStringLiteral("Forces &Applied On"),
                                 {"Teeth", "Wires"}, FForcesOn, view);
  SetHint(*forcesOn, QString::fromLatin1(ForcesOnHint));
  right->addWidget(forcesOn);

  auto* viewForce = new QGroupBox(QStringLiteral("View Forces"), view);
  viewForce->setObjectName(QStringLiteral("ViewForceGroup"));
  auto* viewForceLayout = new QVBoxLayout(viewForce);
  FViewF = NewCheck("ViewF", QStringLiteral("&Forces"), viewForce);
  FViewM = NewCheck("ViewM", QStringLiteral("&Moments"), viewForce);
  viewForceLayout->addWidget(FViewF);
  viewForceLayout->addWidget(FViewM);
  right->addWidget(viewForce);

  auto* drawForce = new QGroupBox(QStringLiteral("Draw Forces"), view);
  drawForce->setObjectName(QStringLiteral("DrawForceGB"));
  auto* drawForceLayout = new QVBoxLayout(drawForce);
  FDrawFCRes = NewCheck("DrawFCRes", QStringLiteral("At Center of Resistance"), drawForce);
  FDrawFAtt = NewCheck("DrawFAtt", QStringLiteral("At Attachments"), drawForce);
  FDrawFBr = NewCheck("DrawFBr", QStringLiteral("At Brackets"), drawForce);
  drawForceLayout->addWidget(FDrawFCRes);
  drawForceLayout->addWidget(FDrawFAtt);
  drawForceLayout->addWidget(FDrawFBr);
  right->addWidget(drawForce);
  right->addStretch();
  FPages->addTab(view, QStringLiteral("&View"));
  SetHelpTopic(*view, HelpViewOptions);

  // "&Calculation"
  auto* calculation = new QWidget;
  auto* calculationLayout = new QVBoxLayout(calculation);
  FAutoStop = NewCheck("AutoStop", QStringLiteral("&Auto Stop"), calculation);
  SetHint(*FAutoStop, QString::fromLatin1(AutoStopHint));
  calculationLayout->addWidget(FAutoStop);
  auto* threshold = new QGroupBox(QStringLiteral("Threshold"), calculation);
  threshold->setObjectName(QStringLiteral("ThrGroupBox"));
  auto* thresholdLayout = new QFormLayout(threshold);
  FThrForce = new QLineEdit(threshold);
  FThrForce->setObjectName(QStringLiteral("ThrForce"));
  FThrMom = new QLineEdit(threshold);
  FThrMom->setObjectName(QStringLiteral("ThrMom"));
  for (QLineEdit* edit : {FThrForce, FThrMom}) {
    SetHint(*edit, QString::fromLatin1(ThresholdHint));
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
  }
  thresholdLayout->addRow(QStringLiteral("&Force (gf):"), FThrForce);
  thresholdLayout->addRow(QStringLiteral("&Moment (gf.mm):"), FThrMom);
  calculationLayout->addWidget(threshold);
  calculationLayout->addStretch();
  FPages->addTab(calculation, QStringLiteral("&Calculation"));
  SetHelpTopic(*calculation, HelpCalcOptions);

  FOKBut = new QPushButton(QStringLiteral("&OK"), this);
  FOKBut->setObjectName(QStringLiteral("OKBut"));
  FOKBut->setDefault(true);
  FCancelBut = new QPushButton(QStringLiteral("Canc&el"), this);
  FCancelBut->setObjectName(QStringLiteral("CancelBut"));
  FHelpBut = new QPushButton(QStringLiteral("&Help"), this);
  FHelpBut->setObjectName(QStringLiteral("HelpBut"));
  connect(FOKBut, &QPushButton::clicked, this, &TOptionsDialog::accept);
  connect(FCancelBut, &QPushButton::clicked, this, &QDialog::reject);
  connect(FHelpBut, &QPushButton::clicked, this, &TOptionsDialog::HelpButClick);
  AddHelpKey(*this);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(FOKBut);
  buttons->addWidget(FCancelBut);
  buttons->addWidget(FHelpBut);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FPages);
  layout->addLayout(buttons);
  SetFixedDialogBorder(*this);
  FPages->setCurrentIndex(GeneralPage);
}

bool TOptionsDialog::Execute(TPreferences& prefs) {
  SetPreferences(prefs);
  if (exec() != QDialog::Accepted) return false;
  GetPreferences(prefs);
  return true;
}

void TOptionsDialog::SetPreferences(const TPreferences& prefs) {
  FRememberRectCB->setChecked(prefs.RememberWindowRect);
  FViewGrid->setChecked(prefs.ShowGrid);
  const bool listed = prefs.GridDensity >= 0 && prefs.GridDensity < 3;
  FHiddenGridDensity = listed ? -1 : prefs.GridDensity;
  SetRadioGroupIndex(FGridDensity, 3, listed ? prefs.GridDensity : -1);
  FSnapGrid->setChecked(prefs.SnapGrid);
  SetRadioGroupIndex(FForcesOn, 2, prefs.BracketForces ? 1 : 0);
  FViewF->setChecked(prefs.ViewForces);
  FViewM->setChecked(prefs.ViewMoments);
  FDrawFCRes->setChecked(prefs.DrawForcesAtCRes);
  FDrawFAtt->setChecked(prefs.DrawForcesAtAttachment);
  FDrawFBr->setChecked(prefs.DrawForcesAtBracket);
  FNoWidthCB->setChecked(prefs.ZeroWidthBrackets);
  FAutoStop->setChecked(prefs.AutoStop);
  FThrForce->setText(UserNumber("0", prefs.ThresholdForce));
  FThrMom->setText(UserNumber("0", prefs.ThresholdMoment / MomentUnitsPerGfMm));
}

void TOptionsDialog::GetPreferences(TPreferences& prefs) const {
  prefs.RememberWindowRect = FRememberRectCB->isChecked();
  // The 1 mm grid has no item: it stays unless the user picks one of the others.
  const int density = RadioGroupIndex(FGridDensity, 3);
  prefs.GridDensity = density >= 0 ? density : (FHiddenGridDensity >= 0 ? FHiddenGridDensity : 2);
  prefs.ShowGrid = FViewGrid->isChecked();
  prefs.SnapGrid = FSnapGrid->isChecked();
  prefs.ZeroWidthBrackets = FNoWidthCB->isChecked();
  prefs.DrawForcesAtCRes = FDrawFCRes->isChecked();
  prefs.DrawForcesAtAttachment = FDrawFAtt->isChecked();
  prefs.DrawForcesAtBracket = FDrawFBr->isChecked();
  prefs.ViewMoments = FViewM->isChecked();
  prefs.ViewForces = FViewF->isChecked();
  prefs.BracketForces = FForcesOn[1]->isChecked();
  prefs.ThresholdForce = TypedThresholdForce();
  prefs.ThresholdMoment = TypedThresholdMoment();
  prefs.AutoStop = FAutoStop->isChecked();
}

double TOptionsDialog::TypedThresholdForce() const {
  return UserNumberOr(*FThrForce, FallbackThresholdForce);
}

double TOptionsDialog::TypedThresholdMoment() const {
  return MomentUnitsPerGfMm * UserNumberOr(*FThrMom, FallbackThresholdMoment);
}

bool TOptionsDialog::UsableThreshold(QLineEdit& edit, const QString& name, double value) {
  // Below a negative threshold no force system ever passes, and one that overflows cannot
  // be kept in the settings file.
  QString problem;
  if (value < 0.0) {
    problem = QStringLiteral("is negative: Auto Stop could never end a run");
  } else if (!std::isfinite(value)) {
    problem = QStringLiteral("is too large");
  } else {
    return true;
  }
  ShowMessage(
      this, TMessageKind::Error,
      QStringLiteral("The %1 threshold %2 %3.").arg(name, QuotedText(edit.text()), problem));
  FPages->setCurrentIndex(CalculationPage);
  edit.setFocus();
  edit.selectAll();
  return false;
}

void TOptionsDialog::accept() {
  if (!UsableThreshold(*FThrForce, QStringLiteral("force"), TypedThresholdForce())) return;
  if (!UsableThreshold(*FThrMom, QStringLiteral("moment"), TypedThresholdMoment())) return;
  QDialog::accept();
}

void TOptionsDialog::HelpButClick() {
  switch (FPages->currentIndex()) {
    case ViewPage:
      ShowHelpTopic(this, QLatin1String(HelpViewOptions));
      break;
    case CalculationPage:
      ShowHelpTopic(this, QLatin1String(HelpCalcOptions));
      break;
    default:
      ShowHelpTopic(this, QLatin1String(HelpGeneralOptions));
      break;
  }
}

}  // namespace orvela
