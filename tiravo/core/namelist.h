#pragma once
// A list of names that may be made only when read. A determinized table has one
// name per state, long ones, and most are never shown: its list holds a maker and
// makes a name when it is first read, or all of them when the whole list is asked for.
// Any other list is a plain QStringList.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class NameList {
 public:
  using Maker = std::function<QString(int)>;  // the name at a 0-based position

  NameList() = default;
  NameList(const QStringList& names) : names_(names) {}  // NOLINT: a plain list is a name list
  NameList(int count, Maker maker);
  NameList& operator=(const QStringList& names);

  int size() const { return maker_ ? count_ : int(names_.size()); }
  bool isEmpty() const { return size() == 0; }
  // 0-based, within the list.
  const QString& at(int i) const;
  const QString& first() const { return at(0); }
  QString join(QChar separator) const { return All().join(separator); }
  // How many names are made so far: all of a plain list.
  int Made() const { return maker_ ? madeCount_ : size(); }

  // The whole list, every name made.
  const QStringList& All() const;
  // Builds every name: asked for by name (All() or this cast), never in passing.
  explicit operator const QStringList&() const { return All(); }
  // The whole list, to change: a plain list from then on.
  QStringList& Edit();
  NameList& operator<<(const QString& name);

  friend bool operator==(const NameList& a, const NameList& b) { return a.All() == b.All(); }
  friend bool operator==(const NameList& a, const QStringList& b) { return a.All() == b; }
  friend bool operator==(const QStringList& a, const NameList& b) { return a == b.All(); }
  friend bool operator!=(const NameList& a, const NameList& b) { return !(a == b); }

 private:
  mutable QStringList names_;
  void Forget() const;  // a plain list from then on

  // With a maker: count_ names, made_[i] when names_[i] holds name i.
  mutable Maker maker_;
  mutable int count_ = 0;
  mutable std::vector<bool> made_;
  mutable int madeCount_ = 0;
};
