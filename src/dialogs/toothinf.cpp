#include "dialogs/toothinf.h"

#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/paintbox.h"
#include "mechanics/geometry.h"
#include "platform/help.h"
#include "platform/windowface.h"
#include "util/format.h"

namespace orvela {

namespace {

constexpr int DisplaySize = 156;
constexpr int ScrollBarRootHeight = 117;
constexpr int ButtonWidth = 87;
constexpr int ButtonHeight = 25;
constexpr int ApplyButWidth = 72;

QString UserNumber(const char* pattern, double value) {
  return QString::fromStdString(FormatFloat(pattern, value, UserFormatSettings()));
}

bool ReadUserNumber(const QLineEdit& edit, double& value) {
  return TryStrToFloat(edit.text().toStdString(), value, UserFormatSettings());
}

QLabel* NewLabel(const char* name, const QString& caption, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QLatin1String(name));
  return label;
}

// A short number edit wide enough for "-000,00" in the dialog's font, at least minWidth.
QLineEdit* NewNumberEdit(const char* name, int minWidth, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->setAlignment(Qt::AlignRight);
  const int text = edit->fontMetrics().horizontalAdvance(QStringLiteral("-0000,00")) + 10;
  edit->setFixedWidth(std::max(minWidth, text));
  return edit;
}

QPushButton* NewButton(const char* name, const QString& caption, QSize size, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setMinimumSize(size);
  return button;
}

}  // namespace

TToothInfDlg::TToothInfDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ToothInfDlg"));
  setWindowTitle(QStringLiteral("Tooth Info"));
  TakeTitleFontFace(*this);

  FPanelTop = NewLabel("PanelTop", {}, this);
  FPanelTop->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  FPanelTop->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  FPanelTop->setMinimumHeight(20);
  FPanelTop->setTextFormat(Qt::PlainText);

  FPageControl = new QTabWidget(this);
  FPageControl->setObjectName(QStringLiteral("PageControl1"));
  FPageControl->addTab(CreateToothPage(), QStringLiteral("Tooth"));
  FPageControl->addTab(CreatePerioPage(), QStringLiteral("Perio"));

  auto* okBut = NewButton("OKBut", QStringLiteral("Close"), {ButtonWidth, ButtonHeight}, this);
  auto* helpBut = NewButton("HelpBut", QStringLiteral("Help"), {ButtonWidth, ButtonHeight}, this);
  okBut->setDefault(true);
  okBut->setAutoDefault(true);
  connect(okBut, &QPushButton::clicked, this, &QDialog::accept);
  connect(helpBut, &QPushButton::clicked, this, &TToothInfDlg::HelpButClick);

  auto* buttons = new QVBoxLayout;
  buttons->addSpacing(FPageControl->tabBar()->sizeHint().height() + 8);
  buttons->addWidget(okBut);
  buttons->addWidget(helpBut);
  buttons->addStretch();
  auto* body = new QHBoxLayout;
  body->addWidget(FPageControl);
  body->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FPanelTop);
  layout->addLayout(body);
  SetFixedDialogBorder(*this);
  FPageControl->setCurrentIndex(0);
}

QWidget* TToothInfDlg::CreateToothPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("ToothPage"));

  FDisplay = new TPaintBox(QStringLiteral("Display"), {DisplaySize, DisplaySize}, page);
  FDisplay->OnPaint = [this](TQtCanvas& canvas) { DisplayPaint(canvas); };
  QWidget* displayFrame = NewSunkenFrame(*FDisplay, page);

  FScrollBarRoot = new QScrollBar(Qt::Vertical, page);
  FScrollBarRoot->setObjectName(QStringLiteral("ScrollBarRoot"));
  FScrollBarRoot->setRange(0, 100);
  FScrollBarRoot->setSingleStep(1);
  FScrollBarRoot->setPageStep(10);
  FScrollBarRoot->setFixedHeight(ScrollBarRootHeight);
  FScrollBarRoot->setToolTip(QStringLiteral("Bone support: drag down to lose support"));
  connect(FScrollBarRoot, &QScrollBar::valueChanged, this, &TToothInfDlg::ScrollBarRootChange);
  FAnatomicRoot = NewLabel("AnatomicRoot", QStringLiteral("Anatomic Root Length:"), page);
  FFunctRoot = NewLabel("FunctRoot", QStringLiteral("Supporting Root Length:"), page);
  FFunctArea = NewLabel("FunctArea", QStringLiteral("Supporting Root Area:"), page);
  auto* measures = new QVBoxLayout;
  measures->addStretch();
  measures->addWidget(FAnatomicRoot);
  measures->addWidget(FFunctRoot);
  measures->addWidget(FFunctArea);
  measures->addStretch();
  auto* root = new QHBoxLayout;
  root->addWidget(FScrollBarRoot);
  root->addSpacing(8);
  root->addLayout(measures);
  root->addStretch();

  auto* left = new QVBoxLayout;
  left->addWidget(displayFrame);
  left->addLayout(root);
  left->addStretch();

  // Angulation, inside a bevel.
  auto* bevel = new QFrame(page);
  bevel->setObjectName(QStringLiteral("Bevel1"));
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  auto* tipLbl = NewLabel("TipLbl", QStringLiteral("A&ngulation:"), bevel);
  FTip = NewNumberEdit("Tip", 43, bevel);
  tipLbl->setBuddy(FTip);
  auto* tipLayout = new QHBoxLayout(bevel);
  tipLayout->addWidget(tipLbl);
  tipLayout->addWidget(FTip);
  tipLayout->addWidget(new QLabel(QStringLiteral("\u00B0"), bevel));

  auto* move = new QGroupBox(QStringLiteral("Move"), page);
  move->setObjectName(QStringLiteral("GroupBoxMove"));
  auto* dxLbl = NewLabel("dxLbl", QStringLiteral("d&x:"), move);
  auto* dyLbl = NewLabel("dyLbl", QStringLiteral("d&y:"), move);
  Fdx = NewNumberEdit("dx", 43, move);
  Fdy = NewNumberEdit("dy", 43, move);
  dxLbl->setBuddy(Fdx);
  dyLbl->setBuddy(Fdy);
  const QString unit = QStringLiteral("\u00D7 0.1 mm");
  auto* moveLayout = new QGridLayout(move);
  moveLayout->addWidget(dxLbl, 0, 0);
  moveLayout->addWidget(Fdx, 0, 1);
  moveLayout->addWidget(new QLabel(unit, move), 0, 2);
  moveLayout->addWidget(dyLbl, 1, 0);
  moveLayout->addWidget(Fdy, 1, 1);
  moveLayout->addWidget(new QLabel(unit, move), 1, 2);

  FApplyBut = NewButton("ApplyBut", QStringLiteral("&Apply"), {ApplyButWidth, 20}, page);
  connect(FApplyBut, &QPushButton::clicked, this, &TToothInfDlg::ApplyButClick);
  // Enter in one of the three edits applies, rather than closing the dialog.
  for (QLineEdit* edit : {FTip, Fdx, Fdy}) {
    connect(edit, &QLineEdit::returnPressed, this, &TToothInfDlg::ApplyButClick);
  }

  FAnkylosed = new QCheckBox(QStringLiteral("An&kylosed"), page);
  FAnkylosed->setObjectName(QStringLiteral("Ankylosed"));
  connect(FAnkylosed, &QCheckBox::clicked, this, &TToothInfDlg::AnkylosedClick);

  auto* right = new QVBoxLayout;
  right->addSpacing(12);
  right->addWidget(bevel);
  right->addWidget(move);
  right->addWidget(FApplyBut, 0, Qt::AlignRight);
  right->addSpacing(8);
  right->addWidget(FAnkylosed);
  right->addStretch();

  auto* layout = new QHBoxLayout(page);
  layout->addLayout(left);
  layout->addSpacing(8);
  layout->addLayout(right);
  return page;
}

void TToothInfDlg::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TToothInfDlg::FormShow() {
  FPerioDragging = false;
  if (!theTooth) return;
  FPanelTop->setText(QString::fromStdString(theTooth->Info()));
  FAnkylosed->setChecked(theTooth->Ankylosed());
  FTip->setText(UserNumber("0.00", theTooth->Tip() * 180.0 / Pi));
  Fdx->setText(QStringLiteral("0"));
  Fdy->setText(QStringLiteral("0"));
  ShowRootMeasures();
  const double la = theTooth->rootLengthAnatomic();
  const double lost = la != 0.0 ? 100.0 * (la - theTooth->rootLengthFunctional()) / la : 0.0;
  // The bar keeps its place from the last tooth: when this one's differs, the change
  // handler re-applies the supporting cervix at the whole percentage.
  FScrollBarRoot->setValue(static_cast<int>(std::lround(lost)));
  ShowTotalForce();
  FillResponceList();
  FDisplay->update();
  FPerioDisplay->update();
}

void TToothInfDlg::ShowRootMeasures() {
  FAnatomicRoot->setText(QStringLiteral("Anatomic Root Length: ") +
                         UserNumber("0.0", theTooth->rootLengthAnatomic() / 10.0));
  FFunctRoot->setText(QStringLiteral("Supporting Root Length: ") +
                      UserNumber("0.0", theTooth->rootLengthFunctional() / 10.0));
  FFunctArea->setText(QStringLiteral("Supporting Root Area: ") +
                      UserNumber("0.0", theTooth->rootAreaFunctional() / 100.0));
}

void TToothInfDlg::ShowTotalForce() {
  // As the summation leaves it, not moved to cRes.
  const TForceMoment total = theTooth->TotalForce();
  FTotalForce->setText(QStringLiteral("Total Force: ") + UserNumber("0.0", total.Magnitude()) +
                       QStringLiteral(" gf"));
  FTotalForceX->setText(QStringLiteral("Total Force (x): ") + UserNumber("0.0", total.x) +
                        QStringLiteral(" gf"));
  FTotalForceY->setText(QStringLiteral("Total Force (y): ") + UserNumber("0.0", total.y) +
                        QStringLiteral(" gf"));
  FTotalMoment->setText(QStringLiteral("Total Moment: ") + UserNumber("0.0", total.m / 10.0) +
                        QStringLiteral(" gf.mm"));
}

void TToothInfDlg::DisplayPaint(TQtCanvas& canvas) const {
  if (!theTooth) return;
  const std::int32_t e = SaturateToInt32(std::llround(1.1 * theTooth->toothLength()));
  if (e <= 0) return;
  const TPointDouble ul = theTooth->UpperLeft();
  const TPointDouble lr = theTooth->LowerRight();
  const double cx = ul.x + (lr.x - ul.x) / 2.0;
  const double cy = lr.y + (ul.y - lr.y) / 2.0;
  const double ox = std::nearbyint(cx - e / 2.0);
  const double oy = std::nearbyint(cy + e / 2.0);
  // Isotropic: the window's e units fill the box's width; y grows upward.
  const double s = static_cast<double>(FDisplay->width()) / e;
  canvas.SetMapping(QTransform(s, 0.0, 0.0, -s, -ox * s, oy * s));
  theTooth->Draw(canvas);
}

void TToothInfDlg::AnkylosedClick(bool checked) {
  if (!theTooth) return;
  theTooth->SetAnkylosed(checked);
  FDisplay->update();
}

void TToothInfDlg::ApplyButClick() {
  if (!theTooth) return;
  double tip = 0.0;
  if (ReadUserNumber(*FTip, tip)) {
    theTooth->Rotate(theTooth->cRes(), tip * Pi / 180.0 - theTooth->Tip());
  }
  // Model units (0.1 mm); a field that is not a number shifts nothing.
  double dx = 0.0;
  double dy = 0.0;
  if (!ReadUserNumber(*Fdx, dx)) dx = 0.0;
  if (!ReadUserNumber(*Fdy, dy)) dy = 0.0;
  theTooth->Translate(TPointDouble{dx, dy});
  FPanelTop->setText(QString::fromStdString(theTooth->Info()));
  ShowTotalForce();
  FDisplay->update();
  FPerioDisplay->update();
}

void TToothInfDlg::ScrollBarRootChange(int position) {
  if (!theTooth) return;
  theTooth->SetSupportLoss(position);
  ShowRootMeasures();
  FPanelTop->setText(QString::fromStdString(theTooth->Info()));
  FDisplay->update();
  FPerioDisplay->update();
}

void TToothInfDlg::HelpButClick() { ShowHelpTopic(this, QLatin1String(HelpToothWindow)); }

}  // namespace orvela
