#include "velmora/oa/inputactions.h"

#include "platform/cp1251.h"
#include "platform/textfile.h"

QStringList InputActionsFile::parse(const QByteArray& bytes) {
  return textfile::splitLines(cp1251::decode(bytes));
}

bool InputActionsFile::read(const QString& path, QStringList* inputs, QString* error) {
  QString text;
  if (!textfile::readText(path, &text, error)) return false;
  *inputs = textfile::splitLines(text);
  return true;
}

bool InputActionsFile::toBytes(const QStringList& inputs, QByteArray* bytes, QString* error) {
  for (int i = 0; i < inputs.size(); ++i) {
    if (inputs[i].contains(QLatin1Char('\n')) || inputs[i].contains(QLatin1Char('\r'))) {
      if (error) *error = QStringLiteral("Шаг %1: воздействие не может содержать перевод строки").arg(i + 1);
      return false;
    }
  }
  bool ok = false;
  QString err;
  const QByteArray out = textfile::joinCrLf(inputs, &ok, &err);
  if (!ok) {
    if (error) *error = err;
    return false;
  }
  *bytes = out;
  return true;
}

bool InputActionsFile::write(const QString& path, const QStringList& inputs, QString* error) {
  QByteArray bytes;
  if (!toBytes(inputs, &bytes, error)) return false;
  return textfile::writeBytes(path, bytes, error);
}
