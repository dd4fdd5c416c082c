#pragma once

#include <QDialog>

#include "model/wire.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

namespace orvela {

// The "Wire" dialog: a wire's length, force, end moments, angle ratio and geometry class,
// and its material and size chosen from the rows of the wire's tables. The values
// are taken when the dialog is shown; a new material or size goes into the wire at once and
// shows in the main window after the dialog closes. The "Bends" page lists the wire's
// V-bends and steps (kind, position in % from end A, angle in degrees or height in mm) and
// edits them through the wire's bend operations, with the force system at the brackets
// following each edit. Created once and reused.
class TWireInfo : public QDialog {
  Q_OBJECT

 public:
  explicit TWireInfo(QWidget* parent = nullptr);

  TWireStraight* Wire() const { return theWire; }
  // Set before exec(); the dialog never owns the wire.
  void SetWire(TWireStraight* wire) { theWire = wire; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  QWidget* NewCResPage();
  void ShowCResSystems();
  void WireMaterialCBChange(int index);
  void WireSizeCBChange(int index);
  // The bends page: the list from the wire, the editors from the current row, the force
  // system and the elastic-limit line from the wire as it now is.
  void ShowBends();
  void ShowBendEditors();
  void ShowForceSystem();
  void AddBendClick();
  void RemoveBendClick();
  // An editor changed: the current bend takes the editors' values.
  void BendEdited();

  TWireStraight* theWire = nullptr;
  QLabel* FLength = nullptr;
  QLabel* FForce = nullptr;
  QLabel* FMomentA = nullptr;
  QLabel* FMomentB = nullptr;
  QLabel* FAngleRatio = nullptr;
  QLabel* FBurstoneClass = nullptr;
  QComboBox* FWireMaterialCB = nullptr;
  QComboBox* FWireSizeCB = nullptr;
  // The "At cRes" page: each end's tooth and system there, and their class.
  struct TCResLabels {
    QLabel* Tooth = nullptr;
    QLabel* Force = nullptr;
    QLabel* Moment = nullptr;
    QLabel* Ratio = nullptr;
  };
  TCResLabels FCRes[2];
  QLabel* FCResAngleRatio = nullptr;
  QLabel* FCResClass = nullptr;
  QLabel* FElasticLimit = nullptr;

  QTableWidget* FBendsList = nullptr;
  QComboBox* FBendKindCB = nullptr;
  QDoubleSpinBox* FBendPosition = nullptr;
  QDoubleSpinBox* FBendValue = nullptr;
  QLabel* FBendValueLabel = nullptr;
  QPushButton* FAddBend = nullptr;
  QPushButton* FRemoveBend = nullptr;
  QLabel* FBendMomentA = nullptr;
  QLabel* FBendMomentB = nullptr;
  QLabel* FBendForce = nullptr;
  QLabel* FMomentRatio = nullptr;
  QLabel* FBendClass = nullptr;
  QLabel* FBendElastic = nullptr;
  // The live force system at the centres of resistance, under the one at the brackets.
  QLabel* FBendCResMomentA = nullptr;
  QLabel* FBendCResMomentB = nullptr;
  QLabel* FBendCResForce = nullptr;
  QLabel* FBendCResClass = nullptr;
  // Set while the editors are filled from the wire, so that filling them edits nothing.
  bool FFilling = false;
};

}  // namespace orvela
