#include "velmora/translate/rvassku.h"

#include "platform/errors.h"

using textscan::Factor;
using textscan::Product;
using textscan::Sum;

namespace {

QString targetName(const QString& left) {
  const int paren = int(left.indexOf(QLatin1Char('(')));
  return paren >= 0 ? left.left(paren) : left;
}

using Factors = std::vector<const Factor*>;

bool hasGroup(const Factors& p, size_t upTo) {
  for (size_t k = 0; k < upTo && k < p.size(); ++k)
    if (!p[k]->isName()) return true;
  return false;
}

// A product is cut when it is longer than one step, or when a group stands before its
// last factor: the factors after a group are split off first, so their order is kept.
bool needsCut(const Factors& p) {
  if (p.size() < 2 || !p.back()->isName()) return false;
  return p.size() > 2 || hasGroup(p, p.size() - 1);
}

Factors head(const Factors& p) { return Factors(p.begin(), p.end() - 1); }

Factors refs(const Product& p) {
  Factors f;
  f.reserve(p.size());
  for (const Factor& x : p) f.push_back(&x);
  return f;
}

QString toText(const Factors& p) {
  QString s;
  for (size_t i = 0; i < p.size(); ++i) {
    if (i) s += QLatin1Char('*');
    s += textscan::toText(*p[i]);
  }
  return s;
}

}  // namespace

TRvasSku::TRvasSku(const QStringList& rvas, QStringList* out, DocSettings s)
    : text_(rvas), out_(out), settings_(s) {}

QString TRvasSku::fresh() {
  QString name;
  do {
    ++counter_;
    name = QStringLiteral("s") + QString::number(counter_);
  } while (used_.find(name) >= 0);
  return name;
}

void TRvasSku::charge(qsizetype n) {
  produced_ += n;
  if (produced_ > kMaxOutput)
    throw VexoError(QStringLiteral("Выражение РВАС дает слишком большой текст СКУ"));
}

void TRvasSku::writeLine(const QString& line) {
  charge(line.size());
  out_->append(line);
}

void TRvasSku::writeEquation(const QString& target, const std::vector<Factors>& rhs) {
  QStringList terms;
  for (const Factors& alt : rhs) convertAlt(target, alt, &terms);
  writeLine(target + QLatin1Char('=') + terms.join(QLatin1Char('|')) + QLatin1Char(';'));
}

void TRvasSku::convertAlt(const QString& target, const Factors& alt, QStringList* terms) {
  struct Depth {
    int& d;
    explicit Depth(int& x) : d(x) {
      if (++d > kMaxDepth)
        throw VexoError(QStringLiteral("Выражение РВАС слишком сложно для преобразования"));
    }
    ~Depth() { --d; }
  } depth(depth_);

  if (alt.empty()) {
    terms->append(QString());
    return;
  }
  const Factor& last = *alt.back();
  if (last.group == '{' && alt.size() >= 2) {
    // A*{B}: the target is reached from A, and again from itself under each
    // alternative of B.
    Factor self;
    self.name = target;
    convertAlt(target, head(alt), terms);
    for (const Product& b : last.alts) {
      Factors p{&self};
      for (const Factor& f : b) p.push_back(&f);
      convertAlt(target, p, terms);
    }
    return;
  }
  if (last.group == '(') {
    // P*(G): P followed by each alternative of G.
    const Factors p = head(alt);
    for (const Product& g : last.alts) {
      Factors q = p;
      for (const Factor& f : g) q.push_back(&f);
      convertAlt(target, q, terms);
    }
    return;
  }
  if (needsCut(alt)) {
    QString current = fresh();
    const QString term = current + QLatin1Char('*') + textscan::toText(last);
    charge(term.size());
    terms->append(term);
    Factors rest = head(alt);
    while (needsCut(rest)) {
      const QString next = fresh();
      writeLine(current + QLatin1Char('=') + next + QLatin1Char('*') + textscan::toText(*rest.back()) +
           QLatin1Char(';'));
      current = next;
      rest.pop_back();
    }
    writeEquation(current, {rest});
    return;
  }
  const QString term = toText(alt);
  charge(term.size());
  terms->append(term);
}

void TRvasSku::Convert() {
  statements_.clear();
  textscan::StatementReader reader(&statements_);
  for (const QString& line : text_) reader.readLine(line);
  reader.flush();  // a last expression without ';' is converted like the others

  used_ = NameTable();
  for (const QString& st : statements_) {
    qsizetype start = 0;
    for (qsizetype i = 0; i <= st.size(); ++i) {
      if (i < st.size() && !textscan::isStructural(st.at(i)) && st.at(i) != QLatin1Char(',')) continue;
      if (i > start) used_.add(QStringView(st).mid(start, i - start));
      start = i + 1;
    }
  }

  outputNames_.clear();
  outputEvents_.clear();
  outputIndex_.clear();
  counter_ = 0;
  produced_ = 0;
  writeLine(QStringLiteral("sku:"));
  for (const QString& st : statements_) {
    const int eq = int(st.indexOf(QLatin1Char('=')));
    if (eq < 0) continue;
    const QString left = st.left(eq);
    Sum rhs;
    if (!textscan::parseSum(st.mid(eq + 1), &rhs, kMaxDepth))
      throw VexoError(QStringLiteral("Выражение РВАС слишком сложно для преобразования"));
    produced_ = 0;  // the budget is per expression: only bracket groups make text explode
    std::vector<Factors> alts;
    alts.reserve(rhs.size());
    for (const Product& p : rhs) alts.push_back(refs(p));
    writeEquation(targetName(left), alts);

    // The output list t(y1,y2,...) names the outputs produced at event t.
    const int paren = int(left.indexOf(QLatin1Char('(')));
    if (paren < 0) continue;
    const QString t = left.left(paren);
    int close = int(left.indexOf(QLatin1Char(')'), paren));
    if (close < 0) close = int(left.size());
    const QStringList ys = left.mid(paren + 1, close - paren - 1).split(QLatin1Char(','));
    for (const QString& y : ys) {
      if (y.isEmpty()) continue;
      const int k = outputIndex_.value(y, -1);
      if (k < 0) {
        outputIndex_.insert(y, int(outputNames_.size()));
        outputNames_ << y;
        outputEvents_ << t;
      } else if (outputEvents_[k].isEmpty()) {
        outputEvents_[k] = t;
      } else {
        outputEvents_[k] += QLatin1Char('|') + t;
      }
    }
  }
  out_->append(QStringLiteral("svf:"));
  for (int k = 0; k < outputNames_.size(); ++k)
    out_->append(outputNames_[k] + QLatin1Char('=') + outputEvents_[k] + QLatin1Char(';'));
}
