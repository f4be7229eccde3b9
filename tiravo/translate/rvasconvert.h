#pragma once
// Tiravo's РВАС to СКУ converter: the checked expression becomes canonical equations. A
// product of more than two factors is cut into steps through fresh events, an iteration group
// becomes a loop through the event it defines, and a bracket group is multiplied out.
#include <QSet>
#include <QString>
#include <QStringList>

namespace tiravo {

class RvasConverter {
 public:
  // `compacted`: a text that passed checkRvas. Returns the СКУ lines: "sku:", the equations
  // (fresh ones before the one that made them), and "svf:" with one line per output when the
  // left side has an output list.
  QStringList convert(const QString& compacted);
  int freshEvents() const { return counter_; }
  int branches() const { return branches_; }  // top-level alternatives

 private:
  // `alone`: the alternative is the whole right side of its equation.
  void dis(const QString& target, const QString& rhs, QString* eq, bool alone = true);
  void alternatives(const QString& target, const QStringList& alts, QString* eq, bool alone);
  void line(QString target, QStringList factors, QString* eq, bool alone);
  void group(const QString& target, const QStringList& prefix, const QString& last, QString* eq, bool alone);
  QString fresh();

  QStringList out_;
  QSet<qint64> used_;  // the numbers of the text's names s<number>: fresh events never take one
  int counter_ = 0;
  int branches_ = 0;
};

}  // namespace tiravo
