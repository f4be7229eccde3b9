#include "platform/textfile.h"

#include <QFile>
#include <QSaveFile>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/cp1251.h"

namespace textfile {

namespace {

// Index of the first CR or LF at or after i, or n.
qsizetype nextBreak(const char16_t* p, qsizetype i, qsizetype n) {
#ifdef __SSE2__
  // Eight characters at a time.
  const __m128i cr = _mm_set1_epi16('\r'), lf = _mm_set1_epi16('\n');
  for (; i + 8 <= n; i += 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(v, cr), _mm_cmpeq_epi16(v, lf)));
    if (mask) return i + __builtin_ctz(unsigned(mask)) / 2;
  }
#endif
  for (; i < n; ++i)
    if (p[i] == u'\r' || p[i] == u'\n') return i;
  return n;
}

}  // namespace

QStringList splitLines(const QString& text) {
  const char16_t* p = reinterpret_cast<const char16_t*>(text.constData());
  const qsizetype n = text.size();
  QStringList lines;
  lines.reserve(n / 32 + 1);  // a guess at the line count; the list grows past it when needed
  qsizetype start = 0;
  for (qsizetype i = nextBreak(p, 0, n); i < n; i = nextBreak(p, start, n)) {
    lines.append(QString(text.constData() + start, i - start));
    if (p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.append(QString(text.constData() + start, n - start));
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
