#pragma once
// The lock one operational-automaton window holds on its table's document: taken when the
// window starts working on the description, given back by release() or when the lock object
// goes (so a window deleted with its owner lets go too). A table that is gone is not touched.
#include <QPointer>

#include "velmora/documents/tableform.h"

namespace velmora {

class TableGridLock {
 public:
  using Role = TTableDocument::LockRole;
  TableGridLock(QObject* holder, Role role) : holder_(holder), role_(role) {}
  ~TableGridLock() { release(); }
  TableGridLock(const TableGridLock&) = delete;
  TableGridLock& operator=(const TableGridLock&) = delete;

  // Locks `table` for the holder; a lock held on another table is given back first.
  void acquire(TVexoTableForm* table) {
    if (table_ && table_ != table) release();
    table_ = table;
    doc_ = table ? table->document() : nullptr;
    if (doc_) doc_->lock(holder_, role_);
  }
  void release() {
    if (doc_) doc_->unlock(holder_);
    table_ = nullptr;
    doc_ = nullptr;
  }
  bool held() const { return !table_.isNull(); }
  TVexoTableForm* table() const { return table_; }

 private:
  QObject* holder_;
  Role role_;
  QPointer<TVexoTableForm> table_;
  QPointer<TTableDocument> doc_;
};

}  // namespace velmora
