#pragma once
// The document of a transition-table window, apart from its view: the names of the table file
// and of its *.oa companion, the modified and compiled flags, the operational-automaton
// description and the locks the windows working on that description hold on the table.
//
// The rows themselves stay in the window's grid model (shared with the second program). Every
// change of state is a signal, emitted once per real change, so the table window and the
// windows that work on the description observe the document instead of writing each other.
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QString>

#include "common/tabledocument.h"
#include "velmora/documents/formats/oafile.h"

namespace velmora {

// The file's name, the modified flag and the coding are the ones both programs keep.
class TTableDocument : public TableDocument {
  Q_OBJECT
 public:
  // Who works on the description. The designer and the ОА model window each stop the grid
  // from being edited with the same hint; the joint model with its own.
  enum class LockRole { Designer, Model, JointModel };

  explicit TTableDocument(QObject* parent = nullptr);
  ~TTableDocument() override;

  static QString oaEditHint();  // "Идет процесс редактирования или моделирования ОА"
  static QString jointModelHint();  // "Идет процесс моделирования"

  QString oaFileName() const { return oaFileName_; }
  void setOaFileName(const QString& name);

  bool isOaModified() const { return oaModified_; }
  void setOaModified(bool modified);
  // The compiled file of the table is up to date.
  bool isCompiled() const { return compiled_; }
  void setCompiled(bool compiled);

  // The windows working on the description borrow its lists and edit them in place.
  OaDescription& oa() { return oa_; }
  const OaDescription& oa() const { return oa_; }
  bool oaPresent() const { return oa_.oaPresent; }
  // The designer applied its edits: the description exists and is modified.
  void applyDescription();

  // A holder locks once; locking again only changes its role. A holder that is destroyed lets
  // go by itself. The hint is the one of the holder that locked last.
  void lock(QObject* holder, LockRole role);
  void unlock(QObject* holder);  // a holder without a lock changes nothing
  bool isLocked() const { return !locks_.isEmpty(); }
  int lockCount() const { return int(locks_.size()); }
  QList<QObject*> lockHolders() const;
  QString lockHint() const;
  // A designer, or an ОА model window, is open on the description.
  bool designerOpen() const { return holds(LockRole::Designer); }
  bool modelOpen() const { return holds(LockRole::Model); }

 signals:
  void oaFileNameChanged(const QString& name);
  void oaModifiedChanged(bool modified);
  void compiledChanged(bool compiled);
  void descriptionApplied();
  void lockChanged();

 private:
  struct Lock {
    QObject* holder;
    LockRole role;
    QMetaObject::Connection gone;
  };
  bool holds(LockRole role) const;

  QString oaFileName_;
  bool oaModified_ = false;
  bool compiled_ = false;
  OaDescription oa_;
  QList<Lock> locks_;
};

}  // namespace velmora
