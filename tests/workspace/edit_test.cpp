// The Edit commands and the mouse tools through the real window, with real mouse and key
// events.

#include <functional>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include "dialogs/toothinf.h"
#include "dialogs/wireinf.h"
#include "platform/messages.h"
#include "qt/gui_driver.h"
#include "qt/mainform_fixture.h"
#include "scenes.h"
#include "tools/tools.h"
#include "workspace/picture.h"
#include "workspace/view.h"

namespace orvela {
namespace {

class EditTest : public test::GuiTest {
 protected:
  // The pixels on show, band included.
  QImage Shown() const {
    return FForm->View().Display()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  QImage Buffer() const { return FForm->View().BackBuffer().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(EditTest, AddToothFromTheChartTwiceAddsTwoCaninesAndAddWireAWire) {
  const QImage empty = Buffer();
  FGui->AddTooth(33);
  FGui->AddTooth(33);
  ASSERT_EQ(Model().ToothList().size(), 2U);
  for (const auto& tooth : Model().ToothList()) {
    ASSERT_EQ(tooth->Brackets().size(), 1U);
    EXPECT_NEAR(PointDistance(tooth->cusp, tooth->Brackets()[0]->Origin()), 45.0, 1e-9);
  }
  EXPECT_NE(Buffer(), empty);
  FGui->ChooseMenu("&Edit", "Add &Wire");
  ASSERT_EQ(Model().WireList().size(), 1U);
  EXPECT_FALSE(Model().HasSelection());
}

TEST_F(EditTest, RemoveATiedWireThenTheToothThatHeldIt) {
  test::AddCanineAndPremolarScene(Model());
  FForm->View().BestFit();
  TWireStraight* wire = Model().WireList()[0].get();
  TAttachment* a = wire->Attachments[0];
  TAttachment* b = wire->Attachments[1];
  TTooth* canine = Model().ToothList()[0].get();

  // A ligated tooth is refused with a message and stays selected.
  FGui->Click(canine->cRes());
  ASSERT_EQ(Model().SelectedTooth(), canine);
  FGui->KeyOnDisplay(Qt::Key_Delete);
  ASSERT_EQ(FMessages.size(), 1U);
  EXPECT_EQ(FMessages[0], "Tooth is ligated to wire. Un-tie tooth first.");
  EXPECT_EQ(Model().ToothList().size(), 2U);
  EXPECT_EQ(Model().SelectedTooth(), canine);

  // The wire where it leaves end A.
  FGui->Click(a->Origin());
  ASSERT_EQ(Model().SelectedWire(), wire);
  EXPECT_EQ(FForm->PanelInfo()->text().toStdString(), wire->Info());
  FGui->ChooseMenu("&Edit", "Re&move");
  EXPECT_TRUE(Model().WireList().empty());
  EXPECT_TRUE(a->Wires().empty());
  EXPECT_TRUE(b->Wires().empty());
  EXPECT_TRUE(FForm->PanelInfo()->text().isEmpty());
  EXPECT_FALSE(FForm->ActionRemove()->isEnabled());

  FGui->Click(canine->cRes());
  ASSERT_EQ(Model().SelectedTooth(), canine);
  EXPECT_TRUE(FForm->ActionRemove()->isEnabled());
  FGui->KeyOnDisplay(Qt::Key_Delete);
  ASSERT_EQ(Model().ToothList().size(), 1U);
  EXPECT_FALSE(Model().HasSelection());
  EXPECT_TRUE(Model().MarkerList().empty());
  EXPECT_FALSE(FForm->ActionProperties()->isEnabled());
  EXPECT_FALSE(FForm->ActionRemove()->isEnabled());
  EXPECT_EQ(FMessages.size(), 1U);
}

TEST_F(EditTest, ClickingEmptySpaceDeselectsAndADragOffTheDisplayEndsThere) {
  FGui->AddTooth(34);
  TTooth* tooth = Model().ToothList()[0].get();
  FGui->Click(tooth->cRes());
  ASSERT_EQ(Model().SelectedTooth(), tooth);
  EXPECT_EQ(Model().MarkerList().size(), 3U);
  EXPECT_FALSE(FForm->PanelInfo()->text().isEmpty());

  // A drag of the centre handle released far outside the display.
  QWidget* display = FForm->View().Display();
  FGui->Hover(tooth->cRes());
  ASSERT_EQ(FForm->ChooserTool().HoverAction(), THandleAction::Translate);
  FGui->Press(tooth->cRes());
  QTest::mouseMove(display, QPoint(-300, 2000));
  QTest::mouseRelease(display, Qt::LeftButton, {}, QPoint(-300, 2000));
  EXPECT_FALSE(FForm->ChooserTool().MouseIsDown());
  EXPECT_GE(tooth->cRes().x, 0.0);
  EXPECT_GE(tooth->cRes().y, 0.0);

  FGui->Click(MakePointDouble(440, 720));
  EXPECT_FALSE(Model().HasSelection());
  EXPECT_TRUE(Model().MarkerList().empty());
  EXPECT_TRUE(FForm->PanelInfo()->text().isEmpty());
}

TEST_F(EditTest, AMessageDuringADragEndsTheDrag) {
  test::AddCanineAndPremolarScene(Model());
  FForm->View().BestFit();
  TTooth* canine = Model().ToothList()[0].get();
  FGui->Click(canine->cRes());
  ASSERT_EQ(Model().SelectedTooth(), canine);
  // The "ligated" message as a real modal box, which takes the mouse release.
  SetMessageHook([this](TMessageKind, const QString& text) {
    FMessages.push_back(text);
    QMessageBox box;
    QTimer::singleShot(0, &box, &QMessageBox::accept);
    box.exec();
    return QMessageBox::Ok;
  });
  FGui->Hover(canine->cRes());
  FGui->Press(canine->cRes());
  FGui->MoveTo(MakePointDouble(canine->cRes().x + 30, canine->cRes().y));
  FGui->KeyOnDisplay(Qt::Key_Delete);
  ASSERT_EQ(FMessages.size(), 1U);
  EXPECT_FALSE(FForm->ChooserTool().MouseIsDown());
  // With no button held the tooth stays where the drag left it.
  const TPointDouble after = canine->cRes();
  FGui->MoveTo(MakePointDouble(after.x, after.y + 50));
  EXPECT_EQ(canine->cRes(), after);
}

TEST_F(EditTest, TranslateSnapsToMillimetresAndShowsPositionAndOffset) {
  ASSERT_TRUE(FForm->SnapGrid());
  FGui->AddTooth(35);
  TTooth* tooth = Model().ToothList()[0].get();
  FGui->Click(tooth->cRes());
  const TPointDouble start = tooth->cRes();
  FGui->Drag(start, MakePointDouble(start.x + 123, start.y - 47));
  const TPointDouble end = tooth->cRes();
  EXPECT_EQ(std::fmod(end.x, 10.0), 0.0);
  EXPECT_EQ(std::fmod(end.y, 10.0), 0.0);
  EXPECT_NEAR(end.x - start.x, 120.0, 10.0);
  EXPECT_EQ(FForm->PanelBottom()->text().toStdString(),
            TranslateReadout(end, MakePointDouble(end.x - start.x, end.y - start.y)));
}

TEST_F(EditTest, TieWireOffersEveryAttachmentButTheOtherEndsAndGivesTheEndHandlesBack) {
  test::AddCanineAndPremolarScene(Model());
  FForm->View().BestFit();
  TWireStraight* wire = Model().WireList()[0].get();
  TAttachment* a = wire->Attachments[0];
  TAttachment* b = wire->Attachments[1];
  FGui->Click(a->Origin());
  ASSERT_EQ(Model().SelectedWire(), wire);
  // Press on end A's handle: five of the six attachments are offered.
  FGui->Hover(a->Origin());
  ASSERT_EQ(FForm->ChooserTool().HoverAction(), THandleAction::TieWire);
  FGui->Press(a->Origin());
  EXPECT_EQ(Model().MarkerList().size(), 5U);
  for (const auto& m : Model().MarkerList()) EXPECT_NE(m->Owner, b);
  // The premolar's Mesial, well away from every other handle at this zoom.
  TAttachment& target = test::AttachmentOf(*Model().ToothList()[1], "Mesial");
  FGui->MoveTo(target.Origin());
  EXPECT_EQ(wire->Attachments[0], &target);
  FGui->MoveTo(MakePointDouble(900, 100));
  FGui->Release(MakePointDouble(900, 100));
  EXPECT_EQ(wire->Attachments[0], &target);
  ASSERT_EQ(Model().MarkerList().size(), 2U);
  EXPECT_EQ(FForm->PanelInfo()->text().toStdString(), wire->Info());
}

TEST_F(EditTest, DuringARunClicksSelectNothingAndDelRemovesNothing) {
  FForm->PanelAutoDblClick();  // Manual Stop
  test::AddCanineAndPremolarScene(Model());
  FForm->View().BestFit();
  std::int64_t stepsAtClicks = -1;
  auto* timer = new QTimer(FForm.get());
  timer->setInterval(0);
  QObject::connect(timer, &QTimer::timeout, timer, [&, timer] {
    if (FForm->RunSteps() < 3) return;
    if (stepsAtClicks < 0) {
      EXPECT_FALSE(FForm->MenuEdit()->menuAction()->isEnabled());
      FGui->Click(Model().WireList()[0]->Attachments[0]->Origin());
      FGui->Click(Model().ToothList()[0]->cRes());
      FGui->KeyOnDisplay(Qt::Key_Delete);
      EXPECT_FALSE(Model().HasSelection());
      stepsAtClicks = FForm->RunSteps();
      return;
    }
    if (FForm->RunSteps() < stepsAtClicks + 3) return;
    FForm->ActionStop()->trigger();
    timer->deleteLater();
  });
  timer->start();
  FGui->ClickToolButton(FForm->ActionRun());
  WaitForRunEnd();
  EXPECT_GE(stepsAtClicks, 3);
  // No "ligated" message and nothing removed.
  EXPECT_TRUE(FMessages.empty());
  EXPECT_EQ(Model().WireList().size(), 1U);
  EXPECT_GE(FForm->RunSteps(), stepsAtClicks + 3);
}

// Answers the next modal dialog once it is up: check sees it, then a click on its button
// of that name closes it.
void AnswerDialog(std::function<void(QDialog&)> check, const char* button = "OKBut") {
  auto* timer = new QTimer(qApp);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, check, button] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    check(*dialog);
    if (auto* close = dialog->findChild<QPushButton*>(button)) {
      QTest::mouseClick(close, Qt::LeftButton);
    } else {
      ADD_FAILURE() << "no button " << button;
    }
    if (dialog->isVisible()) dialog->reject();  // never leave the test in a modal loop
  });
  timer->start();
}

TEST_F(EditTest, ARightClickSelectsAToothAndOpensItsDialogAtRelease) {
  FGui->AddTooth(34);
  TTooth* tooth = Model().ToothList()[0].get();
  bool shown = false;
  FGui->Hover(tooth->cRes());
  FGui->Press(tooth->cRes(), Qt::RightButton);
  EXPECT_EQ(Model().SelectedTooth(), tooth);
  AnswerDialog([&](QDialog& dialog) {
    shown = true;
    EXPECT_EQ(&dialog, static_cast<QDialog*>(FForm->ToothInfDlg()));
    EXPECT_EQ(FForm->ToothInfDlg()->Tooth(), tooth);
  });
  FGui->Release(tooth->cRes(), Qt::RightButton);
  EXPECT_TRUE(shown);
  EXPECT_EQ(Model().MarkerList().size(), 3U);
  EXPECT_EQ(FForm->PanelInfo()->text().toStdString(), tooth->Info());
  // A right click on empty space opens nothing.
  FGui->Click(MakePointDouble(440, 720), Qt::RightButton);
  EXPECT_FALSE(Model().HasSelection());
}

TEST_F(EditTest, WirePropertiesRefreshTheInformationLine) {
  test::AddCanineAndPremolarScene(Model());
  FForm->View().BestFit();
  TWireStraight* wire = Model().WireList()[0].get();
  FGui->Click(wire->Attachments[0]->Origin());
  ASSERT_EQ(Model().SelectedWire(), wire);
  const QString before = FForm->PanelInfo()->text();
  const std::string material = wire->MaterialName();
  AnswerDialog([&](QDialog& dialog) {
    EXPECT_EQ(FForm->WireInfo()->Wire(), wire);
    auto* materials = dialog.findChild<QComboBox*>("WireMaterialCB");
    ASSERT_NE(materials, nullptr);
    materials->setFocus();
    QTest::keyClick(materials, materials->currentIndex() == 0 ? Qt::Key_Down : Qt::Key_Up);
  });
  FGui->ChooseMenu("&Edit", "&Properties");
  EXPECT_NE(wire->MaterialName(), material);
  EXPECT_EQ(FForm->PanelInfo()->text().toStdString(), wire->Info());
  EXPECT_NE(FForm->PanelInfo()->text(), before);
}

// The copied SVG: its size, and whether it holds grid lines, which run across the whole
// model square (0 to 1000 model units).
struct TParsedSvg {
  QString Width;
  QString Height;
  bool HasGrid = false;
  int Elements = 0;
};

TParsedSvg ParseSvg(const QByteArray& svg) {
  TParsedSvg parsed;
  QXmlStreamReader xml(svg);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    ++parsed.Elements;
    const auto attributes = xml.attributes();
    if (xml.name() == QLatin1String("svg")) {
      parsed.Width = attributes.value("width").toString();
      parsed.Height = attributes.value("height").toString();
    }
    static const QRegularExpression gridLine("^(0,(\\d+) 1000,\\2|(\\d+),0 \\3,1000) *$");
    if (gridLine.match(attributes.value("points").toString()).hasMatch()) parsed.HasGrid = true;
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return parsed;
}

TEST_F(EditTest, CopyAsPictureHoldsTheModelSquareAt200MmWithoutHandlesWhateverTheZoom) {
  test::AddCanineAndPremolarScene(Model());
  QClipboard* clipboard = QGuiApplication::clipboard();
  const auto copied = [&] {
    FGui->ChooseMenu("&Edit", "&Copy as Picture");
    const QMimeData* data = clipboard->mimeData();
    return data != nullptr ? data->data("image/svg+xml") : QByteArray();
  };
  const QByteArray withGrid = copied();
  if (withGrid.isEmpty()) GTEST_SKIP() << "this platform keeps no clipboard";
  EXPECT_TRUE(clipboard->mimeData()->hasImage());

  FGui->ChooseMenu("&View", "Show &Grid");
  ASSERT_FALSE(FForm->ShowGrid());
  const QByteArray plain = copied();
  const TParsedSvg parsed = ParseSvg(plain);
  EXPECT_EQ(parsed.Width, "200mm");
  EXPECT_EQ(parsed.Height, parsed.Width);
  EXPECT_FALSE(parsed.HasGrid);
  EXPECT_GT(parsed.Elements, 10);
  EXPECT_TRUE(ParseSvg(withGrid).HasGrid);

  // Another zoom, a scroll and a selection with its handles change nothing.
  FGui->ChooseMenu("&View", "&Zoom In");
  FGui->ChooseMenu("&View", "&Zoom In");
  FGui->Click(Model().ToothList()[0]->cRes());
  ASSERT_FALSE(Model().MarkerList().empty());
  EXPECT_EQ(copied(), plain);
}

TEST_F(EditTest, ZoomToolClicksStepAndBandsZoomToTheirRectangleLeavingNoTrace) {
  // A tooth, so that the display shows the frame alone, without the empty setup's hint.
  FForm->MenuAddToothClick(43);
  FGui->ClickToolButton(FForm->ActionZoom());
  ASSERT_EQ(FForm->CurrentTool(), TMainForm::TTool::Zoom);
  TView& view = FForm->View();
  const std::int32_t zoom = view.ZoomValue();
  FGui->Click(MakePointDouble(300, 700));
  const std::int32_t zoomedIn = view.ZoomValue();
  EXPECT_GT(zoomedIn, zoom);
  FGui->Click(MakePointDouble(300, 700), Qt::RightButton);
  EXPECT_LT(view.ZoomValue(), zoomedIn);

  // A band down and to the right: shown inverted over the frame, never in the buffer.
  const QImage before = Buffer();
  FGui->Hover(MakePointDouble(200, 800));
  FGui->Press(MakePointDouble(200, 800));
  FGui->MoveTo(MakePointDouble(300, 700));
  FGui->MoveTo(MakePointDouble(400, 600));
  EXPECT_EQ(Buffer(), before);
  EXPECT_NE(Shown(), before);
  FGui->Release(MakePointDouble(400, 600));
  EXPECT_EQ(Shown(), Buffer());
  const TPoint centre = view.CentreModelPoint();
  EXPECT_NEAR(centre.x, 300, 10);
  EXPECT_NEAR(centre.y, 700, 10);
  const std::int32_t banded = view.ZoomValue();
  EXPECT_GT(banded, zoom);

  // Down and to the left.
  FGui->Drag(MakePointDouble(330, 690), MakePointDouble(270, 660));
  EXPECT_GT(view.ZoomValue(), banded);
  EXPECT_NEAR(view.CentreModelPoint().x, 300, 5);
  EXPECT_NEAR(view.CentreModelPoint().y, 675, 5);
  EXPECT_EQ(Shown(), Buffer());
}

}  // namespace
}  // namespace orvela
