#include "velmora/oa/oaengine.h"

#include "velmora/oa/oaerrors.h"
#include "platform/quote.h"

namespace velmora {

using oa::Condition;
using oa::Expression;
using oa::Microoperation;
using oa::Operand;
using oa::quoted;

namespace {

// Lines are few; a cache that somehow grows past this is simply started again.
constexpr int kCacheLimit = 4096;

qint32 wrapAdd(qint32 a, qint32 b) { return static_cast<qint32>(quint32(a) + quint32(b)); }
qint32 wrapSub(qint32 a, qint32 b) { return static_cast<qint32>(quint32(a) - quint32(b)); }

}  // namespace

TModelOA::TModelOA(RegisterGrid* grid, const QStringList& blocks, const QStringList& xConditions,
                   const QStringList& xSignals, const QList<QStringList>& yItems, const QStringList& ySignals)
    : TOperAuto(blocks),
      grid_(grid),
      xConditions_(&xConditions),
      xSignals_(&xSignals),
      yItems_(&yItems),
      ySignals_(&ySignals) {
  ShowRegisters();
}

void TModelOA::CommitAll() {
  for (TRegister& r : registers_) r.Commit();
}

void TModelOA::ShowRegisters() {
  if (!grid_) return;
  const int rows = grid_->rowCount();
  for (int row = 1; row < rows; ++row) {
    if (Radix > TRegister::Decimal) {
      grid_->setValueAt(row, QStringLiteral("Ошибка"));
      continue;
    }
    // Of namesakes the last one shows, as if each had written its value in turn.
    const int i = LastNamed(grid_->nameAt(row));
    if (i >= 0) grid_->setValueAt(row, registers_[size_t(i)].GetValueText(Radix));
  }
}

namespace {

template <class T, class Parse>
const T& lookUp(std::unordered_map<const QChar*, oa::Seen<T>>& seen, const QString& text, Parse&& parse) {
  const auto it = seen.find(text.constData());
  if (it != seen.end() && it->second.text.size() == text.size()) return it->second.parsed;
  if (seen.size() >= size_t(kCacheLimit)) seen.clear();
  auto& entry = seen[text.constData()];
  entry = {text, parse()};
  return entry.parsed;
}

}  // namespace

void TModelOA::ApplyInput(const QString& text) {
  // The names of an input and the y signals they match are found once per input text while
  // the y list stays the same list: a long run repeats a few inputs.
  if (plansYs_.constData() != ySignals_->constData() || plansYs_.size() != ySignals_->size()) {
    plans_.clear();
    plansYs_ = *ySignals_;  // held, so that a change to the list makes it another list
  }
  const oa::InputPlan& plan = lookUp(plans_, text, [&] {
    oa::InputPlan p;
    for (const QString& name : oa::splitInput(text))
      for (int i = 0; i < plansYs_.size(); ++i)
        if (plansYs_.at(i) == name) p.signalsMatched.push_back({i, name});  // at(): no detach
    return p;
  });
  for (const auto& [i, name] : plan.signalsMatched) applySignal(i, name);
}

void TModelOA::ApplySignal(const QString& name) {
  const QStringList& ys = *ySignals_;
  for (int i = 0; i < ys.size(); ++i)
    if (ys[i] == name) applySignal(i, name);
}

void TModelOA::applySignal(int i, const QString& name) {
  SignalKnown = true;
  if (i >= yItems_->size()) return;  // a signal without microoperations does nothing
  const QStringList& ops = (*yItems_)[i];
  oa::withContext([&] { return QStringLiteral("Сигнал %1. ").arg(quote::excerpt(name)); },
                  [&] {
                    for (const QString& op : ops) ExecuteMicrooperation(op);
                  });
}

int TModelOA::resolveName(const QString& name) const {
  const int i = FindRegister(name);
  if (i < 0) throw EOaNameError(QStringLiteral("неописанный регистр %1").arg(quoted(name)));
  return i;
}

void TModelOA::resolve(Operand& o) const {
  if (o.kind != Operand::Literal) o.index = resolveName(o.name);
}

const Microoperation& TModelOA::compiled(const QString& text) {
  return lookUp(seenOps_, text, [&] { return compiledByText(text); });
}

const Condition& TModelOA::compiledCondition(const QString& text) {
  return lookUp(seenConditions_, text, [&] { return conditionByText(text); });
}

Microoperation TModelOA::compiledByText(const QString& text) {
  auto it = microops_.constFind(text);
  if (it != microops_.constEnd()) return *it;
  Microoperation m = oa::parseMicrooperation(text);
  m.index = resolveName(m.destination);
  resolve(m.expr.left);
  if (m.expr.form == Expression::Binary) resolve(m.expr.right);
  if (microops_.size() >= kCacheLimit) microops_.clear();
  return *microops_.insert(text, m);
}

Condition TModelOA::conditionByText(const QString& text) {
  auto it = conditions_.constFind(text);
  if (it != conditions_.constEnd()) return *it;
  Condition c = oa::parseCondition(text);
  // Every term is checked, not only those evaluated, so a faulty condition fails whatever
  // the values are.
  for (oa::ConditionTerm& t : c.terms) {
    if (t.empty()) continue;
    t.index = resolveName(t.name);
    registers_[static_cast<size_t>(t.index)].Bit(t.bit);
  }
  if (conditions_.size() >= kCacheLimit) conditions_.clear();
  return *conditions_.insert(text, c);
}

void TModelOA::ExecuteMicrooperation(const QString& text) {
  if (oa::isBlankLine(text)) return;
  oa::withContext([&] { return QStringLiteral("Микрооперация %1: ").arg(quoted(text)); },
                  [&] {
                    const Microoperation& m = compiled(text);
                    TRegister& dst = registers_[static_cast<size_t>(m.index)];
                    if (!m.bits) {
                      dst.SetValue(number(m.expr));
                      return;
                    }
                    assignBits(dst, m.low, m.high, bitText(m.expr));
                  });
}

qint32 TModelOA::number(const Operand& o) const {
  if (o.kind == Operand::Literal) {
    const qint32 v = oa::decimalValue(o.digits, QStringLiteral("значение"));
    return o.complement ? ~v : v;
  }
  const TRegister& r = registers_[static_cast<size_t>(o.index)];
  switch (o.kind) {
    case Operand::Bit: {
      const int b = r.Bit(o.bit);
      return o.complement ? 1 - b : b;
    }
    case Operand::Slice: {
      // A slice stands for the number its bits give.
      const qint32 v = BinToDec(r.Slice(o.high, o.low));
      return o.complement ? ~v : v;
    }
    default: return o.complement ? ~r.current() : r.current();
  }
}

qint32 TModelOA::number(const Expression& e) const {
  switch (e.form) {
    case Expression::Single: return number(e.left);
    case Expression::Step:
      return e.op == QLatin1Char('+') ? wrapAdd(number(e.left), 1) : wrapSub(number(e.left), 1);
    case Expression::Call: {
      const TRegister& r = registers_[static_cast<size_t>(e.left.index)];
      return shift(e.shift, r.current(), r.width(), e.count);
    }
    case Expression::Binary: break;
  }
  const qint32 l = number(e.left);
  const qint32 r = number(e.right);
  qint32 v = 0;
  switch (e.op.unicode()) {
    case '+': v = wrapAdd(l, r); break;
    case '-': v = wrapSub(l, r); break;
    case '&': v = l & r; break;
    case '|': v = l | r; break;
    default: v = l ^ r; break;  // "^" and "%"
  }
  return wrapAdd(v, e.adjust);
}

// What a bit assignment reads character by character: a literal as written, a bit or slice
// as its bits, anything else as its decimal text.
QString TModelOA::bitText(const Expression& e) const {
  if (e.form == Expression::Single) {
    const Operand& o = e.left;
    if (o.kind == Operand::Literal && !o.complement) return o.digits;
    if (o.kind == Operand::Bit) return number(o) ? QStringLiteral("1") : QStringLiteral("0");
    if (o.kind == Operand::Slice) {
      QString s = registers_[static_cast<size_t>(o.index)].Slice(o.high, o.low);
      if (o.complement)
        for (QChar& c : s) c = c == QLatin1Char('1') ? QLatin1Char('0') : QLatin1Char('1');
      return s;
    }
  }
  return QString::number(number(e));
}

void TModelOA::assignBits(TRegister& r, int low, int high, const QString& value) const {
  if (high < low) {  // nothing selected: the element keeps its bits
    r.SetValue(TRegister::cut(r.current(), r.width()));
    return;
  }
  r.Bit(low);  // both ends must lie within the width
  r.Bit(high);
  const int need = high - low + 1;
  if (value.size() < need)
    throw EOaRangeError(QStringLiteral("значение %1 короче выбранных разрядов (%2) регистра %3")
                            .arg(quoted(value))
                            .arg(need)
                            .arg(quoted(r.name())));
  quint32 bits = static_cast<quint32>(TRegister::cut(r.current(), r.width()));
  // The first character goes to the lowest selected bit.
  for (int k = low; k <= high; ++k) {
    const QChar c = value[k - low];
    if (c != QLatin1Char('0') && c != QLatin1Char('1'))
      throw EOaConvertError(QStringLiteral("значение %1 не является двоичным").arg(quoted(value)));
    if (c == QLatin1Char('1'))
      bits |= quint32(1) << k;
    else
      bits &= ~(quint32(1) << k);
  }
  r.SetValue(static_cast<qint32>(bits));
}

bool TModelOA::holds(const Condition& c) const {
  auto term = [this](const oa::ConditionTerm& t) { return !t.empty() && BitIsOne(t.index, t.bit); };
  switch (c.mode) {
    case Condition::AnyOf:  // "&" joins alternatives here
      for (const auto& t : c.terms)
        if (term(t)) return true;
      return false;
    case Condition::AllOf:  // and "|" joins terms that must all hold
      for (const auto& t : c.terms)
        if (!term(t)) return false;
      return !c.terms.isEmpty();
    case Condition::Single: break;
  }
  return !c.terms.isEmpty() && term(c.terms.first());
}

void TModelOA::EvaluateConditions() {
  QString answer;
  const QStringList& xs = *xSignals_;
  answer.reserve(xs.size() * 4);
  for (int i = 0; i < xs.size(); ++i) {
    if (!answer.isEmpty()) answer += QLatin1Char('&');
    const QString text = i < xConditions_->size() ? (*xConditions_)[i] : QString();
    const bool ok = oa::withContext(
        [&] {
          return QStringLiteral("Входной сигнал %1, условие %2: ").arg(quote::excerpt(xs[i]), quoted(text));
        },
        [&] { return holds(compiledCondition(text)); });
    if (size_t(i) >= xCases_.size()) xCases_.resize(size_t(i) + 1);
    oa::Seen<std::pair<QString, QString>>& c = xCases_[size_t(i)];
    if (c.text.constData() != xs[i].constData() || c.text.size() != xs[i].size())
      c = {xs[i], {xs[i].toLower(), xs[i].toUpper()}};
    answer += ok ? c.parsed.first : c.parsed.second;
  }
  answer_ = answer;
}

void TModelOA::checkOperand(const Operand& o) const {
  switch (o.kind) {
    case Operand::Literal: oa::decimalValue(o.digits, QStringLiteral("значение")); break;
    case Operand::Bit: registers_[static_cast<size_t>(o.index)].Bit(o.bit); break;
    case Operand::Slice: registers_[static_cast<size_t>(o.index)].Slice(o.high, o.low); break;
    case Operand::Element: break;
  }
}

void TModelOA::CheckMicrooperation(const QString& text) {
  if (oa::isBlankLine(text)) return;
  oa::withContext(
      [&] { return QStringLiteral("Микрооперация %1: ").arg(quoted(text)); },
      [&] {
        const Microoperation& m = compiled(text);
        const Expression& e = m.expr;
        if (e.form != Expression::Call) checkOperand(e.left);
        if (e.form == Expression::Binary) checkOperand(e.right);
        if (!m.bits || m.high < m.low) return;
        const TRegister& dst = registers_[static_cast<size_t>(m.index)];
        dst.Bit(m.low);
        dst.Bit(m.high);
        // The bits are taken from the value's text: only a binary literal, a bit or a slice has a
        // text whose length does not depend on the values.
        const int need = m.high - m.low + 1;
        int has = -1;
        if (e.form == Expression::Single) {
          const Operand& o = e.left;
          if (o.kind == Operand::Literal && !o.complement) {
            bool binary = true;
            for (QChar c : o.digits) binary = binary && (c == QLatin1Char('0') || c == QLatin1Char('1'));
            if (binary) has = static_cast<int>(o.digits.size());
          } else if (o.kind == Operand::Bit) {
            has = 1;
          } else if (o.kind == Operand::Slice) {
            has = o.high - o.low + 1;
          }
        }
        if (has < need)
          throw EOaRangeError(
              QStringLiteral("разрядам %1..%2 регистра %3 можно присвоить двоичную константу, разряд "
                             "или срез не короче %4 разрядов")
                  .arg(m.low)
                  .arg(m.high)
                  .arg(quoted(dst.name()))
                  .arg(need));
      });
}

void TModelOA::CheckCondition(const QString& text) {
  oa::withContext([&] { return QStringLiteral("Условие %1: ").arg(quoted(text)); },
                  [&] { compiledCondition(text); });
}

}  // namespace velmora
