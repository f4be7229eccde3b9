#pragma once
// Tiravo's РВАС to СКУ converter: the checked expression becomes canonical equations. A
// product of more than two factors is cut into steps through fresh events, an iteration group
// becomes a loop through the event it defines, and a bracket group is multiplied out.
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <deque>
#include <memory>
#include <vector>

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
  // The factors of a product are views into the text or into the fresh names, held on one
  // stack; a product is a range of it.
  struct Span {
    int from = 0, to = 0;
    int size() const { return to - from; }
  };
  // An alternative still to be cut into factors: the factors of `prefix`, then `lead` when
  // given, then the factors of `piece` when given.
  struct Alternative {
    Span prefix;
    QStringView lead, piece;
    bool hasLead = false, hasPiece = false;
  };
  // A group whose prefix becomes the event `step`; its equation is written into own_.
  struct Pending {
    QStringView cur, last, step;
    QString* into;
    bool alone;
  };

  // The alternatives [from, to) of alternatives_ are the right side of target, appended to *eq;
  // with eq null they make the equation of target, written out after the fresh equations they
  // needed. `alone`: a single alternative is the whole right side of its equation.
  void alternatives(QStringView target, int from, int to, QString* eq, bool alone);
  void line(QStringView cur, Span f, QString* into, bool alone);
  void group(QStringView cur, Span factors, QStringView last, QString* eq, bool alone);
  void appendProduct(QString* into, Span f) const;
  QStringView fresh();

  QStringList out_;
  QSet<qint64> used_;  // the numbers of the text's names s<number>: fresh events never take one
  int counter_ = 0;
  int branches_ = 0;
  std::vector<QStringView> factors_;
  std::vector<Alternative> alternatives_;
  std::vector<Pending> chain_;
  std::deque<QString> own_;  // stays in place as it grows at its end
  // The fresh names, in blocks that never move.
  std::vector<std::unique_ptr<QChar[]>> blocks_;
  int blockUsed_ = 0;
};

}  // namespace tiravo
