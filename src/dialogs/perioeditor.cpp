// The Perio page of the tooth dialog: the response-curve editor and the curve library.
#include <algorithm>
#include <cmath>
#include <optional>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "dialogs/dialogparts.h"
#include "dialogs/paintbox.h"
#include "dialogs/responcelib.h"
#include "dialogs/toothinf.h"
#include "model/responce.h"
#include "platform/cursors.h"
#include "platform/messages.h"
#include "util/format.h"

namespace orvela {

namespace {

constexpr int PerioDisplaySize = 156;
constexpr std::int32_t CurveExtent = 100;
constexpr std::int32_t GridStep = 10;
constexpr TColor GridColor{128, 128, 128};
// Half-width in pixels of the drawn curve points; the hit box stays the 2 curve units.
constexpr std::int32_t PointHandleSize = 3;
// Longest part of a refused name quoted in a message.
constexpr qsizetype QuotedTextMax = 40;
// Names listed at most: a longer list takes seconds to build and cannot be browsed anyway.
constexpr std::size_t ResponceListMax = 10000;

QString Quoted(const std::string& text) {
  return QuotedText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

QString NativePath(const std::string& path) {
  return QDir::toNativeSeparators(QString::fromStdString(path));
}

// The message on a library value that is no curve: %1 the piece at fault, quoted, %2 the
// curve's name, %3 the library file.
QString ResponceErrorText(const TResponceParseError& error) {
  QString what;
  switch (error.Kind) {
    case TResponceParseError::TKind::NotAnInteger:
      what = QStringLiteral("%1 is not a valid integer value");
      break;
    case TResponceParseError::TKind::OutOfRange:
      what = QStringLiteral("%1 is outside the range 0 to ") + QString::number(ResponceExtent);
      break;
    case TResponceParseError::TKind::Decreasing:
      what = QStringLiteral("The x value %1 is smaller than the one before it");
      break;
  }
  return what +
         QStringLiteral(
             " in the Responce \"%2\" of the library file %3.\n\nThe tooth keeps its curve.");
}

// Why a write to path failed, as far as the file system tells.
QString WriteFailureReason(const std::string& path) {
  const QFileInfo file(QString::fromStdString(path));
  const QFileInfo folder(file.absolutePath());
  if (!folder.exists()) return QStringLiteral("its folder does not exist");
  if (!folder.isDir()) return QStringLiteral("its folder is not a folder");
  if (!folder.isWritable()) return QStringLiteral("its folder is read-only");
  if (file.exists() && !file.isWritable()) return QStringLiteral("the file is read-only");
  if (file.isDir()) return QStringLiteral("a folder of that name is in the way");
  return QStringLiteral("the file could not be replaced (the disk may be full)");
}

}  // namespace

QWidget* TToothInfDlg::CreatePerioPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("PerioPage"));

  FPerioDisplay =
      new TPaintBox(QStringLiteral("PerioDisplay"), {PerioDisplaySize, PerioDisplaySize}, page);
  FPerioDisplay->OnPaint = [this](TQtCanvas& canvas) { PerioDisplayPaint(canvas); };
  FPerioDisplay->OnMouseDown = [this](QMouseEvent& e) { PerioDisplayMouseDown(e); };
  FPerioDisplay->OnMouseMove = [this](QMouseEvent& e) { PerioDisplayMouseMove(e); };
  FPerioDisplay->OnMouseUp = [this](QMouseEvent& e) { PerioDisplayMouseUp(e); };
  FPerioDisplay->setFocusPolicy(Qt::StrongFocus);
  FPerioDisplay->OnKeyPress = [this](QKeyEvent& e) { return PerioDisplayKey(e); };
  FPerioDisplay->OnFocusIn = [this](Qt::FocusReason reason) {
    // Coming back with Shift+Tab starts at the last point.
    if (reason == Qt::BacktabFocusReason && theTooth) {
      FPerioKeyIndex = static_cast<int>(theTooth->Responce.size()) - 1;
    } else if (reason == Qt::TabFocusReason) {
      FPerioKeyIndex = 0;
    }
  };
  FPerioDisplay->setToolTip(
      QStringLiteral("Drag the points of the curve: stress (x) against movement per step (y).\n"
                     "Blue: translation stress, red: rotation stress."));
  QWidget* frame = NewSunkenFrame(*FPerioDisplay, page);

  auto* axis = new QHBoxLayout;
  axis->setContentsMargins(0, 0, 0, 0);
  axis->addWidget(new QLabel(QStringLiteral("0.0"), page));
  axis->addStretch();
  axis->addWidget(new QLabel(QStringLiteral("gf / mm2"), page));
  axis->addStretch();
  axis->addWidget(new QLabel(QStringLiteral("10.0"), page), 0, Qt::AlignRight);

  auto* label4 = new QLabel(QStringLiteral("Pre-defined Responses:"), page);
  label4->setObjectName(QStringLiteral("Label4"));
  FResponceCB = new QComboBox(page);
  FResponceCB->setObjectName(QStringLiteral("ResponceCB"));
  FResponceCB->setEditable(false);
  FResponceCB->setFixedWidth(124);
  FResponceCB->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  FResponceCB->setMaxVisibleItems(20);
  label4->setBuddy(FResponceCB);
  connect(FResponceCB, &QComboBox::activated, this, &TToothInfDlg::ResponceCBChange);
  FButSaveResponce = new QPushButton(QStringLiteral("Sa&ve As..."), page);
  FButSaveResponce->setObjectName(QStringLiteral("ButSaveResponce"));
  FButSaveResponce->setMinimumSize(79, 20);
  connect(FButSaveResponce, &QPushButton::clicked, this, &TToothInfDlg::ButSaveResponceClick);

  auto* library = new QVBoxLayout;
  library->addStretch();
  library->addWidget(label4);
  library->addWidget(FResponceCB);
  library->addSpacing(8);
  library->addWidget(FButSaveResponce, 0, Qt::AlignLeft);
  library->addStretch();

  FTotalForce = new QLabel(QStringLiteral("Total Force:"), page);
  FTotalForce->setObjectName(QStringLiteral("TotalForce"));
  FTotalForceX = new QLabel(QStringLiteral("Total Force (x):"), page);
  FTotalForceX->setObjectName(QStringLiteral("TotalForceX"));
  FTotalForceY = new QLabel(QStringLiteral("Total Force (y):"), page);
  FTotalForceY->setObjectName(QStringLiteral("TotalForceY"));
  FTotalMoment = new QLabel(QStringLiteral("Total Moment:"), page);
  FTotalMoment->setObjectName(QStringLiteral("TotalMoment"));
  FMomentToForce = new QLabel(QStringLiteral("Moment to Force at cRes:"), page);
  FMomentToForce->setObjectName(QStringLiteral("MomentToForce"));
  FClinicalTime = new QLabel(page);
  FClinicalTime->setObjectName(QStringLiteral("ClinicalTime"));
  FClinicalTime->setToolTip(
      QStringLiteral("Days the runs' movement would take, from the mean stress over the root, by a "
                     "rate law fitted to human canines (Iwasaki et al. 2000)."));
  FTotalForceX->setMinimumWidth(
      FTotalForceX->fontMetrics().horizontalAdvance(QStringLiteral("Total Force (x): -0000.0 gf")));
  auto* forces = new QGridLayout;
  forces->setColumnMinimumWidth(0, 20);
  forces->addWidget(FTotalForce, 0, 0, 1, 2);
  forces->addWidget(FTotalForceX, 1, 1);
  forces->addWidget(FTotalForceY, 2, 1);
  forces->addWidget(FTotalMoment, 3, 0, 1, 2);
  forces->addWidget(FMomentToForce, 4, 0, 1, 2);
  forces->addWidget(FClinicalTime, 5, 0, 1, 2);

  auto* left = new QVBoxLayout;
  left->setSpacing(2);
  left->addWidget(frame);
  left->addLayout(axis);
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addSpacing(12);
  top->addLayout(library);
  top->addStretch();
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addLayout(forces);
  layout->addStretch();
  return page;
}

void TToothInfDlg::SetPerioMapping(TQtCanvas& canvas) const {
  // Curve units 0…100 onto the box's pixels 0…size−1, so that both edges of the grid show.
  const double s = (FPerioDisplay->width() - 1) / static_cast<double>(CurveExtent);
  canvas.SetMapping(QTransform(s, 0.0, 0.0, -s, 0.0, s * CurveExtent));
}

TPoint TToothInfDlg::PerioPoint(const QMouseEvent& event) const {
  TQtCanvas canvas(*FPerioDisplay);
  SetPerioMapping(canvas);
  const QPointF p = event.position();
  return canvas.DeviceToLogical(TPoint{static_cast<std::int32_t>(std::floor(p.x())),
                                       static_cast<std::int32_t>(std::floor(p.y()))});
}

void TToothInfDlg::PerioDisplayPaint(TQtCanvas& canvas) const {
  SetPerioMapping(canvas);
  TPen& pen = canvas.Pen();
  pen = TPen{GridColor, 0, TPenStyle::Dot, TPenMode::Copy};
  canvas.SetTransparentBackground(true);
  for (std::int32_t x = 0; x <= CurveExtent; x += GridStep) {
    canvas.MoveTo({x, 0});
    canvas.LineTo({x, CurveExtent});
  }
  for (std::int32_t y = 0; y <= CurveExtent; y += GridStep) {
    canvas.MoveTo({0, y});
    canvas.LineTo({CurveExtent, y});
  }
  if (!theTooth) return;

  pen.Style = TPenStyle::Solid;
  const auto stressLine = [&canvas](double stress, TColor color) {
    const std::int32_t x = SaturateToInt32(std::llround(1000.0 * stress));
    canvas.Pen().Color = color;
    canvas.MoveTo({x, 0});
    canvas.LineTo({x, CurveExtent});
  };
  stressLine(theTooth->stressTranslation(), clBlue);
  stressLine(theTooth->stressRotation(), clRed);

  pen.Color = clBlack;
  canvas.MoveTo({0, 0});
  for (const TPoint& p : theTooth->Responce) canvas.LineTo(p);
  canvas.LineTo({CurveExtent, theTooth->Responce[4].y});
  // The points a user can drag, as small squares on the curve.
  TMarkerList markers = theTooth->ResponceMarkers();
  for (std::size_t i = 0; i < markers.size(); ++i) {
    TMarkerExtended& marker = *markers[i];
    marker.ShapeType = oglmSquare;
    marker.size = PointHandleSize;
    marker.pen = TPen{clBlack, 0, TPenStyle::Solid, TPenMode::Copy};
    const bool active = FPerioDragging
                            ? static_cast<int>(i) == FPerioDragIndex
                            : FPerioDisplay->hasFocus() && static_cast<int>(i) == FPerioKeyIndex;
    marker.brush = TBrush{active ? clRed : clBlue, TBrushStyle::Solid};
    marker.Draw(canvas);
  }
}

void TToothInfDlg::PerioDisplayMouseDown(const QMouseEvent& event) {
  FPerioDragging = false;
  if (!theTooth) return;
  const TPerioHit hit = PerioPointAt(PerioPoint(event));
  if (hit.Index < 0) return;
  FPerioDragIndex = hit.Index;
  FPerioDragging = true;
  FPerioDisplay->update();
}

TToothInfDlg::TPerioHit TToothInfDlg::PerioPointAt(TPoint p) const {
  if (!theTooth) return {};
  const TMarkerList markers = theTooth->ResponceMarkers();
  for (std::size_t i = 0; i < markers.size(); ++i) {
    if (markers[i]->ContainsInUnits(p.x, p.y)) return {static_cast<int>(i), markers[i]->Cursor};
  }
  return {};
}

void TToothInfDlg::PerioDisplayMouseMove(const QMouseEvent& event) {
  const TPoint p = PerioPoint(event);
  if (FPerioDragging) {
    PerioDrag(p);
  } else {
    PerioMove(p);
  }
}

void TToothInfDlg::PerioMove(TPoint p) {
  FPerioDisplay->setCursor(CursorFromNumber(PerioPointAt(p).Cursor));
}

void TToothInfDlg::PerioDrag(TPoint p) {
  if (!theTooth) return;
  theTooth->MoveResponcePoint(static_cast<std::size_t>(FPerioDragIndex), p);
  // A full repaint is cheap at this size and shows the moving curve without traces.
  FPerioDisplay->update();
}

void TToothInfDlg::PerioDisplayMouseUp(const QMouseEvent& /*event*/) {
  if (!FPerioDragging) return;
  FPerioDragging = false;
  FPerioDisplay->update();
}

bool TToothInfDlg::PerioDisplayKey(const QKeyEvent& event) {
  if (!theTooth || FPerioDragging) return false;
  const int points = static_cast<int>(theTooth->Responce.size());
  if (points == 0) return false;
  FPerioKeyIndex = std::clamp(FPerioKeyIndex, 0, points - 1);
  const bool shift = (event.modifiers() & Qt::ShiftModifier) != 0;
  if (event.key() == Qt::Key_Tab && !shift) {
    if (FPerioKeyIndex + 1 >= points) return false;
    ++FPerioKeyIndex;
  } else if (event.key() == Qt::Key_Backtab || (event.key() == Qt::Key_Tab && shift)) {
    if (FPerioKeyIndex == 0) return false;
    --FPerioKeyIndex;
  } else {
    const std::int32_t step = shift ? 10 : 1;
    TPoint by{0, 0};
    switch (event.key()) {
      case Qt::Key_Left:
        by.x = -step;
        break;
      case Qt::Key_Right:
        by.x = step;
        break;
      case Qt::Key_Up:
        by.y = step;
        break;
      case Qt::Key_Down:
        by.y = -step;
        break;
      default:
        return false;
    }
    const auto k = static_cast<std::size_t>(FPerioKeyIndex);
    const TPoint at = theTooth->Responce[k];
    theTooth->MoveResponcePoint(k, TPoint{at.x + by.x, at.y + by.y});
  }
  FPerioDisplay->update();
  return true;
}

void TToothInfDlg::FillResponceList(const QString& select) {
  const QSignalBlocker quiet(FResponceCB);
  FResponceCB->clear();
  const std::vector<std::string_view>& names = FLibrary.Names();
  const std::size_t listed = std::min(names.size(), ResponceListMax);
  QStringList items;
  items.reserve(static_cast<qsizetype>(listed) + 1);
  const auto text = [](std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  };
  for (std::size_t i = 0; i < listed; ++i) items.append(text(names[i]));
  int selected = -1;
  if (!select.isEmpty()) {
    const std::string wanted = select.toStdString();
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (!SameResponceName(names[i], wanted)) continue;
      // A curve just saved into a long library comes after the listed ones: list it too.
      if (i >= listed) items.append(text(names[i]));
      selected = static_cast<int>(std::min(i, listed));
      break;
    }
  }
  FResponceCB->addItems(items);
  FListedCurves = static_cast<int>(items.size());
  QString note;
  if (listed < names.size()) {
    note =
        QStringLiteral("Showing the first %1 of %2 curves")
            .arg(QString::fromStdString(FormatFloat("#,##0", static_cast<double>(listed))),
                 QString::fromStdString(FormatFloat("#,##0", static_cast<double>(names.size()))));
    FResponceCB->addItem(note);
    auto* model = qobject_cast<QStandardItemModel*>(FResponceCB->model());
    if (model != nullptr) model->item(FListedCurves)->setEnabled(false);
  }
  FResponceCB->setToolTip(note);
  FResponceCB->setCurrentIndex(selected);
}

void TToothInfDlg::ResponceCBChange(int index) {
  if (!theTooth || index < 0 || index >= FListedCurves) return;
  const std::string name = FResponceCB->itemText(index).toStdString();
  const std::optional<std::string> value = FLibrary.Value(name);
  if (!value) return;  // every listed name is in the reading it came from
  TResponceParseError error;
  const std::optional<TResponceCurve> curve = ParseResponce(*value, error);
  if (!curve) {
    ShowMessage(this, TMessageKind::Error,
                ResponceErrorText(error).arg(Quoted(error.Text), QString::fromStdString(name),
                                             NativePath(FLibraryPath)));
    return;
  }
  theTooth->SetResponce(*curve);
  FPerioDisplay->update();
}

void TToothInfDlg::ButSaveResponceClick() {
  if (!theTooth) return;
  QInputDialog input(this);
  input.setObjectName(QStringLiteral("ResponceNameInput"));
  input.setWindowTitle(QStringLiteral("Input"));
  input.setLabelText(QStringLiteral("Enter Responce name:"));
  input.setTextValue(QString());
  if (input.exec() != QDialog::Accepted) return;
  // Key names are stored trimmed.
  const QString typed = input.textValue().trimmed();
  if (typed.isEmpty()) return;
  const std::string name = typed.toStdString();
  if (!IsValidResponceName(name)) {
    ShowMessage(this, TMessageKind::Error,
                QStringLiteral("\"%1\" cannot be used as a Responce name: a name holds at most "
                               "%2 characters, no \"=\" or line breaks, and does not begin with "
                               "\";\" or \"[\".")
                    .arg(typed.left(QuotedTextMax))
                    .arg(ResponceNameMaxLength));
    return;
  }
  // Also a name past the listed ones.
  if (FLibrary.Contains(name) &&
      ShowMessage(this, TMessageKind::Information,
                  QStringLiteral("A Responce type of this name is already defined. Replace?"),
                  QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
    return;
  }
  const std::string& path = FLibraryPath;
  if (!FLibrary.Save(path, name, FormatResponce(theTooth->Responce))) {
    ShowMessage(this, TMessageKind::Error,
                QStringLiteral("Could not save the Responce \"%1\" to the library file %2: %3.")
                    .arg(typed, NativePath(path), WriteFailureReason(path)));
    return;
  }
  FillResponceList(typed);
}

}  // namespace orvela
