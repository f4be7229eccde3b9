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

bool hasGroup(const Product& p, size_t upTo) {
  for (size_t k = 0; k < upTo && k < p.size(); ++k)
    if (!p[k].isName()) return true;
  return false;
}

// A product is cut when it is longer than one step, or when a group stands before its
// last factor: the factors after a group are split off first, so their order is kept.
bool needsCut(const Product& p) {
  if (p.size() < 2 || !p.back().isName()) return false;
  return p.size() > 2 || hasGroup(p, p.size() - 1);
}

Product head(const Product& p) { return Product(p.begin(), p.end() - 1); }

}  // namespace

TRvasSku::TRvasSku(const QStringList& rvas, QStringList* out, DocSettings s)
    : text_(rvas), out_(out), settings_(s) {}

QString TRvasSku::fresh() {
  QString name;
  do {
    ++counter_;
    name = QStringLiteral("s") + QString::number(counter_);
  } while (used_.contains(name));
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

void TRvasSku::writeEquation(const QString& target, const Sum& rhs) {
  QStringList terms;
  for (const Product& alt : rhs) convertAlt(target, alt, &terms);
  writeLine(target + QLatin1Char('=') + terms.join(QLatin1Char('|')) + QLatin1Char(';'));
}

void TRvasSku::convertAlt(const QString& target, const Product& alt, QStringList* terms) {
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
  const Factor& last = alt.back();
  if (last.group == '{' && alt.size() >= 2) {
    // A*{B}: the target is reached from A, and again from itself under each
    // alternative of B.
    Sum loop;
    loop.push_back(head(alt));
    for (const Product& b : last.alts) {
      Product p;
      Factor self;
      self.name = target;
      p.push_back(self);
      p.insert(p.end(), b.begin(), b.end());
      loop.push_back(std::move(p));
    }
    for (const Product& p : loop) convertAlt(target, p, terms);
    return;
  }
  if (last.group == '(') {
    // P*(G): P followed by each alternative of G.
    const Product p = head(alt);
    for (const Product& g : last.alts) {
      Product q = p;
      q.insert(q.end(), g.begin(), g.end());
      convertAlt(target, q, terms);
    }
    return;
  }
  if (needsCut(alt)) {
    QString current = fresh();
    const QString term = current + QLatin1Char('*') + textscan::toText(last);
    charge(term.size());
    terms->append(term);
    Product rest = head(alt);
    while (needsCut(rest)) {
      const QString next = fresh();
      writeLine(current + QLatin1Char('=') + next + QLatin1Char('*') + textscan::toText(rest.back()) +
           QLatin1Char(';'));
      current = next;
      rest.pop_back();
    }
    writeEquation(current, Sum{rest});
    return;
  }
  const QString term = textscan::toText(alt);
  charge(term.size());
  terms->append(term);
}

void TRvasSku::Convert() {
  statements_.clear();
  textscan::StatementReader reader(&statements_);
  for (const QString& line : text_) reader.readLine(line);
  reader.flush();  // a last expression without ';' is converted like the others

  used_.clear();
  for (const QString& st : statements_) {
    QString name;
    for (QChar c : st) {
      if (textscan::isStructural(c) || c == QLatin1Char(',')) {
        if (!name.isEmpty()) used_.insert(name);
        name.clear();
      } else {
        name += c;
      }
    }
    if (!name.isEmpty()) used_.insert(name);
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
    writeEquation(targetName(left), rhs);

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
