#pragma once

#include <QDialog>

#include "model/wire.h"

class QComboBox;
class QLabel;

namespace orvela {

// The "Wire" dialog: a wire's length, force, end moments, angle ratio and geometry class,
// and its material and size chosen from the rows of the wire's tables. The values
// are taken when the dialog is shown; a new material or size goes into the wire at once and
// shows in the main window after the dialog closes. Created once and reused.
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
};

}  // namespace orvela
