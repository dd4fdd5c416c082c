#pragma once

#include <QDialog>

#include "document/settings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace orvela {

// The options dialog "Options": pages "General", "&View" and "&Calculation". Created once
// and reused; it keeps its last page between openings. The threshold boxes show and accept
// numbers in the user's locale; ThresholdMoment is shown in gf.mm (÷ 10). A box that holds
// no number gives a fallback.
class TOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TOptionsDialog(QWidget* parent = nullptr);

  // The whole exchange: fills the controls from prefs, shows the dialog modally and, when
  // it is closed with OK, stores the controls back into prefs. Returns whether OK was chosen.
  bool Execute(TPreferences& prefs);

  // The two halves of Execute, for callers that show the dialog themselves.
  void SetPreferences(const TPreferences& prefs);
  void GetPreferences(TPreferences& prefs) const;

  QTabWidget* Pages() const { return FPages; }
  QPushButton* OKBut() const { return FOKBut; }
  QPushButton* CancelBut() const { return FCancelBut; }
  QPushButton* HelpBut() const { return FHelpBut; }
  QCheckBox* RememberRectCB() const { return FRememberRectCB; }
  QCheckBox* ViewGrid() const { return FViewGrid; }
  QRadioButton* GridDensityItem(int index) const { return FGridDensity[index]; }
  QCheckBox* SnapGrid() const { return FSnapGrid; }
  QRadioButton* ForcesOnItem(int index) const { return FForcesOn[index]; }
  QCheckBox* ViewF() const { return FViewF; }
  QCheckBox* ViewM() const { return FViewM; }
  QCheckBox* DrawFCRes() const { return FDrawFCRes; }
  QCheckBox* DrawFAtt() const { return FDrawFAtt; }
  QCheckBox* DrawFBr() const { return FDrawFBr; }
  QCheckBox* NoWidthCB() const { return FNoWidthCB; }
  QCheckBox* AutoStop() const { return FAutoStop; }
  QLineEdit* ThrForce() const { return FThrForce; }
  QLineEdit* ThrMom() const { return FThrMom; }

 protected:
  // OK, or Enter: refuses a threshold that Auto Stop cannot use (negative, or too large to
  // hold) with a message, and keeps the dialog open on it.
  void accept() override;

 private:
  void HelpButClick();
  // The thresholds typed, in the units of TPreferences; the fallbacks when a box holds no
  // number.
  double TypedThresholdForce() const;
  double TypedThresholdMoment() const;
  bool UsableThreshold(QLineEdit& edit, const QString& name, double value);

  QTabWidget* FPages = nullptr;
  QPushButton* FOKBut = nullptr;
  QPushButton* FCancelBut = nullptr;
  QPushButton* FHelpBut = nullptr;
  QCheckBox* FRememberRectCB = nullptr;
  QCheckBox* FViewGrid = nullptr;
  QRadioButton* FGridDensity[3] = {};
  QCheckBox* FSnapGrid = nullptr;
  QRadioButton* FForcesOn[2] = {};
  QCheckBox* FViewF = nullptr;
  QCheckBox* FViewM = nullptr;
  QCheckBox* FDrawFCRes = nullptr;
  QCheckBox* FDrawFAtt = nullptr;
  QCheckBox* FDrawFBr = nullptr;
  QCheckBox* FNoWidthCB = nullptr;
  QCheckBox* FAutoStop = nullptr;
  QLineEdit* FThrForce = nullptr;
  QLineEdit* FThrMom = nullptr;
  // A GridDensity of 3 (1 mm) has no radio item; it is kept unless the user picks one.
  int FHiddenGridDensity = -1;
};

}  // namespace orvela
