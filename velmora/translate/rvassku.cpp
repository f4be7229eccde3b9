#include "velmora/translate/rvassku.h"

#include <QVarLengthArray>

#include <algorithm>
#include <climits>

#include "platform/errors.h"

namespace velmora {

using textscan::Factor;
using textscan::Range;

namespace {

QStringView targetName(QStringView left) {
  const qsizetype paren = left.indexOf(QLatin1Char('('));
  return paren >= 0 ? left.left(paren) : left;
}

bool hasGroup(const Factor* const* p, size_t size, size_t upTo) {
  for (size_t k = 0; k < upTo && k < size; ++k)
    if (!p[k]->isName()) return true;
  return false;
}

// A product is cut when it is longer than one step, or when a group stands before its
// last factor: the factors after a group are split off first, so their order is kept.
bool needsCut(const Factor* const* p, size_t size) {
  if (size < 2 || !p[size - 1]->isName()) return false;
  return size > 2 || hasGroup(p, size, size - 1);
}

void append(std::u16string* s, QStringView v) {
  s->append(reinterpret_cast<const char16_t*>(v.utf16()), size_t(v.size()));
}

// The name of fresh event n ("s" and its number), written into text from the end.
using FreshText = char16_t[12];  // "s" and at most ten digits
QStringView freshName(FreshText& text, int n) {
  int k = 12;
  do {
    text[--k] = char16_t(u'0' + n % 10);
    n /= 10;
  } while (n > 0);
  text[--k] = u's';
  return QStringView(text + k, 12 - k);
}

// An event of the text by its name, or a fresh one by its number.
void appendEvent(std::u16string* s, QStringView name, int fresh) {
  FreshText text;
  append(s, fresh == 0 ? name : freshName(text, fresh));
}

// Names in a statement are parted by these, and by ',' in an output list.
bool endsName(QChar c) { return textscan::isStructural(c) || c == QLatin1Char(','); }

// The number n of a name "s<n>" written as QString::number writes it, or 0.
int freshNumber(QStringView name) {
  if (name.size() < 2 || name[0] != QLatin1Char('s') || name[1] < QLatin1Char('1') ||
      name[1] > QLatin1Char('9'))
    return 0;
  long long n = 0;
  for (qsizetype i = 1; i < name.size(); ++i) {
    const ushort c = name[i].unicode();
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
    if (n > INT_MAX) return 0;
  }
  return int(n);
}

}  // namespace

TRvasSku::TRvasSku(const QStringList& rvas, QStringList* out, DocSettings s)
    : text_(rvas), out_(out), settings_(s) {}

int TRvasSku::fresh() {
  for (;;) {
    ++counter_;
    while (nextUsed_ < used_.size() && used_[nextUsed_] < counter_) ++nextUsed_;
    if (nextUsed_ == used_.size() || used_[nextUsed_] != counter_) return counter_;
  }
}

// A group is written back as it was parsed.
void TRvasSku::appendFactor(std::u16string* s, const Factor& f) const {
  if (f.isName()) {
    append(s, f.name);
    return;
  }
  s->push_back(char16_t(f.group));
  for (uint32_t k = 0; k < f.alts.count; ++k) {
    if (k) s->push_back(u'|');
    const Range product = rhs_.product(f.alts.first + k);
    const Factor* factors = rhs_.factors(product);
    for (uint32_t i = 0; i < product.count; ++i) {
      if (i) s->push_back(u'*');
      appendFactor(s, factors[i]);
    }
  }
  s->push_back(f.group == '(' ? u')' : u'}');
}

void TRvasSku::charge(qsizetype n) {
  produced_ += n;
  if (produced_ > kMaxOutput)
    throw VexoError(QStringLiteral("Выражение РВАС дает слишком большой текст СКУ"));
}

void TRvasSku::writeLine(const std::u16string& line) {
  charge(qsizetype(line.size()));
  out_->append(QString(reinterpret_cast<const QChar*>(line.data()), qsizetype(line.size())));
}

std::u16string& TRvasSku::buffer() {
  if (size_t(level_) == lines_.size()) lines_.emplace_back();
  std::u16string& text = lines_[size_t(level_)];
  text.clear();
  return text;
}

qsizetype TRvasSku::startTerm(Equation* eq) {
  if (eq->any) eq->text->push_back(u'|');
  eq->any = true;
  return qsizetype(eq->text->size());
}

void TRvasSku::writeEquation(Event target, const Factors* alts, size_t count) {
  // The equations of the steps inside are written before this one, each in a buffer of its
  // own nesting.
  std::u16string& text = buffer();
  ++level_;
  appendEvent(&text, target.name, target.fresh);
  text.push_back(u'=');
  Equation eq{&text};
  for (size_t i = 0; i < count; ++i) convertAlt(target, alts[i], &eq);
  text.push_back(u';');
  --level_;
  writeLine(text);
}

void TRvasSku::convertAlt(Event target, Factors alt, Equation* eq) {
  struct Depth {
    int& d;
    explicit Depth(int& x) : d(x) {
      if (++d > kMaxDepth)
        throw VexoError(QStringLiteral("Выражение РВАС слишком сложно для преобразования"));
    }
    ~Depth() { --d; }
  } depth(depth_);

  if (alt.size == 0) {
    startTerm(eq);
    return;
  }
  const Factor& last = alt.back();
  QVarLengthArray<const Factor*, 8> p;
  if (last.group == '{' && alt.size >= 2) {
    // A*{B}: the target is reached from A, and again from itself under each
    // alternative of B.
    FreshText name;
    Factor self;
    self.name = target.fresh == 0 ? target.name : freshName(name, target.fresh);
    convertAlt(target, alt.head(), eq);
    for (uint32_t k = 0; k < last.alts.count; ++k) {
      const Range b = rhs_.product(last.alts.first + k);
      const Factor* f = rhs_.factors(b);
      p.clear();
      p.append(&self);
      for (uint32_t i = 0; i < b.count; ++i) p.append(f + i);
      convertAlt(target, {p.data(), size_t(p.size())}, eq);
    }
    return;
  }
  if (last.group == '(') {
    // P*(G): P followed by each alternative of G.
    for (uint32_t k = 0; k < last.alts.count; ++k) {
      const Range g = rhs_.product(last.alts.first + k);
      const Factor* f = rhs_.factors(g);
      p.clear();
      p.append(alt.at, qsizetype(alt.size) - 1);
      for (uint32_t i = 0; i < g.count; ++i) p.append(f + i);
      convertAlt(target, {p.data(), size_t(p.size())}, eq);
    }
    return;
  }
  std::u16string& text = *eq->text;
  if (needsCut(alt.at, alt.size)) {
    int current = fresh();
    const qsizetype start = startTerm(eq);
    appendEvent(&text, {}, current);
    text.push_back(u'*');
    appendFactor(&text, last);
    charge(qsizetype(text.size()) - start);
    Factors rest = alt.head();
    while (needsCut(rest.at, rest.size)) {
      const int next = fresh();
      std::u16string& step = buffer();
      appendEvent(&step, {}, current);
      step.push_back(u'=');
      appendEvent(&step, {}, next);
      step.push_back(u'*');
      appendFactor(&step, rest.back());
      step.push_back(u';');
      writeLine(step);
      current = next;
      rest = rest.head();
    }
    writeEquation(Event{{}, current}, &rest, 1);
    return;
  }
  const qsizetype start = startTerm(eq);
  for (size_t i = 0; i < alt.size; ++i) {
    if (i) text.push_back(u'*');
    appendFactor(&text, *alt.at[i]);
  }
  charge(qsizetype(text.size()) - start);
}

void TRvasSku::Convert() {
  statements_.clear();
  ends_.clear();
  textscan::StatementReader reader(&statements_, &ends_);
  for (const QString& line : text_) reader.readLine(line);
  reader.flush();  // a last expression without ';' is converted like the others
  const auto statement = [this](size_t k) {
    const qsizetype begin = k ? ends_[k - 1] : 0;
    return QStringView(statements_).mid(begin, ends_[k] - begin);
  };

  // Fresh events are "s1", "s2", ...: only the text's names of that form can be in their way.
  used_.clear();
  for (size_t k = 0; k < ends_.size(); ++k) {
    // Only a name that begins with 's' can be one: the others are passed over whole.
    const QStringView st = statement(k);
    const QChar* p = st.data();
    const qsizetype n = st.size();
    for (qsizetype i = 0; i < n; ++i) {
      if (p[i] != QLatin1Char('s') || (i > 0 && !endsName(p[i - 1]))) continue;
      qsizetype end = i + 1;
      while (end < n && !endsName(p[end])) ++end;
      if (const int number = freshNumber(st.mid(i, end - i))) used_.push_back(number);
      i = end;
    }
  }
  std::sort(used_.begin(), used_.end());
  nextUsed_ = 0;

  outputIndex_ = NameViewTable();
  outputEvents_.clear();
  counter_ = 0;
  produced_ = 0;
  level_ = 0;
  depth_ = 0;
  out_->reserve(out_->size() + qsizetype(ends_.size()) + 2);  // a line at least for each
  writeLine(u"sku:");
  std::vector<const Factor*> factors;
  std::vector<Factors> alts;
  for (size_t k = 0; k < ends_.size(); ++k) {
    const QStringView st = statement(k);
    const qsizetype eq = st.indexOf(QLatin1Char('='));
    if (eq < 0) continue;
    const QStringView left = st.left(eq);
    // The right side is read in place: the parsed names are views of it.
    if (!rhs_.parse(st.mid(eq + 1), kMaxDepth))
      throw VexoError(QStringLiteral("Выражение РВАС слишком сложно для преобразования"));
    produced_ = 0;  // the budget is per expression: only bracket groups make text explode
    factors.clear();
    alts.clear();
    const Range top = rhs_.top();
    for (uint32_t a = 0; a < top.count; ++a) {
      const Range p = rhs_.product(top.first + a);
      const Factor* f = rhs_.factors(p);
      for (uint32_t i = 0; i < p.count; ++i) factors.push_back(f + i);
    }
    size_t at = 0;
    for (uint32_t a = 0; a < top.count; ++a) {
      const uint32_t n = rhs_.product(top.first + a).count;
      alts.push_back(Factors{factors.data() + at, n});
      at += n;
    }
    writeEquation(Event{targetName(left)}, alts.data(), alts.size());

    // The output list t(y1,y2,...) names the outputs produced at event t.
    const qsizetype paren = left.indexOf(QLatin1Char('('));
    if (paren < 0) continue;
    const QStringView t = left.left(paren);
    qsizetype close = left.indexOf(QLatin1Char(')'), paren);
    if (close < 0) close = left.size();
    const QStringView list = left.mid(paren + 1, close - paren - 1);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= list.size(); ++i) {
      if (i < list.size() && list[i] != QLatin1Char(',')) continue;
      const QStringView y = list.mid(start, i - start);
      start = i + 1;
      if (y.isEmpty()) continue;
      const int known = outputIndex_.size();
      const int slot = outputIndex_.add(y);
      if (slot == known) {
        outputEvents_ << t.toString();
      } else if (outputEvents_[slot].isEmpty()) {
        outputEvents_[slot] = t.toString();
      } else {
        outputEvents_[slot] += QLatin1Char('|');
        outputEvents_[slot] += t;
      }
    }
  }
  out_->append(QStringLiteral("svf:"));
  for (int k = 0; k < outputIndex_.size(); ++k) {
    QString line;
    line.reserve(outputIndex_.name(k).size() + outputEvents_[k].size() + 2);
    line.append(outputIndex_.name(k));
    line.append(QLatin1Char('='));
    line.append(outputEvents_[k]);
    line.append(QLatin1Char(';'));
    out_->append(line);
  }
}

}  // namespace velmora
