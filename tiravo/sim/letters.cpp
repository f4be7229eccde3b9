#include "tiravo/sim/letters.h"

#include <QSet>

#include "platform/cp1251.h"
#include "tiravo/core/tblcompile.h"

namespace tiravo {

namespace {

QString Refused(QChar c) {
  return QStringLiteral("Недопустимый символ '") + c + QStringLiteral("' в имени сигнала!");
}

// The letter must read back as itself from an abstract condition cell: one
// name, not inverted, nothing the table compiler refuses.
QString CharacterRefusal(const QString& name) {
  for (const QChar c : name)
    if (c.isSpace() || c.category() == QChar::Other_Control || cp1251::encodeChar(c) < 0) return Refused(c);
  QStringList items;
  int first = 0, last = 0;
  switch (ScanCell(name, items, AbstractCondition, &first, &last)) {
    case CellOk:
      if (items.size() == 1 && items.first().endsWith(QLatin1String("=1"))) return QString();
      break;  // "1" and "0" are the constant conditions, not names
    case BadCharacter: return Refused(name.at(first));
    case JoinerNotAllowed:
    case ExtraJoiner: return Refused(QLatin1Char('&'));
    default: break;
  }
  return QStringLiteral("Имя сигнала должно начинаться со строчной буквы!");
}

}  // namespace

QString LetterRefusal(const QString& name, const QStringList& alphabet) {
  if (name.isEmpty()) return QStringLiteral("Введите имя сигнала!");
  for (const QString& other : alphabet)
    if (other.compare(name, Qt::CaseInsensitive) == 0)
      return QStringLiteral("Имя уже присутствует в алфавите");
  return CharacterRefusal(name);
}

bool UsableAlphabet(const QStringList& names) {
  // One pass: each name is checked alone and looked up among the case-folded
  // names before it, so a file's alphabet of any size loads in linear time.
  QSet<QString> seen;
  seen.reserve(names.size());
  for (const QString& name : names) {
    if (name.isEmpty() || !CharacterRefusal(name).isEmpty()) return false;
    const qsizetype before = seen.size();
    seen.insert(name.toCaseFolded());
    if (seen.size() == before) return false;
  }
  return true;
}

}  // namespace tiravo
