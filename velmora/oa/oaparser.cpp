#include "velmora/oa/oaparser.h"

#include "platform/parseint.h"
#include "velmora/oa/oaerrors.h"

namespace velmora {

namespace oa {

namespace {

const QString kSeparators = QStringLiteral(",&*;-+%#@");
const QString kOperators = QStringLiteral("+-^|&%");
const QString kCallChars = QStringLiteral("(),");

bool allDigits(const QString& s) {
  if (s.isEmpty()) return false;
  for (QChar c : s)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

int sliceSeparator(const QString& inner) {
  const int slash = inner.indexOf(QLatin1Char('/'));
  const int back = inner.indexOf(QLatin1Char('\\'));
  if (slash < 0) return back;
  if (back < 0) return slash;
  return qMin(slash, back);
}

// name[inner]: the name and the text inside the brackets; the "]" must close the text.
void splitBracket(const QString& text, QString* name, QString* inner) {
  const int open = text.indexOf(QLatin1Char('['));
  if (!text.endsWith(QLatin1Char(']')) || text.size() - 1 <= open)
    throw EOaSyntaxError(QStringLiteral("нет закрывающей скобки \"]\" в %1").arg(quoted(text)));
  *name = text.left(open);
  *inner = text.mid(open + 1, text.size() - open - 2);
  if (name->isEmpty()) throw EOaSyntaxError(QStringLiteral("не указано имя регистра в %1").arg(quoted(text)));
}

Operand parseOperand(const QString& text, const QString& expression) {
  Operand o;
  o.text = text;
  QString body = text;
  if (body.startsWith(QLatin1Char('!'))) {
    o.complement = true;
    body.remove(0, 1);
  }
  if (body.isEmpty())
    throw EOaSyntaxError(QStringLiteral("пустой операнд в выражении %1").arg(quoted(expression)));
  if (allDigits(body)) {
    o.kind = Operand::Literal;
    o.digits = body;
    return o;
  }
  if (body.contains(QLatin1Char('['))) {
    QString inner;
    splitBracket(body, &o.name, &inner);
    const int sep = sliceSeparator(inner);
    if (sep >= 0) {
      o.kind = Operand::Slice;
      o.high = decimalValue(inner.left(sep), QStringLiteral("граница среза"));
      o.low = decimalValue(inner.mid(sep + 1), QStringLiteral("граница среза"));
    } else {
      o.kind = Operand::Bit;
      o.bit = ParseInt(inner);
    }
    return o;
  }
  o.kind = Operand::Element;
  o.name = body;
  return o;
}

Expression parseExpression(const QString& text) {
  Expression e;
  e.text = text;
  int first = -1;
  for (int i = 0; i < text.size(); ++i) {
    if (kOperators.contains(text[i]) || kCallChars.contains(text[i])) {
      first = i;
      break;
    }
  }
  if (first < 0) {
    e.form = Expression::Single;
    e.left = parseOperand(text, text);
    return e;
  }
  if (kOperators.contains(text[first])) {
    e.op = text[first];
    const QString left = text.left(first);
    QString right = text.mid(first + 1);
    if (right == QLatin1String("1") && (e.op == QLatin1Char('+') || e.op == QLatin1Char('-'))) {
      e.form = Expression::Step;
      e.left = parseOperand(left, text);
      return e;
    }
    e.form = Expression::Binary;
    // Only the first operation is computed; a further "+" or "-" in the right operand counts
    // as +1 or -1 whatever follows it. Stored descriptions rely on this.
    const int plus = right.indexOf(QLatin1Char('+'));
    if (plus >= 0) {
      right.truncate(plus);
      e.adjust += 1;
    }
    const int minus = right.indexOf(QLatin1Char('-'));
    if (minus >= 0) {
      right.truncate(minus);
      e.adjust -= 1;
    }
    e.left = parseOperand(left, text);
    e.right = parseOperand(right, text);
    return e;
  }
  // name(element,count)
  e.form = Expression::Call;
  const int open = text.indexOf(QLatin1Char('('));
  const int comma = open < 0 ? -1 : text.indexOf(QLatin1Char(','), open + 1);
  if (open < 0 || comma < 0 || !text.endsWith(QLatin1Char(')')) || comma > text.size() - 2 ||
      comma == open + 1)
    throw EOaSyntaxError(
        QStringLiteral("вызов функции должен иметь вид имя(регистр,число): %1").arg(quoted(text)));
  e.function = text.left(open);
  e.shift = shiftFunction(e.function);
  e.left.kind = Operand::Element;
  e.left.name = text.mid(open + 1, comma - open - 1);
  e.left.text = e.left.name;
  e.count = ParseInt(text.mid(comma + 1, text.size() - comma - 2));
  return e;
}

}  // namespace

bool toInt32(QStringView text, qint32* value) {
  const QStringView t = text.trimmed();
  int i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
    negative = t[i] == QLatin1Char('-');
    ++i;
  }
  if (i >= t.size()) return false;
  qint64 v = 0;
  for (; i < t.size(); ++i) {
    const QChar c = t[i];
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    v = v * 10 + (c.unicode() - '0');
    if (v > qint64(1) << 31) return false;
  }
  if (negative) v = -v;
  if (v > 2147483647LL || v < -2147483648LL) return false;
  *value = static_cast<qint32>(v);
  return true;
}

qint32 decimalValue(QStringView text, const QString& what) {
  qint32 v = 0;
  if (!toInt32(text, &v))
    throw EOaConvertError(
        QStringLiteral("%1: %2 не является целым числом").arg(what, quoted(text.toString())));
  return v;
}

ShiftFn shiftFunction(const QString& name) {
  const QString two = name.left(2).toLower();
  if (two == QLatin1String("sl") || two == QLatin1String("ls")) return ShiftFn::ShiftLeft;
  if (two == QLatin1String("sr") || two == QLatin1String("rs")) return ShiftFn::ShiftRight;
  if (two == QLatin1String("al")) return ShiftFn::ArithLeft;
  if (two == QLatin1String("ar")) return ShiftFn::ArithRight;
  if (two == QLatin1String("lc")) return ShiftFn::RotateLeft;
  if (two == QLatin1String("rc")) return ShiftFn::RotateRight;
  return ShiftFn::None;
}

bool isBlankLine(const QString& text) {
  for (QChar c : text)
    if (!c.isSpace()) return false;
  return true;
}

Microoperation parseMicrooperation(const QString& text) {
  Microoperation m;
  m.text = text;
  if (isBlankLine(text)) throw EOaSyntaxError(QStringLiteral("пустая микрооперация"));
  const int eq = text.indexOf(QLatin1Char('='));
  if (eq < 0) throw EOaSyntaxError(QStringLiteral("нет знака присваивания \":=\""));
  QString dest = text.left(eq);
  const int colon = dest.indexOf(QLatin1Char(':'));
  if (colon >= 0) dest.truncate(colon);
  const QString expr = text.mid(eq + 1);
  if (expr.isEmpty()) throw EOaSyntaxError(QStringLiteral("нет выражения после знака присваивания"));
  if (dest.contains(QLatin1Char('['))) {
    // What follows the "]" is not read, so "A[3] :=1" names bit 3 of A as the designer
    // lets it pass; only a missing "]" is refused.
    const int open = dest.indexOf(QLatin1Char('['));
    const int close = dest.indexOf(QLatin1Char(']'), open + 1);
    if (close < 0)
      throw EOaSyntaxError(QStringLiteral("нет закрывающей скобки \"]\" в %1").arg(quoted(dest)));
    m.destination = dest.left(open);
    const QString inner = dest.mid(open + 1, close - open - 1);
    m.bits = true;
    const int sep = sliceSeparator(inner);
    if (sep >= 0) {
      m.high = ParseInt(inner.left(sep));
      m.low = ParseInt(inner.mid(sep + 1));
    } else {
      m.high = m.low = ParseInt(inner);
    }
  } else {
    m.destination = dest;
  }
  if (m.destination.isEmpty()) throw EOaSyntaxError(QStringLiteral("не указан регистр-приемник"));
  m.expr = parseExpression(expr);
  return m;
}

QStringList Microoperation::names() const {
  QStringList out{destination};
  auto add = [&out](const Operand& o) {
    if (o.kind != Operand::Literal) out << o.name;
  };
  add(expr.left);
  if (expr.form == Expression::Binary) add(expr.right);
  return out;
}

Condition parseCondition(const QString& text) {
  Condition c;
  c.text = text;
  if (text.isEmpty()) return c;
  const bool hasAnd = text.contains(QLatin1Char('&'));
  const bool hasOr = text.contains(QLatin1Char('|'));
  if (hasAnd && hasOr) throw EOaSyntaxError(QStringLiteral("в условии нельзя сочетать \"&\" и \"|\""));
  QStringList parts;
  if (hasAnd) {
    c.mode = Condition::AnyOf;
    parts = text.split(QLatin1Char('&'));
  } else if (hasOr) {
    c.mode = Condition::AllOf;
    parts = text.split(QLatin1Char('|'));
  } else {
    c.mode = Condition::Single;
    parts << text;
  }
  for (const QString& p : parts) {
    ConditionTerm t;
    t.text = p;
    if (!p.isEmpty()) {
      const int open = p.indexOf(QLatin1Char('['));
      if (open < 0 || !p.endsWith(QLatin1Char(']')) || p.size() - 1 <= open ||
          p.indexOf(QLatin1Char(']')) != p.size() - 1)
        throw EOaSyntaxError(QStringLiteral("терм условия должен иметь вид регистр[бит]: %1").arg(quoted(p)));
      t.name = p.left(open);
      t.bit = decimalValue(p.mid(open + 1, p.size() - open - 2), QStringLiteral("номер бита"));
    }
    c.terms << t;
  }
  return c;
}

QStringList Condition::names() const {
  QStringList out;
  for (const ConditionTerm& t : terms)
    if (!t.empty()) out << t.name;
  return out;
}

QStringList splitInput(const QString& text) {
  QStringList names;
  const int n = text.size();
  int start = 0;
  int i = 0;
  while (i < n) {
    if (!kSeparators.contains(text[i])) {
      ++i;
      continue;
    }
    names << text.mid(start, i - start);
    start = ++i;
    if (i < n) ++i;  // the character after a separator begins the next name untested
  }
  if (start < n) names << text.mid(start);
  return names;
}

}  // namespace oa

}  // namespace velmora
