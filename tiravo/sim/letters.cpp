#include "tiravo/sim/letters.h"

#include "platform/cp1251.h"

namespace tiravo {

namespace {

// The characters the table compiler refuses in any cell, and "&", which
// joins names.
const QString kForbidden = QStringLiteral("~,.`!@#$%^*()[]-+?/\\|=;'{}\"&");

QString CharacterRefusal(const QString& name) {
  for (const QChar c : name) {
    if (c.isSpace() || c.category() == QChar::Other_Control || kForbidden.contains(c) ||
        cp1251::encodeChar(c) < 0)
      return QStringLiteral("Недопустимый символ '") + c + QStringLiteral("' в имени сигнала!");
  }
  // The compiler reads a name that does not start with a small letter as an
  // inverted one, which an abstract letter cannot be.
  if (!name.at(0).isLower())
    return QStringLiteral("Имя сигнала должно начинаться со строчной буквы!");
  return QString();
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
  for (int i = 0; i < names.size(); ++i)
    if (!LetterRefusal(names.at(i), names.mid(0, i)).isEmpty()) return false;
  return true;
}

}  // namespace tiravo
