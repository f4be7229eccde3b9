#include <QAction>
#include <QFileInfo>

#include "platform/dialogs.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/tableform_shared.h"

namespace velmora {

// The operational-automaton description of the table: its *.oa file beside the table file and
// the commands of the ОА menu that open, save, create and delete it.

using namespace tableform;

namespace {
const QString kOaFilter = QStringLiteral("Операционный автомат (*.oa)|*.oa");
}  // namespace

bool TVexoTableForm::saveOaTo(const QString& path) {
  QString err;
  if (!OaFile::write(path, doc_->oa(), &err)) {
    dlg::message(this, err, kError, dlg::Ok, dlg::Warning);
    return false;
  }
  return true;
}

bool TVexoTableForm::OASaveOA() { return saveOaTo(doc_->oaFileName()); }

OaFile::Result TVexoTableForm::loadOa(const QString& name) {
  QString err;
  const OaFile::Result r = OaFile::read(name, &doc_->oa(), &err);
  switch (r) {
    case OaFile::NoFile: break;
    case OaFile::BadHeader: dlg::message(this, err, kError, dlg::Ok, dlg::Warning); break;
    case OaFile::Malformed:
      dlg::message(this, err, kError, dlg::Ok, dlg::Warning);  // the description is as it was
      break;
    case OaFile::Read:
      OAModel_->setEnabled(true);
      setCorner(QStringLiteral("[+]"));
      break;
  }
  return r;
}

bool TVexoTableForm::OAOpenOA(const QString& name, bool companion) {
  // Opening a table with a foreign companion file is refused; a file chosen by hand is not.
  return !(loadOa(name) == OaFile::BadHeader && companion);
}

void TVexoTableForm::OAOpenClick() {
  if (doc_->isLocked()) return;  // a window built its model from the description
  const QString path = dlg::openFile(this, kOaFilter, dialogDir(doc_->oaFileName()));
  if (path.isEmpty()) return;
  // A file that could not be read keeps the old name, so a later save does not overwrite it.
  const OaFile::Result r = loadOa(path);
  if (r == OaFile::Read || r == OaFile::NoFile) doc_->setOaFileName(path);
}

bool TVexoTableForm::OASaveSrazuClick() {
  if (doc_->oaFileName() == kUntitled) return OASaveClick();
  if (!OASaveOA()) return false;
  doc_->setOaModified(false);
  return true;
}

bool TVexoTableForm::OASaveClick() {
  QString path =
      dlg::saveFile(this, kOaFilter, dialogDir(doc_->oaFileName()), QFileInfo(doc_->oaFileName()).fileName());
  if (path.isEmpty()) return false;
  path = withDefaultExtension(path, QStringLiteral("oa"));
  doc_->setOaFileName(path);
  if (!OASaveOA()) return false;
  doc_->setOaModified(false);
  return true;
}

void TVexoTableForm::OADeleteClick() {
  if (doc_->isLocked()) return;
  doc_->oa().oaPresent = false;
  OAModel_->setEnabled(false);
  setCorner(QStringLiteral("[-]"));
}

void TVexoTableForm::OACreateClick() {
  if (!doc_->oaPresent()) OAClick();
}

}  // namespace velmora
