#include <QAction>

#include "velmora/frameapi/frame.h"
#include "velmora/documents/docwindow_common.h"
#include "velmora/documents/tableform.h"

namespace velmora {

// The windows that work on the operational-automaton description: the designer, the ОА model
// window and the joint model. Each table has at most one of each; they lock the document, and
// the grid follows. The frame makes them: a table outside a frame opens none.

namespace {

QList<TDocChild*> lockHolders(const TTableDocument* doc) {
  QList<TDocChild*> out;
  for (QObject* h : doc->lockHolders())
    if (auto* w = qobject_cast<TDocChild*>(h)) out << w;
  return out;
}

}  // namespace

void TVexoTableForm::applyGridLocks() {
  const bool locked = doc_->isLocked();
  if (locked)
    setGridLocked(true, doc_->lockHint());
  else if (gridLocked())
    setGridLocked(false);
  if (OAOpen_) OAOpen_->setEnabled(!locked);
  if (OADelete_) OADelete_->setEnabled(!locked);
}

bool TVexoTableForm::askLockHolders() {
  for (TDocChild* h : lockHolders(doc_))
    if (!docwin::askOwned(h)) return false;
  return true;
}

void TVexoTableForm::closeLockHolders() {
  QList<QPointer<TDocChild>> holders;
  for (TDocChild* h : lockHolders(doc_)) holders << h;
  for (const QPointer<TDocChild>& h : holders) docwin::closeOwned(h);
  for (QObject* h : doc_->lockHolders()) doc_->unlock(h);
  if (gridLocked()) setGridLocked(false);
}

void TVexoTableForm::OAClick() {
  if (!doc_->designerOpen() && frame()) frame()->openOaWindow(TFrame::OaWindow::Designer, this);
}

void TVexoTableForm::OAModelClick() {
  if (!doc_->oaPresent() || doc_->modelOpen()) return;
  if (frame()) frame()->openOaWindow(TFrame::OaWindow::Model, this);
}

}  // namespace velmora
