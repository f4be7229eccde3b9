#include "tiravo/translate/rvascheck.h"

#include <QSet>

#include "common/nesting.h"
#include "tiravo/translate/names.h"

namespace tiravo {

using namespace names;

RvasCompact::RvasCompact(const QStringList& lines) {
  const QString joined = lines.join(QLatin1Char('\n'));
  text.resize(joined.size());
  origin.resize(joined.size() + 1);
  int n = 0;
  for (int i = 0; i < joined.size(); ++i) {
    const QChar c = joined.at(i);
    if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
      continue;
    text[n] = c;
    origin[n++] = i;
  }
  text.truncate(n);
  origin.resize(n);
  origin << (origin.isEmpty() ? 0 : origin.last() + 1);
}

void RvasCompact::select(int pos, int length, int* start, int* end) const {
  const int n = text.size();
  pos = qBound(0, pos, n);
  *start = origin.at(pos);
  const int last = qMin(pos + length, n);
  *end = last > pos ? origin.at(last - 1) + 1 : *start;
}

QString rvasMessage(int code) {
  static const char* const texts[] = {
      "",
      "Знаков равенства больше одного",
      "Начальное событие должно называться s0",
      "Отсутствует открывающая итерационная скобка",
      "Отсутствует закрывающая итерационная скобка",
      "В выражении отсутствует знак равенства",
      "Перед знаком равенства должно стоять событие",
      "После знака равенства должно следовать выражение",
      "Событие s0 должно стоять после знаков '=' или 'V'",
      "Повторяющийся знак операции",
      "Название сигналов и событий должно начинаться с буквы",
      "Пропущен знак операции",
      "Данный символ нельзя использовать в РВАС",
      "Выражение не может окнчиваться на знак операции",
      "Недопустимое место в РВАС для знака операции",
      "Отсутствует открывающая круглая скобка",
      "Отсутствует закрывающая круглая скобка",
      "Начальное событие не может стоять в круглых или итерационных скобках",
      // What the СКУ check or the table would refuse in the converted text: a РВАС text that
      // passes must give a СКУ text that passes.
      "Буква Z недопустима: абстрактный сигнал пишется строчной z, без отрицания",
      "Абстрактные (z) и двоичные (x, X) сигналы не могут стоять в одном выражении",
      "Название события или выходного сигнала должно начинаться со строчной буквы",
      // The converter walks a group recursively.
      "Слишком глубокая вложенность скобок",
  };
  return (code > 0 && code < int(std::size(texts))) ? QString::fromUtf8(texts[code]) : QString();
}

namespace {

QChar at(const QString& t, int i) { return (i >= 0 && i < t.size()) ? t.at(i) : QChar(); }

// Names start after these; a name runs to the next of `nameEnd`.
constexpr AsciiSet nameEnd("*|}()=,");

RvasFault nameScan(const QString& t) {
  bool expectName = true;
  for (int i = 0; i < t.size(); ++i) {
    const QChar c = t.at(i);
    if (in(c, TIRAVO_SET("{(")) && in(at(t, i + 1), TIRAVO_SET("*|"))) return {14, i + 1, 1};
    if (in(c, TIRAVO_SET("})")) && i + 1 < t.size() && !in(t.at(i + 1), TIRAVO_SET("*|}=)")))
      return {11, i + 1, 0};
    if (expectName) {
      if (in(c, TIRAVO_SET("{("))) continue;
      int j = i;
      while (j < t.size() && !in(t.at(j), nameEnd)) ++j;
      if (j > i) {
        if (isDigit(t.at(i))) return {10, i, qMax(0, j - i - 1)};
        for (int k = i + 1; k < j; ++k)
          if (isDigit(t.at(k - 1)) && !isDigit(t.at(k))) return {11, k, 0};
      }
      expectName = false;
      i = j - 1;
      continue;
    }
    if (in(c, TIRAVO_SET("=|*(,"))) expectName = true;
  }
  return {};
}

RvasFault charScan(const QString& t) {
  static constexpr AsciiSet forbidden("~`!@#$%^&-_+[];:'\"<>?/");
  QVector<int> braces, parens;
  for (int i = 0; i < t.size(); ++i) {
    const QChar c = t.at(i);
    if (in(c, forbidden)) return {12, i, 1};
    if (in(c, TIRAVO_SET("{(")) && braces.size() + parens.size() >= vexo::kMaxNesting) return {21, i, 1};
    if (c == QLatin1Char('{')) braces << i;
    if (c == QLatin1Char('}')) {
      if (braces.isEmpty()) return {3, i, 1};
      braces.removeLast();
    }
    if (c == QLatin1Char('(')) parens << i;
    if (c == QLatin1Char(')')) {
      if (parens.isEmpty()) return {15, i, 1};
      parens.removeLast();
    }
    if (in(c, TIRAVO_SET("*|")) && i > 0 && t.at(i - 1) == c) return {9, i, 1};
    if (c == QLatin1Char('s') && at(t, i + 1) == QLatin1Char('0') && i > 0) {
      if (!in(t.at(i - 1), TIRAVO_SET("=|"))) return {8, i, 2};
      if (!braces.isEmpty() || !parens.isEmpty()) return {17, i, 2};
    }
    if (in(c, TIRAVO_SET("=|")) && braces.isEmpty() && parens.isEmpty()) {
      int j = i + 1;
      while (j < t.size() && !in(t.at(j), TIRAVO_SET("*|"))) ++j;
      if (QStringView(t).mid(i + 1, j - i - 1) != QLatin1String("s0")) return {2, i + 1, j - i - 1};
    }
  }
  if (!braces.isEmpty()) return {4, braces.last(), 1};
  if (!parens.isEmpty()) return {16, parens.last(), 1};
  return {};
}

// The left side: target[(output,output...)]. The target becomes a СКУ event and the outputs
// table cells, so both must be names the table accepts.
RvasFault leftSide(const QString& t, int eq) {
  int p = 0;
  while (p < eq && t.at(p) != QLatin1Char('(')) {
    const QChar c = t.at(p);
    if (in(c, TIRAVO_SET("{}*|),"))) return {6, p, 1};
    if (p > 0 && isSignalLetter(c)) return {11, p, 0};
    ++p;
  }
  if (p == 0) return {6, 0, 0};
  if (isSignalLetter(t.at(0))) return {6, 0, 1};
  if (!isLowerLetter(t.at(0))) return {20, 0, 1};
  if (p == eq) return {};
  if (t.at(eq - 1) != QLatin1Char(')')) return {16, p, 1};
  int from = p + 1;
  for (int i = from; i < eq; ++i) {
    const QChar c = t.at(i);
    if (c != QLatin1Char(',') && c != QLatin1Char(')')) {
      if (in(c, TIRAVO_SET("(){}*|"))) return {6, i, 1};
      continue;
    }
    if (i == from) return {10, from, 0};
    if (!isLowerLetter(t.at(from))) return {20, from, 1};
    if (c == QLatin1Char(')') && i != eq - 1) return {6, i, 1};
    from = i + 1;
  }
  return {};
}

// The right side: what the converter needs to give a СКУ text that passes.
RvasFault rightSide(const QString& t, int eq) {
  QVector<QChar> open;
  int kind = 0;  // 1 abstract, 2 binary: the first signal decides, as in the СКУ check
  for (int i = eq + 1; i < t.size(); ++i) {
    const QChar c = t.at(i), prev = t.at(i - 1), next = at(t, i + 1);
    if (c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('\\')) return {12, i, 1};
    if (in(c, TIRAVO_SET("({")) && !in(prev, TIRAVO_SET("=*|({"))) return {11, i, 0};
    if (in(c, TIRAVO_SET("*|")) && in(next, TIRAVO_SET("*|"))) return {9, i + 1, 1};
    if (in(c, TIRAVO_SET("*|")) && in(next, TIRAVO_SET(")}"))) return {13, i, 1};
    if (in(c, TIRAVO_SET("({"))) open << c;
    if (in(c, TIRAVO_SET(")}"))) {
      const QChar opener = c == QLatin1Char(')') ? QLatin1Char('(') : QLatin1Char('{');
      if (open.isEmpty() || open.last() != opener) return {c == QLatin1Char(')') ? 15 : 3, i, 1};
      if (prev == opener) return {10, i, 0};
      open.removeLast();
    }
    if (in(c, TIRAVO_SET("=*|(){}")) || !in(prev, TIRAVO_SET("=*|({"))) continue;
    // c starts a name
    int j = i;
    while (j < t.size() && !in(t.at(j), TIRAVO_SET("*|(){}"))) ++j;
    for (int k = i; k < j; ++k)
      if (t.at(k) == QLatin1Char('Z')) return {18, k, 1};
    if (!isLowerLetter(c) && c != QLatin1Char('X')) return {20, i, 1};
    for (int k = i + 1; k < j; ++k)
      if (isSignalLetter(t.at(k))) return {11, k, 0};
    if (c == QLatin1Char('z')) {
      if (kind == 2) return {19, i, 1};
      kind = 1;
    } else if (c == QLatin1Char('x') || c == QLatin1Char('X')) {
      if (kind == 1) return {19, i, 1};
      kind = 2;
    }
  }
  return {};
}

}  // namespace

RvasFault checkRvas(const QString& t) {
  int eq = -1;
  for (int i = 0; i < t.size(); ++i) {
    if (t.at(i) != QLatin1Char('=')) continue;
    if (eq >= 0) return {1, i, 1};
    eq = i;
  }
  if (t.startsWith(QLatin1Char('='))) return {6, 0, 0};
  if (eq < 0) return {5, 0, 0};
  const QChar last = t.back();
  if (in(last, TIRAVO_SET("*|"))) return {13, int(t.size()) - 1, 1};
  if (last == QLatin1Char('=')) return {7, int(t.size()), 0};
  if (RvasFault f = nameScan(t); f.code) return f;
  if (RvasFault f = charScan(t); f.code) return f;
  for (int i = 0; i < t.size(); ++i)
    if (isUnwritable(t.at(i)) || t.at(i) == QLatin1Char('.') || t.at(i) == QLatin1Char('\\'))
      return {12, i, 1};
  if (RvasFault f = leftSide(t, eq); f.code) return f;
  return rightSide(t, eq);
}

}  // namespace tiravo
