#include "velmora/oa/oadesign.h"

#include <QSet>
#include <memory>

#include "velmora/oa/oaengine.h"
#include "velmora/oa/oaerrors.h"
#include "velmora/oa/oasignals.h"
#include "platform/quote.h"

namespace velmora {

namespace oadesign {

namespace {

const QString kReg = QStringLiteral("reg:");
const QString kMux = QStringLiteral("mux:");

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// The first position of any of `chars` in text from `from` on, or -1.
int firstOf(const QString& text, const QString& chars, int from = 0) {
  for (int i = qMax(from, 0); i < text.size(); ++i)
    if (chars.contains(text[i])) return i;
  return -1;
}

// The names a microoperation line may use: the blocks and the shift functions (both the
// designer's spellings and the model's).
class Declared {
 public:
  explicit Declared(const QStringList& blocks) {
    for (const QString& line : blocks) {
      if (line == kReg || line == kMux) continue;
      const int open = line.indexOf(QLatin1Char('['));
      names_.insert(open < 0 ? line : line.left(open));
    }
    for (const char* f : {"LS", "RS", "LC", "RC", "AL", "AR", "SL", "SR"}) {
      names_.insert(QLatin1String(f));
      names_.insert(QString::fromLatin1(f).toLower());
    }
  }
  bool has(const QString& name) const { return names_.contains(name); }

 private:
  QSet<QString> names_;
};

QString inSignal(const QString& what, const QString& name, const QString& signal) {
  return what + quote::excerpt(name) + QStringLiteral(" в сигнале ") + quote::excerpt(signal);
}

// Pass 1: the destination, up to the first ":", "=", "[" or "(".
QString checkDestination(const QString& line, const Declared& declared, const QString& y) {
  const int end = firstOf(line, QStringLiteral(":=[("));
  const QString dest = end < 0 ? line : line.left(end);
  if (declared.has(dest)) return {};
  return inSignal(QStringLiteral("Использован неописанный регистр "), dest, y);
}

// Pass 2: the operand right after the assignment (or after the "(" of a call).
QString checkFirstOperand(const QString& line, const Declared& declared, const QString& y) {
  const int sign = firstOf(line, QStringLiteral(":=("));
  if (sign < 0) return {};  // no assignment: the model refuses the line
  int start = sign + (line[sign] == QLatin1Char(':') ? 2 : 1);
  if (start >= line.size()) return {};
  if (isDigit(line[start])) return {};
  if (line[start] == QLatin1Char('!')) ++start;
  const int end = firstOf(line, QStringLiteral("+[,-*/&|%^"), start);
  QString operand = end < 0 ? line.mid(start) : line.mid(start, end - start);
  // A function call: what is checked is the element it works on.
  const int call = operand.indexOf(QLatin1Char('('));
  if (call >= 0) operand = operand.mid(call + 1);
  if (declared.has(operand)) return {};
  return inSignal(QStringLiteral("После знака равенства использован неописанный регистр "), operand, y);
}

// Pass 3: the operand after the first operation sign.
QString checkSecondOperand(const QString& line, const Declared& declared, const QString& y) {
  const int head = firstOf(line, QStringLiteral(":=[("));
  if (head < 0) return {};
  const int from = head + (line[head] == QLatin1Char(':') ? 2 : 1);
  const int sign = firstOf(line, QStringLiteral("+[(-*/&|%^"), from);
  if (sign < 0 || sign + 1 >= line.size()) return {};
  if (line[sign] == QLatin1Char('(')) return {};  // a call's element was checked in pass 2
  int start = sign + 1;
  if (isDigit(line[start])) return {};
  if (line[start] == QLatin1Char('!')) ++start;
  // An operand may select bits: its name ends at "[" too.
  const int end = firstOf(line, QStringLiteral("+-["), start);
  const QString operand = end < 0 ? line.mid(start) : line.mid(start, end - start);
  if (declared.has(operand)) return {};
  return inSignal(QStringLiteral("После знака операции использован неописанный регистр "), operand, y);
}

// Pass 4: the registers the value of an input signal reads.
QString checkValue(const QString& value, const Declared& declared, const QString& x) {
  int start = 0;
  while (start <= value.size()) {
    int end = firstOf(value, QStringLiteral("|&"), start);
    if (end < 0) end = value.size();
    const QString term = value.mid(start, end - start);
    const int open = term.indexOf(QLatin1Char('['));
    if (open >= 0 && !declared.has(term.left(open)))
      return inSignal(QStringLiteral("Возврат значения неописанного регистра "), term.left(open), x);
    start = end + 1;
  }
  return {};
}

}  // namespace

QString message(Collected c) {
  switch (c) {
    case Collected::TooFewRows: return QStringLiteral("Недостаточно данных в таблице переходов");
    case Collected::NoOutputs: return QStringLiteral("Таблица переходов должна содержать выходные сигналы");
    case Collected::Ok: break;
  }
  return {};
}

Collected collectOutputs(const QList<TableRow>& rows, QStringList* ys) {
  if (rows.size() <= 1) return Collected::TooFewRows;
  ys->clear();
  for (const TableRow& r : rows)
    if (!r.y.isEmpty()) *ys << r.y;
  return ys->isEmpty() ? Collected::NoOutputs : Collected::Ok;
}

Collected collectInputs(const QList<TableRow>& rows, QStringList* xs, bool* found) {
  *found = false;
  if (rows.size() <= 1) return Collected::TooFewRows;
  xs->clear();
  for (const TableRow& r : rows)
    if (!r.x.isEmpty() && r.x != QLatin1String("1")) *xs << r.x.toLower();
  *found = !xs->isEmpty();
  return Collected::Ok;
}

QStringList splitSignals(const QStringList& entries) {
  QStringList out;
  for (const QString& e : entries) out << e.split(QLatin1Char('&'));
  return out;
}

QStringList uniqueSorted(const QStringList& names) {
  QStringList out;
  QSet<QString> seen;
  for (const QString& n : names)
    if (!seen.contains(n)) {
      seen.insert(n);
      out << n;
    }
  oa::sortSignals(&out);
  return out;
}

Collected tableOutputs(const QList<TableRow>& rows, QStringList* ys) {
  const Collected c = collectOutputs(rows, ys);
  if (c == Collected::Ok) *ys = uniqueSorted(splitSignals(*ys));
  return c;
}

Collected tableInputs(const QList<TableRow>& rows, QStringList* xs) {
  bool found = false;
  const Collected c = collectInputs(rows, xs, &found);
  if (c == Collected::Ok && found) *xs = uniqueSorted(splitSignals(*xs));
  return c;
}

void sortOutputs(OaDescription* d) {
  while (d->yItems.size() < d->ySignals.size()) d->yItems << QStringList();
  QList<int> order;
  for (int i = 0; i < d->ySignals.size(); ++i) order << i;
  std::stable_sort(order.begin(), order.end(),
                   [d](int a, int b) { return oa::signalLess(d->ySignals[a], d->ySignals[b]); });
  QStringList ys;
  QList<QStringList> items;
  for (int i : order) {
    ys << d->ySignals[i];
    items << d->yItems[i];
  }
  for (int i = d->ySignals.size(); i < d->yItems.size(); ++i) items << d->yItems[i];
  d->ySignals = ys;
  d->yItems = items;
}

QString removeQuestion(Kind kind, const QString& name) {
  return QStringLiteral("В таблице переходов не найден сигнал ") + name +
         (kind == Kind::Y
              ? QStringLiteral(
                    ". Сигнал и соответствующие ему микрооперации будут удалены из ОА. Продолжить?")
              : QStringLiteral(". Он будет удален из ОА. Продолжить?"));
}

bool syncSignals(OaDescription* d, Kind kind, const QStringList& tableNames,
                 const std::function<bool(const QString& name)>& askRemove) {
  QStringList& names = kind == Kind::Y ? d->ySignals : d->xSignals;
  // The parallel list is kept at least as long as the names, so indices match.
  if (kind == Kind::Y)
    while (d->yItems.size() < names.size()) d->yItems << QStringList();
  else
    while (d->xValues.size() < names.size()) d->xValues << QString();
  for (const QString& n : tableNames) {
    if (names.contains(n)) continue;
    const int at = oa::sortedPosition(names, n);
    names.insert(at, n);
    if (kind == Kind::Y)
      d->yItems.insert(at, QStringList());
    else
      d->xValues.insert(at, QString());
  }
  for (int i = 0; i < names.size(); ++i) {
    if (tableNames.contains(names[i])) continue;
    if (!askRemove(names[i])) return false;
    names.removeAt(i);
    if (kind == Kind::Y)
      d->yItems.removeAt(i);
    else
      d->xValues.removeAt(i);
    --i;
  }
  return true;
}

void newDescription(OaDescription* d, const QStringList& ys, const QStringList& xs) {
  d->ySignals = ys;
  d->xSignals = xs;
  d->yItems.clear();
  for (int i = 0; i < ys.size(); ++i) d->yItems << QStringList();
  d->xValues.clear();
  for (int i = 0; i < xs.size(); ++i) d->xValues << QString();
  d->blocks = QStringList{kReg, kMux};
}

QString checkBlockList(const QStringList& blocks) {
  if (!blocks.contains(kReg))
    return QStringLiteral("В списке блоков отсутствует идентификатор регистров 'reg:'");
  if (!blocks.contains(kMux))
    return QStringLiteral("В списке блоков отсутствует идентификатор комбинационных узлов 'mux:'");
  return {};
}

void orderMicrooperations(QList<QStringList>* items) {
  for (QStringList& ops : *items) {
    QStringList plain, assignments;
    for (const QString& line : ops) {
      if (line.isEmpty()) continue;
      (line.contains(QStringLiteral(":=")) ? assignments : plain) << line;
    }
    ops = plain + assignments;
  }
}

QString checkRegisters(const OaDescription& d) {
  const Declared declared(d.blocks);
  using Pass = QString (*)(const QString&, const Declared&, const QString&);
  for (Pass pass : {Pass(checkDestination), Pass(checkFirstOperand), Pass(checkSecondOperand)}) {
    for (int i = 0; i < d.ySignals.size() && i < d.yItems.size(); ++i)
      for (const QString& line : d.yItems[i]) {
        if (line.isEmpty()) continue;
        const QString fault = pass(line, declared, d.ySignals[i]);
        if (!fault.isEmpty()) return fault;
      }
  }
  for (int i = 0; i < d.xSignals.size() && i < d.xValues.size(); ++i) {
    if (d.xValues[i].isEmpty()) continue;
    const QString fault = checkValue(d.xValues[i], declared, d.xSignals[i]);
    if (!fault.isEmpty()) return fault;
  }

  // What the passes let through must also build and run.
  std::unique_ptr<TModelOA> model;
  try {
    model = std::make_unique<TModelOA>(nullptr, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
  } catch (const EOaError& e) {
    return QStringLiteral("Блоки ОА: ") + e.message();
  }
  for (int i = 0; i < d.ySignals.size() && i < d.yItems.size(); ++i)
    for (const QString& line : d.yItems[i]) {
      try {
        model->CheckMicrooperation(line);
      } catch (const EOaError& e) {
        return QStringLiteral("Сигнал %1. %2").arg(quote::excerpt(d.ySignals[i]), e.message());
      }
    }
  for (int i = 0; i < d.xSignals.size() && i < d.xValues.size(); ++i) {
    try {
      model->CheckCondition(d.xValues[i]);
    } catch (const EOaError& e) {
      return QStringLiteral("Входной сигнал %1. %2").arg(quote::excerpt(d.xSignals[i]), e.message());
    }
  }
  return {};
}

QString applyQuestion() { return QStringLiteral("Описание ОА, возможно, содержит ошибки. Выйти?"); }

}  // namespace oadesign

}  // namespace velmora
