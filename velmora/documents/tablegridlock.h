#pragma once
// The grid lock one operational-automaton window holds on its table: taken when the window
// starts working on the table's description, given back by release() or when the lock object
// goes (so a window deleted with its owner lets go too). A table that is gone is not touched.
#include <QPointer>
#include <QString>

#include "velmora/documents/tableform.h"

class TableGridLock {
 public:
  explicit TableGridLock(TDocChild* holder) : holder_(holder) {}
  ~TableGridLock() { release(); }
  TableGridLock(const TableGridLock&) = delete;
  TableGridLock& operator=(const TableGridLock&) = delete;

  // Locks `table` for the holder with `hint`; a lock held on another table is given back first.
  void acquire(TVexoTableForm* table, const QString& hint) {
    if (table_ && table_ != table) release();
    table_ = table;
    if (table_) table_->lockGrid(holder_, hint);
  }
  void release() {
    if (table_) table_->unlockGrid(holder_);
    table_ = nullptr;
  }
  bool held() const { return !table_.isNull(); }
  TVexoTableForm* table() const { return table_; }

 private:
  TDocChild* holder_;
  QPointer<TVexoTableForm> table_;
};
