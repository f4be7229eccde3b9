#pragma once
// Names of abstract input letters that the user types: each must stay one
// name in every text that carries it (table cells, input texts, reports).
#include <QString>
#include <QStringList>

namespace tiravo {

// Why `name` cannot join `alphabet`, or an empty text when it can. A name
// already in the alphabet (letter case aside) is refused, its own place
// included, so renaming a letter to itself is refused too.
QString LetterRefusal(const QString& name, const QStringList& alphabet);

// The same rules for a whole alphabet read from a file: every name usable and
// none twice.
bool UsableAlphabet(const QStringList& names);

}  // namespace tiravo
