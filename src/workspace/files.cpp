// The setup as a document: its file, the questions before it is discarded, the undo steps
// of the user actions, and the recovery copy of unsaved work.

#include "util/files.h"

#include <algorithm>
#include <string>

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QUndoStack>

#include "document/runhistory.h"
#include "document/setupfile.h"
#include "platform/messages.h"
#include "tools/tools.h"
#include "workspace/mainform.h"
#include "workspace/view.h"

namespace orvela {

namespace {

const QString SetupFilter = QStringLiteral("Orvela setups (*.orvela)");

// Every saved setup ends in ".orvela"; a name typed without it gets it.
QString WithSetupExtension(const QString& path) {
  const QString extension = QString::fromUtf8(SetupFileExtension.data(),
                                              static_cast<qsizetype>(SetupFileExtension.size()));
  return path.endsWith(extension, Qt::CaseInsensitive) ? path : path + extension;
}

}  // namespace

QString TMainForm::DocumentName() const {
  return FFilePath.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(FFilePath).fileName();
}

void TMainForm::UpdateCaption() {
  const bool modified = !FUndoStack->isClean();
  setWindowTitle(QStringLiteral("Orvela [") + DocumentName() +
                 (modified ? QStringLiteral("*") : QString()) + QStringLiteral("]"));
}

// User actions --------------------------------------------------------------------------

void TMainForm::BeginChange() {
  if (FChangeBefore) return;
  FChangeBefore = CaptureState(*FSetup);
}

void TMainForm::EndChange(const QString& what) {
  if (!FChangeBefore) return;
  TSetupState before = std::move(*FChangeBefore);
  FChangeBefore.reset();
  TSetupState after = CaptureState(*FSetup);
  if (after.Document == before.Document) return;
  FUndoStack->push(new TSetupChange(what, std::move(before), std::move(after),
                                    [this](const TSetupState& state) { ApplyState(state); }));
}

void TMainForm::ApplyState(const TSetupState& state) {
  ActiveTool().Cancel();
  RestoreState(state, *FSetup);
  FSelectTool->ClearHover();
  FPanelInfo->setText(QString::fromStdString(FSetup->SelectionInfo()));
  UpdateMenu();
  FView->DrawDisplay();
}

// Files ---------------------------------------------------------------------------------

bool TMainForm::AskAndSave() {
  if (FUndoStack->isClean()) return true;
  const QMessageBox::StandardButton answer = ShowMessage(
      this, TMessageKind::Confirmation, QStringLiteral("Save changes to %1?").arg(DocumentName()),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
  if (answer == QMessageBox::Save) return ActionSaveExecute();
  return answer == QMessageBox::Discard;
}

bool TMainForm::OpenFile(const QString& path) {
  TSetupFileError error;
  const std::optional<TSetupDocument> doc = LoadSetupFile(path.toStdString(), error);
  if (!doc) {
    ShowMessage(
        this, TMessageKind::Error,
        QStringLiteral("Could not open the setup:\n%1").arg(QString::fromStdString(error.Text())));
    return false;
  }
  TakeDocument(*doc, QStringLiteral("Open"));
  FUndoStack->setClean();
  FFilePath = QFileInfo(path).absoluteFilePath();
  AddRecentFile(FFilePath);
  UpdateCaption();
  return true;
}

void TMainForm::TakeDocument(const TSetupDocument& doc, const QString& what) {
  ActiveTool().Cancel();
  BeginChange();
  // LoadSetupFile has checked the document, so it always holds together.
  RestoreSetup(doc, *FSetup);
  EndChange(what);
  FSelectTool->ClearHover();
  FPanelInfo->clear();
  UpdateMenu();
  ShowDocumentView(doc.View);
}

TSetupDocument TMainForm::DocumentWithView() const {
  TSetupDocument doc = CaptureSetup(*FSetup);
  doc.View.Zoom = FView->Mapping().ZoomValue;
  doc.View.ScrollX = FView->Mapping().H;
  doc.View.ScrollY = FView->Mapping().V;
  doc.View.ForceScale = FForceDrawing.Scale;
  return doc;
}

void TMainForm::ShowDocumentView(const TSetupView& view) {
  FForceDrawing.Scale = view.ForceScale;
  // A file that keeps no view of its own (as one written by hand) shows all of its setup.
  if (view == TSetupView{}) {
    FView->BestFit();
  } else {
    FView->ShowAt(view.Zoom, view.ScrollX, view.ScrollY);
  }
}

bool TMainForm::SaveFile(const QString& path) {
  TSetupFileError error;
  if (!SaveSetupFile(path.toStdString(), DocumentWithView(), error)) {
    ShowMessage(
        this, TMessageKind::Error,
        QStringLiteral("Could not save the setup:\n%1").arg(QString::fromStdString(error.Text())));
    return false;
  }
  FFilePath = QFileInfo(path).absoluteFilePath();
  FUndoStack->setClean();
  RemoveRecovery();
  AddRecentFile(FFilePath);
  UpdateCaption();
  return true;
}

void TMainForm::ActionOpenExecute() {
  if (!AskAndSave()) return;
  const QString start = FFilePath.isEmpty() ? QDir::homePath() : QFileInfo(FFilePath).path();
  const QString path =
      QFileDialog::getOpenFileName(this, QStringLiteral("Open Setup"), start, SetupFilter);
  if (!path.isEmpty()) OpenFile(path);
}

bool TMainForm::ActionSaveExecute() {
  if (FFilePath.isEmpty()) return MenuFileSaveAsClick();
  return SaveFile(FFilePath);
}

bool TMainForm::MenuFileSaveAsClick() {
  const QString start = FFilePath.isEmpty()
                            ? QDir(QDir::homePath()).filePath(QStringLiteral("Untitled.orvela"))
                            : FFilePath;
  const QString path =
      QFileDialog::getSaveFileName(this, QStringLiteral("Save Setup As"), start, SetupFilter);
  if (path.isEmpty()) return false;
  return SaveFile(WithSetupExtension(path));
}

void TMainForm::AddRecentFile(const QString& path) {
  std::vector<std::string>& recent = FPrefs.RecentFiles;
  const std::string file = path.toStdString();
  // Files that have gone since leave the list now.
  std::erase_if(recent, [&file](const std::string& f) {
    return f == file || !QFileInfo::exists(QString::fromStdString(f));
  });
  recent.insert(recent.begin(), file);
  if (recent.size() > MaxRecentFiles) recent.resize(MaxRecentFiles);
  UpdateRecentMenu();
}

void TMainForm::UpdateRecentMenu() {
  FMenuFileRecent->clear();
  int number = 0;
  for (const std::string& file : FPrefs.RecentFiles) {
    const QString path = QString::fromStdString(file);
    ++number;
    QAction* entry = FMenuFileRecent->addAction(
        QStringLiteral("&%1 %2").arg(number).arg(QFileInfo(path).fileName()));
    entry->setStatusTip(path);
    entry->setToolTip(path);
    // A file that has gone is shown greyed, and dropped when it is chosen.
    if (!QFileInfo::exists(path)) entry->setEnabled(false);
    connect(entry, &QAction::triggered, this, [this, path] {
      if (!QFileInfo::exists(path)) {
        auto& recent = FPrefs.RecentFiles;
        recent.erase(std::remove(recent.begin(), recent.end(), path.toStdString()), recent.end());
        UpdateRecentMenu();
        return;
      }
      if (AskAndSave()) OpenFile(path);
    });
  }
  FMenuFileRecent->setEnabled(number > 0);
}

// Examples and the history --------------------------------------------------------------

namespace {

// "class-3" → "Class III", "lower-arch" → "Lower arch", "v-bend-third" → "V-bend third".
QString ExampleCaption(const QString& baseName) {
  static const QStringList Roman{QStringLiteral("I"),  QStringLiteral("II"), QStringLiteral("III"),
                                 QStringLiteral("IV"), QStringLiteral("V"),  QStringLiteral("VI")};
  QString caption = baseName;
  caption.replace(QLatin1Char('-'), QLatin1Char(' '));
  caption.replace(QStringLiteral("v bend"), QStringLiteral("V-bend"));
  if (caption.startsWith(QStringLiteral("class "))) {
    bool number = false;
    const int n = caption.mid(6).toInt(&number);
    if (number && n >= 1 && n <= Roman.size()) caption = QStringLiteral("class ") + Roman[n - 1];
  }
  if (!caption.isEmpty()) caption[0] = caption[0].toUpper();
  return caption;
}

}  // namespace

void TMainForm::FillExamplesMenu() {
  FMenuFileExamples->clear();
  const QDir folder(QString::fromStdString(FStartup.CommonDataFolder) +
                    QStringLiteral("../../examples"));
  QFileInfoList files =
      folder.entryInfoList({QStringLiteral("*.orvela")}, QDir::Files | QDir::Readable, QDir::Name);
  // The six classes first, in their order, then the rest by name.
  std::stable_partition(files.begin(), files.end(), [](const QFileInfo& f) {
    return f.baseName().startsWith(QStringLiteral("class-"));
  });
  for (const QFileInfo& file : files) {
    const QString path = file.absoluteFilePath();
    QAction* entry = FMenuFileExamples->addAction(ExampleCaption(file.completeBaseName()));
    entry->setStatusTip(
        QStringLiteral("Open the example setup %1 as a new setup.").arg(file.fileName()));
    connect(entry, &QAction::triggered, this, [this, path] { OpenExample(path); });
  }
  FMenuFileExamples->setEnabled(!files.isEmpty());
}

void TMainForm::OpenExample(const QString& path) {
  if (!AskAndSave()) return;
  TSetupFileError error;
  const std::optional<TSetupDocument> doc = LoadSetupFile(path.toStdString(), error);
  if (!doc) {
    ShowMessage(this, TMessageKind::Error,
                QStringLiteral("Could not open the example:\n%1")
                    .arg(QString::fromStdString(error.Text())));
    return;
  }
  TakeDocument(*doc, QStringLiteral("Open Example"));
  // A new setup made from the example: saving it never writes over the shipped file.
  FUndoStack->setClean();
  FFilePath.clear();
  UpdateCaption();
}

void TMainForm::MenuFileExportHistoryClick() {
  const QString start =
      FExportHistoryPath.isEmpty()
          ? QDir(FFilePath.isEmpty() ? QDir::homePath() : QFileInfo(FFilePath).path())
                .filePath(QFileInfo(DocumentName()).completeBaseName() +
                          QStringLiteral(" history.csv"))
          : FExportHistoryPath;
  QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export History"), start,
                                              QStringLiteral("CSV files (*.csv)"));
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) path += QStringLiteral(".csv");
  std::string why;
  if (!ReplaceFileText(path.toStdString(), HistoryCsv(*FSetup->History()), &why)) {
    ShowMessage(this, TMessageKind::Error,
                QStringLiteral("Could not export the history to %1:\n%2")
                    .arg(QDir::toNativeSeparators(path), QString::fromStdString(why)));
    return;
  }
  FExportHistoryPath = path;
}

// Recovery --------------------------------------------------------------------------------

QString TMainForm::RecoveryPath() const {
  return QString::fromStdString(FStartup.UserDataFolder) +
         QStringLiteral("Recovery/Unsaved setup.orvela");
}

void TMainForm::WriteRecovery() {
  if (FUndoStack->isClean()) {
    RemoveRecovery();
    return;
  }
  if (FUndoStack->index() == FRecoveryIndex) return;
  const QString path = RecoveryPath();
  QDir().mkpath(QFileInfo(path).path());
  TSetupFileError error;
  if (!SaveSetupFile(path.toStdString(), DocumentWithView(), error)) return;
  // The file it belongs to, for the caption after a restore.
  QFile origin(path + QStringLiteral(".file"));
  if (origin.open(QIODevice::WriteOnly | QIODevice::Truncate)) origin.write(FFilePath.toUtf8());
  FRecoveryIndex = FUndoStack->index();
}

void TMainForm::RemoveRecovery() {
  QFile::remove(RecoveryPath());
  QFile::remove(RecoveryPath() + QStringLiteral(".file"));
  FRecoveryIndex = -1;
}

void TMainForm::OfferRecovery() {
  const QString path = RecoveryPath();
  const QFileInfo info(path);
  if (!info.exists()) return;
  const QMessageBox::StandardButton answer = ShowMessage(
      this, TMessageKind::Confirmation,
      QStringLiteral("Orvela was closed on %1 with changes that were not saved. Restore them?")
          .arg(QLocale().toString(info.lastModified(), QLocale::ShortFormat)),
      QMessageBox::Yes | QMessageBox::No);
  if (answer != QMessageBox::Yes) {
    RemoveRecovery();
    return;
  }
  TSetupFileError error;
  const std::optional<TSetupDocument> doc = LoadSetupFile(path.toStdString(), error);
  if (!doc) {
    ShowMessage(this, TMessageKind::Error,
                QStringLiteral("The unsaved changes could not be restored:\n%1")
                    .arg(QString::fromStdString(error.Text())));
    RemoveRecovery();
    return;
  }
  QFile origin(path + QStringLiteral(".file"));
  const QString file =
      origin.open(QIODevice::ReadOnly) ? QString::fromUtf8(origin.readAll()) : QString();
  TakeDocument(*doc, QStringLiteral("Restore Unsaved Changes"));
  // The restored work is not saved anywhere yet: it stays marked modified.
  FFilePath = file;
  UpdateCaption();
}

}  // namespace orvela
