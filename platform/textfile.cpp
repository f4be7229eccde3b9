#include "platform/textfile.h"

#include <QFile>
#include <QSaveFile>

#include "platform/cp1251.h"

namespace textfile {

QStringList splitLines(const QString& text) {
  QStringList lines;
  QString cur;
  const int n = text.size();
  int start = 0;
  for (int i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      lines << text.mid(start, i - start);
      if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
      start = i + 1;
    }
  }
  if (start < n) lines << text.mid(start);
  return lines;
}

bool readText(const QString& path, QString* text, QString* error) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    if (error) *error = QStringLiteral("Не удается открыть файл ") + path + QStringLiteral(": ") + f.errorString();
    return false;
  }
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) {
    if (error) *error = QStringLiteral("Ошибка чтения файла ") + path + QStringLiteral(": ") + f.errorString();
    return false;
  }
  *text = cp1251::decode(bytes);
  return true;
}

bool readLines(const QString& path, QStringList* lines, QString* error) {
  QString text;
  if (!readText(path, &text, error)) return false;
  *lines = splitLines(text);
  return true;
}

QString unencodableMessage(const QString& text, int lineNo) {
  int bad = -1;
  if (cp1251::canEncode(text, &bad)) return QString();
  const QString where = lineNo > 0 ? QStringLiteral(" в строке %1").arg(lineNo) : QString();
  const QString code = QString::number(text[bad].unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0'));
  return QStringLiteral("Символ \"%1\" (U+%2)%3 не имеет кода в кодировке 1251; файл не записан")
      .arg(text[bad])
      .arg(code, where);
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString* error) {
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly)) {
    if (error) *error = QStringLiteral("Не удается записать файл ") + path + QStringLiteral(": ") + f.errorString();
    return false;
  }
  if (f.write(bytes) != bytes.size() || !f.commit()) {
    if (error) *error = QStringLiteral("Ошибка записи файла ") + path + QStringLiteral(": ") + f.errorString();
    return false;
  }
  return true;
}

bool writeText(const QString& path, const QString& text, QString* error) {
  QByteArray bytes;
  if (!cp1251::encode(text, &bytes)) {
    if (error) *error = unencodableMessage(text);
    return false;
  }
  return writeBytes(path, bytes, error);
}

QByteArray joinCrLf(const QStringList& lines, bool* ok, QString* error) {
  QByteArray out;
  for (int i = 0; i < lines.size(); ++i) {
    QByteArray b;
    if (!cp1251::encode(lines[i], &b)) {
      if (error) *error = unencodableMessage(lines[i], i + 1);
      if (ok) *ok = false;
      return QByteArray();
    }
    out += b;
    out += "\r\n";
  }
  if (ok) *ok = true;
  return out;
}

bool writeLines(const QString& path, const QStringList& lines, QString* error) {
  bool ok = false;
  const QByteArray bytes = joinCrLf(lines, &ok, error);
  if (!ok) return false;
  return writeBytes(path, bytes, error);
}

}  // namespace textfile
