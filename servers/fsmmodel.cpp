#include "servers/fsmmodel.h"
#include "platform/quote.h"

#include <algorithm>
#include <cstdlib>

namespace fsm {

namespace {

bool lessByMagnitude(int a, int b) { return std::abs(a) < std::abs(b); }

// Characters that never belong to a name: they are operators and punctuation of the
// other notations, and a cell holding one was surely not meant as a list of names.
// The comma, the full stop and the backslash stay allowed: the text checker lets them into
// names, and every table the converters make from a checked text must compile.
bool forbidden(QChar c) {
  static const QString set = QStringLiteral("~`!@#$%^*()[]-+?/|=;'{}\"<>:");
  return c.unicode() < 0x20 || set.contains(c);
}

bool blank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

}  // namespace

bool addLiteral(Set& set, int literal) {
  auto it = std::lower_bound(set.begin(), set.end(), literal, lessByMagnitude);
  if (it != set.end() && std::abs(*it) == std::abs(literal)) return *it == literal;
  set.insert(it, literal);
  return true;
}

bool containsLiteral(const Set& set, int literal) {
  auto it = std::lower_bound(set.begin(), set.end(), literal, lessByMagnitude);
  return it != set.end() && *it == literal;
}

Set unite(const Set& a, const Set& b) {
  Set out;
  out.reserve(a.size() + b.size());
  std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  return out;
}

bool satisfies(const Set& active, const Set& literals) {
  for (int l : literals) {
    const bool on = std::binary_search(active.begin(), active.end(), std::abs(l));
    if (on != (l > 0)) return false;
  }
  return true;
}

bool Type::valid() const {
  if (states != 0 && states != 1) return false;
  if (outputs != 0 && outputs != 2) return false;
  if (inputs != 0 && inputs != 1) return false;
  if (states == 1) return triggers >= 2 && triggers <= 5;
  return triggers == 0;
}

QString Type::describe() const {
  static const char* const triggerNames[] = {"Q", "T", "JK", "RS"};
  QString s = states
                  ? QStringLiteral("состояния двоичные, %1-триггеры")
                        .arg(QLatin1String(triggers >= 2 && triggers <= 5 ? triggerNames[triggers - 2] : "?"))
                  : QStringLiteral("состояния абстрактные");
  s += outputs ? QStringLiteral("; выходы двоичные") : QStringLiteral("; выходы абстрактные");
  s += inputs ? QStringLiteral("; входы двоичные") : QStringLiteral("; входы абстрактные");
  return s;
}

int Model::numberOf(const QStringList& names, const QString& name) {
  for (int i = 0; i < names.size(); ++i)
    if (names[i].compare(name, Qt::CaseInsensitive) == 0) return i + 1;
  return 0;
}

int Model::enter(QStringList& names, const QString& name) {
  const int n = numberOf(names, name);
  if (n) return n;
  names << name;
  return int(names.size());
}

int Model::findLine(const Set& key) const {
  for (int i = 0; i < lines.size(); ++i)
    if (lines[i].key == key) return i;
  return -1;
}

bool Model::parseEvents(const QString& text, Set* out, QString* error) const {
  QVector<Name> names;
  ScanError e;
  if (!scanNames(text, &names, &e)) {
    *error = QStringLiteral("позиция %1: %2").arg(e.pos + 1).arg(e.message);
    return false;
  }
  Set s;
  for (const Name& n : names) {
    const int k = numberOf(events, n.key);
    if (n.inverted || k == 0) {
      *error = n.inverted ? QStringLiteral("событие '%1' не может быть инверсным").arg(quote::excerpt(n.key))
                          : QStringLiteral("событие '%1' автомату не известно").arg(quote::excerpt(n.key));
      return false;
    }
    auto it = std::lower_bound(s.begin(), s.end(), k);
    if (it == s.end() || *it != k) s.insert(it, k);
  }
  *out = s;
  return true;
}

Set Model::outputsOf(const Set& active) const {
  Set out;
  for (const Line& line : lines)
    if (satisfies(active, line.key)) out = unite(out, line.outputs);
  return out;
}

QString Model::text(const QStringList& names, const Set& set, const QString& whenEmpty) {
  if (set.isEmpty()) return whenEmpty;
  QStringList parts;
  for (int l : set) {
    const int i = std::abs(l) - 1;
    const QString name = i >= 0 && i < names.size() ? names[i] : QStringLiteral("?");
    parts << (l < 0 ? name.toUpper() : name);
  }
  return parts.join(QLatin1Char('&'));
}

bool scanNames(const QString& text, QVector<Name>* names, ScanError* error) {
  names->clear();
  const int n = int(text.size());
  int p = 0;
  bool afterAmp = false;
  int ampPos = 0;
  while (true) {
    while (p < n && blank(text[p])) ++p;
    if (p >= n) {
      if (afterAmp) {
        *error = {QStringLiteral("после '&' пропущено имя"), ampPos};
        return false;
      }
      return true;
    }
    if (text[p] == QLatin1Char('&')) {
      if (names->isEmpty() || afterAmp) {
        *error = {QStringLiteral("перед '&' пропущено имя"), p};
        return false;
      }
      afterAmp = true;
      ampPos = p++;
      continue;
    }
    const int start = p;
    while (p < n && !blank(text[p]) && text[p] != QLatin1Char('&')) ++p;
    if (!names->isEmpty() && !afterAmp) {
      *error = {QStringLiteral("пропущен разделитель '&'"), start};
      return false;
    }
    for (int i = start; i < p; ++i) {
      if (forbidden(text[i])) {
        *error = {QStringLiteral("недопустимый символ '%1'").arg(quote::excerpt(text.mid(i, 1))), i};
        return false;
      }
    }
    const QString name = text.mid(start, p - start);
    if (!name[0].isLetter()) {
      *error = {QStringLiteral("имя '%1' начинается не с буквы").arg(quote::excerpt(name)), start};
      return false;
    }
    names->append({name.toLower(), name[0].isUpper(), start, name});
    afterAmp = false;
  }
}

bool isPlainName(const QString& text) {
  QVector<Name> names;
  ScanError err;
  return scanNames(text, &names, &err) && names.size() == 1 && !names[0].inverted && names[0].key == text;
}

bool isSpelledName(const QString& text) {
  QVector<Name> names;
  ScanError err;
  return scanNames(text, &names, &err) && names.size() == 1 && !names[0].inverted && names[0].text == text;
}

}  // namespace fsm
