#include "dialogs/toothinf.h"

#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/dialogparts.h"
#include "dialogs/paintbox.h"
#include "mechanics/geometry.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/windowface.h"
#include "util/format.h"
#include "util/startup.h"

namespace orvela {

namespace {

constexpr int DisplaySize = 156;
constexpr int ScrollBarRootHeight = 117;
constexpr int ApplyButWidth = 72;

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
  // The text follows the tooth; the window keeps its size.
  FPanelTop->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

  FPageControl = new QTabWidget(this);
  FPageControl->setObjectName(QStringLiteral("PageControl1"));
  FPageControl->addTab(CreateToothPage(), QStringLiteral("Tooth"));
  FPageControl->addTab(CreatePerioPage(), QStringLiteral("Perio"));
  // F1 opens the part of the help about the page shown.
  SetHelpTopic(*FPageControl->widget(0), HelpToothPage);
  SetHelpTopic(*FPageControl->widget(1), HelpPerioPage);

  QHBoxLayout* body = NewPagesWithButtons(*this, *FPageControl, HelpToothWindow);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FPanelTop);
  layout->addLayout(body);
  // Both pages polished now, so that the fixed size fits the larger whichever shows first.
  ensurePolished();
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
  // Up, Down, Page Up and Page Down change the support once Tab has reached the bar.
  FScrollBarRoot->setFocusPolicy(Qt::StrongFocus);
  FScrollBarRoot->setFixedHeight(ScrollBarRootHeight);
  FScrollBarRoot->setToolTip(QStringLiteral("Bone support: drag down to lose support"));
  connect(FScrollBarRoot, &QScrollBar::valueChanged, this, &TToothInfDlg::ScrollBarRootChange);
  FAnatomicRoot = NewLabel("AnatomicRoot", QStringLiteral("Anatomic Root Length:"), page);
  FFunctRoot = NewLabel("FunctRoot", QStringLiteral("Supporting Root Length:"), page);
  FFunctArea = NewLabel("FunctArea", QStringLiteral("Supporting Root Area:"), page);
  // Wide enough for any tooth, so that the window keeps its size from tooth to tooth.
  FAnatomicRoot->setMinimumWidth(FAnatomicRoot->fontMetrics().horizontalAdvance(
      QStringLiteral("Supporting Root Area: 0000.0")));
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
  for (QLineEdit* edit : {FTip, Fdx, Fdy}) edit->installEventFilter(this);

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

bool TToothInfDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == FTip || watched == Fdx || watched == Fdy)) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      ApplyButClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
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
  {
    // Only showing where the support stands: applying the bar's whole percentage here would
    // move the cervix and cRes of a tooth the user only looked at.
    const QSignalBlocker quiet(FScrollBarRoot);
    FScrollBarRoot->setValue(static_cast<int>(std::lround(lost)));
  }
  ShowTotalForce();
  FLibrary.Load(FLibraryPath);
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
  TForceMoment atCRes = total;
  atCRes.Reorient(theTooth->cRes());
  const double force = atCRes.Magnitude();
  FClinicalTime->setText(
      QStringLiteral("Clinical time of the runs: ") +
      (FClinicalTimeText.isEmpty() ? QStringLiteral("no run yet") : FClinicalTimeText));
  FMomentToForce->setText(
      QStringLiteral("Moment to Force at cRes: ") +
      (force == 0.0 ? QStringLiteral("none (no force)")
                    : UserNumber("0.0", atCRes.m / 10.0 / force) + QStringLiteral(" mm")));
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
  theTooth->Draw(canvas, FForceDrawing);
}

void TToothInfDlg::AnkylosedClick(bool checked) {
  if (!theTooth) return;
  theTooth->SetAnkylosed(checked);
  FDisplay->update();
}

void TToothInfDlg::ApplyButClick() {
  if (!theTooth) return;
  // A field that is not a number turns or shifts nothing. A number the model cannot hold is
  // refused before anything moves: an angle that overflows would make the pose not a number
  // for good, and a shift must leave cRes on the model square, where the select tool keeps it.
  double tip = 0.0;
  const bool turn = ReadUserNumber(*FTip, tip);
  const double angle = tip * Pi / 180.0;
  if (turn && !std::isfinite(angle)) {
    ShowMessage(this, TMessageKind::Error,
                QStringLiteral("%1 is too large for an angulation.\n\nThe tooth keeps its place.")
                    .arg(QuotedText(FTip->text())));
    return;
  }
  // Model units (0.1 mm).
  const TPointDouble shift{UserNumberOr(*Fdx, 0.0), UserNumberOr(*Fdy, 0.0)};
  const TPointDouble to{theTooth->cRes().x + shift.x, theTooth->cRes().y + shift.y};
  const auto onSquare = [](double v) { return v >= 0.0 && v <= ModelExtent; };
  if ((shift.x != 0.0 || shift.y != 0.0) && !(onSquare(to.x) && onSquare(to.y))) {
    ShowMessage(this, TMessageKind::Error,
                QStringLiteral("A shift by dx %1 and dy %2 would move the tooth off the model "
                               "area (0 to %3 mm both ways).\n\nThe tooth keeps its place.")
                    .arg(QuotedText(Fdx->text()), QuotedText(Fdy->text()))
                    .arg(ModelExtent / 10));
    return;
  }
  if (turn) theTooth->Rotate(theTooth->cRes(), angle - theTooth->Tip());
  theTooth->Translate(shift);
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

}  // namespace orvela
