#include "velmora/frameapi/frame.h"
#include "velmora/documents/docwindow_common.h"
#include "velmora/documents/tableform.h"

// The windows that work on the operational-automaton description: the designer, the ОА model
// window and the joint model. Each table has at most one of each; they lock the grid. The
// frame makes them: a table outside a frame opens none.

QString TVexoTableForm::oaEditHint() {
  return QStringLiteral("Идет процесс редактирования или моделирования ОА");
}
QString TVexoTableForm::jointModelHint() { return QStringLiteral("Идет процесс моделирования"); }

void TVexoTableForm::lockGrid(TDocChild* holder, const QString& hint) {
  if (!holder) return;
  for (int i = 0; i < gridLocks_.size(); ++i)
    if (gridLocks_[i].holder == holder) gridLocks_.removeAt(i--);
  gridLocks_ << GridLock{holder, hint};
  applyGridLocks();
}

void TVexoTableForm::unlockGrid(TDocChild* holder) {
  bool found = false;
  for (int i = 0; i < gridLocks_.size(); ++i) {
    // A holder already gone lets go as well.
    if (gridLocks_[i].holder == holder || gridLocks_[i].holder.isNull()) {
      gridLocks_.removeAt(i--);
      found = true;
    }
  }
  if (found) applyGridLocks();
}

int TVexoTableForm::gridLockCount() const {
  int n = 0;
  for (const GridLock& l : gridLocks_)
    if (l.holder) ++n;
  return n;
}

QList<TDocChild*> TVexoTableForm::gridLockHolders() const {
  QList<TDocChild*> out;
  for (const GridLock& l : gridLocks_)
    if (l.holder) out << l.holder.data();
  return out;
}

void TVexoTableForm::applyGridLocks() {
  QString hint;
  bool locked = false;
  for (const GridLock& l : gridLocks_) {
    if (!l.holder) continue;
    locked = true;
    hint = l.hint;  // the holder that locked last
  }
  if (locked)
    setGridLocked(true, hint);
  else if (gridLocked())
    setGridLocked(false);
  if (OAOpen_) OAOpen_->setEnabled(!locked);
  if (OADelete_) OADelete_->setEnabled(!locked);
}

bool TVexoTableForm::askLockHolders() {
  for (TDocChild* h : gridLockHolders())
    if (!docwin::askOwned(h)) return false;
  return true;
}

void TVexoTableForm::closeLockHolders() {
  QList<QPointer<TDocChild>> holders;
  for (TDocChild* h : gridLockHolders()) holders << h;
  for (const QPointer<TDocChild>& h : holders) docwin::closeOwned(h);
  gridLocks_.clear();
  if (gridLocked()) setGridLocked(false);
}

void TVexoTableForm::OAClick() {
  if (!oaEditOpen && frame()) frame()->openOaWindow(TFrame::OaWindow::Designer, this);
}

void TVexoTableForm::OAModelClick() {
  if (!oa.oaPresent || oaModelOpen) return;
  if (frame()) frame()->openOaWindow(TFrame::OaWindow::Model, this);
}
