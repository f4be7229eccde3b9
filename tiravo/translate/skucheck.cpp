#include "tiravo/translate/skucheck.h"

#include <QSet>
#include <QVarLengthArray>

#include "tiravo/translate/names.h"

namespace tiravo {

using namespace names;

namespace {

QString headerKey(const QString& line) {
  QString k = line;
  k.remove(QLatin1Char(' '));
  return k.toLower();
}

// The significant characters of a line with their positions as typed.
// Names compare without letter case, as the table compiler compares them.
bool sameLower(QStringView a, QStringView b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i)
    if (a.at(i) != b.at(i) && a.at(i).toLower() != b.at(i).toLower()) return false;
  return true;
}

}  // namespace

void SkuLineCheck::Compact::fill(const QString& line) {
  text.resize(line.size());
  pos.resize(line.size());
  QChar* t = text.data();
  int* p = pos.data();
  int n = 0;
  for (int i = 0; i < line.size(); ++i)
    if (!isBlank(line.at(i))) {
      t[n] = line.at(i);
      p[n++] = i;
    }
  text.truncate(n);
  pos.resize(n);
}

SkuSections findSkuSections(const QStringList& lines) {
  SkuSections s;
  for (int i = 0; i < lines.size(); ++i) {
    if (s.skuStart < 0 && headerKey(lines.at(i)) == QLatin1String("sku:")) {
      s.skuStart = i + 1;
      if (s.svfStart >= 0 && s.svfEnd < 0) s.svfEnd = i;
    } else if (s.svfStart < 0 && lines.at(i) == QLatin1String("svf:")) {
      s.svfStart = i + 1;
      if (s.skuStart >= 0 && s.skuEnd < 0) s.skuEnd = i;
    }
  }
  if (s.skuStart >= 0 && s.skuEnd < 0) s.skuEnd = int(lines.size());
  if (s.svfStart >= 0 && s.svfEnd < 0) s.svfEnd = int(lines.size());
  return s;
}

QString skuMessage(int code, bool svf) {
  static const char* const sku[] = {
      "",
      "Абстрактные сигналы обозначаютя символом z (без отрицания)",
      "Двоичные сигналы обозначаютя символом x (возможно с отрицанием)",
      "В каждом дизъюнктивном члене может присутствовать только один абстрактныи сигнал",
      "Сигнал без исходного события",
      "Пропущен знак операции",
      "Перед знаком равенства должно стоять название события",
      "Название события или сигнала должно начинаться с буквы",
      "Данный символ нельзя использовать в СКУ",
      "Знаки операции не могут следовать друг за другом",
      "После знака равенства должно стоять выражение",
      "Более одного знака равенства в вырыжении недопустимо",
      "После знака операции должно стоять выражение",
      "В выражении нет ни одного знака равенства",
      // What the table compiler would refuse in a cell.
      "Имя повторяется в одном члене выражения",
      "Название события или выходного сигнала должно начинаться со строчной буквы",
  };
  if (code <= 0 || code >= int(std::size(sku))) return QString();
  if (svf && code == 4) return QStringLiteral("Событие отсутствует");
  if (svf && code == 8) return QStringLiteral("Данный символ нельзя использовать в СВФ");
  return QString::fromUtf8(sku[code]);
}

SkuFault SkuLineCheck::check(const QString& line) {
  if (SkuFault f = characters(line); f.code) return f;
  // Names after '*' or '|' on the right side: a digit may only end them.
  compact_.fill(line);
  const Compact& c = compact_;
  const QString& t = c.text;
  for (int i = int(t.indexOf(QLatin1Char('='))) + 2; i < t.size(); ++i) {
    if (!in(t.at(i - 1), TIRAVO_SET("*|"))) continue;
    for (int k = i + 1; k < t.size() && !in(t.at(k), TIRAVO_SET("*|")); ++k)
      if (isDigit(t.at(k - 1)) && !isDigit(t.at(k))) return {5, c.pos.at(k), 0};
  }
  if (!svf_)
    if (SkuFault f = letters(line); f.code) return f;
  return structure(c);
}

// Forbidden characters, '=' and operator placement, digits that start a name.
SkuFault SkuLineCheck::characters(const QString& line) const {
  // The table compiler refuses ',', '.' and '\' in a cell as well, so the text may not hold them.
  static constexpr AsciiSet kSvf("~`!@#$%^&-_+[];:'\"<>?/(){}*,.\\"), kSku("~`!@#$%^&-_+[];:'\"<>?/(){},.\\");
  const AsciiSet& forbidden = svf_ ? kSvf : kSku;
  bool seenEq = false;
  int first = -1, lastSig = -1;
  QChar prev;
  for (int i = 0; i < line.size(); ++i) {
    const QChar c = line.at(i);
    if (isBlank(c)) continue;
    if (in(c, forbidden) || isUnwritable(c)) return {8, i, 1};
    if (c == QLatin1Char('=')) {
      if (seenEq) return {11, i, 1};
      seenEq = true;
    }
    if (in(c, TIRAVO_SET("*|")) && in(prev, TIRAVO_SET("*|"))) return {9, i, 1};
    if (first < 0 && isDigit(c)) return {7, i, 1};
    if (in(prev, TIRAVO_SET("=*|")) && isDigit(c)) return {7, i, 1};
    if (first < 0 && c == QLatin1Char('=')) return {6, 0, 0};
    if (first < 0) first = i;
    lastSig = i;
    prev = c;
  }
  if (!seenEq) return {13, 0, 0};
  if (prev == QLatin1Char('=')) return {10, int(line.size()), 0};
  if (in(prev, TIRAVO_SET("|*"))) return {12, lastSig, 1};
  return {};
}

// Signal letters and terms (СКУ only).
SkuFault SkuLineCheck::letters(const QString& line) {
  bool afterEq = false, zInTerm = false;
  int termStart = 0;
  auto termEnd = [&](int from) {
    int e = int(line.indexOf(QLatin1Char('|'), from));
    return e < 0 ? int(line.size()) : e;
  };
  // A term must name at least one event; the selection starts at its first signal.
  auto checkTerm = [&](int end) -> SkuFault {
    // A factor names an event when its first character (blanks aside) is no signal letter.
    bool factorStart = true;
    for (int i = termStart; i < end; ++i) {
      const QChar c = line.at(i);
      if (isBlank(c)) continue;
      if (c == QLatin1Char('*')) {
        factorStart = true;
        continue;
      }
      if (factorStart && !isSignalLetter(c) && c != QLatin1Char('Z')) return {};
      factorStart = false;
    }
    int s = termStart;
    for (int i = termStart; i < end; ++i)
      if (line.at(i) == QLatin1Char('z')) {
        s = i;
        break;
      }
    if (s == termStart)
      while (s < end && isBlank(line.at(s))) ++s;
    return {4, s, end - s};
  };
  for (int i = 0; i < line.size(); ++i) {
    const QChar c = line.at(i);
    if (isBlank(c)) continue;
    if (c == QLatin1Char('=') || c == QLatin1Char('|')) {
      if (afterEq)
        if (SkuFault f = checkTerm(i); f.code) return f;
      afterEq = true;
      zInTerm = false;
      termStart = i + 1;
      continue;
    }
    if (afterEq) {
      if (c == QLatin1Char('Z')) return {1, i, 1};
      if (c == QLatin1Char('z')) {
        if (binaryUsed_) return {2, i, 1};
        abstractUsed_ = true;
        if (zInTerm) return {3, i, termEnd(i) - i};
        zInTerm = true;
      }
      if (c == QLatin1Char('x') || c == QLatin1Char('X')) {
        if (abstractUsed_) return {1, i, 1};
        binaryUsed_ = true;
      }
    }
    if (isSignalLetter(c) && (i == 0 || !in(line.at(i - 1), TIRAVO_SET("*|=")))) return {5, i, 0};
  }
  return afterEq ? checkTerm(int(line.size())) : SkuFault{};
}

// What the table needs of the names: an event or output starts with a lower-case letter,
// the left side is a product of events (СВФ: one output), no term names anything twice.
SkuFault SkuLineCheck::structure(const Compact& c) const {
  const QString& t = c.text;
  const int eq = int(t.indexOf(QLatin1Char('=')));
  auto at = [&](int i) { return c.pos.at(i); };
  if (in(t.at(0), TIRAVO_SET("*|"))) return {6, at(0), 1};
  if (in(t.at(eq - 1), TIRAVO_SET("*|"))) return {12, at(eq - 1), 1};
  if (in(t.at(eq + 1), TIRAVO_SET("*|"))) return {9, at(eq + 1), 1};
  // The names of the term being read; a long term is looked up through a set.
  QVarLengthArray<QStringView, 16> seen;
  QSet<QString> many;
  int from = 0;
  for (int i = 0; i <= t.size(); ++i) {
    const QChar ch = i < t.size() ? t.at(i) : QChar();
    if (i < eq && ch == QLatin1Char('|')) return {6, at(i), 1};
    if (i < t.size() && !in(ch, TIRAVO_SET("=*|"))) continue;
    const QStringView name = QStringView(t).mid(from, i - from);
    if (!name.isEmpty()) {
      const QChar first = name.at(0);
      const bool signal = !svf_ && from > eq && (first == QLatin1Char('X') || isSignalLetter(first));
      if (!signal && !isLowerLetter(first)) return {15, at(from), 1};
      bool repeated = false;
      if (seen.size() < 16) {
        for (QStringView n : seen) repeated = repeated || sameLower(n, name);
        seen.append(name);
      } else {
        if (many.isEmpty())
          for (QStringView n : seen) many.insert(n.toString().toLower());
        const QString key = name.toString().toLower();
        repeated = many.contains(key);
        many.insert(key);
      }
      if (repeated) return {14, at(from), at(i - 1) - at(from) + 1};
    }
    if (ch == QLatin1Char('=') || ch == QLatin1Char('|')) {
      seen.clear();
      many.clear();
    }
    from = i + 1;
  }
  return {};
}

}  // namespace tiravo
