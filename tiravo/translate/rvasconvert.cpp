#include "tiravo/translate/rvasconvert.h"

#include "tiravo/translate/names.h"

namespace tiravo {

using names::forEachTop;

QStringList RvasConverter::convert(const QString& t) {
  out_.clear();
  counter_ = 0;
  // Fresh events are named s1, s2, ...: the numbers the text takes already are kept aside
  // (names compare without letter case).
  used_.clear();
  for (int i = 0; i < t.size();) {
    int j = i;
    while (j < t.size() && !names::in(t.at(j), TIRAVO_SET("=*|(){},"))) ++j;
    if (j - i >= 2 && j - i <= 10 && (t.at(i) == QLatin1Char('s') || t.at(i) == QLatin1Char('S')) &&
        t.at(i + 1) != QLatin1Char('0')) {
      bool digits = true;
      qint64 number = 0;
      for (int k = i + 1; k < j && digits; ++k) {
        digits = names::isDigit(t.at(k));
        number = number * 10 + (t.at(k).unicode() - '0');
      }
      if (digits) used_.insert(number);
    }
    i = j + 1;
  }

  const int eq = t.indexOf(QLatin1Char('='));
  const QStringView left = QStringView(t).left(eq), rhs = QStringView(t).mid(eq + 1);
  const qsizetype open = left.indexOf(QLatin1Char('('));
  const QStringView target = open < 0 ? left : left.left(open);
  factors_.clear();
  alternatives_.clear();
  chain_.clear();
  own_.clear();
  blocks_.clear();
  blockUsed_ = 0;
  forEachTop(rhs, QLatin1Char('|'), [&](QStringView piece) {
    Alternative a;
    a.piece = piece;
    a.hasPiece = true;
    alternatives_.push_back(a);
  });
  branches_ = int(alternatives_.size());
  out_ << QStringLiteral("sku:");
  alternatives(target, 0, branches_, nullptr, true);
  if (open >= 0) {
    out_ << QStringLiteral("svf:");
    // One line per output: the table cell of an output holds one name.
    for (QStringView y : left.mid(open + 1).chopped(1).split(QLatin1Char(','))) {
      QString line;
      line.reserve(y.size() + 1 + target.size());
      line += y;
      line += QLatin1Char('=');
      line += target;
      out_ << line;
    }
  }
  QStringList out = std::move(out_);
  out_ = QStringList();
  return out;
}

QStringView RvasConverter::fresh() {
  do ++counter_;
  while (used_.contains(counter_));
  constexpr int kBlock = 4096, kLongest = 12;  // 's' and the digits of an int
  if (blocks_.empty() || blockUsed_ + kLongest > kBlock) {
    blocks_.push_back(std::make_unique<QChar[]>(kBlock));
    blockUsed_ = 0;
  }
  QChar* name = blocks_.back().get() + blockUsed_;
  char digits[kLongest];
  int n = 0;
  for (unsigned v = unsigned(counter_); v || !n; v /= 10) digits[n++] = char('0' + v % 10);
  name[0] = QLatin1Char('s');
  for (int i = 0; i < n; ++i) name[1 + i] = QLatin1Char(digits[n - 1 - i]);
  blockUsed_ += n + 1;
  return QStringView(name, n + 1);
}

void RvasConverter::appendProduct(QString* into, Span f) const {
  for (int i = f.from; i < f.to; ++i) {
    if (i > f.from) *into += QLatin1Char('*');
    *into += factors_[size_t(i)];
  }
}

void RvasConverter::alternatives(QStringView target, int from, int to, QString* eq, bool alone) {
  QString own;
  QString* e = eq;
  if (!eq) {
    own.reserve(64);
    own += target;
    own += QLatin1Char('=');
    e = &own;
  }
  for (int i = from; i < to; ++i) {
    if (i > from) *e += QLatin1Char('|');
    const Alternative a = alternatives_[size_t(i)];  // the list grows below
    const int mark = int(factors_.size());
    for (int k = a.prefix.from; k < a.prefix.to; ++k) {
      const QStringView factor = factors_[size_t(k)];
      factors_.push_back(factor);
    }
    if (a.hasLead) factors_.push_back(a.lead);
    if (a.hasPiece) forEachTop(a.piece, QLatin1Char('*'), [&](QStringView f) { factors_.push_back(f); });
    line(target, {mark, int(factors_.size())}, e, alone && to - from == 1);
    factors_.resize(size_t(mark));
  }
  if (!eq) out_ << own;
}

namespace {

bool endsInGroup(QStringView factor) {
  return factor.endsWith(QLatin1Char('}')) || factor.endsWith(QLatin1Char(')'));
}

// The equation cur=a or cur=a*b, built once.
QString equation(QStringView cur, QStringView a, const QStringView* b = nullptr) {
  QString line;
  line.reserve(cur.size() + a.size() + (b ? b->size() : 0) + 2);
  line += cur;
  line += QLatin1Char('=');
  line += a;
  if (b) {
    line += QLatin1Char('*');
    line += *b;
  }
  return line;
}

}  // namespace

// One alternative: from its last factor down, each factor beyond the first two is split off
// as a step through a fresh event; a trailing group is handed on as a whole.
//
// A*{B} or A*(G) whose prefix A is itself a loop, or is repeated by a bracket group, makes
// A one fresh event first (two loops in a row stay apart, and multiplying out stays linear).
// A's equation is the same work again on A's factors, so a chain of groups ({x1}*{x2}*...) is
// walked down in a loop and its levels are finished on the way back up, in the order a
// recursion would finish them: the depth of the stack does not grow with the chain.
void RvasConverter::line(QStringView cur, Span f, QString* into, bool alone) {
  const size_t mark = chain_.size();
  while (true) {
    const int k = f.size();
    if (k >= 2 && endsInGroup(factors_[size_t(f.to - 1)])) {
      const bool groupAlone = alone || !into;
      const QStringView last = factors_[size_t(--f.to)];
      if (f.size() > 1 &&
          (!last.endsWith(QLatin1Char('}')) || factors_[size_t(f.to - 1)].endsWith(QLatin1Char('}')))) {
        const QStringView step = fresh();
        own_.emplace_back();
        own_.back().reserve(64);
        own_.back() += step;
        own_.back() += QLatin1Char('=');
        chain_.push_back({cur, last, step, into, groupAlone});
        cur = step;
        into = &own_.back();
        alone = true;
        continue;
      }
      group(cur, f, last, into, groupAlone);
      break;
    }
    if (k <= 2) {
      // The same event twice is one condition: "sw*sw" is sw.
      if (k == 2 && factors_[size_t(f.from)].compare(factors_[size_t(f.from + 1)], Qt::CaseInsensitive) == 0)
        --f.to;
      if (into)
        appendProduct(into, f);
      else
        out_ << equation(cur, factors_[size_t(f.from)],
                         f.size() == 2 ? &factors_[size_t(f.from + 1)] : nullptr);
      break;
    }
    const QStringView step = fresh(), last = factors_[size_t(--f.to)];
    if (into) {
      *into += step;
      *into += QLatin1Char('*');
      *into += last;
    } else {
      out_ << equation(cur, step, &last);
    }
    cur = step;
    into = nullptr;
  }
  while (chain_.size() > mark) {
    const Pending p = chain_.back();
    chain_.pop_back();
    out_ << std::move(own_.back());
    own_.pop_back();
    const int at = int(factors_.size());
    factors_.push_back(p.step);
    group(p.cur, {at, at + 1}, p.last, p.into, p.alone);
    factors_.resize(size_t(at));
  }
}

// A*{B} or A*(G), with A given as its factors. An iteration makes cur reachable from A and
// again from itself under every alternative of B; a bracket group repeats A before each of
// its alternatives.
void RvasConverter::group(QStringView cur, Span factors, QStringView last, QString* eq, bool alone) {
  const QStringView inner = last.mid(1, last.size() - 2);
  const int mark = int(alternatives_.size());
  if (last.endsWith(QLatin1Char('}'))) {
    // A loop in one of several alternatives runs through an event of its own, so that the
    // other alternatives do not gain it; the event and cur get the same terms. So does a
    // target with a 'Z' in its name: on a right side the letter would read as a signal.
    const bool selfLoop = (alone || !eq) && !cur.contains(QLatin1Char('Z'));
    const QStringView loop = selfLoop ? cur : fresh();
    Alternative a;
    a.prefix = factors;
    alternatives_.push_back(a);
    forEachTop(inner, QLatin1Char('|'), [&](QStringView b) {
      Alternative through;
      through.lead = loop;
      through.hasLead = true;
      through.piece = b;
      through.hasPiece = true;
      alternatives_.push_back(through);
    });
    if (!selfLoop) {
      QString terms;
      terms.reserve(64);
      alternatives(loop, mark, int(alternatives_.size()), &terms, false);
      alternatives_.resize(size_t(mark));
      out_ << equation(loop, terms);
      if (eq)
        *eq += terms;
      else
        out_ << equation(cur, terms);
      return;
    }
  } else {
    forEachTop(inner, QLatin1Char('|'), [&](QStringView g) {
      Alternative a;
      a.prefix = factors;
      a.piece = g;
      a.hasPiece = true;
      alternatives_.push_back(a);
    });
  }
  alternatives(cur, mark, int(alternatives_.size()), eq, false);
  alternatives_.resize(size_t(mark));
}

}  // namespace tiravo
