#include "platform/textfile.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "automata/bits.h"
#include "platform/cp1251.h"
#include "platform/linereader.h"

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
    if (mask) return i + automata::CountTrailingZeros(unsigned(mask)) / 2;
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
  QByteArray bytes;
  if (!readBytes(path, &bytes, error)) return false;
  *text = cp1251::decode(bytes);
  return true;
}

bool readBytes(const QString& path, QByteArray* out, QString* error) {
  QFile f(path);
  errno = 0;
  if (!f.open(QIODevice::ReadOnly)) {
    if (error)
      *error =
          QStringLiteral("Не удается открыть файл ") + path + QStringLiteral(": ") + failureCause(errno, f);
    return false;
  }
  errno = 0;
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) {
    if (error)
      *error = QStringLiteral("Ошибка чтения файла ") + path + QStringLiteral(": ") + failureCause(errno, f);
    return false;
  }
  *out = bytes;
  return true;
}

bool readJoined(const QString& path, QString* text, QString* error) {
  LineReader reader;
  if (!reader.open(path, error)) return false;
  return reader.rest(text, error);
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
  return QStringLiteral("Символ %1%2 не имеет кода в кодировке 1251; файл не записан")
      .arg(cp1251::describeChar(text, bad), where);
}

QString failureCause(int err, const QFileDevice& f) {
  switch (err) {
    case ENOSPC: return QStringLiteral("нет места на диске");
#ifdef EDQUOT
    case EDQUOT: return QStringLiteral("превышена дисковая квота");
#endif
    case EACCES:
    case EPERM: return QStringLiteral("нет прав доступа");
    case EROFS: return QStringLiteral("диск доступен только для чтения");
    case ENOENT: return QStringLiteral("файл или папка не существует");
    case ENOTDIR: return QStringLiteral("папка не существует");
    case EISDIR: return QStringLiteral("это папка, а не файл");
    case ENAMETOOLONG: return QStringLiteral("слишком длинное имя файла");
    case EIO: return QStringLiteral("ошибка ввода-вывода");
    case EFBIG: return QStringLiteral("файл слишком велик");
    default: break;
  }
  if (err != 0) return QString::fromLocal8Bit(std::strerror(err));
  return f.errorString();
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString* error) {
  QSaveFile f(path);
  // errno is read right after the failing call: QSaveFile itself often says only "Unknown error".
  errno = 0;
  if (!f.open(QIODevice::WriteOnly)) {
    if (error)
      *error =
          QStringLiteral("Не удается записать файл ") + path + QStringLiteral(": ") + failureCause(errno, f);
    return false;
  }
  errno = 0;
  bool ok = f.write(bytes) == bytes.size();
  int err = errno;
  if (ok) {
    errno = 0;
    ok = f.commit();
    err = errno;
  }
  if (!ok) {
    if (error)
      *error = QStringLiteral("Ошибка записи файла ") + path + QStringLiteral(": ") + failureCause(err, f);
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
