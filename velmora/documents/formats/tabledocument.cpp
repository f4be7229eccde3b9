#include "velmora/documents/formats/tabledocument.h"

namespace velmora {

TTableDocument::TTableDocument(QObject* parent) : TableDocument(parent), oaFileName_(untitled()) {}

TTableDocument::~TTableDocument() {
  for (const Lock& l : locks_) disconnect(l.gone);
}

QString TTableDocument::oaEditHint() {
  return QStringLiteral("Идет процесс редактирования или моделирования ОА");
}
QString TTableDocument::jointModelHint() { return QStringLiteral("Идет процесс моделирования"); }

void TTableDocument::setOaFileName(const QString& name) {
  if (oaFileName_ == name) return;
  oaFileName_ = name;
  emit oaFileNameChanged(name);
}

void TTableDocument::setOaModified(bool modified) {
  if (oaModified_ == modified) return;
  oaModified_ = modified;
  emit oaModifiedChanged(modified);
}

void TTableDocument::setCompiled(bool compiled) {
  if (compiled_ == compiled) return;
  compiled_ = compiled;
  emit compiledChanged(compiled);
}

void TTableDocument::applyDescription() {
  oa_.oaPresent = true;
  setOaModified(true);
  // The lists were edited in place: every apply is a change.
  emit descriptionApplied();
}

void TTableDocument::lock(QObject* holder, LockRole role) {
  if (!holder) return;
  for (int i = 0; i < locks_.size(); ++i) {
    if (locks_[i].holder != holder) continue;
    Lock l = locks_.takeAt(i);
    const bool same = l.role == role && i == locks_.size();
    l.role = role;
    locks_ << l;  // the holder that locked last names the hint
    if (!same) emit lockChanged();
    return;
  }
  QMetaObject::Connection gone =
      connect(holder, &QObject::destroyed, this, [this, holder] { unlock(holder); });
  locks_ << Lock{holder, role, gone};
  emit lockChanged();
}

void TTableDocument::unlock(QObject* holder) {
  for (int i = 0; i < locks_.size(); ++i) {
    if (locks_[i].holder != holder) continue;
    disconnect(locks_.takeAt(i).gone);
    emit lockChanged();
    return;
  }
}

QList<QObject*> TTableDocument::lockHolders() const {
  QList<QObject*> out;
  for (const Lock& l : locks_) out << l.holder;
  return out;
}

QString TTableDocument::lockHint() const {
  if (locks_.isEmpty()) return QString();
  return locks_.last().role == LockRole::JointModel ? jointModelHint() : oaEditHint();
}

bool TTableDocument::holds(LockRole role) const {
  for (const Lock& l : locks_)
    if (l.role == role) return true;
  return false;
}

}  // namespace velmora
