#include "platform/plaintext.h"

#include <QTextBlock>
#include <QTextDocument>

#include "platform/cp1251.h"
#include "platform/textfile.h"

namespace plaintext {

QString fromBytes(const QByteArray& bytes) {
  return textfile::splitLines(cp1251::decode(bytes)).join(QLatin1Char('\n'));
}

QStringList lines(const QTextDocument& doc) {
  QStringList out;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) out << b.text().split(QChar::LineSeparator);
  return out;
}

}  // namespace plaintext
