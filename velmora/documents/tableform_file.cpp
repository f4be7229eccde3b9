#include <QDir>
#include <QFileInfo>

#include "common/gui/tablegrid.h"
#include "common/gui/tblwarning.h"
#include "common/tblfile.h"
#include "platform/dialogs.h"
#include "platform/docwindow.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/tableform_shared.h"

namespace velmora {

// Reading and writing the table file, and the question asked when a modified table closes.

using namespace tableform;

namespace {
const QString kTblFilter = QStringLiteral("Таблица переходов (*.tbl)|*.tbl");
}  // namespace

void TVexoTableForm::updateCaptionFromPath(const QString& path) {
  setWindowTitle(QFileInfo(path).fileName());
}

QString TVexoTableForm::companionOaName(const QString& tablePath) {
  const QFileInfo fi(tablePath);
  return QDir(fi.path()).filePath(fi.completeBaseName() + QStringLiteral(".oa"));
}

bool TVexoTableForm::Open(const QString& path) {
  doc_->setFileName(path);
  doc_->setOaFileName(path);
  updateCaptionFromPath(path);
  // Straight from the file's bytes into the grid: a string per cell would cost several times the file.
  QString err, coding;
  int ignored = 0;
  if (!table_->openFile(path, &coding, &ignored, &err)) {
    dlg::message(this, err, kError, dlg::Ok, dlg::Warning);
    return false;
  }
  doc_->setSignalCoding(coding == TblFile::abstractTag() ? 1 : 0);
  CheckTableFilled();
  warnIgnoredTableLines(this, ignored);
  // The description lives next to the table, whatever the current directory is.
  doc_->setOaFileName(companionOaName(path));
  if (!OAOpenOA(doc_->oaFileName(), true)) return false;
  doc_->setModified(false);
  return true;
}

bool TVexoTableForm::Save1Click() {
  commitOpenEditor();
  // A table with no file of its own (a new one, or one a command filled under a caption of its
  // own) is never written to a file named "Untitled": it asks where to go.
  if (windowTitle() == kUntitledCaption || doc_->fileName() == kUntitled) {
    doc_->setFileName(kUntitled);
    return Saveas1Click();
  }
  return writeTable(doc_->fileName());
}

bool TVexoTableForm::writeTable(const QString& path) {
  QString err;
  if (!table_->writeFile(path, doc_->signalCoding() == 1 ? TblFile::abstractTag() : TblFile::binaryTag(),
                         &err)) {
    dlg::message(this, err, kError, dlg::Ok, dlg::Warning);
    return false;  // still modified
  }
  doc_->setModified(false);
  setStatusPanel(0, QString());
  return true;
}

bool TVexoTableForm::Saveas1Click() {
  QString path =
      dlg::saveFile(this, kTblFilter, dialogDir(doc_->fileName()), QFileInfo(doc_->fileName()).fileName());
  if (path.isEmpty()) return false;
  path = withDefaultExtension(path, QStringLiteral("tbl"));
  // The window takes the new name only once the table is written there.
  commitOpenEditor();
  if (!writeTable(path)) return false;
  doc_->setFileName(path);
  doc_->setOaFileName(companionOaName(path));
  updateCaptionFromPath(path);
  return true;
}

bool TVexoTableForm::FormCloseQuery() {
  // A cancelled or failed save keeps the window: the changes would be lost.
  bool allow =
      docwin::askToSave(this, doc_->isModified(),
                        QStringLiteral("Сохранить изменения в файл таблицы переходов ") + doc_->fileName(),
                        [this] { return Save1Click(); });
  // Asked whatever the first answer was.
  if (!docwin::askToSave(
          this, doc_->isOaModified(),
          QStringLiteral("Сохранить изменения в файл операционного автомата ") + doc_->oaFileName(),
          [this] { return OASaveSrazuClick(); }))
    allow = false;
  return allow;
}

}  // namespace velmora
